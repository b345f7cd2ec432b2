#include "kernel/kelkoid.hpp"

#include "kernel/kelkcon.hpp"

#include <atomic>
#include <chrono>
#include <ostream>
#include <random>

#include <unistd.h>

KelOID::KelOID(KelBinary const& streamed) : _data{}
{
    // The condition's text is the check's text, blanks included.
    // clang-format off
    kelkRequire(streamed.Length()==sizeof(_data));
    // clang-format on
    unsigned char const* bytes = streamed.Data();  // a null binary fails "!IsNull()" here
    std::size_t n = static_cast<std::size_t>(streamed.Length());
    std::memcpy(_data, bytes, n < sizeof _data ? n : sizeof _data);
}

bool KelOID::IsNull() const
{
    for (unsigned char b : _data)
        if (b) return false;
    return true;
}

KelOID KelOID::Generate()
{
    // Time first so that identifiers made later sort later; then randomness and a counter.
    static std::atomic<std::uint32_t> counter{0};
    static std::uint64_t const seed = std::random_device{}() ^ (std::uint64_t(std::random_device{}()) << 32);
    std::uint64_t micros = static_cast<std::uint64_t>(
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::system_clock::now().time_since_epoch())
            .count());
    std::uint32_t n = counter++;
    // Processes forked from one parent share its seed and counter: the process id tells
    // their identifiers apart.
    std::uint64_t const random = seed ^ static_cast<std::uint32_t>(getpid());
    unsigned char bytes[16];
    for (int i = 0; i < 8; ++i) bytes[i] = static_cast<unsigned char>(micros >> (56 - 8 * i));
    for (int i = 0; i < 4; ++i) bytes[8 + i] = static_cast<unsigned char>(random >> (8 * i));
    for (int i = 0; i < 4; ++i) bytes[12 + i] = static_cast<unsigned char>(n >> (24 - 8 * i));
    if (n == 0 && micros == 0) bytes[15] = 1;
    return KelOID(bytes);
}

KelOID KelOID::FromHex(char const* hex)
{
    unsigned char bytes[16] = {};
    if (!hex) return KelOID();
    auto nibble = [](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        return -1;
    };
    for (int i = 0; i < 16; ++i) {
        if (!hex[2 * i] || !hex[2 * i + 1]) return KelOID();
        int hi = nibble(hex[2 * i]), lo = nibble(hex[2 * i + 1]);
        if (hi < 0 || lo < 0) return KelOID();
        bytes[i] = static_cast<unsigned char>(hi * 16 + lo);
    }
    if (hex[32]) return KelOID();
    return KelOID(bytes);
}

std::ostream& operator<<(std::ostream& os, KelOID const& oid)
{
    static char const digits[] = "0123456789ABCDEF";
    char text[33];
    for (int i = 0; i < 16; ++i) {
        text[2 * i] = digits[oid.Bytes()[i] >> 4];
        text[2 * i + 1] = digits[oid.Bytes()[i] & 0xF];
    }
    text[32] = 0;
    return os << text;
}
