#include "db/keldsper.hpp"

#include "db/keldsrow.hpp"
#include "kernel/kelkcon.hpp"

#include <ostream>

KEL_PERSON::KEL_PERSON()
    : _oid(KelEmptyOid()),
      _userId(KelEmptyText(32)),
      _systemGroup(KelEmptyText(8)),
      _iSystemGroup(-1),
      _firstName(KelEmptyText(32)),
      _iFirstName(-1),
      _lastName(KelEmptyText(32)),
      _iLastName(-1),
      _iDescription(-1),
      _lockholderOid(KelEmptyOid()),
      _iLockholderOid(-1),
      _lockholderName(KelEmptyText(32)),
      _iLockholderName(-1)
{
}

void KEL_PERSON::PrintMembers(std::ostream& os) const
{
    KelPrintRowAddress(os, this);
    KelPrintColumn(os, "_oid=", _oid);
    KelPrintColumn(os, "_userId=", _userId);
    KelPrintColumn(os, "_systemGroup=", _systemGroup, _iSystemGroup);
    KelPrintColumn(os, "_firstName=", _firstName, _iFirstName);
    KelPrintColumn(os, "_lastName=", _lastName, _iLastName);
    KelPrintColumn(os, "_description=", _description, _iDescription);
    KelPrintColumn(os, "_lockholderOid=", _lockholderOid, _iLockholderOid);
    KelPrintColumn(os, "_lockholderName=", _lockholderName, _iLockholderName);
}

void KEL_PERSON::CheckLimits() const
{
    kelkRequire(_userId.IsNull() != true);
    kelkRequire(_userId.Length() <= 32);
    kelkRequire(_iSystemGroup < 0 ? true : _systemGroup.Length() <= 8);
    kelkRequire(_iFirstName < 0 ? true : _firstName.Length() <= 32);
    kelkRequire(_iLastName < 0 ? true : _lastName.Length() <= 32);
    kelkRequire(_iLockholderName < 0 ? true : _lockholderName.Length() <= 32);
}
