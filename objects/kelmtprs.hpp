// KelProcessBaseData: the part that every process-running topology object has (what its
// audit events go to); the root of KelSystemData.
//
// A handle: _pRep points to a Rep that copies and assignments share (reference-counted;
// the Rep is destroyed with its last handle). Handles that share a Rep see each other's
// changes: they are one object. Every member may be null and has a null flag (true: null);
// the invariant is that each flag equals its member's own IsNull(); assignment checks it.
// Setters store a value, set its flag from the value's nullness and mark the object dirty;
// IsDirty() reports a change since the object was built or since MarkClean() (its manager
// calls that after a write). IsDeleted() reports the mark set by MarkDeleted().
// Not thread-safe: one transaction's objects are used by one thread at a time.
#pragma once

#include "kernel/kelkfun.hpp"
#include "kernel/kelkoid.hpp"
#include "kernel/kelkstr.hpp"
#include "kernel/kelktim.hpp"
#include "kernel/kelmusid.hpp"

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
    struct Rep {
        std::uint32_t _count = 1;
        KelString _auditEventsToWq;
        bool _iAuditEventsToWq = true;
        KelString _auditEventsToDB;
        bool _iAuditEventsToDB = true;
        bool _deleted = false;
        bool _dirty = false;

        // Destroys and frees rep whatever its count; rep becomes null.
        static void Deallocate(Rep*& rep);
    };
    // The Rep; fails "_pRep != 0" (without going on) for a released handle.
    Rep& R() const;
    void CheckInvariant() const;
    template <class T>
    void Set(T Rep::*member, bool Rep::*isNull, T const& value)
    {
        Rep& r = R();
        r.*member = value;
        r.*isNull = value.IsNull();
        r._dirty = true;
    }
    void SetNull(bool Rep::*isNull, bool value)
    {
        Rep& r = R();
        r.*isNull = value;
        r._dirty = true;
    }

    Rep* _pRep;
};
