// KelTOMForSystemStates: the object manager of system states. Caches KelSystemState
// objects over the system state table for one transaction; adds the three conversions
// the generic cache leaves open and a lookup by system name. Built and owned by the
// administration server's object manager.
#pragma once

#include "db/keldasys.hpp"
#include "db/keldsdf.hpp"
#include "kernel/kelkfun.hpp"
#include "kernel/kelkoid.hpp"
#include "objects/kelasyss.hpp"
#include "tom/keldtprm.hpp"
#include "tom/keldtqry.hpp"

// The manager's parameters: a new state needs its system's OID (the key) alone.
struct KelTOMForSystemStateParms : KelTomKeyParms<KelOID> {};

template <>
struct KelTypeName<KelTOMForSystemStateParms> {
    static constexpr char const* value = "KelTOMForSystemStateParms";
};

class KelTOMForSystemStates : public KelTomForServerClassQry<KelSystemState, KEL_SYSTEM_STATE, KelDatabase::SystemState,
                                                             KelTOMForSystemStateParms> {
public:
    using KelTomForServerClassQry::KelTomForServerClassQry;

    // A new state of the system: start time null, state 1, clean. Owned by the caller.
    KelSystemState* CreateNewServerObject(CreateInpParm const& parm) override;
    KelSystemState* CreateMaterializedServerObject(MaterializeInpParm const& parm,
                                                   KEL_SYSTEM_STATE const& row) override;
    KEL_SYSTEM_STATE* CreateTupleObject(KelSystemState const& object) override;

    // The state of the system with that name, materialized for reading. Always asks the
    // database for the system's OID first. Throws KelTOMNotFoundException (" SysName=" and
    // the name) when the database has no state of such a system.
    KelSystemState const& MaterializeForReadByName(KelString const& systemName);
};
