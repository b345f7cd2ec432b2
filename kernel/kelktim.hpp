// KelTimeStamp: a point in time as microseconds and seconds since the epoch (UTC).
// All fields zero means null. The database text (AsVsqString) is
// "YYYY-MM-DD-HH.MM.SS.ffffff", exactly 26 characters, in UTC.
#pragma once

#include "kernel/kelkstr.hpp"

#include <cstdint>
#include <iosfwd>

class KelTimeStamp {
public:
    KelTimeStamp() : _micros(0), _seconds(0) {}
    KelTimeStamp(std::int64_t seconds, std::int32_t micros) : _micros(micros), _seconds(seconds) {}

    static KelTimeStamp Now();
    // REQUIRES: text is a well-formed 26-character timestamp text; otherwise a
    // contract check fails and (when the kernel goes on) the result is null.
    static KelTimeStamp FromVsqString(KelString const& text, int timeType = 0);
    // Whether text is a database text that FromVsqString accepts.
    static bool IsVsqString(KelString const& text);
    // The same for length bytes at `bytes` (null: not a time).
    static bool IsVsqString(char const* bytes, std::int32_t length);
    KelString AsVsqString() const;

    bool IsNull() const { return _micros == 0 && _seconds == 0; }
    std::int64_t Seconds() const { return _seconds; }
    std::int32_t Micros() const { return _micros; }

    friend bool operator==(KelTimeStamp const& a, KelTimeStamp const& b)
    {
        return a._micros == b._micros && a._seconds == b._seconds;
    }
    friend bool operator!=(KelTimeStamp const& a, KelTimeStamp const& b) { return !(a == b); }
    friend bool operator<(KelTimeStamp const& a, KelTimeStamp const& b)
    {
        return a._seconds < b._seconds || (a._seconds == b._seconds && a._micros < b._micros);
    }

private:
    std::int32_t _micros;
    std::int64_t _seconds;
};

// Null prints "<null>", otherwise the database text.
std::ostream& operator<<(std::ostream& os, KelTimeStamp const& t);
