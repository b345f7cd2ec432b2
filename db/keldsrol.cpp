#include "db/keldsrol.hpp"

#include "db/keldsrow.hpp"
#include "kernel/kelkcon.hpp"

#include <ostream>

KEL_ROLE::KEL_ROLE()
    : _oid(KelEmptyOid()),
      _roleName(KelEmptyText(32)),
      _coordinator(KelEmptyText(32)),
      _iCoordinator(-1),
      _iDescription(-1),
      _lockholderOid(KelEmptyOid()),
      _iLockholderOid(-1),
      _lockholderName(KelEmptyText(32)),
      _iLockholderName(-1)
{
}

void KEL_ROLE::PrintMembers(std::ostream& os) const
{
    KelPrintRowAddress(os, this);
    KelPrintColumn(os, "_oid=", _oid);
    KelPrintColumn(os, "_roleName=", _roleName);
    KelPrintColumn(os, "_coordinator=", _coordinator, _iCoordinator);
    KelPrintColumn(os, "_description=", _description, _iDescription);
    KelPrintColumn(os, "_lockholderOid=", _lockholderOid, _iLockholderOid);
    KelPrintColumn(os, "_lockholderName=", _lockholderName, _iLockholderName);
}

void KEL_ROLE::CheckLimits() const
{
    kelkRequire(_roleName.IsNull() != true);
    kelkRequire(_roleName.Length() <= 32);
    kelkRequire(_iCoordinator < 0 ? true : _coordinator.Length() <= 32);
    kelkRequire(_iLockholderName < 0 ? true : _lockholderName.Length() <= 32);
}
