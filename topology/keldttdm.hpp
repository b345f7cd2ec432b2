// KelTOMForDomains: the domain manager. Caches KelDomainData objects, keyed by domain
// name, over the domain table for one transaction, on the per-class cache with bulk reads
// (domains carry no lock holder). Converts rows and objects both ways.
#pragma once

#include "db/keldadom.hpp"
#include "db/keldsdom.hpp"
#include "kernel/kelkfun.hpp"
#include "objects/kelmtdom.hpp"
#include "tom/keldtqry.hpp"

class KelTOMForDomainParms {
public:
    // The domain's name (the key).
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
struct KelTypeName<KelTOMForDomainParms> {
    static constexpr char const* value = "KelTOMForDomainParms";
};

class KelTOMForDomains
    : public KelTomForServerClassQry<KelDomainData, KEL_DOMAIN, KelDatabase::Domain, KelTOMForDomainParms> {
public:
    using CreateInpParm = KelTOMForDomainParms::CreateInpParm;
    using MaterializeInpParm = KelTOMForDomainParms::MaterializeInpParm;

    KelTOMForDomains(KelTinyObjectManager& tom, KelDatabase& database);
    ~KelTOMForDomains() override;

    KelDomainData* CreateNewServerObject(CreateInpParm const& parm) override;
    KelDomainData* CreateMaterializedServerObject(MaterializeInpParm const& parm, KEL_DOMAIN const& row) override;
    KEL_DOMAIN* CreateTupleObject(KelDomainData const& object) override;
};
