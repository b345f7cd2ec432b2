#include "db/keldassv.hpp"

#include "db/keldssvr.hpp"
#include "db/keldtabi.hpp"

template class KelDBTable<KEL_SERVER, KelServerID>;
template class KelDBNamedTable<KEL_SERVER, KelServerID>;

namespace {
enum Column {
    oid,
    kind,
    serverName,
    systemName,
    systemGroupName,
    systemOid,
    description,
    lockholderOid,
    lockholderName
};

KelDBTableDef const table{"kel_server",
                          "KelDatabase::Server",
                          {{"oid", KelDBColumnType::Oid, false},
                           {"kind", KelDBColumnType::Int, false},
                           {"server_name", KelDBColumnType::Text, false, 8},
                           {"system_name", KelDBColumnType::Text, false, 8},
                           {"system_group_name", KelDBColumnType::Text, false, 8},
                           {"system_oid", KelDBColumnType::Oid, true},
                           {"description", KelDBColumnType::Text, true},
                           {"lockholder_oid", KelDBColumnType::Oid, true},
                           {"lockholder_name", KelDBColumnType::Text, true, 32}},
                          {kind, serverName, systemName, systemGroupName},
                          oid,
                          {lockholderName}};
}  // namespace

KelDatabase::Server::Server(KelDrvConnection& conn) : KelDBNamedTable(conn, table) {}

void KelDatabase::Server::ReadRow(KelDrvStatement const& stmt, KEL_SERVER& row) const
{
    KelDBReadOid(stmt, oid, row._oid);
    KelDBReadInt(stmt, kind, row._kind);
    KelDBReadText(stmt, serverName, row._serverName);
    KelDBReadText(stmt, systemName, row._systemName);
    KelDBReadText(stmt, systemGroupName, row._systemGroupName);
    KelDBReadOid(stmt, systemOid, row._systemOid, row._iSystemOid);
    KelDBReadLob(stmt, description, row._description, row._iDescription, KelDBLobLocator(TableText(), row._oid));
    KelDBReadOid(stmt, lockholderOid, row._lockholderOid, row._iLockholderOid);
    KelDBReadText(stmt, lockholderName, row._lockholderName, row._iLockholderName);
}

void KelDatabase::Server::BindColumn(KelDrvStatement& stmt, int pos, KEL_SERVER const& row, int column) const
{
    switch (column) {
    case oid: return KelDBBindOid(stmt, pos, row._oid);
    case kind: return KelDBBindInt(stmt, pos, row._kind);
    case serverName: return KelDBBindText(stmt, pos, row._serverName);
    case systemName: return KelDBBindText(stmt, pos, row._systemName);
    case systemGroupName: return KelDBBindText(stmt, pos, row._systemGroupName);
    case systemOid: return KelDBBindOid(stmt, pos, row._systemOid, row._iSystemOid);
    case description: return KelDBBindLob(stmt, pos, row._description, row._iDescription);
    case lockholderOid: return KelDBBindOid(stmt, pos, row._lockholderOid, row._iLockholderOid);
    case lockholderName: return KelDBBindText(stmt, pos, row._lockholderName, row._iLockholderName);
    }
}
