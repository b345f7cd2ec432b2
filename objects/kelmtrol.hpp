// KelRoleData: the server object of one role, held by the role cache under the role's name.
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

// The state of a KelRoleData, shared by its handles.
struct KelRoleRep : KelDataRep<KelRoleRep> {
    static KelCheckSite const site;
    KelString _name;
    bool _iName = true;
    KelOID _oID;
    bool _iOID = true;
    KelUserID _coordinator;
    bool _iCoordinator = true;
    KelOID _coordinatorOID;
    bool _iCoordinatorOID = true;
    KelString _description;
    bool _iDescription = true;
    KelUserID _lockholder;
    bool _iLockholder = true;
    KelOID _lockholderOID;
    bool _iLockholderOID = true;
    bool _deleted = false;
};

class KelRoleData : public KelDataObject<KelRoleData, KelRoleRep> {
public:
    // An object of which only the key is known: every other member null; clean, not deleted.
    explicit KelRoleData(KelString const& name);

    // Every member as "keyword=value" lines indented by level (null members as "<null>").
    void StreamKeywordDelimited(std::ostream& os, int level) const override;

    void Refresh(KelRoleData const& other) { *this = other; }

    static char const* IdName() { return "RoleName"; }
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
    KelUserID const& Coordinator() const { return R()._coordinator; }
    bool CoordinatorIsNull() const { return R()._iCoordinator; }
    void SetCoordinator(KelUserID const& value) { Set(&Rep::_coordinator, &Rep::_iCoordinator, value); }
    void SetCoordinatorIsNull(bool isNull) { SetNull(&Rep::_iCoordinator, isNull); }
    KelOID const& CoordinatorOID() const { return R()._coordinatorOID; }
    bool CoordinatorOIDIsNull() const { return R()._iCoordinatorOID; }
    void SetCoordinatorOID(KelOID const& value) { Set(&Rep::_coordinatorOID, &Rep::_iCoordinatorOID, value); }
    void SetCoordinatorOIDIsNull(bool isNull) { SetNull(&Rep::_iCoordinatorOID, isNull); }
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

private:
    using Rep = KelRoleRep;
};

// A line end, "KelRoleData {", the keyword text, " }".
std::ostream& operator<<(std::ostream& os, KelRoleData const& object);

template <>
struct KelTypeName<KelRoleData> {
    static constexpr char const* value = "KelRoleData";
};
