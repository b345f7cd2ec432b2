// KelDatabase::Domain: the accessor of the domain table, one row per domain keyed by the
// domain name, with the domain's OID unique as well.
#pragma once

#include "db/keldb.hpp"
#include "db/keldtab.hpp"
#include "kernel/kelkfun.hpp"
#include "kernel/kelkstr.hpp"

struct KEL_DOMAIN;

class KelDatabase::Domain : public KelDBTable<KEL_DOMAIN, KelString> {
public:
    explicit Domain(KelDrvConnection& conn);
};

extern template class KelDBTable<KEL_DOMAIN, KelString>;

template <>
struct KelTypeName<KelDatabase::Domain> {
    static constexpr char const* value = "KelDatabase::Domain";
};
