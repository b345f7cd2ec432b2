#include "objects/kelmtdom.hpp"

#include "kernel/kelkcon.hpp"
#include "objects/kelmtkwd.hpp"

#include <ostream>

void KelDomainData::Rep::Deallocate(Rep*& rep)
{
    delete rep;
    rep = nullptr;
}

KelDomainData::Rep& KelDomainData::R() const
{
    if (_pRep == 0) KelContract::FailHard(KelContractKind::Require, "_pRep != 0", __FILE__, __LINE__);
    return *_pRep;
}

void KelDomainData::CheckInvariant() const
{
    char const* failed = _assert_invariant();
    if (failed) KelContract::Fail(KelContractKind::Invariant, failed, __FILE__, __LINE__);
}

KelDomainData::KelDomainData(KelString const& name) : _pRep(new Rep)
{
    _pRep->_name = name;
    _pRep->_iName = name.IsNull();
}

KelDomainData::KelDomainData(KelDomainData const& other) : _pRep(&other.R())
{
    ++_pRep->_count;
}

KelDomainData::~KelDomainData()
{
    if (_pRep) Release();
}

KelDomainData& KelDomainData::operator=(KelDomainData const& other)
{
    kelkRequire(_pRep != 0);
    if (&other != this) {
        if (_pRep) Release();
        _pRep = other._pRep;
        kelkRequire(_pRep != 0);
        if (_pRep) ++_pRep->_count;
    }
    CheckInvariant();
    return *this;
}

void KelDomainData::Release()
{
    kelkRequire(_pRep != 0);
    if (_pRep && --_pRep->_count == 0) Rep::Deallocate(_pRep);
    _pRep = nullptr;
}

bool KelDomainData::IsDirty() const { return R()._dirty; }
void KelDomainData::MarkClean() { R()._dirty = false; }
void KelDomainData::MarkDeleted(bool deleted) { R()._deleted = deleted; }
bool KelDomainData::IsDeleted() const { return R()._deleted; }

KelString const& KelDomainData::Name() const { return R()._name; }
KelString KelDomainData::ID() const { return R()._name; }
bool KelDomainData::OIDIsNull() const { return R()._iOID; }

KelOID const& KelDomainData::OID() const
{
    Rep const& r = R();
    kelkRequire(OIDIsNull() == false);
    return r._oID;
}

std::uint32_t KelDomainData::RefCount() const { return _pRep ? _pRep->_count : 0; }

char const* KelDomainData::_assert_invariant() const
{
    Rep const& r = R();
    if (r._iName != r._name.IsNull()) return "_pRep->_iName == _pRep->_name.IsNull()";
    if (r._iOID != r._oID.IsNull()) return "_pRep->_iOID == _pRep->_oID.IsNull()";
    if (r._iDescription != r._description.IsNull()) return "_pRep->_iDescription == _pRep->_description.IsNull()";
    return nullptr;
}

void KelDomainData::StreamKeywordDelimited(std::ostream& os, int level) const
{
    Rep const& r = R();
    KelKeywordWriter(os, level)
        .Put("_name", r._name, r._iName)
        .Put("_oID", r._oID, r._iOID)
        .Put("_description", r._description, r._iDescription)
        .Put("_deleted", r._deleted)
        .Put("_dirty", r._dirty);
}

std::ostream& operator<<(std::ostream& os, KelDomainData const& object)
{
    os << std::endl << "KelDomainData {";
    object.StreamKeywordDelimited(os, 0);
    return os << " }";
}
