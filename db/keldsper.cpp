#include "db/keldsper.hpp"

#include "db/keldrdef.hpp"

#include <ostream>

KEL_PERSON::KEL_PERSON() { Definition().Clear(*this); }

void KEL_PERSON::PrintMembers(std::ostream& os) const { Definition().Print(os, *this); }

void KEL_PERSON::CheckLimits() const { Definition().CheckWidths(*this); }

KelDBRowDef<KEL_PERSON> const& KEL_PERSON::Definition()
{
    using R = KEL_PERSON;
    static KelDBRowDef<R> const def(
        "kel_person", "KelDatabase::Person",
        {KelDBOid("oid", "_oid", &R::_oid), KelDBText("user_id", "_userId", 32, &R::_userId).LimitOnRead(),
         KelDBText("system_group", "_systemGroup", 8, &R::_systemGroup, &R::_iSystemGroup).LimitOnRead(),
         KelDBText("first_name", "_firstName", 32, &R::_firstName, &R::_iFirstName),
         KelDBText("last_name", "_lastName", 32, &R::_lastName, &R::_iLastName),
         KelDBLongText("description", "_description", &R::_description, &R::_iDescription),
         KelDBOid("lockholder_oid", "_lockholderOid", &R::_lockholderOid, &R::_iLockholderOid),
         KelDBText("lockholder_name", "_lockholderName", 32, &R::_lockholderName, &R::_iLockholderName).LimitOnRead()},
        {"user_id"}, "oid", {"lockholder_name"}, KelDBCheckStyle::Texts, __FILE__, __LINE__);
    return def;
}
