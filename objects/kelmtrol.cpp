#include "objects/kelmtrol.hpp"

#include "kernel/kelkcon.hpp"
#include "objects/kelmtkwd.hpp"

#include <ostream>

KelCheckSite const KelRoleRep::site{__FILE__, __LINE__};

KelRoleData::KelRoleData(KelString const& name) : KelDataObject(&Rep::_name, &Rep::_iName, name) {}

KelString const& KelRoleData::Name() const { return R()._name; }
KelString KelRoleData::ID() const { return R()._name; }
bool KelRoleData::OIDIsNull() const { return R()._iOID; }

KelOID const& KelRoleData::OID() const { return Required(&Rep::_oID, &Rep::_iOID, "OIDIsNull() == false"); }

char const* KelRoleData::_assert_invariant() const
{
    Rep const& r = R();
    if (r._iName != r._name.IsNull()) return "_pRep->_iName == _pRep->_name.IsNull()";
    if (r._iOID != r._oID.IsNull()) return "_pRep->_iOID == _pRep->_oID.IsNull()";
    if (r._iCoordinator != r._coordinator.IsNull()) return "_pRep->_iCoordinator == _pRep->_coordinator.IsNull()";
    if (r._iCoordinatorOID != r._coordinatorOID.IsNull())
        return "_pRep->_iCoordinatorOID == _pRep->_coordinatorOID.IsNull()";
    if (r._iDescription != r._description.IsNull()) return "_pRep->_iDescription == _pRep->_description.IsNull()";
    if (r._iLockholder != r._lockholder.IsNull()) return "_pRep->_iLockholder == _pRep->_lockholder.IsNull()";
    if (r._iLockholderOID != r._lockholderOID.IsNull())
        return "_pRep->_iLockholderOID == _pRep->_lockholderOID.IsNull()";
    return nullptr;
}

void KelRoleData::StreamKeywordDelimited(std::ostream& os, int level) const
{
    Rep const& r = R();
    KelKeywordWriter(os, level)
        .Put("_name", r._name, r._iName)
        .Put("_oID", r._oID, r._iOID)
        .Put("_coordinator", r._coordinator, r._iCoordinator)
        .Put("_coordinatorOID", r._coordinatorOID, r._iCoordinatorOID)
        .Put("_description", r._description, r._iDescription)
        .Put("_lockholder", r._lockholder, r._iLockholder)
        .Put("_lockholderOID", r._lockholderOID, r._iLockholderOID)
        .Put("_deleted", r._deleted)
        .Put("_dirty", r._dirty);
}

std::ostream& operator<<(std::ostream& os, KelRoleData const& object) { return KelPutObject(os, object); }
