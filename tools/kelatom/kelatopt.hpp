// Option values of the command-line tool, each parsed whole: a value that is not exactly
// what its option takes is refused with a CLI::ValidationError that names the option and
// the value (the tool exits 2 on it), never taken as something else.
#pragma once

#include <string>
#include <vector>

namespace kelatom {

// A decimal number: an optional "-" and the digits 0-9 only, nothing before or after
// ("08" is 8; "0x10", "1e5", "" and " 1" are refused), within [min, max].
long long ParseDecimal(std::string const& option, std::string const& value, long long min, long long max);

// "level=N,components=MASK,categories=MASK[,xt]": level decimal or a level name of
// kernel/kelknam.hpp ("flow"), masks decimal, hexadecimal with "0x" or names joined by
// "+" ("cache+rows"); a switch that is not given keeps the default below.
struct TraceSwitches {
    long level = 9;
    unsigned long components = ~0ul;
    unsigned long categories = ~0ul;
    bool xt = false;
};
TraceSwitches ParseTraceSwitches(std::string const& text);
// Turns the kernel trace on, to stderr, with these switches.
void SetTrace(TraceSwitches const& switches);

// Refuses (as option --param) message parameters that would not read back as given.
void CheckMessageParameters(std::vector<std::string> const& params);

}  // namespace kelatom
