// KelTOMForRoles: the role manager. Caches KelRoleData objects, keyed by role name, over
// the role table for one transaction, on the named-object cache. Converts rows and
// objects both ways so that an object's ID() equals the key of its row.
#pragma once

#include "db/keldarol.hpp"
#include "db/keldsrol.hpp"
#include "kernel/kelkfun.hpp"
#include "objects/kelmtrol.hpp"
#include "tom/keldtqry.hpp"

class KelTOMForRoleParms {
public:
    // The role's name (the key).
    class CreateInpParm {
    public:
        explicit CreateInpParm(KelString const& name) : _name(name) {}
        KelString const& Name() const { return _name; }
        KelString const& Key() const { return _name; }

    private:
        KelString _name;
    };
    class MaterializeInpParm {
    public:
        MaterializeInpParm() {}
    };
};

template <>
struct KelTypeName<KelTOMForRoleParms> {
    static constexpr char const* value = "KelTOMForRoleParms";
};

class KelTOMForRoles : public KelTomForServerOHANClass<KelRoleData, KEL_ROLE, KelDatabase::Role, KelTOMForRoleParms> {
public:
    using CreateInpParm = KelTOMForRoleParms::CreateInpParm;
    using MaterializeInpParm = KelTOMForRoleParms::MaterializeInpParm;

    KelTOMForRoles(KelTinyObjectManager& tom, KelDatabase& database);
    ~KelTOMForRoles() override;

    // A new role of that name with a fresh OID; every other member null.
    KelRoleData* CreateNewServerObject(CreateInpParm const& parm) override;
    KelRoleData* CreateServerObjectFromTuple(KEL_ROLE const& row) override;
    KEL_ROLE* CreateTupleObject(KelRoleData const& object) override;
};
