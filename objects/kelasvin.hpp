// KelSvrInstance: the in-memory object of one server instance, a row of the server
// instance state table, keyed by the instance's OID. A plain value holder: its cache
// entry owns it from creation until the entry is dropped; callers hold references.
// One dirty flag per changeable member (state, last state change, request) records a
// change through a mutator since the object was built or refreshed; IsDirty() tells the
// cache that the object must be written back. New and freshly materialized objects are
// clean. Not thread-safe (one transaction's objects belong to one thread at a time).
#pragma once

#include "kernel/kelkfun.hpp"
#include "kernel/kelkoid.hpp"
#include "kernel/kelktim.hpp"
#include "objects/kelasenum.hpp"

#include <iosfwd>

class KelAdminSvrCoreContextIF;
class KelTOMForSvrInstances;

class KelSvrInstance {
public:
    // A new server instance: created and last changed now, Stopped (1), no request
    // pending (0), nothing null, clean.
    KelSvrInstance(KelOID const& id, KelOID const& systemOid, KelSenderType::Type type);
    KelSvrInstance(KelSvrInstance const&) = default;
    KelSvrInstance& operator=(KelSvrInstance const&) = default;
    // Releases nothing: every member is a value.
    virtual ~KelSvrInstance();

    // Start-up and shut-down: each moves the instance to the state and request that its
    // name implies, stamps the change with the context's time and marks all three
    // changeable members dirty; then tells the context.
    // A start-up has been requested: StartingUp, request StartUp.
    virtual void StartUp(KelAdminSvrCoreContextIF& context);
    // The server reports that it is starting up: StartingUp, no request pending.
    virtual void StartUpNotif(KelAdminSvrCoreContextIF& context);
    // The server answers that it has started: Running, no request pending.
    virtual void StartUpResponse(KelAdminSvrCoreContextIF& context);
    // A shut-down has been requested: ShuttingDown, request ShutDown.
    virtual void ShutDown(KelAdminSvrCoreContextIF& context);
    // The server reports that it is shutting down: ShuttingDown, no request pending.
    virtual void ShutDownNotif(KelAdminSvrCoreContextIF& context);
    // The server answers that it has stopped: Stopped, no request pending.
    virtual void ShutDownResponse(KelAdminSvrCoreContextIF& context);

    static char const* IdName() { return "ServerInstanceState"; }
    KelOID const& ID() const { return _id; }
    bool IsDirty() const { return _dServerState || _dLastStateChangeTime || _dRequestType; }
    // Deletion is a state of the cache entry, never of the object.
    bool IsDeleted() const { return false; }

    // Overwrites every member, null and dirty flags included, with other's (the OIDs only
    // when other is another object); asserts that the result, hence other, is clean.
    void Refresh(KelSvrInstance const& other);

    // Every member as "keyword=value" lines indented by level (null members as "<null>").
    void StreamKeywordDelimited(std::ostream& os, int level) const;

    KelTimeStamp const& CreationTime() const { return _creationTime; }
    KelOID const& SystemOid() const { return _systemOid; }
    KelSenderType::Type SenderType() const { return _senderType; }
    KelSvrState::Type ServerState() const { return _serverState; }
    KelTimeStamp const& LastStateChangeTime() const { return _lastStateChangeTime; }
    bool LastStateChangeTimeIsNull() const { return _lastStateChangeTimeIsNull; }
    KelSvrRequest::Type RequestType() const { return _requestType; }
    bool RequestTypeIsNull() const { return _requestTypeIsNull; }

    // Mutators: each sets the member, clears its null flag and marks it dirty.
    void SetServerState(KelSvrState::Type state);
    void SetLastStateChangeTime(KelTimeStamp const& time);
    void SetRequestType(KelSvrRequest::Type request);
    // Make the member null (the value stays as it was) and mark it dirty.
    void SetLastStateChangeTimeNull();
    void SetRequestTypeNull();

protected:
    // An instance read from its row: every member as given, clean. Its manager builds it.
    KelSvrInstance(KelOID const& id, KelTimeStamp const& creationTime, KelOID const& systemOid,
                   KelSenderType::Type type, KelSvrState::Type state, KelTimeStamp const& lastStateChangeTime,
                   bool lastStateChangeTimeIsNull, KelSvrRequest::Type requestType, bool requestTypeIsNull);
    friend class KelTOMForSvrInstances;

private:
    void ChangeState(KelAdminSvrCoreContextIF& context, KelSvrState::Type state, KelSvrRequest::Type request);

    KelOID _id;
    KelTimeStamp _creationTime;
    KelOID _systemOid;
    KelSenderType::Type _senderType;
    KelSvrState::Type _serverState;
    KelTimeStamp _lastStateChangeTime;
    KelSvrRequest::Type _requestType;
    bool _lastStateChangeTimeIsNull;
    bool _requestTypeIsNull;
    bool _dServerState;
    bool _dLastStateChangeTime;
    bool _dRequestType;
};

// A line end, "KelSvrInstance {", the keyword text, " }".
std::ostream& operator<<(std::ostream& os, KelSvrInstance const& instance);

template <>
struct KelTypeName<KelSvrInstance> {
    static constexpr char const* value = "KelSvrInstance";
};
