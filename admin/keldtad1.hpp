// KelTOMForSvrInstances: the object manager of server instances. Caches KelSvrInstance
// objects over the server instance state table for one transaction; adds the three
// conversions and the queries for all server instances of one system, for reading (by
// system OID or name) or for update (by system OID, locking the rows). Result vectors are
// only appended to; the objects stay owned by the cache until it is cleared.
#pragma once

#include "db/keldasvi.hpp"
#include "db/keldsdf.hpp"
#include "kernel/kelkfun.hpp"
#include "kernel/kelkoid.hpp"
#include "objects/kelasvin.hpp"
#include "tom/keldtprm.hpp"
#include "tom/keldtqry.hpp"

#include <vector>

class KelTOMForSvrInstanceParms {
public:
    // A new server instance: its OID, its system's OID and its kind.
    class CreateInpParm {
    public:
        CreateInpParm(KelOID const& id, KelOID const& systemOid, KelSenderType::Type type)
            : _id(id), _systemOid(systemOid), _type(type)
        {
        }
        KelOID const& ID() const { return _id; }
        KelOID const& Key() const { return _id; }
        KelOID const& SystemOid() const { return _systemOid; }
        KelSenderType::Type Type() const { return _type; }

    private:
        KelOID _id;
        KelOID _systemOid;
        KelSenderType::Type _type;
    };
    using MaterializeInpParm = KelTomNoParm;
};

template <>
struct KelTypeName<KelTOMForSvrInstanceParms> {
    static constexpr char const* value = "KelTOMForSvrInstanceParms";
};

class KelTOMForSvrInstances : public KelTomForServerClassQry<KelSvrInstance, KEL_SVR_INSTANCE_STATE,
                                                             KelDatabase::SvrInstanceState, KelTOMForSvrInstanceParms> {
public:
    using KelTomForServerClassQry::KelTomForServerClassQry;

    KelSvrInstance* CreateNewServerObject(CreateInpParm const& parm) override;
    KelSvrInstance* CreateMaterializedServerObject(MaterializeInpParm const& parm,
                                                   KEL_SVR_INSTANCE_STATE const& row) override;
    KEL_SVR_INSTANCE_STATE* CreateTupleObject(KelSvrInstance const& object) override;

    // Appends the server instances of the system, materialized for reading; cached
    // instances are returned as cached (with their unsaved changes).
    void MaterializeSvrsForRead(KelOID const& systemOid, std::vector<KelSvrInstance const*>& result);
    void MaterializeSvrsForRead(KelString const& systemName, std::vector<KelSvrInstance const*>& result);
    // Appends the server instances of the system, selected for update (row locks held
    // until the transaction ends); read entries are upgraded in place.
    void MaterializeSvrsForUpdate(KelOID const& systemOid, std::vector<KelSvrInstance*>& result);

private:
    template <class OpenFetch, class Fetch, class Close>
    void ReadInstances(std::vector<KelSvrInstance const*>& result, OpenFetch open, Fetch fetch, Close close);
};
