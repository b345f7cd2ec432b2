// KelTOMForSystems: the system manager. Caches KelSystemData objects, keyed by system ID
// (name and group), over the system table for one transaction, on the named-object cache.
// Converts rows and objects both ways so that an object's ID() equals its row's key.
#pragma once

#include "db/keldassy.hpp"
#include "db/keldssys.hpp"
#include "kernel/kelkfun.hpp"
#include "objects/kelmtsys.hpp"
#include "tom/keldtprm.hpp"
#include "tom/keldtqry.hpp"

// The manager's parameters: a new system needs its system ID (the key) alone.
struct KelTOMForSystemParms : KelTomKeyParms<KelSystemID> {};

template <>
struct KelTypeName<KelTOMForSystemParms> {
    static constexpr char const* value = "KelTOMForSystemParms";
};

class KelTOMForSystems
    : public KelTomForServerOHANClass<KelSystemData, KEL_SYSTEM, KelDatabase::System, KelTOMForSystemParms> {
public:
    using KelTomForServerOHANClass::KelTomForServerOHANClass;

    KelSystemData* CreateNewServerObject(CreateInpParm const& parm) override;
    KelSystemData* CreateServerObjectFromTuple(KEL_SYSTEM const& row) override;
    KEL_SYSTEM* CreateTupleObject(KelSystemData const& object) override;
};
