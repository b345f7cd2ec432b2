// KelDBLobLocator and KelLOBAccess: how a row record holds a large text column.
//
// KelLOBAccess<Text, A, Locator> is a handle to a shared, reference-counted Rep that
// holds the text and the locator of the database's large object, or to none (null).
// The accessor type A only tags the handle with its table. Copies share the Rep; the
// last handle to go destroys it (the locator first, then the text). Not thread-safe:
// the rows of one transaction are used by one thread at a time.
#pragma once

#include "kernel/kelkbin.hpp"
#include "kernel/kelkcon.hpp"
#include "kernel/kelkstr.hpp"

#include <cstdint>
#include <ostream>

// Where a large text came from: the table and the OID of its row. A plain value; the
// handle that owns it destroys it together with the text.
class KelDBLobLocator {
public:
    KelDBLobLocator() = default;
    KelDBLobLocator(KelString const& table, KelBinary const& rowOid) : _table(table), _rowOid(rowOid) {}

    KelString const& Table() const { return _table; }
    KelBinary const& RowOid() const { return _rowOid; }

private:
    KelString _table;
    KelBinary _rowOid;
};

template <class Text, class A, class Locator>
class KelLOBAccess {
public:
    KelLOBAccess() : _pRep(nullptr) {}
    explicit KelLOBAccess(Text const& text) : _pRep(new Rep{1, LengthOf(text), text, Locator()}) {}
    KelLOBAccess(Text const& text, Locator const& locator) : _pRep(new Rep{1, LengthOf(text), text, locator}) {}
    // cppcheck-suppress copyCtorPointerCopying ; copies share the counted Rep
    KelLOBAccess(KelLOBAccess const& other) : _pRep(other._pRep)
    {
        if (_pRep) ++_pRep->_count;
    }
    // NOLINTNEXTLINE(bugprone-unhandled-self-assignment,cert-oop54-cpp): the Rep test covers self-assignment
    KelLOBAccess& operator=(KelLOBAccess const& other)
    {
        if (_pRep != other._pRep) {
            if (other._pRep) ++other._pRep->_count;
            Release();
            _pRep = other._pRep;
        }
        return *this;
    }
    ~KelLOBAccess() { Release(); }

    bool IsNull() const { return _pRep == nullptr; }
    // REQUIRES: !IsNull().
    Text const& Value() const
    {
        if (IsNull()) KelContract::FailHard(KelContractKind::Require, "!IsNull()", __FILE__, __LINE__);
        return _pRep->_text;
    }
    // REQUIRES: !IsNull().
    Locator const& LobLocator() const
    {
        if (IsNull()) KelContract::FailHard(KelContractKind::Require, "!IsNull()", __FILE__, __LINE__);
        return _pRep->_locator;
    }
    // The text's length in characters; 0 for a null handle or a null text.
    std::int32_t Length() const { return _pRep ? _pRep->_length : 0; }
    // How many handles share the Rep; 0 for a null handle.
    std::uint32_t RefCount() const { return _pRep ? _pRep->_count : 0; }

private:
    struct Rep {
        std::uint32_t _count;
        std::int32_t _length;
        Text _text;
        Locator _locator;

        // Destroys and frees a non-null rep whatever its count; rep becomes null. Kept
        // out of line: inlined, the compiler cannot see that the handles sharing a rep
        // keep it alive and warns of a use after free in their destructors.
        [[gnu::noinline]] static void Deallocate(Rep*& rep)
        {
            delete rep;
            rep = nullptr;
        }
    };

    static std::int32_t LengthOf(Text const& text) { return text.IsNull() ? 0 : text.Length(); }

    // Drops this handle's reference, destroying the Rep with the last one; the handle
    // becomes null.
    void Release()
    {
        if (_pRep && --_pRep->_count == 0) Rep::Deallocate(_pRep);
        _pRep = nullptr;
    }

    Rep* _pRep;
};

// "<null>" for a null handle, otherwise the text as the text type prints itself.
template <class Text, class A, class Locator>
std::ostream& operator<<(std::ostream& os, KelLOBAccess<Text, A, Locator> const& lob)
{
    if (lob.IsNull()) return os << "<null>";
    return os << lob.Value();
}
