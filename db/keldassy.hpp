// KelDatabase::System: the accessor of the system table, one row per system keyed by the
// system's name and system group, with the system's OID unique as well. The state and
// server instance accessors join this table to find systems by name.
#pragma once

#include "db/keldb.hpp"
#include "db/keldtab.hpp"
#include "kernel/kelkfun.hpp"
#include "kernel/kelmsyst.hpp"

struct KEL_SYSTEM;

class KelDatabase::System : public KelDBNamedTable<KEL_SYSTEM, KelSystemID> {
public:
    explicit System(KelDrvConnection& conn);
};

extern template class KelDBTable<KEL_SYSTEM, KelSystemID>;
extern template class KelDBNamedTable<KEL_SYSTEM, KelSystemID>;

template <>
struct KelTypeName<KelDatabase::System> {
    static constexpr char const* value = "KelDatabase::System";
};
