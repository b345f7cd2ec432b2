#include "kernel/kelkbin.hpp"

#include "kernel/kelkblk.hpp"
#include "kernel/kelkcon.hpp"
#include "kernel/kelkstr.hpp"

#include <cstdlib>
#include <cstring>
#include <new>
#include <ostream>

KelBinary::Rep* KelBinary::Rep::Allocate(std::int32_t len, std::int32_t allocLen)
{
    if (len < 0) len = 0;
    if (allocLen < len) allocLen = len;
    // One block: the representation, then room for allocLen bytes and a NUL. Only the
    // bytes in use and the NUL are cleared; the room beyond is written before it is read.
    // Short texts come and go by the thousand: their blocks are kept for reuse.
    void* block = KelSmallBlocks::Allocate(sizeof(Rep) + static_cast<std::size_t>(allocLen) + 1);
    Rep* rep = new (block) Rep;
    std::memset(rep->Bytes(), 0, static_cast<std::size_t>(len) + 1);
    rep->_len = len;
    rep->_count = 1;
    rep->_allocLen = allocLen;
    return rep;
}

void KelBinary::Rep::Free(Rep* rep)
{
    if (!rep) return;
    std::size_t const bytes = sizeof(Rep) + static_cast<std::size_t>(rep->_allocLen) + 1;
    rep->~Rep();
    KelSmallBlocks::Free(rep, bytes);
}

// The condition's text is the check's text, blanks included.
// clang-format off
void KelBinary::ReportBrokenInvariant() const { kelkInvariant(_pRep==0 || _pRep->_len <= _pRep->_allocLen); }
// clang-format on

KelBinary::KelBinary(CreateEmpty, std::int32_t n) : _pRep(Rep::Allocate(n, n)) { CheckInvariant(); }

KelBinary::KelBinary(void const* data, std::int32_t n) : _pRep(Rep::Allocate(n, n))
{
    if (data && n > 0) std::memcpy(_pRep->Bytes(), data, static_cast<std::size_t>(n));
    CheckInvariant();
}

void KelBinary::Fill(void const* data, std::int32_t n)
{
    if (n < 0) n = 0;
    // A shared representation that holds the same bytes (a system's name in each of its rows)
    // is kept: the cached objects of a bulk read then share one text, not one each.
    if (_pRep && _pRep->_count != 1 && _pRep->_len == n &&
        (n == 0 || std::memcmp(_pRep->Bytes(), data, static_cast<std::size_t>(n)) == 0))
        return;
    if (!_pRep || _pRep->_count != 1 || _pRep->_allocLen < n) {
        *this = KelBinary(data, n);
        return;
    }
    if (data && n > 0) std::memmove(_pRep->Bytes(), data, static_cast<std::size_t>(n));
    _pRep->Bytes()[n] = 0;
    _pRep->_len = n;
}

KelBinary& KelBinary::operator=(KelBinary&& other) noexcept
{
    if (this != &other) {
        Release();
        _pRep = other._pRep;
        other._pRep = nullptr;
    }
    return *this;
}

unsigned char const* KelBinary::Data() const
{
    if (IsNull()) KelContract::FailHard(KelContractKind::Require, "!IsNull()", __FILE__, __LINE__);
    return _pRep->Bytes();
}

KelString KelBinary::AsHexString() const
{
    if (IsNull()) return KelString();
    static char const digits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(static_cast<std::size_t>(_pRep->_len) * 2);
    for (std::int32_t i = 0; i < _pRep->_len; ++i) {
        text.push_back(digits[_pRep->Bytes()[i] >> 4]);
        text.push_back(digits[_pRep->Bytes()[i] & 0xF]);
    }
    return KelString(text);
}

bool operator==(KelBinary const& a, KelBinary const& b)
{
    if (a._pRep == b._pRep) return true;
    if (!a._pRep || !b._pRep) return false;
    return a._pRep->_len == b._pRep->_len &&
           std::memcmp(a._pRep->Bytes(), b._pRep->Bytes(), static_cast<std::size_t>(a._pRep->_len)) == 0;
}

bool operator<(KelBinary const& a, KelBinary const& b)
{
    if (!b._pRep) return false;
    if (!a._pRep) return true;
    std::int32_t n = a._pRep->_len < b._pRep->_len ? a._pRep->_len : b._pRep->_len;
    int c = std::memcmp(a._pRep->Bytes(), b._pRep->Bytes(), static_cast<std::size_t>(n));
    return c < 0 || (c == 0 && a._pRep->_len < b._pRep->_len);
}

std::ostream& operator<<(std::ostream& os, KelBinary const& b)
{
    if (b.IsNull()) return os << "<null>";
    return os << b.AsHexString();
}
