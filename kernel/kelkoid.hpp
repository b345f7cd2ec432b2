// KelOID: a 16-byte object identifier, the key of log, state and server-instance rows.
// Cheap to copy; ordered as unsigned bytes (memcmp); all-zero is null. Prints as its
// 32 upper-case hexadecimal digits.
#pragma once

#include "kernel/kelkbin.hpp"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <iosfwd>

class KelOID {
public:
    KelOID() : _data{} {}
    // REQUIRES: streamed holds exactly 16 bytes.
    explicit KelOID(KelBinary const& streamed);
    explicit KelOID(unsigned char const (&bytes)[16]) { std::memcpy(_data, bytes, sizeof _data); }

    // A new identifier, unique within this process and among processes forked from one
    // parent, and very likely across all other processes.
    static KelOID Generate();
    // The identifier whose 32 hex digits are given; null for malformed text.
    static KelOID FromHex(char const* hex);

    KelBinary AsBinary() const { return KelBinary(_data, sizeof _data); }
    bool IsNull() const;
    unsigned char const* Bytes() const { return _data; }

    friend bool operator==(KelOID const& a, KelOID const& b) { return std::memcmp(a._data, b._data, 16) == 0; }
    friend bool operator!=(KelOID const& a, KelOID const& b) { return !(a == b); }
    // Byte-wise unsigned order, as memcmp gives it, compared as two big-endian words: the
    // dictionaries compare keys on every look-up.
    friend bool operator<(KelOID const& a, KelOID const& b)
    {
        std::uint64_t a0 = a.Word(0), b0 = b.Word(0);
        if (a0 != b0) return a0 < b0;
        return a.Word(1) < b.Word(1);
    }

private:
    // Bytes 8i to 8i+7 as a big-endian number: one load and one byte swap.
    std::uint64_t Word(int i) const
    {
        std::uint64_t w;
        std::memcpy(&w, _data + 8 * i, sizeof w);
#if __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
        w = __builtin_bswap64(w);
#endif
        return w;
    }

    unsigned char _data[16];
};

std::ostream& operator<<(std::ostream& os, KelOID const& oid);

template <>
struct std::hash<KelOID> {
    std::size_t operator()(KelOID const& oid) const noexcept
    {
        std::size_t a, b;
        std::memcpy(&a, oid.Bytes(), sizeof a);
        std::memcpy(&b, oid.Bytes() + 8, sizeof b);
        return a ^ (b * 0x9E3779B97F4A7C15ull);
    }
};
