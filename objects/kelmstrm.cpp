#include "objects/kelmstrm.hpp"

#include "kernel/kelkcon.hpp"

void KelStream::PutBytes(void const* data, std::size_t n)
{
    auto const* bytes = static_cast<unsigned char const*>(data);
    _buffer.insert(_buffer.end(), bytes, bytes + n);
}

unsigned char const* KelStream::Take(std::size_t n)
{
    if (Remaining() < n) KelContract::FailHard(KelContractKind::Require, "Remaining() >= n", __FILE__, __LINE__);
    unsigned char const* at = _buffer.data() + _readPos;
    _readPos += n;
    return at;
}

void KelStream::PutUInt32(std::uint32_t value)
{
    unsigned char bytes[4];
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<unsigned char>(value >> (8 * i));
    PutBytes(bytes, 4);
}

void KelStream::PutInt64(std::int64_t value)
{
    auto u = static_cast<std::uint64_t>(value);
    unsigned char bytes[8];
    for (int i = 0; i < 8; ++i) bytes[i] = static_cast<unsigned char>(u >> (8 * i));
    PutBytes(bytes, 8);
}

void KelStream::PutString(KelString const& value)
{
    if (value.IsNull()) {
        PutInt32(-1);
        return;
    }
    PutInt32(value.Length());
    PutBytes(value.C_str(), static_cast<std::size_t>(value.Length()));
}

void KelStream::PutTimeStamp(KelTimeStamp const& value)
{
    PutInt64(value.Seconds());
    PutInt32(value.Micros());
}

std::uint32_t KelStream::GetUInt32()
{
    unsigned char const* b = Take(4);
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value |= std::uint32_t(b[i]) << (8 * i);
    return value;
}

std::int64_t KelStream::GetInt64()
{
    unsigned char const* b = Take(8);
    std::uint64_t value = 0;
    for (int i = 0; i < 8; ++i) value |= std::uint64_t(b[i]) << (8 * i);
    return static_cast<std::int64_t>(value);
}

bool KelStream::GetBool() { return *Take(1) != 0; }

KelString KelStream::GetString()
{
    std::int32_t length = GetInt32();
    if (length < 0) return KelString();
    unsigned char const* text = Take(static_cast<std::size_t>(length));
    return KelString(reinterpret_cast<char const*>(text), length);
}

KelOID KelStream::GetOID()
{
    unsigned char bytes[16];
    unsigned char const* b = Take(16);
    for (int i = 0; i < 16; ++i) bytes[i] = b[i];
    return KelOID(bytes);
}

KelTimeStamp KelStream::GetTimeStamp()
{
    std::int64_t seconds = GetInt64();
    std::int32_t micros = GetInt32();
    return KelTimeStamp(seconds, micros);
}
