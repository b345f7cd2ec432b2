// KelTOMForPersons: the person manager. Caches KelPersonData objects, keyed by user name,
// over the person table for one transaction, on the named-object cache (bulk reads, OID,
// Search and Release of lock holders). Converts rows and objects both ways so that an
// object's ID() equals the key of the row it was built from.
#pragma once

#include "db/keldaper.hpp"
#include "db/keldsper.hpp"
#include "kernel/kelkfun.hpp"
#include "objects/kelmtper.hpp"
#include "tom/keldtprm.hpp"
#include "tom/keldtqry.hpp"

// The manager's parameters: a new person needs its user name (the key) alone.
struct KelTOMForPersonParms : KelTomKeyParms<KelString> {};

template <>
struct KelTypeName<KelTOMForPersonParms> {
    static constexpr char const* value = "KelTOMForPersonParms";
};

class KelTOMForPersons
    : public KelTomForServerOHANClass<KelPersonData, KEL_PERSON, KelDatabase::Person, KelTOMForPersonParms> {
public:
    using KelTomForServerOHANClass::KelTomForServerOHANClass;

    // A new person of that name with a fresh OID; every other member null.
    KelPersonData* CreateNewServerObject(CreateInpParm const& parm) override;
    KelPersonData* CreateServerObjectFromTuple(KEL_PERSON const& row) override;
    KEL_PERSON* CreateTupleObject(KelPersonData const& object) override;
};
