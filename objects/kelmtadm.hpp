// KelErrorLogRecord and KelSystemLogRecord: the in-memory objects of one error log entry
// and one system log message, rows of the error log and system log tables, keyed by
// their object IDs. Log records are written once and never changed: they have no
// mutators and always report IsDirty().
//
// Each is a handle sharing its Rep through KelDataPart (objects/kelmtdat.hpp). Each
// member of a Rep has a null flag (true: null); an optional member's accessor requires
// its flag to be clear. The invariant ties the flags of class-typed members to their
// values' own nullness; constructors and assignment check it. Not thread-safe.
//
// Both are streamable: WriteTo/ReadFrom carry a record through a KelStream, and
// StreamKeywordDelimited writes the readable "keyword=value" text used in traces.
#pragma once

#include "kernel/kelkblk.hpp"
#include "kernel/kelkfun.hpp"
#include "kernel/kelkoid.hpp"
#include "kernel/kelkstr.hpp"
#include "kernel/kelktim.hpp"
#include "kernel/kelmsvid.hpp"
#include "kernel/kelmusid.hpp"
#include "objects/kelasenum.hpp"
#include "objects/kelmtdat.hpp"
#include "objects/kelmtenum.hpp"
#include "objects/kelmtseq.hpp"

#include <cstdint>
#include <iosfwd>

class KelStream;

// The members that both records begin with, each with its null flag.
struct KelLogRecordHead {
    KelOID _objectID;
    KelTimeStamp _creationTime;
    KelString _systemName;
    KelString _systemGroupName;
    bool _iObjectID = true;
    bool _iCreationTime = true;
    bool _iSystemName = true;
    bool _iSystemGroupName = true;
};

// The state of a KelErrorLogRecord, shared by its handles.
struct KelErrorLogRep : KelDataRep<KelErrorLogRep>, KelLogRecordHead {
    static KelCheckSite const site;
    std::int32_t _versionNumber = 0;
    std::int32_t _releaseNumber = 0;
    std::int32_t _modificationLevelNumber = 0;
    std::int32_t _servicePack = 0;
    KelSenderType::Type _componentID = KelSenderType::Unknown;
    KelString _componentName;
    KelPlatform::Type _platform = KelPlatform::Unknown;
    std::int32_t _exceptionType = 0;
    KelOID _systemLogID;
    std::int32_t _messageType = 0;
    KelTimeStamp _detectionTime;
    KelString _errorFile;
    std::int32_t _errorLine = 0;
    KelString _errorDescription;
    bool _iServicePack = true;
    bool _iExceptionType = true;
    bool _iMessageType = true;
    bool _iErrorFile = true;
    bool _iErrorLine = true;
    bool _iVersionNumber = true;
    bool _iReleaseNumber = true;
    bool _iModificationLevelNumber = true;
    bool _iComponentID = true;
    bool _iComponentName = true;
    bool _iPlatform = true;
    bool _iSystemLogID = true;
    bool _iDetectionTime = true;
    bool _iErrorDescription = true;
};

class KelErrorLogRecord : public KelDataPart<KelErrorLogRecord, KelErrorLogRep> {
public:
    // The records' blocks are kept for reuse (KelSmallBlocks), freed with the record's own size.
    static void* operator new(std::size_t bytes) { return KelSmallBlocks::Allocate(bytes); }
    static void operator delete(void* block, std::size_t bytes) noexcept { KelSmallBlocks::Free(block, bytes); }
    // A record of which only the OID is known: every other member null (strings null,
    // times and the system log ID all zero, numbers 0).
    explicit KelErrorLogRecord(KelOID const& id);
    // A record with every member; each optional member is followed by its null flag.
    KelErrorLogRecord(KelOID const& objectID, KelTimeStamp const& creationTime, KelString const& systemName,
                      KelString const& systemGroupName, std::int32_t versionNumber, std::int32_t releaseNumber,
                      std::int32_t modificationLevelNumber, std::int32_t servicePack, bool servicePackIsNull,
                      KelSenderType::Type componentID, KelString const& componentName, KelPlatform::Type platform,
                      std::int32_t exceptionType, bool exceptionTypeIsNull, KelOID const& systemLogID,
                      std::int32_t messageType, bool messageTypeIsNull, KelTimeStamp const& detectionTime,
                      KelString const& errorFile, bool errorFileIsNull, std::int32_t errorLine, bool errorLineIsNull,
                      KelString const& errorDescription);
    virtual ~KelErrorLogRecord() = default;
    void Refresh(KelErrorLogRecord const& other) { *this = other; }

protected:
    virtual void WriteMembers(KelStream& stream) const;
    // Replaces the Rep by a fresh one of this handle's own with every member null.
    virtual void Cleanup();
    // Reads the member numbered parm (1 = the object ID, in Rep order) into the Rep.
    virtual void ReadParm(KelStream& stream, unsigned long parm);

public:
    // A log record is never deleted and always to be written.
    virtual bool IsDeleted() const;
    virtual bool IsDirty() const;

