#include "db/keldaerl.hpp"

#include "db/keldsdf.hpp"
#include "db/keldtabi.hpp"

template class KelDBTable<KEL_ERROR_LOG, KelOID>;

KelDatabase::ErrorLog::ErrorLog(KelDrvConnection& conn) : KelDBTable(conn, KEL_ERROR_LOG::Definition())
{
    _selSystemName = AddStatement("SELECT {cols} FROM {table} t WHERE t.system_name = $1 ORDER BY {order}");
    _selSystemLogId = AddStatement("SELECT {cols} FROM {table} t WHERE t.systemlog_id = $1 ORDER BY {order}");
}

bool KelDatabase::ErrorLog::selSystemNameOpenFetch(KelString const& systemName, KEL_ERROR_LOG& row) const
{
    return CursorOpen(_selSystemName, systemName, row);
}

bool KelDatabase::ErrorLog::selSystemNameFetch(KEL_ERROR_LOG& row) const { return CursorFetch(_selSystemName, row); }

void KelDatabase::ErrorLog::selSystemNameClose() const { CursorClose(_selSystemName); }

bool KelDatabase::ErrorLog::selSystemLogIDOpenFetch(KelBinary const& systemLogOid, KEL_ERROR_LOG& row) const
{
    return CursorOpen(_selSystemLogId, systemLogOid, row);
}

bool KelDatabase::ErrorLog::selSystemLogIDFetch(KEL_ERROR_LOG& row) const { return CursorFetch(_selSystemLogId, row); }

void KelDatabase::ErrorLog::selSystemLogIDClose() const { CursorClose(_selSystemLogId); }
