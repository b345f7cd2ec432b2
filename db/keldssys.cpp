#include "db/keldssys.hpp"

#include "db/keldsrow.hpp"

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
