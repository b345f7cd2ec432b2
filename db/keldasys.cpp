#include "db/keldasys.hpp"

#include "db/keldsdf.hpp"
#include "db/keldtabi.hpp"

template class KelDBTable<KEL_SYSTEM_STATE, KelOID>;

KelDatabase::SystemState::SystemState(KelDrvConnection& conn) : KelDBTable(conn, KEL_SYSTEM_STATE::Definition())
{
    _selByName = AddStatement(
        "SELECT {cols} FROM {table} t JOIN kel_system s ON s.oid = t.system_oid WHERE s.system_name = $1 "
        "ORDER BY s.system_group_name, {order}");
}

bool KelDatabase::SystemState::seluniByName(KelString const& systemName, KEL_SYSTEM_STATE& row) const
{
    ++_counts.other;
    return SelectOne(_selByName, systemName, row);
}
