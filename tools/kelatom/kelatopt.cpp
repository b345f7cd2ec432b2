#include "tools/kelatom/kelatopt.hpp"

#include "kernel/kelknam.hpp"
#include "kernel/kelktrc.hpp"
#include "objects/kelmtlpc.hpp"

#include <CLI/CLI.hpp>

#include <limits>
#include <optional>

namespace kelatom {

namespace {
// Digits of base 10 or 16 only, the whole text, within max; false otherwise.
bool Unsigned(std::string const& digits, unsigned base, unsigned long long max, unsigned long long& out)
{
    if (digits.empty()) return false;
    out = 0;
    for (char c : digits) {
        unsigned d;
        if (c >= '0' && c <= '9')
            d = static_cast<unsigned>(c - '0');
        else if (base == 16 && c >= 'a' && c <= 'f')
            d = static_cast<unsigned>(c - 'a' + 10);
        else if (base == 16 && c >= 'A' && c <= 'F')
            d = static_cast<unsigned>(c - 'A' + 10);
        else
            return false;
        if (out > (max - d) / base) return false;
        out = out * base + d;
    }
    return true;
}

// A mask is a number, or names joined by '+' that `named` knows (their masks or'ed).
template <class Named>
unsigned long ParseMask(std::string const& item, std::string const& value, Named named)
{
    if (!value.empty() && value[0] >= 'a' && value[0] <= 'z') {
        unsigned long mask = 0;
        std::size_t begin = 0;
        while (begin <= value.size()) {
            std::size_t end = value.find('+', begin);
            if (end == std::string::npos) end = value.size();
            std::optional<unsigned long> const bits = named(value.substr(begin, end - begin));
            if (!bits)
                throw CLI::ValidationError("--trace",
                                           "'" + item + "': unknown name '" + value.substr(begin, end - begin) + "'");
            mask |= *bits;
            begin = end + 1;
        }
        return mask;
    }
    bool const hex = value.size() > 2 && value[0] == '0' && (value[1] == 'x' || value[1] == 'X');
    unsigned long long mask = 0;
    if (!Unsigned(hex ? value.substr(2) : value, hex ? 16 : 10, std::numeric_limits<unsigned long>::max(), mask))
        throw CLI::ValidationError("--trace", "'" + item + "': a mask is a decimal number or hexadecimal with 0x");
    return static_cast<unsigned long>(mask);
}
}  // namespace

long long ParseDecimal(std::string const& option, std::string const& value, long long min, long long max)
{
    bool const negative = !value.empty() && value[0] == '-';
    // The magnitude of the most negative number is one more than the largest number's.
    unsigned long long const largest = static_cast<unsigned long long>(std::numeric_limits<long long>::max());
    unsigned long long magnitude = 0;
    bool ok = Unsigned(negative ? value.substr(1) : value, 10, negative ? largest + 1 : largest, magnitude);
    long long number = 0;
    if (ok && negative)
        number = magnitude == largest + 1 ? std::numeric_limits<long long>::min() : -static_cast<long long>(magnitude);
    else if (ok)
        number = static_cast<long long>(magnitude);
    if (!ok || number < min || number > max)
        throw CLI::ValidationError(option, "'" + value + "' is not a decimal number from " + std::to_string(min) +
                                               " to " + std::to_string(max));
    return number;
}

TraceSwitches ParseTraceSwitches(std::string const& text)
{
    TraceSwitches switches;
    std::size_t begin = 0;
    while (begin <= text.size()) {
        std::size_t end = text.find(',', begin);
        if (end == std::string::npos) end = text.size();
        std::string const item = text.substr(begin, end - begin);
        std::size_t const eq = item.find('=');
        std::string const key = item.substr(0, eq);
        std::string const value = eq == std::string::npos ? "" : item.substr(eq + 1);
        bool const known = key == "xt" || key == "level" || key == "components" || key == "categories";
        if (!known) throw CLI::ValidationError("--trace", "unknown switch '" + key + "'");
        if ((key == "xt") != (eq == std::string::npos))
            throw CLI::ValidationError(
                "--trace", "'" + item + "': " + (key == "xt" ? "xt takes no value" : key + " takes a value"));
        if (key == "xt") {
            switches.xt = true;
        } else if (key == "level") {
            if (std::optional<long> const named = KelTraceNames::Level(value)) {
                switches.level = *named;
            } else
                try {
                    switches.level = static_cast<long>(ParseDecimal("--trace", value, std::numeric_limits<long>::min(),
                                                                    std::numeric_limits<long>::max()));
                } catch (CLI::ValidationError const&) {
                    throw CLI::ValidationError("--trace",
                                               "'" + item + "': the level is a decimal number or a level name");
                }
        } else if (key == "components") {
            switches.components = ParseMask(item, value, KelTraceNames::Component);
        } else {
            switches.categories = ParseMask(item, value, KelTraceNames::Category);
        }
        begin = end + 1;
    }
    return switches;
}

void SetTrace(TraceSwitches const& switches)
{
    KelTrace::_On = true;
    KelTrace::_Level = switches.level;
    KelTrace::_Components = switches.components;
    KelTrace::_Categories = switches.categories;
    if (switches.xt) KelTrace::_Xt = true;
}

void CheckMessageParameters(std::vector<std::string> const& params)
{
    KelSystemLogRecord::Parameters parameters;
    for (std::string const& p : params) parameters.Append(KelString(p));
    std::string const problem = KelMessageParametersProblem(parameters);
    if (!problem.empty()) throw CLI::ValidationError("--param", problem + "; nothing was written");
}

}  // namespace kelatom
