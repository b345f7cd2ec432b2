#include "db/keldasys.hpp"

#include "db/keldsdf.hpp"
#include "db/keldtabi.hpp"

template class KelDBTable<KEL_SYSTEM_STATE, KelOID>;

namespace {
enum Column { systemOid, adminSvrStart, adminSvrState };

KelDBTableDef const table{"kel_system_state",
                          "KelDatabase::SystemState",
                          {{"system_oid", KelDBColumnType::Oid, false},
                           {"admin_svr_start", KelDBColumnType::Time, true},
                           {"admin_svr_state", KelDBColumnType::Int, false}},
                          {systemOid},
                          -1,
                          {}};
}  // namespace

KelDatabase::SystemState::SystemState(KelDrvConnection& conn) : KelDBTable(conn, table)
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

void KelDatabase::SystemState::ReadRow(KelDrvStatement const& stmt, KEL_SYSTEM_STATE& row) const
{
    KelDBReadOid(stmt, systemOid, row._systemOid);
    KelDBReadText(stmt, adminSvrStart, row._adminSvrStart, row._iAdminSvrStart);
    KelDBReadInt(stmt, adminSvrState, row._adminSvrState);
}

void KelDatabase::SystemState::BindColumn(KelDrvStatement& stmt, int pos, KEL_SYSTEM_STATE const& row, int column) const
{
    switch (column) {
    case systemOid: return KelDBBindOid(stmt, pos, row._systemOid);
    case adminSvrStart: return KelDBBindText(stmt, pos, row._adminSvrStart, row._iAdminSvrStart);
    case adminSvrState: return KelDBBindInt(stmt, pos, row._adminSvrState);
    }
}
