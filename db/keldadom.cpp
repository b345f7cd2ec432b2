#include "db/keldadom.hpp"

#include "db/keldsdom.hpp"
#include "db/keldtabi.hpp"

template class KelDBTable<KEL_DOMAIN, KelString>;

namespace {
enum Column { oid, domainName, description };

KelDBTableDef const table{"kel_domain",
                          "KelDatabase::Domain",
                          {{"oid", KelDBColumnType::Oid, false},
                           {"domain_name", KelDBColumnType::Text, false, 32},
                           {"description", KelDBColumnType::Text, true}},
                          {domainName},
                          oid,
                          {}};
}  // namespace

KelDatabase::Domain::Domain(KelDrvConnection& conn) : KelDBTable(conn, table) {}

void KelDatabase::Domain::ReadRow(KelDrvStatement const& stmt, KEL_DOMAIN& row) const
{
    KelDBReadOid(stmt, oid, row._oid);
    KelDBReadText(stmt, domainName, row._domainName);
    KelDBReadLob(stmt, description, row._description, row._iDescription, KelDBLobLocator(TableText(), row._oid));
}

void KelDatabase::Domain::BindColumn(KelDrvStatement& stmt, int pos, KEL_DOMAIN const& row, int column) const
{
    switch (column) {
    case oid: return KelDBBindOid(stmt, pos, row._oid);
    case domainName: return KelDBBindText(stmt, pos, row._domainName);
    case description: return KelDBBindLob(stmt, pos, row._description, row._iDescription);
    }
}
