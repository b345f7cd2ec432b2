// libFuzzer entry: one hostile row (or parameter list) an input; a round-trip difference aborts like a crash.
#include "fuzz/rowfuzz.hpp"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(std::uint8_t const* data, std::size_t size)
{
    static KelFuzzRowTarget target;
    std::string const difference = target.Run(data, size);
    if (!difference.empty()) {
        std::fprintf(stderr, "round trip: %s\n", difference.c_str());
        std::abort();
    }
    return 0;
}
