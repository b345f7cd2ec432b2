#include "db/keldssys.hpp"

#include "db/keldrdef.hpp"

#include <ostream>

KEL_SYSTEM::KEL_SYSTEM() { Definition().Clear(*this); }

void KEL_SYSTEM::PrintMembers(std::ostream& os) const { Definition().Print(os, *this); }

void KEL_SYSTEM::CheckLimits() const { Definition().CheckWidths(*this); }

KelDBRowDef<KEL_SYSTEM> const& KEL_SYSTEM::Definition()
{
    using R = KEL_SYSTEM;
    static KelDBRowDef<R> const def(
        "kel_system", "KelDatabase::System",
        {KelDBOid("oid", "_oid", &R::_oid), KelDBText("system_name", "_systemName", 8, &R::_systemName).LimitOnRead(),
         KelDBText("system_group_name", "_systemGroupName", 8, &R::_systemGroupName).LimitOnRead(),
         KelDBOid("system_group_oid", "_systemGroupOid", &R::_systemGroupOid, &R::_iSystemGroupOid),
         KelDBText("queue_manager", "_queueManager", 32, &R::_queueManager, &R::_iQueueManager),
         KelDBLongText("description", "_description", &R::_description, &R::_iDescription),
         KelDBOid("lockholder_oid", "_lockholderOid", &R::_lockholderOid, &R::_iLockholderOid),
         KelDBText("lockholder_name", "_lockholderName", 32, &R::_lockholderName, &R::_iLockholderName).LimitOnRead()},
        {"system_name", "system_group_name"}, "oid", {"lockholder_name"}, KelDBCheckStyle::Texts, __FILE__, __LINE__);
    return def;
}
