#include "db/keldarol.hpp"

#include "db/keldsrol.hpp"
#include "db/keldtabi.hpp"

template class KelDBTable<KEL_ROLE, KelString>;
template class KelDBNamedTable<KEL_ROLE, KelString>;

namespace {
enum Column { oid, roleName, coordinator, description, lockholderOid, lockholderName };

KelDBTableDef const table{"kel_role",
                          "KelDatabase::Role",
                          {{"oid", KelDBColumnType::Oid, false},
                           {"role_name", KelDBColumnType::Text, false, 32},
                           {"coordinator", KelDBColumnType::Text, true, 32},
                           {"description", KelDBColumnType::Text, true},
                           {"lockholder_oid", KelDBColumnType::Oid, true},
                           {"lockholder_name", KelDBColumnType::Text, true, 32}},
                          {roleName},
                          oid,
                          {lockholderName}};
}  // namespace

KelDatabase::Role::Role(KelDrvConnection& conn) : KelDBNamedTable(conn, table) {}

void KelDatabase::Role::ReadRow(KelDrvStatement const& stmt, KEL_ROLE& row) const
{
    KelDBReadOid(stmt, oid, row._oid);
    KelDBReadText(stmt, roleName, row._roleName);
    KelDBReadText(stmt, coordinator, row._coordinator, row._iCoordinator);
    KelDBReadLob(stmt, description, row._description, row._iDescription, KelDBLobLocator(TableText(), row._oid));
    KelDBReadOid(stmt, lockholderOid, row._lockholderOid, row._iLockholderOid);
    KelDBReadText(stmt, lockholderName, row._lockholderName, row._iLockholderName);
}

void KelDatabase::Role::BindColumn(KelDrvStatement& stmt, int pos, KEL_ROLE const& row, int column) const
{
    switch (column) {
    case oid: return KelDBBindOid(stmt, pos, row._oid);
    case roleName: return KelDBBindText(stmt, pos, row._roleName);
    case coordinator: return KelDBBindText(stmt, pos, row._coordinator, row._iCoordinator);
    case description: return KelDBBindLob(stmt, pos, row._description, row._iDescription);
    case lockholderOid: return KelDBBindOid(stmt, pos, row._lockholderOid, row._iLockholderOid);
    case lockholderName: return KelDBBindText(stmt, pos, row._lockholderName, row._iLockholderName);
    }
}
