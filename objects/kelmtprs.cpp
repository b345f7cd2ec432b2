#include "objects/kelmtprs.hpp"

#include "kernel/kelkcon.hpp"
#include "objects/kelmtkwd.hpp"

#include <ostream>

KelCheckSite const KelProcessBaseRep::site{__FILE__, __LINE__};

char const* KelProcessBaseData::_assert_invariant() const
{
    Rep const& r = R();
    if (r._iAuditEventsToWq != r._auditEventsToWq.IsNull())
        return "_pRep->_iAuditEventsToWq == _pRep->_auditEventsToWq.IsNull()";
    if (r._iAuditEventsToDB != r._auditEventsToDB.IsNull())
        return "_pRep->_iAuditEventsToDB == _pRep->_auditEventsToDB.IsNull()";
    return nullptr;
}

void KelProcessBaseData::StreamKeywordDelimited(std::ostream& os, int level) const
{
    Rep const& r = R();
    KelKeywordWriter(os, level)
        .Put("_auditEventsToWq", r._auditEventsToWq, r._iAuditEventsToWq)
        .Put("_auditEventsToDB", r._auditEventsToDB, r._iAuditEventsToDB)
        .Put("_deleted", r._deleted)
        .Put("_dirty", r._dirty);
}
