// KelKeywordWriter: writes an object's members as "keyword=value" pairs, the readable
// form that the objects' StreamKeywordDelimited members produce for traces. Each pair
// starts on a new line, indented by two blanks per level; a member that is null is
// written as "<null>" whatever its stored value. Lives for one call; borrows the stream.
#pragma once

#include "kernel/kelkfun.hpp"
#include "kernel/kelkoid.hpp"
#include "kernel/kelkstr.hpp"
#include "kernel/kelktim.hpp"

#include <cstdint>
#include <ostream>

class KelKeywordWriter {
public:
    KelKeywordWriter(std::ostream& os, int level) : _os(os), _level(level < 0 ? 0 : level) {}

    // A member that cannot be null.
    template <class T>
    KelKeywordWriter& Put(char const* keyword, T const& value)
    {
        Start(keyword);
        Write(value);
        return *this;
    }
    // A member with a null flag: "<null>" when the flag is set.
    template <class T>
    KelKeywordWriter& Put(char const* keyword, T const& value, bool isNull)
    {
        Start(keyword);
        if (isNull)
            _os << "<null>";
        else
            Write(value);
        return *this;
    }

private:
    void Start(char const* keyword);
    void Write(bool value) { _os << (value ? "true" : "false"); }
    void Write(KelTimeStamp const& value) { _os << value; }
    void Write(KelOID const& value) { _os << value; }
    void Write(KelString const& value) { _os << value; }
    template <class T>
    void Write(T const& value)
    {
        _os << value;
    }

    std::ostream& _os;
    int _level;
};

// The printed form of an object: a line end, its class name and " {", its keyword text
// at level 0, " }".
template <class T>
std::ostream& KelPutObject(std::ostream& os, T const& object)
{
    os << std::endl << KelTypeName<T>::value << " {";
    object.StreamKeywordDelimited(os, 0);
    return os << " }";
}
