// KelPersonData: the server object of one person (a member of the staff), held by the
// person cache under the person's user name.
//
// A data object as objects/kelmtdat.hpp describes.
// A manager builds an object from a row by the key constructor, a setter per column
// and MarkClean(); the identity accessor and ID() give the key the cache files it under.
#pragma once

#include "kernel/kelkfun.hpp"
#include "kernel/kelkoid.hpp"
#include "kernel/kelkstr.hpp"
#include "kernel/kelktim.hpp"
#include "kernel/kelmusid.hpp"
#include "objects/kelmtdat.hpp"

#include <cstdint>
#include <iosfwd>

// The state of a KelPersonData, shared by its handles.
struct KelPersonRep : KelDataRep<KelPersonRep> {
    static KelCheckSite const site;
    KelString _name;
    bool _iName = true;
    KelOID _oID;
    bool _iOID = true;
    KelString _system;
    bool _iSystem = true;
    KelString _organization;
    bool _iOrganization = true;
    KelOID _organizationOID;
    bool _iOrganizationOID = true;
    KelUserID _substitute;
    bool _iSubstitute = true;
    KelOID _substituteOID;
    bool _iSubstituteOID = true;
    KelString _password;
    bool _iPassword = true;
    KelString _personID;
    bool _iPersonID = true;
    KelString _firstName;
    bool _iFirstName = true;
    KelString _middleName;
    bool _iMiddleName = true;
    KelString _lastName;
    bool _iLastName = true;
    KelString _phone;
    bool _iPhone = true;
    KelString _secondPhone;
    bool _iSecondPhone = true;
    KelTimeStamp _logonBlockedTime;
    bool _iLogonBlockedTime = true;
    KelString _description;
    bool _iDescription = true;
    KelUserID _lockholder;
    bool _iLockholder = true;
    KelOID _lockholderOID;
    bool _iLockholderOID = true;
    KelString _systemGroup;
    bool _iSystemGroup = true;
    bool _deleted = false;
};

class KelPersonData : public KelDataObject<KelPersonData, KelPersonRep> {
public:
    // An object of which only the key is known: every other member null; clean, not deleted.
    explicit KelPersonData(KelString const& name);

    // Every member as "keyword=value" lines indented by level (null members as "<null>").
    void StreamKeywordDelimited(std::ostream& os, int level) const override;

    void Refresh(KelPersonData const& other) { *this = other; }

    static char const* IdName() { return "UserID"; }
    // The key; ID() is a copy of it. Each of these requires "_pRep != 0".
    KelString const& Name() const;
    KelString ID() const;
    bool OIDIsNull() const;
    // REQUIRES: OIDIsNull() == false.
    KelOID const& OID() const;

    // The text of the first member whose null flag disagrees with its value, or null.
    char const* _assert_invariant() const;

