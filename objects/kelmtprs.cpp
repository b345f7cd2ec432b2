#include "objects/kelmtprs.hpp"

#include "kernel/kelkcon.hpp"
#include "objects/kelmtkwd.hpp"

#include <ostream>

void KelProcessBaseData::Rep::Deallocate(Rep*& rep)
{
    delete rep;
    rep = nullptr;
}

KelProcessBaseData::Rep& KelProcessBaseData::R() const
{
    if (_pRep == 0) KelContract::FailHard(KelContractKind::Require, "_pRep != 0", __FILE__, __LINE__);
    return *_pRep;
}

void KelProcessBaseData::CheckInvariant() const
{
    char const* failed = _assert_invariant();
    if (failed) KelContract::Fail(KelContractKind::Invariant, failed, __FILE__, __LINE__);
}

KelProcessBaseData::KelProcessBaseData() : _pRep(new Rep) {}

KelProcessBaseData::KelProcessBaseData(KelProcessBaseData const& other) : _pRep(&other.R())
{
    ++_pRep->_count;
}

KelProcessBaseData::~KelProcessBaseData()
{
    if (_pRep) Release();
}

KelProcessBaseData& KelProcessBaseData::operator=(KelProcessBaseData const& other)
{
    kelkRequire(_pRep != 0);
    if (&other != this) {
        if (_pRep) Release();
        _pRep = other._pRep;
        kelkRequire(_pRep != 0);
        if (_pRep) ++_pRep->_count;
    }
    CheckInvariant();
    return *this;
}

void KelProcessBaseData::Release()
{
    kelkRequire(_pRep != 0);
    if (_pRep && --_pRep->_count == 0) Rep::Deallocate(_pRep);
    _pRep = nullptr;
}

bool KelProcessBaseData::IsDirty() const { return R()._dirty; }
void KelProcessBaseData::MarkClean() { R()._dirty = false; }
void KelProcessBaseData::MarkDeleted(bool deleted) { R()._deleted = deleted; }
bool KelProcessBaseData::IsDeleted() const { return R()._deleted; }

std::uint32_t KelProcessBaseData::RefCount() const { return _pRep ? _pRep->_count : 0; }

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
