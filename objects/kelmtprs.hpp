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

// The state of a KelProcessBaseData, shared by its handles.
struct KelProcessBaseRep : KelDataRep<KelProcessBaseRep> {
    static KelCheckSite const site;
    KelString _auditEventsToWq;
    bool _iAuditEventsToWq = true;
    KelString _auditEventsToDB;
    bool _iAuditEventsToDB = true;
    bool _deleted = false;
};

class KelProcessBaseData : public KelDataObject<KelProcessBaseData, KelProcessBaseRep> {
public:
    // Every member as "keyword=value" lines indented by level (null members as "<null>").
    void StreamKeywordDelimited(std::ostream& os, int level) const override;

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
    KelProcessBaseData() = default;

private:
    using Rep = KelProcessBaseRep;
};
