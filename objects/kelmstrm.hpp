// KelStream: a byte buffer into which streamable objects write their members and from
// which they read them back, in the same order. Numbers are written little-endian with
// fixed widths; a string carries its length, -1 standing for null. Reading takes values
// from the front in order; reading past the end is a failed precondition that never
// goes on. A stream owns its bytes; copies are independent.
#pragma once

#include "kernel/kelkoid.hpp"
#include "kernel/kelkstr.hpp"
#include "kernel/kelktim.hpp"

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

class KelStream {
public:
    KelStream() : _readPos(0) {}
    // A stream to read the given bytes from (as another stream's Bytes() hold them).
    explicit KelStream(std::vector<unsigned char> bytes) : _buffer(std::move(bytes)), _readPos(0) {}

    void PutUInt32(std::uint32_t value);
    void PutInt32(std::int32_t value) { PutUInt32(static_cast<std::uint32_t>(value)); }
    void PutInt64(std::int64_t value);
    void PutBool(bool value) { PutBytes(value ? "\1" : "\0", 1); }
    void PutString(KelString const& value);
    void PutOID(KelOID const& value) { PutBytes(value.Bytes(), 16); }
    void PutTimeStamp(KelTimeStamp const& value);

    // REQUIRES for each: enough bytes are left ("Remaining() >= n").
    std::uint32_t GetUInt32();
    std::int32_t GetInt32() { return static_cast<std::int32_t>(GetUInt32()); }
    std::int64_t GetInt64();
    bool GetBool();
    KelString GetString();
    KelOID GetOID();
    KelTimeStamp GetTimeStamp();

    std::size_t Size() const { return _buffer.size(); }
    std::size_t Remaining() const { return _buffer.size() - _readPos; }
    // Starts reading again from the first byte.
    void Rewind() { _readPos = 0; }
    std::vector<unsigned char> const& Bytes() const { return _buffer; }

private:
    void PutBytes(void const* data, std::size_t n);
    unsigned char const* Take(std::size_t n);

    std::vector<unsigned char> _buffer;
    std::size_t _readPos;
};
