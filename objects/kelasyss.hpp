// KelSystemState: the in-memory object of one system's state (its administration
// server's state and start time), a row of the system state table, keyed by the
// system's OID. A plain value holder owned by its cache entry; callers hold references.
// A dirty flag per changeable member records a change through a mutator since the
// object was built or refreshed. New and freshly materialized objects are clean.
#pragma once

#include "kernel/kelkfun.hpp"
#include "kernel/kelkoid.hpp"
#include "kernel/kelktim.hpp"
#include "objects/kelasenum.hpp"

#include <iosfwd>

class KelSystemState {
public:
    // A new system state: Stopped (1), start time null (all zero), clean.
    explicit KelSystemState(KelOID const& id);
    // A system state read from its row: every member as given, clean.
    KelSystemState(KelOID const& id, KelSvrState::Type state, KelTimeStamp const& startTime, bool startTimeIsNull);
    KelSystemState(KelSystemState const&) = default;
    KelSystemState& operator=(KelSystemState const&) = default;
    virtual ~KelSystemState();

    // Every member as "keyword=value" lines indented by level (null members as "<null>").
    virtual void StreamKeywordDelimited(std::ostream& os, int level) const;

    static char const* IdName() { return "SystemState"; }
    KelOID const& ID() const { return _id; }
    bool IsDirty() const { return _dAdminSvrState || _dAdminSvrStartTime; }
    // Deletion is a state of the cache entry, never of the object.
    bool IsDeleted() const { return false; }

    // Overwrites every member with other's (the OID only when other is another object);
    // asserts that the result, hence other, is clean.
    void Refresh(KelSystemState const& other);

    KelTimeStamp const& AdminSvrStartTime() const { return _adminSvrStartTime; }
    bool AdminSvrStartTimeIsNull() const { return _adminSvrStartTimeIsNull; }
    KelSvrState::Type AdminSvrState() const { return _adminSvrState; }

    // Mutators: each sets the member, clears its null flag and marks it dirty.
    void SetAdminSvrState(KelSvrState::Type state);
    void SetAdminSvrStartTime(KelTimeStamp const& time);
    // Makes the start time null (the value stays as it was) and marks it dirty.
    void SetAdminSvrStartTimeNull();

private:
    KelOID _id;
    KelTimeStamp _adminSvrStartTime;
    KelSvrState::Type _adminSvrState;
    bool _adminSvrStartTimeIsNull;
    bool _dAdminSvrState;
    bool _dAdminSvrStartTime;
};

// A line end, "KelSystemState {", the keyword text, " }".
std::ostream& operator<<(std::ostream& os, KelSystemState const& state);

template <>
struct KelTypeName<KelSystemState> {
    static constexpr char const* value = "KelSystemState";
};