    // Members: the value, its null flag, a setter (flag from the value, marks dirty) and
    // a flag setter (marks dirty).
    bool NameIsNull() const { return R()._iName; }
    void SetNameIsNull(bool isNull) { SetNull(&Rep::_iName, isNull); }
    void SetOID(KelOID const& value) { Set(&Rep::_oID, &Rep::_iOID, value); }
    void SetOIDIsNull(bool isNull) { SetNull(&Rep::_iOID, isNull); }
    KelString const& System() const { return R()._system; }
    bool SystemIsNull() const { return R()._iSystem; }
    void SetSystem(KelString const& value) { Set(&Rep::_system, &Rep::_iSystem, value); }
    void SetSystemIsNull(bool isNull) { SetNull(&Rep::_iSystem, isNull); }
    KelString const& Organization() const { return R()._organization; }
    bool OrganizationIsNull() const { return R()._iOrganization; }
    void SetOrganization(KelString const& value) { Set(&Rep::_organization, &Rep::_iOrganization, value); }
    void SetOrganizationIsNull(bool isNull) { SetNull(&Rep::_iOrganization, isNull); }
    KelOID const& OrganizationOID() const { return R()._organizationOID; }
    bool OrganizationOIDIsNull() const { return R()._iOrganizationOID; }
    void SetOrganizationOID(KelOID const& value) { Set(&Rep::_organizationOID, &Rep::_iOrganizationOID, value); }
    void SetOrganizationOIDIsNull(bool isNull) { SetNull(&Rep::_iOrganizationOID, isNull); }
    KelUserID const& Substitute() const { return R()._substitute; }
    bool SubstituteIsNull() const { return R()._iSubstitute; }
    void SetSubstitute(KelUserID const& value) { Set(&Rep::_substitute, &Rep::_iSubstitute, value); }
    void SetSubstituteIsNull(bool isNull) { SetNull(&Rep::_iSubstitute, isNull); }
    KelOID const& SubstituteOID() const { return R()._substituteOID; }
    bool SubstituteOIDIsNull() const { return R()._iSubstituteOID; }
    void SetSubstituteOID(KelOID const& value) { Set(&Rep::_substituteOID, &Rep::_iSubstituteOID, value); }
    void SetSubstituteOIDIsNull(bool isNull) { SetNull(&Rep::_iSubstituteOID, isNull); }
    KelString const& Password() const { return R()._password; }
    bool PasswordIsNull() const { return R()._iPassword; }
    void SetPassword(KelString const& value) { Set(&Rep::_password, &Rep::_iPassword, value); }
    void SetPasswordIsNull(bool isNull) { SetNull(&Rep::_iPassword, isNull); }
    KelString const& PersonID() const { return R()._personID; }
    bool PersonIDIsNull() const { return R()._iPersonID; }
    void SetPersonID(KelString const& value) { Set(&Rep::_personID, &Rep::_iPersonID, value); }
    void SetPersonIDIsNull(bool isNull) { SetNull(&Rep::_iPersonID, isNull); }
    KelString const& FirstName() const { return R()._firstName; }
    bool FirstNameIsNull() const { return R()._iFirstName; }
    void SetFirstName(KelString const& value) { Set(&Rep::_firstName, &Rep::_iFirstName, value); }
    void SetFirstNameIsNull(bool isNull) { SetNull(&Rep::_iFirstName, isNull); }
    KelString const& MiddleName() const { return R()._middleName; }
    bool MiddleNameIsNull() const { return R()._iMiddleName; }
    void SetMiddleName(KelString const& value) { Set(&Rep::_middleName, &Rep::_iMiddleName, value); }
    void SetMiddleNameIsNull(bool isNull) { SetNull(&Rep::_iMiddleName, isNull); }
    KelString const& LastName() const { return R()._lastName; }
    bool LastNameIsNull() const { return R()._iLastName; }
    void SetLastName(KelString const& value) { Set(&Rep::_lastName, &Rep::_iLastName, value); }
    void SetLastNameIsNull(bool isNull) { SetNull(&Rep::_iLastName, isNull); }
    KelString const& Phone() const { return R()._phone; }
    bool PhoneIsNull() const { return R()._iPhone; }
    void SetPhone(KelString const& value) { Set(&Rep::_phone, &Rep::_iPhone, value); }
    void SetPhoneIsNull(bool isNull) { SetNull(&Rep::_iPhone, isNull); }
    KelString const& SecondPhone() const { return R()._secondPhone; }
    bool SecondPhoneIsNull() const { return R()._iSecondPhone; }
    void SetSecondPhone(KelString const& value) { Set(&Rep::_secondPhone, &Rep::_iSecondPhone, value); }
    void SetSecondPhoneIsNull(bool isNull) { SetNull(&Rep::_iSecondPhone, isNull); }
    KelTimeStamp const& LogonBlockedTime() const { return R()._logonBlockedTime; }
    bool LogonBlockedTimeIsNull() const { return R()._iLogonBlockedTime; }
    void SetLogonBlockedTime(KelTimeStamp const& value)
    {
        Set(&Rep::_logonBlockedTime, &Rep::_iLogonBlockedTime, value);
    }
    void SetLogonBlockedTimeIsNull(bool isNull) { SetNull(&Rep::_iLogonBlockedTime, isNull); }
    KelString const& Description() const { return R()._description; }
    bool DescriptionIsNull() const { return R()._iDescription; }
    void SetDescription(KelString const& value) { Set(&Rep::_description, &Rep::_iDescription, value); }
    void SetDescriptionIsNull(bool isNull) { SetNull(&Rep::_iDescription, isNull); }
    KelUserID const& Lockholder() const { return R()._lockholder; }
    bool LockholderIsNull() const { return R()._iLockholder; }
    void SetLockholder(KelUserID const& value) { Set(&Rep::_lockholder, &Rep::_iLockholder, value); }
    void SetLockholderIsNull(bool isNull) { SetNull(&Rep::_iLockholder, isNull); }
    KelOID const& LockholderOID() const { return R()._lockholderOID; }
    bool LockholderOIDIsNull() const { return R()._iLockholderOID; }
    void SetLockholderOID(KelOID const& value) { Set(&Rep::_lockholderOID, &Rep::_iLockholderOID, value); }
    void SetLockholderOIDIsNull(bool isNull) { SetNull(&Rep::_iLockholderOID, isNull); }
    KelString const& SystemGroup() const { return R()._systemGroup; }
    bool SystemGroupIsNull() const { return R()._iSystemGroup; }
    void SetSystemGroup(KelString const& value) { Set(&Rep::_systemGroup, &Rep::_iSystemGroup, value); }
    void SetSystemGroupIsNull(bool isNull) { SetNull(&Rep::_iSystemGroup, isNull); }

private:
    using Rep = KelPersonRep;
};

// A line end, "KelPersonData {", the keyword text, " }".
std::ostream& operator<<(std::ostream& os, KelPersonData const& object);

template <>
struct KelTypeName<KelPersonData> {
    static constexpr char const* value = "KelPersonData";
};
