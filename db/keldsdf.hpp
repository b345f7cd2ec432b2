// Row records of the four log and state tables: server instance states, system states,
// system log records and error log records. Each is the in-memory image of one table
// row as the table accessors bind it: one public member per column, in column order, and
// a 16-bit null indicator (_i<Name>: -1 null, 0 present) after each nullable column.
// The member order and types are the accessors' binary interface and must not change.
//
// Plain values: copies share the handles of their texts and OIDs. The full constructor
// stores every column and then checks the column limits through the kernel's contract
// checks, building the row even where a check fails. The default constructor gives the
// buffer the accessors fill when they select: 16-byte OIDs, empty texts with room for
// their limit, numbers 0, every indicator -1. A row made by new, as the caches make one
// per write, has its block kept for reuse when it is deleted (KelSmallBlocks).
#pragma once

#include "kernel/kelkbin.hpp"
#include "kernel/kelkblk.hpp"
#include "kernel/kelkfun.hpp"
#include "kernel/kelkoid.hpp"
#include "kernel/kelkstr.hpp"

#include <cstdint>
#include <iosfwd>

template <class R>
class KelDBRowDef;

// One row per server instance; key _svrOid.
struct KEL_SVR_INSTANCE_STATE : KelSmallBlockAllocated {
    KelBinary _svrOid;
    KelString _creationTime;  // timestamp text, at most 26
    KelBinary _systemOid;
    std::int32_t _svrType;       // KelSenderType::Type
    std::int32_t _svrState;      // KelSvrState::Type
    KelString _lastStateChange;  // timestamp text, at most 26
    std::int16_t _iLastStateChange;
    std::int32_t _requestType;  // KelSvrRequest::Type
    std::int16_t _iRequestType;

    // The one description of the table and this row (db/keldrdef.hpp): columns, members,
    // widths.
    static KelDBRowDef<KEL_SVR_INSTANCE_STATE> const& Definition();

    KEL_SVR_INSTANCE_STATE();
    KEL_SVR_INSTANCE_STATE(KelBinary const& svrOid, KelString const& creationTime, KelBinary const& systemOid,
                           std::int32_t svrType, std::int32_t svrState, KelString const& lastStateChange,
                           std::int16_t iLastStateChange, std::int32_t requestType, std::int16_t iRequestType);
    KEL_SVR_INSTANCE_STATE(KEL_SVR_INSTANCE_STATE const&) = default;
    KEL_SVR_INSTANCE_STATE& operator=(KEL_SVR_INSTANCE_STATE const&) = default;
    ~KEL_SVR_INSTANCE_STATE() = default;

    // REQUIRES: _svrOid holds exactly 16 bytes.
    KelOID Key() const { return KelOID(_svrOid); }
    void PrintMembers(std::ostream& os) const;
};

// One row per system; key _systemOid.
struct KEL_SYSTEM_STATE : KelSmallBlockAllocated {
    KelBinary _systemOid;
    KelString _adminSvrStart;  // timestamp text, at most 26
    std::int16_t _iAdminSvrStart;
    std::int32_t _adminSvrState;  // KelSvrState::Type

    static KelDBRowDef<KEL_SYSTEM_STATE> const& Definition();

    KEL_SYSTEM_STATE();
    KEL_SYSTEM_STATE(KelBinary const& systemOid, KelString const& adminSvrStart, std::int16_t iAdminSvrStart,
                     std::int32_t adminSvrState);
    KEL_SYSTEM_STATE(KEL_SYSTEM_STATE const&) = default;
    KEL_SYSTEM_STATE& operator=(KEL_SYSTEM_STATE const&) = default;
    ~KEL_SYSTEM_STATE() = default;

    // REQUIRES: _systemOid holds exactly 16 bytes.
    KelOID Key() const { return KelOID(_systemOid); }
    void PrintMembers(std::ostream& os) const;
};

// One row per system log message; key _objectId.
struct KEL_SYSTEM_LOG : KelSmallBlockAllocated {
    KelBinary _objectId;
    KelString _creationTime;  // timestamp text, at most 26
    KelString _system;        // at most 8
    KelString _systemGroup;   // at most 8
    std::int32_t _messageNumber;
    std::int32_t _severity;      // KelSeverity::Type
    std::int32_t _messageClass;  // KelMessageClass::Type
    std::int32_t _messageType;
    std::int16_t _iMessageType;
    std::int16_t _errorFlag;  // 1 when the message reports an error
    std::int32_t _svrKind;    // KelSvrKind::Type
    std::int16_t _iSvrKind;
    std::int32_t _svrState;  // KelSvrState::Type
    std::int16_t _iSvrState;
    std::int32_t _exception;
    std::int16_t _iException;
    KelString _eventIdentifier;  // at most 32
    std::int16_t _iEventIdentifier;
    KelString _userId;  // at most 32
    std::int16_t _iUserId;
    KelString _messageParameters;  // at most 1024
    std::int16_t _iMessageParameters;

