// KelDatabase::SystemState: the accessor of the system state table, one row per system
// keyed by the system's OID. Besides the common operations it finds the state of a
// system by the system's name, through the system table.
#pragma once

#include "db/keldb.hpp"
#include "db/keldtab.hpp"
#include "kernel/kelkfun.hpp"
#include "kernel/kelkoid.hpp"

struct KEL_SYSTEM_STATE;

class KelDatabase::SystemState : public KelDBTable<KEL_SYSTEM_STATE, KelOID> {
public:
    explicit SystemState(KelDrvConnection& conn);

    // The state of the system named `systemName` (of the first system group in order
    // when several groups hold a system of that name); false when there is none.
    bool seluniByName(KelString const& systemName, KEL_SYSTEM_STATE& row) const;

private:
    std::size_t _selByName;
};

extern template class KelDBTable<KEL_SYSTEM_STATE, KelOID>;

template <>
struct KelTypeName<KelDatabase::SystemState> {
    static constexpr char const* value = "KelDatabase::SystemState";
};
