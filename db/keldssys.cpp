#include "db/keldssys.hpp"

#include "db/keldsrow.hpp"
#include "kernel/kelkcon.hpp"

#include <ostream>

KEL_SYSTEM::KEL_SYSTEM()
    : _oid(KelEmptyOid()),
      _systemName(KelEmptyText(8)),
      _systemGroupName(KelEmptyText(8)),
      _systemGroupOid(KelEmptyOid()),
      _iSystemGroupOid(-1),
      _queueManager(KelEmptyText(32)),
      _iQueueManager(-1),
      _iDescription(-1),
      _lockholderOid(KelEmptyOid()),
      _iLockholderOid(-1),
      _lockholderName(KelEmptyText(32)),
      _iLockholderName(-1)
{
}

void KEL_SYSTEM::PrintMembers(std::ostream& os) const
{
    KelPrintRowAddress(os, this);
    KelPrintColumn(os, "_oid=", _oid);
    KelPrintColumn(os, "_systemName=", _systemName);
    KelPrintColumn(os, "_systemGroupName=", _systemGroupName);
    KelPrintColumn(os, "_systemGroupOid=", _systemGroupOid, _iSystemGroupOid);
    KelPrintColumn(os, "_queueManager=", _queueManager, _iQueueManager);
    KelPrintColumn(os, "_description=", _description, _iDescription);
    KelPrintColumn(os, "_lockholderOid=", _lockholderOid, _iLockholderOid);
    KelPrintColumn(os, "_lockholderName=", _lockholderName, _iLockholderName);
}

void KEL_SYSTEM::CheckLimits() const
{
    kelkRequire(_systemName.IsNull() != true);
    kelkRequire(_systemGroupName.IsNull() != true);
    kelkRequire(_systemName.Length() <= 8);
    kelkRequire(_systemGroupName.Length() <= 8);
    kelkRequire(_iQueueManager < 0 ? true : _queueManager.Length() <= 32);
    kelkRequire(_iLockholderName < 0 ? true : _lockholderName.Length() <= 32);
}
