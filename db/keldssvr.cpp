#include "db/keldssvr.hpp"

#include "db/keldrdef.hpp"

#include <ostream>

KEL_SERVER::KEL_SERVER() { Definition().Clear(*this); }

void KEL_SERVER::PrintMembers(std::ostream& os) const { Definition().Print(os, *this); }

void KEL_SERVER::CheckLimits() const { Definition().CheckWidths(*this); }

KelDBRowDef<KEL_SERVER> const& KEL_SERVER::Definition()
{
    using R = KEL_SERVER;
    static KelDBRowDef<R> const def(
        "kel_server", "KelDatabase::Server",
        {KelDBOid("oid", "_oid", &R::_oid), KelDBInt("kind", "_kind", &R::_kind),
         KelDBText("server_name", "_serverName", 8, &R::_serverName).LimitOnRead(),
         KelDBText("system_name", "_systemName", 8, &R::_systemName).LimitOnRead(),
         KelDBText("system_group_name", "_systemGroupName", 8, &R::_systemGroupName).LimitOnRead(),
         KelDBOid("system_oid", "_systemOid", &R::_systemOid, &R::_iSystemOid),
         KelDBLongText("description", "_description", &R::_description, &R::_iDescription),
         KelDBOid("lockholder_oid", "_lockholderOid", &R::_lockholderOid, &R::_iLockholderOid),
         KelDBText("lockholder_name", "_lockholderName", 32, &R::_lockholderName, &R::_iLockholderName).LimitOnRead()},
        {"kind", "server_name", "system_name", "system_group_name"}, "oid", {"lockholder_name"}, KelDBCheckStyle::Texts,
        __FILE__, __LINE__);
    return def;
}
