#include "db/keldaper.hpp"

#include "db/keldsper.hpp"
#include "db/keldtabi.hpp"

template class KelDBTable<KEL_PERSON, KelString>;
template class KelDBNamedTable<KEL_PERSON, KelString>;

namespace {
enum Column { oid, userId, systemGroup, firstName, lastName, description, lockholderOid, lockholderName };

KelDBTableDef const table{"kel_person",
                          "KelDatabase::Person",
                          {{"oid", KelDBColumnType::Oid, false},
                           {"user_id", KelDBColumnType::Text, false, 32},
                           {"system_group", KelDBColumnType::Text, true, 8},
                           {"first_name", KelDBColumnType::Text, true},
                           {"last_name", KelDBColumnType::Text, true},
                           {"description", KelDBColumnType::Text, true},
                           {"lockholder_oid", KelDBColumnType::Oid, true},
                           {"lockholder_name", KelDBColumnType::Text, true, 32}},
                          {userId},
                          oid,
                          {lockholderName}};
}  // namespace

KelDatabase::Person::Person(KelDrvConnection& conn) : KelDBNamedTable(conn, table)
{
    _selByOid = AddStatement("SELECT {cols} FROM {table} t WHERE t.oid = $1");
}

bool KelDatabase::Person::seluidOID(KelBinary const& oid, KEL_PERSON& row) const
{
    ++_counts.other;
    return SelectOne(_selByOid, oid, row);
}

void KelDatabase::Person::ReadRow(KelDrvStatement const& stmt, KEL_PERSON& row) const
{
    KelDBReadOid(stmt, oid, row._oid);
    KelDBReadText(stmt, userId, row._userId);
    KelDBReadText(stmt, systemGroup, row._systemGroup, row._iSystemGroup);
    KelDBReadText(stmt, firstName, row._firstName, row._iFirstName);
    KelDBReadText(stmt, lastName, row._lastName, row._iLastName);
    KelDBReadLob(stmt, description, row._description, row._iDescription, KelDBLobLocator(TableText(), row._oid));
    KelDBReadOid(stmt, lockholderOid, row._lockholderOid, row._iLockholderOid);
    KelDBReadText(stmt, lockholderName, row._lockholderName, row._iLockholderName);
}

void KelDatabase::Person::BindColumn(KelDrvStatement& stmt, int pos, KEL_PERSON const& row, int column) const
{
    switch (column) {
    case oid: return KelDBBindOid(stmt, pos, row._oid);
    case userId: return KelDBBindText(stmt, pos, row._userId);
    case systemGroup: return KelDBBindText(stmt, pos, row._systemGroup, row._iSystemGroup);
    case firstName: return KelDBBindText(stmt, pos, row._firstName, row._iFirstName);
    case lastName: return KelDBBindText(stmt, pos, row._lastName, row._iLastName);
    case description: return KelDBBindLob(stmt, pos, row._description, row._iDescription);
    case lockholderOid: return KelDBBindOid(stmt, pos, row._lockholderOid, row._iLockholderOid);
    case lockholderName: return KelDBBindText(stmt, pos, row._lockholderName, row._iLockholderName);
    }
}
