#include "kernel/kelkstr.hpp"

#include "kernel/kelkcon.hpp"

#include <cstring>
#include <ostream>

KelString::KelString(char const* text, std::int32_t len, int)
{
    if (!text) return;
    if (len < 0) len = static_cast<std::int32_t>(std::strlen(text));
    _pRep = Rep::Allocate(len, len);
    if (len > 0) std::memcpy(_pRep->Bytes(), text, static_cast<std::size_t>(len));
    CheckInvariant();
}

KelString::KelString(std::string const& text) : KelString(text.data(), static_cast<std::int32_t>(text.size())) {}

KelString::KelString(CreateEmpty, std::int32_t n)
{
    _pRep = Rep::Allocate(0, n);
    CheckInvariant();
}

std::int32_t KelString::Length() const
{
    // No handle is used here, so a failed check may go on: a null string is 0 long.
    if (IsNull()) {
        KelContract::Fail(KelContractKind::Require, "!IsNull()", __FILE__, __LINE__);
        return 0;
    }
    return _pRep->_len;
}

char const* KelString::C_str() const
{
    if (IsNull()) KelContract::FailHard(KelContractKind::Require, "!IsNull()", __FILE__, __LINE__);
    return reinterpret_cast<char const*>(_pRep->Bytes());
}

std::string KelString::Str() const
{
    if (IsNull()) return std::string();
    return std::string(reinterpret_cast<char const*>(_pRep->Bytes()), static_cast<std::size_t>(_pRep->_len));
}

void KelString::Append(char const* text, std::int32_t n)
{
    std::int32_t old = _pRep ? _pRep->_len : 0;
    std::int32_t len = old + n;
    if (!_pRep || _pRep->_count > 1 || _pRep->_allocLen < len) {
        std::int32_t room = len;
        if (_pRep && _pRep->_count == 1) room = len < 2 * _pRep->_allocLen ? 2 * _pRep->_allocLen : len;
        Rep* rep = Rep::Allocate(len, room);
        if (old > 0) std::memcpy(rep->Bytes(), _pRep->Bytes(), static_cast<std::size_t>(old));
        // Copy the text before the old representation goes: it may point into it.
        if (n > 0) std::memcpy(rep->Bytes() + old, text, static_cast<std::size_t>(n));
        Release();
        _pRep = rep;
    } else if (n > 0) {
        std::memcpy(_pRep->Bytes() + old, text, static_cast<std::size_t>(n));
    }
    _pRep->_len = len;
    _pRep->Bytes()[len] = 0;
    CheckInvariant();
}

KelString& KelString::operator|=(KelString const& other)
{
    if (other.IsNull()) {
        if (IsNull()) Append("", 0);
        return *this;
    }
    KelString keep(other);  // other may be *this
    Append(reinterpret_cast<char const*>(keep._pRep->Bytes()), keep._pRep->_len);
    return *this;
}

KelString& KelString::operator|=(char const* text)
{
    Append(text ? text : "", text ? static_cast<std::int32_t>(std::strlen(text)) : 0);
    return *this;
}

KelString KelString::FromBuffer(std::ostringstream const& buffer) { return KelString(buffer.str()); }

bool operator==(KelString const& a, KelString const& b)
{
    return static_cast<KelBinary const&>(a) == static_cast<KelBinary const&>(b);
}

bool operator<(KelString const& a, KelString const& b)
{
    return static_cast<KelBinary const&>(a) < static_cast<KelBinary const&>(b);
}

std::ostream& operator<<(std::ostream& os, KelString const& s)
{
    if (s.IsNull()) return os << "<null>";
    return os.write(s.C_str(), s.Length());
}

KelString::Tokenizer::Tokenizer(KelString const& list, char const* delimiter, bool keepEmpty, bool trailing)
    : _list(nullptr),
      _delimiter(delimiter && *delimiter ? *delimiter : ';'),
      _zero(0),
      _keepEmpty(keepEmpty),
      _trailing(trailing),
      _pos(0),
      _done(true)
{
    SetList(list);
}

KelString::Tokenizer::~Tokenizer() { delete _list; }

void KelString::Tokenizer::SetList(KelString const& list)
{
    delete _list;
    _list = new KelString(list);
    _pos = 0;
    _done = list.IsNull() || list.Length() == 0;
}

KelString KelString::Tokenizer::Next()
{
    while (!_done) {
        char const* text = _list->C_str();
        std::int32_t len = _list->Length();
        std::int32_t end = _pos;
        while (end < len && text[end] != _delimiter) ++end;
        KelString token(text + _pos, end - _pos);
        if (end >= len) {
            _done = true;
        } else {
            _pos = end + 1;
            if (_pos == len && !_trailing) _done = true;
            if (_pos == len && _trailing) {
                // A trailing delimiter ends with one empty token.
                _pos = len;
            }
        }
        if (token.Length() > 0 || _keepEmpty) return token;
    }
    return KelString();
}
