// Helpers of every test folder: printed form, a test OID, the exception a call throws, a null flag's invariant.
#pragma once

#include "kernel/kelkoid.hpp"

#include <cctype>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

template <class T>
std::string Printed(T const& value)
{
    std::ostringstream os;
    os << value;
    return os.str();
}

// Zeros but the first and the last byte.
inline KelOID TestOid(unsigned char first, unsigned char last)
{
    unsigned char bytes[16] = {first};
    bytes[15] = last;
    return KelOID(bytes);
}

// The texts of a list of strings.
template <class List>
std::vector<std::string> Texts(List const& list)
{
    std::vector<std::string> texts;
    for (auto const& s : list) texts.push_back(s.Str());
    return texts;
}

// The exception of type E that `call` throws, or empty (one of another type passes through).
template <class E>
std::optional<E> Caught(std::function<void()> const& call)
{
    try {
        call();
    } catch (E const& e) {
        return e;
    }
    return std::nullopt;
}

// The invariant text of a null flag disagreeing with member `name`: "_pRep->_iPhone == _pRep->_phone.IsNull()".
inline std::string Pair(std::string const& name)
{
    return "_pRep->_i" + name + " == _pRep->_" + char(std::tolower(name[0])) + name.substr(1) + ".IsNull()";
}
