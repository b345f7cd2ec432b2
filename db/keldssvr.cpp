#include "db/keldssvr.hpp"

#include "db/keldsrow.hpp"
#include "kernel/kelkcon.hpp"

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

void KEL_SERVER::CheckLimits() const
{
    kelkRequire(_serverName.IsNull() != true);
    kelkRequire(_systemName.IsNull() != true);
    kelkRequire(_systemGroupName.IsNull() != true);
    kelkRequire(_serverName.Length() <= 8);
    kelkRequire(_systemName.Length() <= 8);
    kelkRequire(_systemGroupName.Length() <= 8);
    kelkRequire(_iLockholderName < 0 ? true : _lockholderName.Length() <= 32);
}
