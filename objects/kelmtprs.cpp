#include "objects/kelmtprs.hpp"

#include "kernel/kelkcon.hpp"
#include "objects/kelmtkwd.hpp"

#include <ostream>

KelCheckSite const KelProcessBaseData::Rep::site{__FILE__, __LINE__};

void KelProcessBaseData::Release() { _pRep.Release(); }
std::uint32_t KelProcessBaseData::RefCount() const { return _pRep.Count(); }

KelProcessBaseData::KelProcessBaseData() : _pRep() {}
KelProcessBaseData::KelProcessBaseData(KelProcessBaseData const& other) : _pRep(other._pRep) {}
KelProcessBaseData::~KelProcessBaseData() = default;

KelProcessBaseData& KelProcessBaseData::operator=(KelProcessBaseData const& other)
{
    _pRep.Assign(other._pRep, &other == this);
    _pRep.Check(_assert_invariant());
    return *this;
}

bool KelProcessBaseData::IsDirty() const { return R()._dirty; }
void KelProcessBaseData::MarkClean() { R()._dirty = false; }
void KelProcessBaseData::MarkDeleted(bool deleted) { R()._deleted = deleted; }
bool KelProcessBaseData::IsDeleted() const { return R()._deleted; }

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