    // Writes the record to the stream; ReadFrom replaces this record's contents by the
    // next record in the stream (raising KelIntExcInvalidCase for one it does not know).
    void WriteTo(KelStream& stream) const;
    void ReadFrom(KelStream& stream);
    // Every member as "keyword=value" lines indented by level (null members as "<null>").
    void StreamKeywordDelimited(std::ostream& os, int level) const;

    static char const* IdName() { return "ErrorLogOID"; }
    KelOID ID() const;
    // The text of the first violated invariant condition, or null.
    char const* _assert_invariant() const;

    // Accessors; each requires "_pRep != 0", an optional one also its flag to be clear.
    KelOID const& ObjectID() const;
    KelTimeStamp const& CreationTime() const;
    KelString const& SystemName() const;
    KelString const& SystemGroupName() const;
    std::int32_t VersionNumber() const;
    std::int32_t ReleaseNumber() const;
    std::int32_t ModificationLevelNumber() const;
    std::int32_t ServicePack() const;
    KelSenderType::Type ComponentID();
    KelString const& ComponentName() const;
    KelPlatform::Type Platform();
    std::int32_t ExceptionType() const;
    KelOID const& SystemLogID() const;
    std::int32_t MessageType() const;
    KelTimeStamp const& DetectionTime() const;
    KelString const& ErrorFile() const;
    std::int32_t ErrorLine() const;
    KelString const& ErrorDescription() const;

    bool ServicePackIsNull() const;
    bool ExceptionTypeIsNull() const;
    bool MessageTypeIsNull() const;
    bool ErrorFileIsNull() const;
    bool ErrorLineIsNull() const;

private:
    using Rep = KelErrorLogRep;
    // The Rep; fails "_pRep != 0" (without going on) for a released handle.
    Rep& Checked() const { return R(); }
    void CheckInvariant() const { _pRep.Check(_assert_invariant()); }
};

// Writes StreamKeywordDelimited(os, 0) and nothing else.
std::ostream& operator<<(std::ostream& os, KelErrorLogRecord const& record);

template <>
struct KelTypeName<KelErrorLogRecord> {
    static constexpr char const* value = "KelErrorLogRecord";
};

// The state of a KelSystemLogRecord, shared by its handles.
struct KelSystemLogRep : KelDataRep<KelSystemLogRep>, KelLogRecordHead {
    static KelCheckSite const site;
    // Ordered so that no padding falls between the members (152 bytes, was 160).
    std::int32_t _messageNumber = 0;
    KelSeverity::Type _severity = KelSeverity::Unknown;
    KelMessageClass::Type _messageClass = KelMessageClass::Unknown;
    KelString _eventIdentifier;
    std::int32_t _messageType = 0;
    KelSvrKind::Type _svrKind = KelSvrKind::None;
    KelUserID _userID;
    KelSvrState::Type _svrState = KelSvrState::Unknown;
    std::int32_t _exception = 0;
    KelValueSequence<KelString, -100> _messageParameters;
    bool _errorFlag = false;
    bool _iEventIdentifier = true;
    bool _iMessageType = true;
    bool _iSvrKind = true;
    bool _iSvrState = true;
    bool _iUserID = true;
    bool _iException = true;
    bool _iMessageParameters = true;
    bool _iMessageNumber = true;
    bool _iSeverity = true;
    bool _iMessageClass = true;
    bool _iErrorFlag = true;
};

