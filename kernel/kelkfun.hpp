// Full function names for exception origins and traces, composed from type names in one
// fixed form, e.g. "KelTomDictMember<class KelSystemState,class KEL_SYSTEM_STATE,
// class KelDatabase::SystemState>::Saved" (no blanks after the commas), whatever the
// compiler's own pretty-function text.
//
// Every type that appears as a template argument names itself by specializing
// KelTypeName; a missing specialization is a compile error.
#pragma once

#include <initializer_list>
#include <string>

template <class T>
struct KelTypeName;

// "<templ><class a,class b,...>::<operation>".
std::string KelComposeFunctionName(char const* templ, std::initializer_list<char const*> arguments,
                                   char const* operation);

// The composed name of an operation of a class template, built once per instantiation.
template <class... Args>
struct KelTemplateName {
    static std::string Of(char const* templ, char const* operation)
    {
        return KelComposeFunctionName(templ, {KelTypeName<Args>::value...}, operation);
    }
};
