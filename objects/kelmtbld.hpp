// KelSystemLogRecordBuilder and KelErrorLogRecordBuilder: a log record built by field
// name instead of through the positional constructor, whose 22 and 23 arguments mix values
// with null flags. Each setter names one member; an optional member that is not set stays
// null, a required one keeps the value of a record of which only the OID is known (zero
// time, null text, 0). Build() ends in the record's checked constructor, so a builder
// makes exactly the record that the constructor would, checks included.
//
//   KelSystemLogRecord r = KelSystemLogRecordBuilder(oid)
//                              .CreationTime(KelTimeStamp::Now())
//                              .System(KelSystemID(KelString("SYS1"), KelString("GRP1")))
//                              .MessageNumber(4711)
//                              .Severity(KelSeverity::Warning)
//                              .MessageClass(KelMessageClass::System)
//                              .UserID(KelUserID(KelString("admin"), KelString("GRP1")))
//                              .Build();
#pragma once

#include "kernel/kelmsyst.hpp"
#include "objects/kelmtadm.hpp"

#include <optional>
#include <string>
#include <utility>
#include <vector>

// What both builders share: the members every log record begins with, and the setter
// mechanics. Builder is the concrete builder, so that each setter returns it.
template <class Builder>
class KelLogRecordBuilderHead {
public:
    explicit KelLogRecordBuilderHead(KelOID const& objectID) : _objectID(objectID) {}

    // Required members.
    Builder& CreationTime(KelTimeStamp const& v) { return Set(_creationTime, v); }
    Builder& SystemName(KelString const& v) { return Set(_systemName, v); }
    Builder& SystemGroupName(KelString const& v) { return Set(_systemGroupName, v); }
    // The system's name and group at once.
    Builder& System(KelSystemID const& v) { return SystemName(v.Name()).SystemGroupName(v.Group()); }

protected:
    template <class M, class V>
    Builder& Set(M& member, V&& value)
    {
        member = std::forward<V>(value);
        return static_cast<Builder&>(*this);
    }

    KelOID _objectID;
    KelTimeStamp _creationTime;
    KelString _systemName;
    KelString _systemGroupName;
};

class KelSystemLogRecordBuilder : public KelLogRecordBuilderHead<KelSystemLogRecordBuilder> {
public:
    using Parameters = KelSystemLogRecord::Parameters;

    using KelLogRecordBuilderHead::KelLogRecordBuilderHead;

    // Required members beyond those of every log record (KelLogRecordBuilderHead).
    KelSystemLogRecordBuilder& MessageNumber(std::int32_t v) { return Set(_messageNumber, v); }
    KelSystemLogRecordBuilder& Severity(KelSeverity::Type v) { return Set(_severity, v); }
    KelSystemLogRecordBuilder& MessageClass(KelMessageClass::Type v) { return Set(_messageClass, v); }
    KelSystemLogRecordBuilder& ErrorFlag(bool v) { return Set(_errorFlag, v); }

    // Optional members: set, they are not null.
    KelSystemLogRecordBuilder& EventIdentifier(KelString const& v) { return Set(_eventIdentifier, v); }
    KelSystemLogRecordBuilder& MessageType(std::int32_t v) { return Set(_messageType, v); }
    KelSystemLogRecordBuilder& SvrKind(KelSvrKind::Type v) { return Set(_svrKind, v); }
    KelSystemLogRecordBuilder& SvrState(KelSvrState::Type v) { return Set(_svrState, v); }
    KelSystemLogRecordBuilder& UserID(KelUserID const& v) { return Set(_userID, v); }
    KelSystemLogRecordBuilder& Exception(std::int32_t v) { return Set(_exception, v); }
    KelSystemLogRecordBuilder& MessageParameters(Parameters v) { return Set(_messageParameters, std::move(v)); }
    // The parameters from texts, in their order.
    KelSystemLogRecordBuilder& MessageParameters(std::vector<std::string> const& texts);

    KelSystemLogRecord Build() const;

private:
    std::int32_t _messageNumber = 0;
    KelSeverity::Type _severity = KelSeverity::Unknown;
    KelMessageClass::Type _messageClass = KelMessageClass::Unknown;
    bool _errorFlag = false;
    std::optional<KelString> _eventIdentifier;
    std::optional<std::int32_t> _messageType;
    std::optional<KelSvrKind::Type> _svrKind;
    std::optional<KelSvrState::Type> _svrState;
    std::optional<KelUserID> _userID;
    std::optional<std::int32_t> _exception;
    std::optional<Parameters> _messageParameters;
};

class KelErrorLogRecordBuilder : public KelLogRecordBuilderHead<KelErrorLogRecordBuilder> {
public:
    using KelLogRecordBuilderHead::KelLogRecordBuilderHead;

    // Required members beyond those of every log record (KelLogRecordBuilderHead).
    KelErrorLogRecordBuilder& VersionNumber(std::int32_t v) { return Set(_versionNumber, v); }
    KelErrorLogRecordBuilder& ReleaseNumber(std::int32_t v) { return Set(_releaseNumber, v); }
    KelErrorLogRecordBuilder& ModificationLevelNumber(std::int32_t v) { return Set(_modificationLevelNumber, v); }
    KelErrorLogRecordBuilder& ComponentID(KelSenderType::Type v) { return Set(_componentID, v); }
    KelErrorLogRecordBuilder& ComponentName(KelString const& v) { return Set(_componentName, v); }
    KelErrorLogRecordBuilder& Platform(KelPlatform::Type v) { return Set(_platform, v); }
    KelErrorLogRecordBuilder& SystemLogID(KelOID const& v) { return Set(_systemLogID, v); }
    KelErrorLogRecordBuilder& DetectionTime(KelTimeStamp const& v) { return Set(_detectionTime, v); }
    KelErrorLogRecordBuilder& ErrorDescription(KelString const& v) { return Set(_errorDescription, v); }

    // Optional members: set, they are not null.
    KelErrorLogRecordBuilder& ServicePack(std::int32_t v) { return Set(_servicePack, v); }
    KelErrorLogRecordBuilder& ExceptionType(std::int32_t v) { return Set(_exceptionType, v); }
    KelErrorLogRecordBuilder& MessageType(std::int32_t v) { return Set(_messageType, v); }
    KelErrorLogRecordBuilder& ErrorFile(KelString const& v) { return Set(_errorFile, v); }
    KelErrorLogRecordBuilder& ErrorLine(std::int32_t v) { return Set(_errorLine, v); }

    KelErrorLogRecord Build() const;

private:
    std::int32_t _versionNumber = 0;
    std::int32_t _releaseNumber = 0;
    std::int32_t _modificationLevelNumber = 0;
    KelSenderType::Type _componentID = KelSenderType::Unknown;
    KelString _componentName;
    KelPlatform::Type _platform = KelPlatform::Unknown;
    KelOID _systemLogID;
    KelTimeStamp _detectionTime;
    KelString _errorDescription;
    std::optional<std::int32_t> _servicePack;
    std::optional<std::int32_t> _exceptionType;
    std::optional<std::int32_t> _messageType;
    std::optional<KelString> _errorFile;
    std::optional<std::int32_t> _errorLine;
};
