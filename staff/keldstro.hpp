// KelTOMForRoles: the role manager. Caches KelRoleData objects, keyed by role name, over
// the role table for one transaction, on the named-object cache. Converts rows and
// objects both ways so that an object's ID() equals the key of its row.
#pragma once

#include "db/keldarol.hpp"
#include "db/keldsrol.hpp"
#include "kernel/kelkfun.hpp"
#include "objects/kelmtrol.hpp"
#include "tom/keldtprm.hpp"
#include "tom/keldtqry.hpp"

// The manager's parameters: a new role needs its name (the key) alone.
struct KelTOMForRoleParms : KelTomKeyParms<KelString> {};

template <>
struct KelTypeName<KelTOMForRoleParms> {
    static constexpr char const* value = "KelTOMForRoleParms";
};

class KelTOMForRoles : public KelTomForServerOHANClass<KelRoleData, KEL_ROLE, KelDatabase::Role, KelTOMForRoleParms> {
public:
    using KelTomForServerOHANClass::KelTomForServerOHANClass;

    // A new role of that name with a fresh OID; every other member null.
    KelRoleData* CreateNewServerObject(CreateInpParm const& parm) override;
    KelRoleData* CreateServerObjectFromTuple(KEL_ROLE const& row) override;
    KEL_ROLE* CreateTupleObject(KelRoleData const& object) override;
};
