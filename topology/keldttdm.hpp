// KelTOMForDomains: the domain manager. Caches KelDomainData objects, keyed by domain
// name, over the domain table for one transaction, on the per-class cache with bulk reads
// (domains carry no lock holder). Converts rows and objects both ways.
#pragma once

#include "db/keldadom.hpp"
#include "db/keldsdom.hpp"
#include "kernel/kelkfun.hpp"
#include "objects/kelmtdom.hpp"
#include "tom/keldtprm.hpp"
#include "tom/keldtqry.hpp"

// The manager's parameters: a new domain needs its name (the key) alone.
struct KelTOMForDomainParms : KelTomKeyParms<KelString> {};

template <>
struct KelTypeName<KelTOMForDomainParms> {
    static constexpr char const* value = "KelTOMForDomainParms";
};

class KelTOMForDomains
    : public KelTomForServerClassQry<KelDomainData, KEL_DOMAIN, KelDatabase::Domain, KelTOMForDomainParms> {
public:
    using KelTomForServerClassQry::KelTomForServerClassQry;

    KelDomainData* CreateNewServerObject(CreateInpParm const& parm) override;
    KelDomainData* CreateMaterializedServerObject(MaterializeInpParm const& parm, KEL_DOMAIN const& row) override;
    KEL_DOMAIN* CreateTupleObject(KelDomainData const& object) override;
};
