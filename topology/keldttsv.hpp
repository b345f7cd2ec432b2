// KelTOMForServers: the server manager. Caches KelServerData objects, keyed by server ID
// (kind, name, system, group), over the server table for one transaction, on the
// named-object cache. Converts rows and objects both ways so that ID() equals Key().
#pragma once

#include "db/keldassv.hpp"
#include "db/keldssvr.hpp"
#include "kernel/kelkfun.hpp"
#include "objects/kelmtsvr.hpp"
#include "tom/keldtprm.hpp"
#include "tom/keldtqry.hpp"

// The manager's parameters: a new server needs its server ID (the key) alone.
struct KelTOMForServerParms : KelTomKeyParms<KelServerID> {};

template <>
struct KelTypeName<KelTOMForServerParms> {
    static constexpr char const* value = "KelTOMForServerParms";
};

class KelTOMForServers
    : public KelTomForServerOHANClass<KelServerData, KEL_SERVER, KelDatabase::Server, KelTOMForServerParms> {
public:
    using KelTomForServerOHANClass::KelTomForServerOHANClass;

    KelServerData* CreateNewServerObject(CreateInpParm const& parm) override;
    KelServerData* CreateServerObjectFromTuple(KEL_SERVER const& row) override;
    KEL_SERVER* CreateTupleObject(KelServerData const& object) override;
};
