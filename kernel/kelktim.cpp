#include "kernel/kelktim.hpp"

#include "kernel/kelkcon.hpp"

#include <chrono>
#include <cstdio>
#include <ostream>

namespace {
// Days since 1970-01-01 of a civil date, and back (proleptic Gregorian calendar).
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d)
{
    y -= m <= 2;
    std::int64_t const era = (y >= 0 ? y : y - 399) / 400;
    unsigned const yoe = static_cast<unsigned>(y - era * 400);
    unsigned const doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    unsigned const doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void CivilFromDays(std::int64_t z, std::int64_t& y, unsigned& m, unsigned& d)
{
    z += 719468;
    std::int64_t const era = (z >= 0 ? z : z - 146096) / 146097;
    unsigned const doe = static_cast<unsigned>(z - era * 146097);
    unsigned const yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    y = static_cast<std::int64_t>(yoe) + era * 400;
    unsigned const doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    unsigned const mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y += m <= 2;
}

// The value of the two digits at p, or -1 if one of them is not a digit.
inline int Two(char const* p)
{
    unsigned const high = static_cast<unsigned char>(p[0]) - unsigned('0');
    unsigned const low = static_cast<unsigned char>(p[1]) - unsigned('0');
    return high > 9 || low > 9 ? -1 : static_cast<int>(high * 10 + low);
}

// Reads the bytes of a database text without copying them: the accessors check each
// time column of a fetched row straight from the statement's buffer.
bool Parse(char const* s, std::int32_t length, KelTimeStamp& out)
{
    if (s == nullptr || length != 26 || s[4] != '-' || s[7] != '-' || s[10] != '-' || s[13] != '.' || s[16] != '.' ||
        s[19] != '.')
        return false;
    int const century = Two(s), year = Two(s + 2), mo = Two(s + 5), d = Two(s + 8), h = Two(s + 11), mi = Two(s + 14),
              se = Two(s + 17), us1 = Two(s + 20), us2 = Two(s + 22), us3 = Two(s + 24);
    if ((century | year | mo | d | h | mi | se | us1 | us2 | us3) < 0) return false;
    int const y = century * 100 + year, us = (us1 * 100 + us2) * 100 + us3;
    static int const mdays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (mo < 1 || mo > 12 || d < 1 || d > mdays[mo - 1] || h > 23 || mi > 59 || se > 59) return false;
    bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    if (mo == 2 && d == 29 && !leap) return false;
    std::int64_t days = DaysFromCivil(y, static_cast<unsigned>(mo), static_cast<unsigned>(d));
    out = KelTimeStamp(days * 86400 + h * 3600 + mi * 60 + se, us);
    return true;
}

bool Parse(KelString const& text, KelTimeStamp& out)
{
    return !text.IsNull() && Parse(text.C_str(), text.Length(), out);
}
}  // namespace

KelTimeStamp KelTimeStamp::Now()
{
    auto us = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::system_clock::now().time_since_epoch())
                  .count();
    return KelTimeStamp(us / 1000000, static_cast<std::int32_t>(us % 1000000));
}

KelTimeStamp KelTimeStamp::FromVsqString(KelString const& text, int)
{
    KelTimeStamp out;
    bool wellFormed = Parse(text, out);
    kelkRequire(wellFormed);
    return wellFormed ? out : KelTimeStamp();
}

bool KelTimeStamp::IsVsqString(KelString const& text)
{
    KelTimeStamp out;
    return Parse(text, out);
}

bool KelTimeStamp::IsVsqString(char const* bytes, std::int32_t length)
{
    KelTimeStamp out;
    return Parse(bytes, length, out);
}

KelString KelTimeStamp::AsVsqString() const
{
    std::int64_t days = _seconds / 86400;
    std::int64_t rest = _seconds % 86400;
    if (rest < 0) {
        rest += 86400;
        --days;
    }
    std::int64_t y;
    unsigned m, d;
    CivilFromDays(days, y, m, d);
    char buf[64];
    if (y < 0 || y > 9999 || _micros < 0 || _micros > 999999) {
        std::snprintf(buf, sizeof buf, "%04lld-%02u-%02u-%02d.%02d.%02d.%06d", static_cast<long long>(y), m, d,
                      static_cast<int>(rest / 3600), static_cast<int>(rest / 60 % 60), static_cast<int>(rest % 60),
                      static_cast<int>(_micros));
        return KelString(buf);
    }
    // The common case, written two digits at a time: this text is made for every time
    // column of every row written.
    static char const pairs[] =
        "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
        "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
        "8081828384858687888990919293949596979899";
    auto put2 = [](char* at, unsigned value) {
        at[0] = pairs[2 * value];
        at[1] = pairs[2 * value + 1];
    };
    unsigned const year = static_cast<unsigned>(y), secs = static_cast<unsigned>(rest),
                   micros = static_cast<unsigned>(_micros);
    put2(buf, year / 100);
    put2(buf + 2, year % 100);
    buf[4] = '-';
    put2(buf + 5, m);
    buf[7] = '-';
    put2(buf + 8, d);
    buf[10] = '-';
    put2(buf + 11, secs / 3600);
    buf[13] = '.';
    put2(buf + 14, secs / 60 % 60);
    buf[16] = '.';
    put2(buf + 17, secs % 60);
    buf[19] = '.';
    put2(buf + 20, micros / 10000);
    put2(buf + 22, micros / 100 % 100);
    put2(buf + 24, micros % 100);
    return KelString(buf, 26);
}

std::ostream& operator<<(std::ostream& os, KelTimeStamp const& t)
{
    if (t.IsNull()) return os << "<null>";
    return os << t.AsVsqString();
}
