#include "bench/kelbdata.hpp"

#include <algorithm>
#include <stdexcept>

char const* const KelBenchData::systemNames[KelBenchData::systemCount] = {"SYSA", "SYSB", "SYSC", "SYSD"};
char const* const KelBenchData::systemGroup = "GRP1";

namespace {

// splitmix64: a small, fast generator with a fixed seed, so that every run and every
// contender sees the same identifiers.
struct SplitMix {
    std::uint64_t state;
    std::uint64_t Next()
    {
        std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    KelBenchOid Oid()
    {
        KelBenchOid oid;
        std::uint64_t a = Next(), b = Next();
        for (int i = 0; i < 8; ++i) {
            oid[static_cast<std::size_t>(i)] = static_cast<unsigned char>(a >> (8 * i));
            oid[static_cast<std::size_t>(8 + i)] = static_cast<unsigned char>(b >> (8 * i));
        }
        return oid;
    }
};

constexpr std::int64_t baseSeconds = 1700000000;  // November 2023

}  // namespace

namespace {

void MakeLog(SplitMix& random, std::int32_t k, KelBenchLogInput& r)
{
    r.objectId = random.Oid();
    r.seconds = baseSeconds + k / 16;
    r.micros = 1 + k % 16 * 62500;
    r.system = k % KelBenchData::systemCount;
    r.messageNumber = 1000 + k % 977;
    r.severity = 1 + k % 4;
    r.messageClass = 1 + k % 5;
    r.messageType = k % 7;
    r.errorFlag = r.severity >= 3;
    r.svrKind = 1 + k % 5;
    r.svrState = 1 + k % 5;
    r.exceptionIsNull = k % 3 == 0;
    r.exception = r.exceptionIsNull ? 0 : 4000 + k % 100;
    r.eventIdentifier = "EVT" + std::to_string(k);
    r.userId = "user" + std::to_string(k % 500);
    r.parameters = {"queue" + std::to_string(k % 64), "job" + std::to_string(k), std::to_string(k % 1000)};
}

void MakeInstance(SplitMix& random, std::int32_t k, KelBenchInstanceInput& s)
{
    s.svrOid = random.Oid();
    s.seconds = baseSeconds + k;
    s.micros = 1 + k % 1000;
    s.svrType = 2 + k % 4;
    s.svrState = 1;
}

}  // namespace

KelBenchData::KelBenchData(std::size_t n, std::size_t transactions)
{
    if (n == 0 || n % 40 != 0) throw std::invalid_argument("the number of records must be a positive multiple of 40");
    SplitMix random{0x6b656c6461746f6dull};
    logs.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        MakeLog(random, static_cast<std::int32_t>(i), logs[i]);
        if (logs[i].system == ReadSystem()) readKeys.push_back(logs[i].objectId);
    }
    std::sort(readKeys.begin(), readKeys.end());

    instanceSystemOid = random.Oid();
    instances.resize(n / 10);
    for (std::size_t i = 0; i < instances.size(); ++i) MakeInstance(random, static_cast<std::int32_t>(i), instances[i]);

    // Drawn after the rows above, which stay what they were before the small transactions.
    txnSystemOid = random.Oid();
    txnInstances.resize(txnInstanceCount);
    for (std::size_t i = 0; i < txnInstances.size(); ++i)
        MakeInstance(random, static_cast<std::int32_t>(i), txnInstances[i]);
    txns.resize(transactions);
    for (std::size_t i = 0; i < transactions; ++i) {
        KelBenchTxnInput& t = txns[i];
        std::int32_t const k = static_cast<std::int32_t>(i);
        t.svrState = 2 + k % 4;  // never the seeded state 1, so that every transaction changes the rows
        t.seconds = baseSeconds + 200000 + k;
        t.micros = 1 + k % 999983;
        MakeLog(random, static_cast<std::int32_t>(n) + k, t.log);
    }
}

namespace {

// Days since 1970-01-01 to a civil date (proleptic Gregorian).
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
    if (m <= 2) ++y;
}

void Digits(char* out, std::int64_t value, int width)
{
    for (int i = width - 1; i >= 0; --i) {
        out[i] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
}

}  // namespace

void KelBenchFormatTime(std::int64_t seconds, std::int32_t micros, char (&out)[27])
{
    std::int64_t days = seconds / 86400, rest = seconds % 86400;
    if (rest < 0) {
        rest += 86400;
        --days;
    }
    std::int64_t y;
    unsigned m, d;
    CivilFromDays(days, y, m, d);
    Digits(out, y, 4);
    out[4] = '-';
    Digits(out + 5, m, 2);
    out[7] = '-';
    Digits(out + 8, d, 2);
    out[10] = '-';
    Digits(out + 11, rest / 3600, 2);
    out[13] = '.';
    Digits(out + 14, rest / 60 % 60, 2);
    out[16] = '.';
    Digits(out + 17, rest % 60, 2);
    out[19] = '.';
    Digits(out + 20, micros, 6);
    out[26] = '\0';
}

void KelBenchJoinParameters(std::array<std::string, 3> const& parameters, std::string& out)
{
    out.clear();
    for (std::size_t i = 0; i < parameters.size(); ++i) {
        if (i) out += ';';
        out += parameters[i];
    }
}
