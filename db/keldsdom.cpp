#include "db/keldsdom.hpp"

#include "db/keldrdef.hpp"

#include <ostream>

KEL_DOMAIN::KEL_DOMAIN() { Definition().Clear(*this); }

void KEL_DOMAIN::PrintMembers(std::ostream& os) const { Definition().Print(os, *this); }

void KEL_DOMAIN::CheckLimits() const { Definition().CheckWidths(*this); }

KelDBRowDef<KEL_DOMAIN> const& KEL_DOMAIN::Definition()
{
    using R = KEL_DOMAIN;
    static KelDBRowDef<R> const def(
        "kel_domain", "KelDatabase::Domain",
        {KelDBOid("oid", "_oid", &R::_oid), KelDBText("domain_name", "_domainName", 32, &R::_domainName).LimitOnRead(),
         KelDBLongText("description", "_description", &R::_description, &R::_iDescription)},
        {"domain_name"}, "oid", {}, KelDBCheckStyle::Texts, __FILE__, __LINE__);
    return def;
}
