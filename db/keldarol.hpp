// KelDatabase::Role: the accessor of the role table, one row per role keyed by the role
// name, with the role's OID unique as well.
#pragma once

#include "db/keldb.hpp"
#include "db/keldtab.hpp"
#include "kernel/kelkfun.hpp"
#include "kernel/kelkstr.hpp"

struct KEL_ROLE;

class KelDatabase::Role : public KelDBNamedTable<KEL_ROLE, KelString> {
public:
    explicit Role(KelDrvConnection& conn);
};

extern template class KelDBTable<KEL_ROLE, KelString>;
extern template class KelDBNamedTable<KEL_ROLE, KelString>;

template <>
struct KelTypeName<KelDatabase::Role> {
    static constexpr char const* value = "KelDatabase::Role";
};