    static KelDBRowDef<KEL_SYSTEM_LOG> const& Definition();

    KEL_SYSTEM_LOG();
    KEL_SYSTEM_LOG(KelBinary const& objectId, KelString const& creationTime, KelString const& system,
                   KelString const& systemGroup, std::int32_t messageNumber, std::int32_t severity,
                   std::int32_t messageClass, std::int32_t messageType, std::int16_t iMessageType,
                   std::int16_t errorFlag, std::int32_t svrKind, std::int16_t iSvrKind, std::int32_t svrState,
                   std::int16_t iSvrState, std::int32_t exception, std::int16_t iException,
                   KelString const& eventIdentifier, std::int16_t iEventIdentifier, KelString const& userId,
                   std::int16_t iUserId, KelString const& messageParameters, std::int16_t iMessageParameters);
    KEL_SYSTEM_LOG(KEL_SYSTEM_LOG const&) = default;
    KEL_SYSTEM_LOG& operator=(KEL_SYSTEM_LOG const&) = default;
    ~KEL_SYSTEM_LOG() = default;

    // REQUIRES: _objectId holds exactly 16 bytes.
    KelOID Key() const { return KelOID(_objectId); }
    void PrintMembers(std::ostream& os) const;
};

// One row per error log entry; key _objectId.
struct KEL_ERROR_LOG : KelSmallBlockAllocated {
    KelBinary _objectId;
    KelString _creationTime;  // timestamp text, at most 26
    KelString _system;        // at most 8
    KelString _systemGroup;   // at most 8
    KelBinary _systemlogId;   // the system log record this error belongs to
    std::int32_t _versionNumber;
    std::int32_t _releaseNumber;
    std::int32_t _modLevelNumber;
    std::int32_t _servicePack;
    std::int16_t _iServicePack;
    std::int32_t _componentId;  // KelSenderType::Type
    std::int32_t _platform;     // KelPlatform::Type
    std::int32_t _exceptionType;
    std::int16_t _iExceptionType;
    std::int32_t _messageType;
    std::int16_t _iMessageType;
    KelString _detectionTime;  // timestamp text, at most 26
    KelString _errorFile;      // at most 16
    std::int16_t _iErrorFile;
    std::int32_t _errorLine;
    std::int16_t _iErrorLine;
    KelString _componentName;     // at most 32
    KelString _errorDescription;  // at most 1024

    static KelDBRowDef<KEL_ERROR_LOG> const& Definition();

    KEL_ERROR_LOG();
    KEL_ERROR_LOG(KelBinary const& objectId, KelString const& creationTime, KelString const& system,
                  KelString const& systemGroup, KelBinary const& systemlogId, std::int32_t versionNumber,
                  std::int32_t releaseNumber, std::int32_t modLevelNumber, std::int32_t servicePack,
                  std::int16_t iServicePack, std::int32_t componentId, std::int32_t platform,
                  std::int32_t exceptionType, std::int16_t iExceptionType, std::int32_t messageType,
                  std::int16_t iMessageType, KelString const& detectionTime, KelString const& errorFile,
                  std::int16_t iErrorFile, std::int32_t errorLine, std::int16_t iErrorLine,
                  KelString const& componentName, KelString const& errorDescription);
    KEL_ERROR_LOG(KEL_ERROR_LOG const&) = default;
    KEL_ERROR_LOG& operator=(KEL_ERROR_LOG const&) = default;
    ~KEL_ERROR_LOG() = default;

    // REQUIRES: _objectId holds exactly 16 bytes.
    KelOID Key() const { return KelOID(_objectId); }
    void PrintMembers(std::ostream& os) const;
};

template <>
struct KelTypeName<KEL_SVR_INSTANCE_STATE> {
    static constexpr char const* value = "KEL_SVR_INSTANCE_STATE";
};
template <>
struct KelTypeName<KEL_SYSTEM_STATE> {
    static constexpr char const* value = "KEL_SYSTEM_STATE";
};
template <>
struct KelTypeName<KEL_SYSTEM_LOG> {
    static constexpr char const* value = "KEL_SYSTEM_LOG";
};
template <>
struct KelTypeName<KEL_ERROR_LOG> {
    static constexpr char const* value = "KEL_ERROR_LOG";
};
