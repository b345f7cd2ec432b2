// KelTOMForPersons: the person manager. Caches KelPersonData objects, keyed by user name,
// over the person table for one transaction, on the named-object cache (bulk reads, OID,
// Search and Release of lock holders). Converts rows and objects both ways so that an
// object's ID() equals the key of the row it was built from.
#pragma once

#include "db/keldaper.hpp"
#include "db/keldsper.hpp"
#include "kernel/kelkfun.hpp"
#include "objects/kelmtper.hpp"
#include "tom/keldtqry.hpp"

class KelTOMForPersonParms {
public:
    // The person's user name (the key).
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
struct KelTypeName<KelTOMForPersonParms> {
    static constexpr char const* value = "KelTOMForPersonParms";
};

class KelTOMForPersons
    : public KelTomForServerOHANClass<KelPersonData, KEL_PERSON, KelDatabase::Person, KelTOMForPersonParms> {
public:
    using CreateInpParm = KelTOMForPersonParms::CreateInpParm;
    using MaterializeInpParm = KelTOMForPersonParms::MaterializeInpParm;

    KelTOMForPersons(KelTinyObjectManager& tom, KelDatabase& database);
    ~KelTOMForPersons() override;

    // A new person of that name with a fresh OID; every other member null.
    KelPersonData* CreateNewServerObject(CreateInpParm const& parm) override;
    KelPersonData* CreateServerObjectFromTuple(KEL_PERSON const& row) override;
    KEL_PERSON* CreateTupleObject(KelPersonData const& object) override;
};
