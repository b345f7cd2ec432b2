// KelBinary: a handle to a shared, reference-counted byte string, or to none (null).
// Copies share the representation; a null binary differs from an empty one. The
// representation is immutable once shared: writers (KelString::operator|=) copy first.
// Not thread-safe: one transaction's objects are used by one thread at a time.
#pragma once

#include <cstdint>
#include <iosfwd>

class KelString;

class KelBinary {
public:
    enum CreateEmpty { createEmpty };

    KelBinary() : _pRep(nullptr) {}
    // A binary of n zero bytes.
    KelBinary(CreateEmpty, std::int32_t n);
    // A copy of n bytes from data.
    KelBinary(void const* data, std::int32_t n);
    KelBinary(KelBinary const& other) : _pRep(other._pRep)
    {
        if (_pRep) {
            ++_pRep->_count;
            CheckInvariant();
        }
    }
    KelBinary(KelBinary&& other) noexcept : _pRep(other._pRep) { other._pRep = nullptr; }
    // Inline: a bind keeps a handle on every text it binds.
    // NOLINTNEXTLINE(bugprone-unhandled-self-assignment,cert-oop54-cpp): the Rep test covers self-assignment
    KelBinary& operator=(KelBinary const& other)
    {
        if (_pRep != other._pRep) {
            if (other._pRep) ++other._pRep->_count;
            Release();
            _pRep = other._pRep;
        }
        return *this;
    }
    KelBinary& operator=(KelBinary&& other) noexcept;
    ~KelBinary() { Release(); }

    bool IsNull() const { return _pRep == nullptr; }
    std::int32_t Length() const { return _pRep ? _pRep->_len : 0; }
    // REQUIRES: !IsNull().
    unsigned char const* Data() const;
    // The bytes, or null for a null binary: unchecked and inline, for the binds of a row.
    unsigned char const* BytesOrNull() const { return _pRep ? _pRep->Bytes() : nullptr; }
    // Upper-case hexadecimal text of the bytes; null for a null binary.
    KelString AsHexString() const;
    // Makes this handle hold a copy of n bytes from data: in its own representation when
    // no other handle shares it and it has room, else in a new one. Lets a row that is
    // read again and again keep its buffers. A representation that holds these bytes
    // already is kept, even a shared one.
    void Fill(void const* data, std::int32_t n);
    // Drops this handle's reference; the handle becomes null. Inline: handles are made,
    // copied and dropped hundreds of times a transaction.
    void Release()
    {
        if (_pRep && --_pRep->_count == 0) Rep::Free(_pRep);
        _pRep = nullptr;
    }
    std::uint32_t RefCount() const { return _pRep ? _pRep->_count : 0; }

    friend bool operator==(KelBinary const& a, KelBinary const& b);
    friend bool operator!=(KelBinary const& a, KelBinary const& b) { return !(a == b); }
    friend bool operator<(KelBinary const& a, KelBinary const& b);

protected:
    struct Rep {
        std::int32_t _len;
        std::uint32_t _count;
        std::int32_t _allocLen;
        // A representation of len bytes with room for allocLen (plus a NUL), count 1.
        static Rep* Allocate(std::int32_t len, std::int32_t allocLen);
        // The bytes follow the representation in its block (no pointer kept: 8 bytes less a text).
        unsigned char* Bytes() { return reinterpret_cast<unsigned char*>(this + 1); }
        static void Free(Rep* rep);
    };
    explicit KelBinary(Rep* rep) : _pRep(rep) {}
    // Inline: the representation is checked at every construction and copy; only a broken
    // one calls out to report it.
    void CheckInvariant() const
    {
        if (_pRep && _pRep->_len > _pRep->_allocLen) ReportBrokenInvariant();
    }
    void ReportBrokenInvariant() const;

    Rep* _pRep;
};

// Null prints "<null>", otherwise the hexadecimal text.
std::ostream& operator<<(std::ostream& os, KelBinary const& b);
