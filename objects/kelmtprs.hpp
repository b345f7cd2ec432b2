// KelProcessBaseData: the part that every process-running topology object has (what its
// audit events go to); the root of KelSystemData.
//
// A data object as objects/kelmtdat.hpp describes.
#pragma once

#include "kernel/kelkfun.hpp"
#include "kernel/kelkoid.hpp"
#include "kernel/kelkstr.hpp"
#include "kernel/kelktim.hpp"
#include "kernel/kelmusid.hpp"
#include "objects/kelmtdat.hpp"

#include <cstdint>
#include <iosfwd>

class KelProcessBaseData {
public:
    // Shares other's Rep.
    KelProcessBaseData(KelProcessBaseData const& other);
    // Drops this handle's reference; the Rep is destroyed with its last one.
    virtual ~KelProcessBaseData();

    // Every member as "keyword=value" lines indented by level (null members as "<null>").
    virtual void StreamKeywordDelimited(std::ostream& os, int level) const;
    // The object has been written: no change is pending any more.
    virtual void MarkClean();
    // Marks the object deleted (or not); the caches then treat it as absent.
    virtual void MarkDeleted(bool deleted = true);
    virtual bool IsDeleted() const;
    virtual bool IsDirty() const;

    // Shares other's Rep (self-assignment changes nothing), then checks the invariant.
    KelProcessBaseData& operator=(KelProcessBaseData const& other);

    // The number of handles sharing this level's Rep.
    std::uint32_t RefCount() const;
    // The text of the first member whose null flag disagrees with its value, or null.
    char const* _assert_invariant() const;

    // Members: the value, its null flag, a setter (flag from the value, marks dirty) and
    // a flag setter (marks dirty).
    KelString const& AuditEventsToWq() const { return R()._auditEventsToWq; }
    bool AuditEventsToWqIsNull() const { return R()._iAuditEventsToWq; }
    void SetAuditEventsToWq(KelString const& value) { Set(&Rep::_auditEventsToWq, &Rep::_iAuditEventsToWq, value); }
    void SetAuditEventsToWqIsNull(bool isNull) { SetNull(&Rep::_iAuditEventsToWq, isNull); }
    KelString const& AuditEventsToDB() const { return R()._auditEventsToDB; }
    bool AuditEventsToDBIsNull() const { return R()._iAuditEventsToDB; }
    void SetAuditEventsToDB(KelString const& value) { Set(&Rep::_auditEventsToDB, &Rep::_iAuditEventsToDB, value); }
    void SetAuditEventsToDBIsNull(bool isNull) { SetNull(&Rep::_iAuditEventsToDB, isNull); }

protected:
    // A part of which nothing is known yet: every member null; clean.
    KelProcessBaseData();
    // Drops this handle's reference; the Rep is destroyed with its last one.
    void Release();

private:
    struct Rep : KelDataRep<Rep> {
        static KelCheckSite const site;
        KelString _auditEventsToWq;
        bool _iAuditEventsToWq = true;
        KelString _auditEventsToDB;
        bool _iAuditEventsToDB = true;
        bool _deleted = false;
    };
    Rep& R() const { return _pRep.Get(); }
    template <class T>
    void Set(T Rep::*member, bool Rep::*isNull, T const& value)
    {
        _pRep.Set(member, isNull, value);
    }
    void SetNull(bool Rep::*isNull, bool value) { _pRep.SetNull(isNull, value); }

    KelDataHandle<Rep> _pRep;
};
