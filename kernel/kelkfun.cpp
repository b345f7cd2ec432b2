#include "kernel/kelkfun.hpp"

std::string KelComposeFunctionName(char const* templ, std::initializer_list<char const*> arguments,
                                   char const* operation)
{
    std::string out = templ;
    out += '<';
    bool first = true;
    for (char const* a : arguments) {
        if (!first) out += ',';
        first = false;
        out += "class ";
        out += a;
    }
    out += ">::";
    out += operation;
    return out;
}
