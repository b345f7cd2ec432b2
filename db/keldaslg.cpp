#include "db/keldaslg.hpp"

#include "db/keldsdf.hpp"
#include "db/keldtabi.hpp"

template class KelDBTable<KEL_SYSTEM_LOG, KelOID>;

KelDatabase::SystemLog::SystemLog(KelDrvConnection& conn) : KelDBTable(conn, KEL_SYSTEM_LOG::Definition())
{
    _selSystemName = AddStatement("SELECT {cols} FROM {table} t WHERE t.system_name = $1 ORDER BY {order}");
}

bool KelDatabase::SystemLog::selSystemNameOpenFetch(KelString const& systemName, KEL_SYSTEM_LOG& row) const
{
    return CursorOpen(_selSystemName, systemName, row);
}

bool KelDatabase::SystemLog::selSystemNameFetch(KEL_SYSTEM_LOG& row) const { return CursorFetch(_selSystemName, row); }

void KelDatabase::SystemLog::selSystemNameClose() const { CursorClose(_selSystemName); }
