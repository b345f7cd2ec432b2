#include "db/keldasvi.hpp"

#include "db/keldsdf.hpp"
#include "db/keldtabi.hpp"

template class KelDBTable<KEL_SVR_INSTANCE_STATE, KelOID>;

KelDatabase::SvrInstanceState::SvrInstanceState(KelDrvConnection& conn)
    : KelDBTable(conn, KEL_SVR_INSTANCE_STATE::Definition())
{
    _selSystemName = AddStatement(
        "SELECT {cols} FROM {table} t JOIN kel_system s ON s.oid = t.system_oid WHERE s.system_name = $1 "
        "ORDER BY {order}");
    _selSystemOid = AddStatement("SELECT {cols} FROM {table} t WHERE t.system_oid = $1 ORDER BY {order}");
    _selupdSystemOid = AddStatement("SELECT {cols} FROM {table} t WHERE t.system_oid = $1 ORDER BY {order}{lock}");
}

bool KelDatabase::SvrInstanceState::selSystemNameOpenFetch(KelString const& systemName,
                                                           KEL_SVR_INSTANCE_STATE& row) const
{
    return CursorOpen(_selSystemName, systemName, row);
}

bool KelDatabase::SvrInstanceState::selSystemNameFetch(KEL_SVR_INSTANCE_STATE& row) const
{
    return CursorFetch(_selSystemName, row);
}

void KelDatabase::SvrInstanceState::selSystemNameClose() const { CursorClose(_selSystemName); }

bool KelDatabase::SvrInstanceState::selSystemOIDOpenFetch(KelBinary const& systemOid, KEL_SVR_INSTANCE_STATE& row) const
{
    return CursorOpen(_selSystemOid, systemOid, row);
}

bool KelDatabase::SvrInstanceState::selSystemOIDFetch(KEL_SVR_INSTANCE_STATE& row) const
{
    return CursorFetch(_selSystemOid, row);
}

void KelDatabase::SvrInstanceState::selSystemOIDClose() const { CursorClose(_selSystemOid); }

bool KelDatabase::SvrInstanceState::selupdSystemOIDOpenFetch(KelBinary const& systemOid, KEL_SVR_INSTANCE_STATE& row)
{
    return CursorOpen(_selupdSystemOid, systemOid, row);
}

bool KelDatabase::SvrInstanceState::selupdSystemOIDFetch(KEL_SVR_INSTANCE_STATE& row)
{
    return CursorFetch(_selupdSystemOid, row);
}

void KelDatabase::SvrInstanceState::selupdSystemOIDClose() { CursorClose(_selupdSystemOid); }
