// KelTOMForServers: the server manager. Caches KelServerData objects, keyed by server ID
// (kind, name, system, group), over the server table for one transaction, on the
// named-object cache. Converts rows and objects both ways so that ID() equals Key().
#pragma once

#include "db/keldassv.hpp"
#include "db/keldssvr.hpp"
#include "kernel/kelkfun.hpp"
#include "objects/kelmtsvr.hpp"
#include "tom/keldtqry.hpp"

class KelTOMForServerParms {
public:
    // The server's ID (the key).
    class CreateInpParm {
    public:
        explicit CreateInpParm(KelServerID const& serverID) : _serverID(serverID) {}
        KelServerID const& ServerID() const { return _serverID; }
        KelServerID const& Key() const { return _serverID; }

    private:
        KelServerID _serverID;
    };
    class MaterializeInpParm {
    public:
        MaterializeInpParm() {}
    };
};

template <>
struct KelTypeName<KelTOMForServerParms> {
    static constexpr char const* value = "KelTOMForServerParms";
};

class KelTOMForServers
    : public KelTomForServerOHANClass<KelServerData, KEL_SERVER, KelDatabase::Server, KelTOMForServerParms> {
public:
    using CreateInpParm = KelTOMForServerParms::CreateInpParm;
    using MaterializeInpParm = KelTOMForServerParms::MaterializeInpParm;

    KelTOMForServers(KelTinyObjectManager& tom, KelDatabase& database);
    ~KelTOMForServers() override;

    KelServerData* CreateNewServerObject(CreateInpParm const& parm) override;
    KelServerData* CreateServerObjectFromTuple(KEL_SERVER const& row) override;
    KEL_SERVER* CreateTupleObject(KelServerData const& object) override;
};
