#include "objects/kelmtsvr.hpp"

#include "kernel/kelkcon.hpp"
#include "objects/kelmtkwd.hpp"

#include <ostream>

KelCheckSite const KelServerRep::site{__FILE__, __LINE__};

KelServerData::KelServerData(KelServerID const& serverID) : KelDataObject(&Rep::_serverID, &Rep::_iServerID, serverID)
{
}

KelServerID const& KelServerData::ServerID() const { return R()._serverID; }
KelServerID KelServerData::ID() const { return R()._serverID; }
bool KelServerData::OIDIsNull() const { return R()._iOID; }

KelOID const& KelServerData::OID() const { return Required(&Rep::_oID, &Rep::_iOID, "OIDIsNull() == false"); }

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

std::ostream& operator<<(std::ostream& os, KelServerData const& object) { return KelPutObject(os, object); }
