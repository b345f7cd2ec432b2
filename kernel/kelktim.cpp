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

bool Digits(char const* p, int n, int& out)
{
    out = 0;
    for (int i = 0; i < n; ++i) {
        if (p[i] < '0' || p[i] > '9') return false;
        out = out * 10 + (p[i] - '0');
    }
    return true;
}

bool Parse(KelString const& text, KelTimeStamp& out)
{
    if (text.IsNull() || text.Length() != 26) return false;
    char const* s = text.C_str();
    int y, mo, d, h, mi, se, us;
    if (!Digits(s, 4, y) || s[4] != '-' || !Digits(s + 5, 2, mo) || s[7] != '-' || !Digits(s + 8, 2, d) ||
        s[10] != '-' || !Digits(s + 11, 2, h) || s[13] != '.' || !Digits(s + 14, 2, mi) || s[16] != '.' ||
        !Digits(s + 17, 2, se) || s[19] != '.' || !Digits(s + 20, 6, us))
        return false;
    static int const mdays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (mo < 1 || mo > 12 || d < 1 || d > mdays[mo - 1] || h > 23 || mi > 59 || se > 59) return false;
    bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    if (mo == 2 && d == 29 && !leap) return false;
    std::int64_t days = DaysFromCivil(y, static_cast<unsigned>(mo), static_cast<unsigned>(d));
    out = KelTimeStamp(days * 86400 + h * 3600 + mi * 60 + se, us);
    return true;
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
    // The common case, written digit by digit: this text is made for every row written.
    auto put = [](char* at, long value, int digits) {
        for (int i = digits - 1; i >= 0; --i, value /= 10) at[i] = static_cast<char>('0' + value % 10);
    };
    put(buf, static_cast<long>(y), 4);
    buf[4] = '-';
    put(buf + 5, m, 2);
    buf[7] = '-';
    put(buf + 8, d, 2);
    buf[10] = '-';
    put(buf + 11, static_cast<long>(rest / 3600), 2);
    buf[13] = '.';
    put(buf + 14, static_cast<long>(rest / 60 % 60), 2);
    buf[16] = '.';
    put(buf + 17, static_cast<long>(rest % 60), 2);
    buf[19] = '.';
    put(buf + 20, _micros, 6);
    return KelString(buf, 26);
}

std::ostream& operator<<(std::ostream& os, KelTimeStamp const& t)
{
    if (t.IsNull()) return os << "<null>";
    return os << t.AsVsqString();
}
