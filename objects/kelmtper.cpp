#include "objects/kelmtper.hpp"

#include "kernel/kelkcon.hpp"
#include "objects/kelmtkwd.hpp"

#include <ostream>

KelCheckSite const KelPersonRep::site{__FILE__, __LINE__};

KelPersonData::KelPersonData(KelString const& name) : KelDataObject(&Rep::_name, &Rep::_iName, name) {}

KelString const& KelPersonData::Name() const { return R()._name; }
KelString KelPersonData::ID() const { return R()._name; }
bool KelPersonData::OIDIsNull() const { return R()._iOID; }

KelOID const& KelPersonData::OID() const { return Required(&Rep::_oID, &Rep::_iOID, "OIDIsNull() == false"); }

char const* KelPersonData::_assert_invariant() const
{
    Rep const& r = R();
    if (r._iName != r._name.IsNull()) return "_pRep->_iName == _pRep->_name.IsNull()";
    if (r._iOID != r._oID.IsNull()) return "_pRep->_iOID == _pRep->_oID.IsNull()";
    if (r._iSystem != r._system.IsNull()) return "_pRep->_iSystem == _pRep->_system.IsNull()";
    if (r._iOrganization != r._organization.IsNull()) return "_pRep->_iOrganization == _pRep->_organization.IsNull()";
    if (r._iOrganizationOID != r._organizationOID.IsNull())
        return "_pRep->_iOrganizationOID == _pRep->_organizationOID.IsNull()";
    if (r._iSubstitute != r._substitute.IsNull()) return "_pRep->_iSubstitute == _pRep->_substitute.IsNull()";
    if (r._iSubstituteOID != r._substituteOID.IsNull())
        return "_pRep->_iSubstituteOID == _pRep->_substituteOID.IsNull()";
    if (r._iPassword != r._password.IsNull()) return "_pRep->_iPassword == _pRep->_password.IsNull()";
    if (r._iPersonID != r._personID.IsNull()) return "_pRep->_iPersonID == _pRep->_personID.IsNull()";
    if (r._iFirstName != r._firstName.IsNull()) return "_pRep->_iFirstName == _pRep->_firstName.IsNull()";
    if (r._iMiddleName != r._middleName.IsNull()) return "_pRep->_iMiddleName == _pRep->_middleName.IsNull()";
    if (r._iLastName != r._lastName.IsNull()) return "_pRep->_iLastName == _pRep->_lastName.IsNull()";
    if (r._iPhone != r._phone.IsNull()) return "_pRep->_iPhone == _pRep->_phone.IsNull()";
    if (r._iSecondPhone != r._secondPhone.IsNull()) return "_pRep->_iSecondPhone == _pRep->_secondPhone.IsNull()";
    if (r._iLogonBlockedTime != r._logonBlockedTime.IsNull())
        return "_pRep->_iLogonBlockedTime == _pRep->_logonBlockedTime.IsNull()";
    if (r._iDescription != r._description.IsNull()) return "_pRep->_iDescription == _pRep->_description.IsNull()";
    if (r._iLockholder != r._lockholder.IsNull()) return "_pRep->_iLockholder == _pRep->_lockholder.IsNull()";
    if (r._iLockholderOID != r._lockholderOID.IsNull())
        return "_pRep->_iLockholderOID == _pRep->_lockholderOID.IsNull()";
    if (r._iSystemGroup != r._systemGroup.IsNull()) return "_pRep->_iSystemGroup == _pRep->_systemGroup.IsNull()";
    return nullptr;
}

void KelPersonData::StreamKeywordDelimited(std::ostream& os, int level) const
{
    Rep const& r = R();
    KelKeywordWriter(os, level)
        .Put("_name", r._name, r._iName)
        .Put("_oID", r._oID, r._iOID)
        .Put("_system", r._system, r._iSystem)
        .Put("_organization", r._organization, r._iOrganization)
        .Put("_organizationOID", r._organizationOID, r._iOrganizationOID)
        .Put("_substitute", r._substitute, r._iSubstitute)
        .Put("_substituteOID", r._substituteOID, r._iSubstituteOID)
        .Put("_password", r._password, r._iPassword)
        .Put("_personID", r._personID, r._iPersonID)
        .Put("_firstName", r._firstName, r._iFirstName)
        .Put("_middleName", r._middleName, r._iMiddleName)
        .Put("_lastName", r._lastName, r._iLastName)
        .Put("_phone", r._phone, r._iPhone)
        .Put("_secondPhone", r._secondPhone, r._iSecondPhone)
        .Put("_logonBlockedTime", r._logonBlockedTime, r._iLogonBlockedTime)
        .Put("_description", r._description, r._iDescription)
        .Put("_lockholder", r._lockholder, r._iLockholder)
        .Put("_lockholderOID", r._lockholderOID, r._iLockholderOID)
        .Put("_systemGroup", r._systemGroup, r._iSystemGroup)
        .Put("_deleted", r._deleted)
        .Put("_dirty", r._dirty);
}

std::ostream& operator<<(std::ostream& os, KelPersonData const& object) { return KelPutObject(os, object); }