class KelSystemLogRecord : public KelDataPart<KelSystemLogRecord, KelSystemLogRep> {
public:
    // The records' blocks are kept for reuse (KelSmallBlocks), freed with the record's own size.
    static void* operator new(std::size_t bytes) { return KelSmallBlocks::Allocate(bytes); }
    static void operator delete(void* block, std::size_t bytes) noexcept { KelSmallBlocks::Free(block, bytes); }
    using Parameters = KelValueSequence<KelString, -100>;

    // A record of which only the OID is known: every other member null (strings null,
    // the creation time all zero, the user ID and the parameters empty, numbers 0).
    explicit KelSystemLogRecord(KelOID const& id);
    // A record with every member; each optional member is followed by its null flag.
    // The parameters are taken over (a caller that keeps its own passes a copy).
    KelSystemLogRecord(KelOID const& objectID, KelTimeStamp const& creationTime, KelString const& systemName,
                       KelString const& systemGroupName, std::int32_t messageNumber, KelSeverity::Type severity,
                       KelMessageClass::Type messageClass, KelString const& eventIdentifier, bool eventIdentifierIsNull,
                       std::int32_t messageType, bool messageTypeIsNull, bool errorFlag, KelSvrKind::Type svrKind,
                       bool svrKindIsNull, KelSvrState::Type svrState, bool svrStateIsNull, KelUserID const& userID,
                       bool userIDIsNull, std::int32_t exception, bool exceptionIsNull, Parameters messageParameters,
                       bool messageParametersIsNull);
    virtual ~KelSystemLogRecord() = default;
    void Refresh(KelSystemLogRecord const& other) { *this = other; }

protected:
    virtual void WriteMembers(KelStream& stream) const;
    // Replaces the Rep by a fresh one of this handle's own with every member null.
    virtual void Cleanup();
    // Reads the member numbered parm (1 = the object ID, in Rep order) into the Rep.
    virtual void ReadParm(KelStream& stream, unsigned long parm);

public:
    // A log record is never deleted and always to be written.
    virtual bool IsDeleted() const;
    virtual bool IsDirty() const;

    // Writes the record to the stream; ReadFrom replaces this record's contents by the
    // next record in the stream (raising KelIntExcInvalidCase for one it does not know).
    void WriteTo(KelStream& stream) const;
    void ReadFrom(KelStream& stream);
    // Every member as "keyword=value" lines indented by level (null members as "<null>").
    void StreamKeywordDelimited(std::ostream& os, int level) const;

    static char const* IdName() { return "SystemLogOID"; }
    KelOID ID() const;
    // The text of the first violated invariant condition, or null.
    char const* _assert_invariant() const;

    // Accessors; each requires "_pRep != 0", an optional one also its flag to be clear.
    KelOID const& ObjectID() const;
    KelTimeStamp const& CreationTime() const;
    KelString const& SystemName() const;
    KelString const& SystemGroupName() const;
    std::int32_t MessageNumber() const;
    KelSeverity::Type Severity();
    KelMessageClass::Type MessageClass();
    KelString const& EventIdentifier() const;
    std::int32_t MessageType() const;
    bool ErrorFlag() const;
    KelSvrKind::Type SvrKind();
    KelSvrState::Type SvrState();
    KelUserID const& UserID() const;
    std::int32_t Exception() const;
    Parameters const& MessageParameters() const;

    bool EventIdentifierIsNull() const;
    bool MessageTypeIsNull() const;
    bool SvrKindIsNull() const;
    bool SvrStateIsNull() const;
    bool UserIDIsNull() const;
    bool ExceptionIsNull() const;
    bool MessageParametersIsNull() const;

private:
    using Rep = KelSystemLogRep;
    // The Rep; fails "_pRep != 0" (without going on) for a released handle.
    Rep& Checked() const { return R(); }
    void CheckInvariant() const { _pRep.Check(_assert_invariant()); }
};

// Writes StreamKeywordDelimited(os, 0) and nothing else.
std::ostream& operator<<(std::ostream& os, KelSystemLogRecord const& record);

template <>
struct KelTypeName<KelSystemLogRecord> {
    static constexpr char const* value = "KelSystemLogRecord";
};
