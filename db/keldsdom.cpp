#include "db/keldsdom.hpp"

#include "db/keldsrow.hpp"
#include "kernel/kelkcon.hpp"

#include <ostream>

KEL_DOMAIN::KEL_DOMAIN() : _oid(KelEmptyOid()), _domainName(KelEmptyText(32)), _iDescription(-1) {}

void KEL_DOMAIN::PrintMembers(std::ostream& os) const
{
    KelPrintRowAddress(os, this);
    KelPrintColumn(os, "_oid=", _oid);
    KelPrintColumn(os, "_domainName=", _domainName);
    KelPrintColumn(os, "_description=", _description, _iDescription);
}

void KEL_DOMAIN::CheckLimits() const
{
    kelkRequire(_domainName.IsNull() != true);
    kelkRequire(_domainName.Length() <= 32);
}
