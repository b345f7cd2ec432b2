// KelTOMForSystems: the system manager. Caches KelSystemData objects, keyed by system ID
// (name and group), over the system table for one transaction, on the named-object cache.
// Converts rows and objects both ways so that an object's ID() equals its row's key.
#pragma once

#include "db/keldassy.hpp"
#include "db/keldssys.hpp"
#include "kernel/kelkfun.hpp"
#include "objects/kelmtsys.hpp"
#include "tom/keldtqry.hpp"

class KelTOMForSystemParms {
public:
    // The system's ID (the key).
    class CreateInpParm {
    public:
        explicit CreateInpParm(KelSystemID const& systemID) : _systemID(systemID) {}
        KelSystemID const& SystemID() const { return _systemID; }
        KelSystemID const& Key() const { return _systemID; }

    private:
        KelSystemID _systemID;
    };
    class MaterializeInpParm {
    public:
        MaterializeInpParm() {}
    };
};

template <>
struct KelTypeName<KelTOMForSystemParms> {
    static constexpr char const* value = "KelTOMForSystemParms";
};

class KelTOMForSystems
    : public KelTomForServerOHANClass<KelSystemData, KEL_SYSTEM, KelDatabase::System, KelTOMForSystemParms> {
public:
    using CreateInpParm = KelTOMForSystemParms::CreateInpParm;
    using MaterializeInpParm = KelTOMForSystemParms::MaterializeInpParm;

    KelTOMForSystems(KelTinyObjectManager& tom, KelDatabase& database);
    ~KelTOMForSystems() override;

    KelSystemData* CreateNewServerObject(CreateInpParm const& parm) override;
    KelSystemData* CreateServerObjectFromTuple(KEL_SYSTEM const& row) override;
    KEL_SYSTEM* CreateTupleObject(KelSystemData const& object) override;
};
