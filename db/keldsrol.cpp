#include "db/keldsrol.hpp"

#include "db/keldrdef.hpp"

#include <ostream>

KEL_ROLE::KEL_ROLE() { Definition().Clear(*this); }

void KEL_ROLE::PrintMembers(std::ostream& os) const { Definition().Print(os, *this); }

void KEL_ROLE::CheckLimits() const { Definition().CheckWidths(*this); }

KelDBRowDef<KEL_ROLE> const& KEL_ROLE::Definition()
{
    using R = KEL_ROLE;
    static KelDBRowDef<R> const def(
        "kel_role", "KelDatabase::Role",
        {KelDBOid("oid", "_oid", &R::_oid), KelDBText("role_name", "_roleName", 32, &R::_roleName).LimitOnRead(),
         KelDBText("coordinator", "_coordinator", 32, &R::_coordinator, &R::_iCoordinator).LimitOnRead(),
         KelDBLongText("description", "_description", &R::_description, &R::_iDescription),
         KelDBOid("lockholder_oid", "_lockholderOid", &R::_lockholderOid, &R::_iLockholderOid),
         KelDBText("lockholder_name", "_lockholderName", 32, &R::_lockholderName, &R::_iLockholderName).LimitOnRead()},
        {"role_name"}, "oid", {"lockholder_name"}, KelDBCheckStyle::Texts, __FILE__, __LINE__);
    return def;
}
