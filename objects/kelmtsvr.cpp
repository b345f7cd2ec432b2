#include "objects/kelmtsvr.hpp"

#include "kernel/kelkcon.hpp"
#include "objects/kelmtkwd.hpp"

#include <ostream>

void KelServerData::Rep::Deallocate(Rep*& rep)
{
    delete rep;
    rep = nullptr;
}

KelServerData::Rep& KelServerData::R() const
{
    if (_pRep == 0) KelContract::FailHard(KelContractKind::Require, "_pRep != 0", __FILE__, __LINE__);
    return *_pRep;
}

void KelServerData::CheckInvariant() const
{
    char const* failed = _assert_invariant();
    if (failed) KelContract::Fail(KelContractKind::Invariant, failed, __FILE__, __LINE__);
}

KelServerData::KelServerData(KelServerID const& serverID) : _pRep(new Rep)
{
    _pRep->_serverID = serverID;
    _pRep->_iServerID = serverID.IsNull();
}

KelServerData::KelServerData(KelServerData const& other) : _pRep(&other.R())
{
    ++_pRep->_count;
}

KelServerData::~KelServerData()
{
    if (_pRep) Release();
}

KelServerData& KelServerData::operator=(KelServerData const& other)
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

void KelServerData::Release()
{
    kelkRequire(_pRep != 0);
    if (_pRep && --_pRep->_count == 0) Rep::Deallocate(_pRep);
    _pRep = nullptr;
}

bool KelServerData::IsDirty() const { return R()._dirty; }
void KelServerData::MarkClean() { R()._dirty = false; }
void KelServerData::MarkDeleted(bool deleted) { R()._deleted = deleted; }
bool KelServerData::IsDeleted() const { return R()._deleted; }

KelServerID const& KelServerData::ServerID() const { return R()._serverID; }
KelServerID KelServerData::ID() const { return R()._serverID; }
bool KelServerData::OIDIsNull() const { return R()._iOID; }

KelOID const& KelServerData::OID() const
{
    Rep const& r = R();
    kelkRequire(OIDIsNull() == false);
    return r._oID;
}

std::uint32_t KelServerData::RefCount() const { return _pRep ? _pRep->_count : 0; }

char const* KelServerData::_assert_invariant() const
{
    Rep const& r = R();
    if (r._iServerID != r._serverID.IsNull()) return "_pRep->_iServerID == _pRep->_serverID.IsNull()";
    if (r._iOID != r._oID.IsNull()) return "_pRep->_iOID == _pRep->_oID.IsNull()";
    if (r._iSystemOID != r._systemOID.IsNull()) return "_pRep->_iSystemOID == _pRep->_systemOID.IsNull()";
    if (r._iExternalControlContext != r._externalControlContext.IsNull())
        return "_pRep->_iExternalControlContext == _pRep->_externalControlContext.IsNull()";
    if (r._iDescription != r._description.IsNull()) return "_pRep->_iDescription == _pRep->_description.IsNull()";
    if (r._iDocumentation != r._documentation.IsNull())
        return "_pRep->_iDocumentation == _pRep->_documentation.IsNull()";
    if (r._iLockholder != r._lockholder.IsNull()) return "_pRep->_iLockholder == _pRep->_lockholder.IsNull()";
    if (r._iLockholderOID != r._lockholderOID.IsNull())
        return "_pRep->_iLockholderOID == _pRep->_lockholderOID.IsNull()";
    return nullptr;
}

void KelServerData::StreamKeywordDelimited(std::ostream& os, int level) const
{
    Rep const& r = R();
    KelKeywordWriter(os, level)
        .Put("_serverID", r._serverID, r._iServerID)
        .Put("_oID", r._oID, r._iOID)
        .Put("_systemOID", r._systemOID, r._iSystemOID)
        .Put("_externalControlContext", r._externalControlContext, r._iExternalControlContext)
        .Put("_description", r._description, r._iDescription)
        .Put("_documentation", r._documentation, r._iDocumentation)
        .Put("_lockholder", r._lockholder, r._iLockholder)
        .Put("_lockholderOID", r._lockholderOID, r._iLockholderOID)
        .Put("_deleted", r._deleted)
        .Put("_dirty", r._dirty);
}

std::ostream& operator<<(std::ostream& os, KelServerData const& object)
{
    os << std::endl << "KelServerData {";
    object.StreamKeywordDelimited(os, 0);
    return os << " }";
}
