#include "db/keldassy.hpp"

#include "db/keldssys.hpp"
#include "db/keldtabi.hpp"

template class KelDBTable<KEL_SYSTEM, KelSystemID>;
template class KelDBNamedTable<KEL_SYSTEM, KelSystemID>;

namespace {
enum Column {
    oid,
    systemName,
    systemGroupName,
    systemGroupOid,
    queueManager,
    description,
    lockholderOid,
    lockholderName
};

KelDBTableDef const table{"kel_system",
                          "KelDatabase::System",
                          {{"oid", KelDBColumnType::Oid, false},
                           {"system_name", KelDBColumnType::Text, false, 8},
                           {"system_group_name", KelDBColumnType::Text, false, 8},
                           {"system_group_oid", KelDBColumnType::Oid, true},
                           {"queue_manager", KelDBColumnType::Text, true},
                           {"description", KelDBColumnType::Text, true},
                           {"lockholder_oid", KelDBColumnType::Oid, true},
                           {"lockholder_name", KelDBColumnType::Text, true, 32}},
                          {systemName, systemGroupName},
                          oid,
                          {lockholderName}};
}  // namespace

KelDatabase::System::System(KelDrvConnection& conn) : KelDBNamedTable(conn, table) {}

void KelDatabase::System::ReadRow(KelDrvStatement const& stmt, KEL_SYSTEM& row) const
{
    KelDBReadOid(stmt, oid, row._oid);
    KelDBReadText(stmt, systemName, row._systemName);
    KelDBReadText(stmt, systemGroupName, row._systemGroupName);
    KelDBReadOid(stmt, systemGroupOid, row._systemGroupOid, row._iSystemGroupOid);
    KelDBReadText(stmt, queueManager, row._queueManager, row._iQueueManager);
    KelDBReadLob(stmt, description, row._description, row._iDescription, KelDBLobLocator(TableText(), row._oid));
    KelDBReadOid(stmt, lockholderOid, row._lockholderOid, row._iLockholderOid);
    KelDBReadText(stmt, lockholderName, row._lockholderName, row._iLockholderName);
}

void KelDatabase::System::BindColumn(KelDrvStatement& stmt, int pos, KEL_SYSTEM const& row, int column) const
{
    switch (column) {
    case oid: return KelDBBindOid(stmt, pos, row._oid);
    case systemName: return KelDBBindText(stmt, pos, row._systemName);
    case systemGroupName: return KelDBBindText(stmt, pos, row._systemGroupName);
    case systemGroupOid: return KelDBBindOid(stmt, pos, row._systemGroupOid, row._iSystemGroupOid);
    case queueManager: return KelDBBindText(stmt, pos, row._queueManager, row._iQueueManager);
    case description: return KelDBBindLob(stmt, pos, row._description, row._iDescription);
    case lockholderOid: return KelDBBindOid(stmt, pos, row._lockholderOid, row._iLockholderOid);
    case lockholderName: return KelDBBindText(stmt, pos, row._lockholderName, row._iLockholderName);
    }
}
