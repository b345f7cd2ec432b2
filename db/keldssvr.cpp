#include "db/keldssvr.hpp"

#include "db/keldsrow.hpp"

#include <ostream>

KEL_SERVER::KEL_SERVER()
    : _oid(KelEmptyOid()),
      _kind(0),
      _serverName(KelEmptyText(8)),
      _systemName(KelEmptyText(8)),
      _systemGroupName(KelEmptyText(8)),
      _systemOid(KelEmptyOid()),
      _iSystemOid(-1),
      _iDescription(-1),
      _lockholderOid(KelEmptyOid()),
      _iLockholderOid(-1),
      _lockholderName(KelEmptyText(32)),
      _iLockholderName(-1)
{
}

void KEL_SERVER::PrintMembers(std::ostream& os) const
{
    KelPrintRowAddress(os, this);
    KelPrintColumn(os, "_oid=", _oid);
    KelPrintColumn(os, "_kind=", _kind);
    KelPrintColumn(os, "_serverName=", _serverName);
    KelPrintColumn(os, "_systemName=", _systemName);
    KelPrintColumn(os, "_systemGroupName=", _systemGroupName);
    KelPrintColumn(os, "_systemOid=", _systemOid, _iSystemOid);
    KelPrintColumn(os, "_description=", _description, _iDescription);
    KelPrintColumn(os, "_lockholderOid=", _lockholderOid, _iLockholderOid);
    KelPrintColumn(os, "_lockholderName=", _lockholderName, _iLockholderName);
}
