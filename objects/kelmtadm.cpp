#include "objects/kelmtadm.hpp"

#include "kernel/kelkcon.hpp"

#include <ostream>
#include <utility>

KelCheckSite const KelErrorLogRep::site{__FILE__, __LINE__};
KelCheckSite const KelSystemLogRep::site{__FILE__, __LINE__};

namespace {
// The object ID of a record of which nothing else is known; its flag is clear whatever
// the ID, so that a null ID fails the invariant.
void SetObjectID(KelLogRecordHead& r, KelOID const& id)
{
    r._objectID = id;
    r._iObjectID = false;
}

// The members both records begin with, none of them null.
void SetHead(KelLogRecordHead& r, KelOID const& objectID, KelTimeStamp const& creationTime, KelString const& systemName,
             KelString const& systemGroupName)
{
    r._objectID = objectID;
    r._creationTime = creationTime;
    r._systemName = systemName;
    r._systemGroupName = systemGroupName;
    r._iObjectID = r._iCreationTime = r._iSystemName = r._iSystemGroupName = false;
}

// The first of the members both records begin with whose null flag disagrees with its
// value, or null.
char const* HeadInvariant(KelLogRecordHead const& r)
{
    if (r._iObjectID != r._objectID.IsNull()) return "_pRep->_iObjectID == _pRep->_objectID.IsNull()";
    if (r._iCreationTime != r._creationTime.IsNull()) return "_pRep->_iCreationTime == _pRep->_creationTime.IsNull()";
    if (r._iSystemName != r._systemName.IsNull()) return "_pRep->_iSystemName == _pRep->_systemName.IsNull()";
    if (r._iSystemGroupName != r._systemGroupName.IsNull())
        return "_pRep->_iSystemGroupName == _pRep->_systemGroupName.IsNull()";
    return nullptr;
}
}  // namespace

// ---------------------------------------------------------------------------------------
// KelErrorLogRecord

KelErrorLogRecord::KelErrorLogRecord(KelOID const& id)
{
    SetObjectID(R(), id);
    CheckInvariant();
}

KelErrorLogRecord::KelErrorLogRecord(
    KelOID const& objectID, KelTimeStamp const& creationTime, KelString const& systemName,
    KelString const& systemGroupName, std::int32_t versionNumber, std::int32_t releaseNumber,
    std::int32_t modificationLevelNumber, std::int32_t servicePack, bool servicePackIsNull,
    KelSenderType::Type componentID, KelString const& componentName, KelPlatform::Type platform,
    std::int32_t exceptionType, bool exceptionTypeIsNull, KelOID const& systemLogID, std::int32_t messageType,
    bool messageTypeIsNull, KelTimeStamp const& detectionTime, KelString const& errorFile, bool errorFileIsNull,
    std::int32_t errorLine, bool errorLineIsNull, KelString const& errorDescription)
{
    Rep& r = R();
    SetHead(r, objectID, creationTime, systemName, systemGroupName);
    r._versionNumber = versionNumber;
    r._releaseNumber = releaseNumber;
    r._modificationLevelNumber = modificationLevelNumber;
    r._servicePack = servicePack;
    r._componentID = componentID;
    r._componentName = componentName;
    r._platform = platform;
    r._exceptionType = exceptionType;
    r._systemLogID = systemLogID;
    r._messageType = messageType;
    r._detectionTime = detectionTime;
    r._errorFile = errorFile;
    r._errorLine = errorLine;
    r._errorDescription = errorDescription;
    r._iServicePack = servicePackIsNull;
    r._iExceptionType = exceptionTypeIsNull;
    r._iMessageType = messageTypeIsNull;
    r._iErrorFile = errorFileIsNull;
    r._iErrorLine = errorLineIsNull;
    r._iVersionNumber = r._iReleaseNumber = r._iModificationLevelNumber = false;
    r._iComponentID = r._iComponentName = r._iPlatform = false;
    r._iSystemLogID = r._iDetectionTime = r._iErrorDescription = false;
    CheckInvariant();
}

bool KelErrorLogRecord::IsDeleted() const { return false; }
bool KelErrorLogRecord::IsDirty() const { return true; }

KelOID KelErrorLogRecord::ID() const { return Checked()._objectID; }

char const* KelErrorLogRecord::_assert_invariant() const
{
    Rep const& r = Checked();
    if (char const* failed = HeadInvariant(r)) return failed;
    if (r._iComponentName != r._componentName.IsNull())
        return "_pRep->_iComponentName == _pRep->_componentName.IsNull()";
    if (r._iSystemLogID != r._systemLogID.IsNull()) return "_pRep->_iSystemLogID == _pRep->_systemLogID.IsNull()";
    if (r._iDetectionTime != r._detectionTime.IsNull())
        return "_pRep->_iDetectionTime == _pRep->_detectionTime.IsNull()";
    if (r._iErrorFile != r._errorFile.IsNull()) return "_pRep->_iErrorFile == _pRep->_errorFile.IsNull()";
    if (r._iErrorDescription != r._errorDescription.IsNull())
        return "_pRep->_iErrorDescription == _pRep->_errorDescription.IsNull()";
    return nullptr;
}

KelOID const& KelErrorLogRecord::ObjectID() const { return Checked()._objectID; }
KelTimeStamp const& KelErrorLogRecord::CreationTime() const { return Checked()._creationTime; }
KelString const& KelErrorLogRecord::SystemName() const { return Checked()._systemName; }
KelString const& KelErrorLogRecord::SystemGroupName() const { return Checked()._systemGroupName; }
std::int32_t KelErrorLogRecord::VersionNumber() const { return Checked()._versionNumber; }
std::int32_t KelErrorLogRecord::ReleaseNumber() const { return Checked()._releaseNumber; }
std::int32_t KelErrorLogRecord::ModificationLevelNumber() const { return Checked()._modificationLevelNumber; }
KelSenderType::Type KelErrorLogRecord::ComponentID() { return Checked()._componentID; }
KelString const& KelErrorLogRecord::ComponentName() const { return Checked()._componentName; }
KelPlatform::Type KelErrorLogRecord::Platform() { return Checked()._platform; }
KelOID const& KelErrorLogRecord::SystemLogID() const { return Checked()._systemLogID; }
KelTimeStamp const& KelErrorLogRecord::DetectionTime() const { return Checked()._detectionTime; }
KelString const& KelErrorLogRecord::ErrorDescription() const { return Checked()._errorDescription; }

std::int32_t KelErrorLogRecord::ServicePack() const
{
    return Required(&Rep::_servicePack, &Rep::_iServicePack, "ServicePackIsNull() == false");
}

std::int32_t KelErrorLogRecord::ExceptionType() const
{
    return Required(&Rep::_exceptionType, &Rep::_iExceptionType, "ExceptionTypeIsNull() == false");
}

std::int32_t KelErrorLogRecord::MessageType() const
{
    return Required(&Rep::_messageType, &Rep::_iMessageType, "MessageTypeIsNull() == false");
}

KelString const& KelErrorLogRecord::ErrorFile() const
{
    return Required(&Rep::_errorFile, &Rep::_iErrorFile, "ErrorFileIsNull() == false");
}

std::int32_t KelErrorLogRecord::ErrorLine() const
{
    return Required(&Rep::_errorLine, &Rep::_iErrorLine, "ErrorLineIsNull() == false");
}

bool KelErrorLogRecord::ServicePackIsNull() const { return Checked()._iServicePack; }
bool KelErrorLogRecord::ExceptionTypeIsNull() const { return Checked()._iExceptionType; }
bool KelErrorLogRecord::MessageTypeIsNull() const { return Checked()._iMessageType; }
bool KelErrorLogRecord::ErrorFileIsNull() const { return Checked()._iErrorFile; }
bool KelErrorLogRecord::ErrorLineIsNull() const { return Checked()._iErrorLine; }

std::ostream& operator<<(std::ostream& os, KelErrorLogRecord const& record)
{
    record.StreamKeywordDelimited(os, 0);
    return os;
}

// ---------------------------------------------------------------------------------------
// KelSystemLogRecord

KelSystemLogRecord::KelSystemLogRecord(KelOID const& id)
{
    SetObjectID(R(), id);
    CheckInvariant();
}

KelSystemLogRecord::KelSystemLogRecord(KelOID const& objectID, KelTimeStamp const& creationTime,
                                       KelString const& systemName, KelString const& systemGroupName,
                                       std::int32_t messageNumber, KelSeverity::Type severity,
                                       KelMessageClass::Type messageClass, KelString const& eventIdentifier,
                                       bool eventIdentifierIsNull, std::int32_t messageType, bool messageTypeIsNull,
                                       bool errorFlag, KelSvrKind::Type svrKind, bool svrKindIsNull,
                                       KelSvrState::Type svrState, bool svrStateIsNull, KelUserID const& userID,
                                       bool userIDIsNull, std::int32_t exception, bool exceptionIsNull,
                                       Parameters messageParameters, bool messageParametersIsNull)
{
    Rep& r = R();
    SetHead(r, objectID, creationTime, systemName, systemGroupName);
    r._messageNumber = messageNumber;
    r._severity = severity;
    r._messageClass = messageClass;
    r._eventIdentifier = eventIdentifier;
    r._messageType = messageType;
    r._errorFlag = errorFlag;
    r._svrKind = svrKind;
    r._svrState = svrState;
    r._userID = userID;
    r._exception = exception;
    r._messageParameters = std::move(messageParameters);
    r._iEventIdentifier = eventIdentifierIsNull;
    r._iMessageType = messageTypeIsNull;
    r._iSvrKind = svrKindIsNull;
    r._iSvrState = svrStateIsNull;
    r._iUserID = userIDIsNull;
    r._iException = exceptionIsNull;
    r._iMessageParameters = messageParametersIsNull;
    r._iMessageNumber = r._iSeverity = r._iMessageClass = r._iErrorFlag = false;
    CheckInvariant();
}

bool KelSystemLogRecord::IsDeleted() const { return false; }
bool KelSystemLogRecord::IsDirty() const { return true; }

KelOID KelSystemLogRecord::ID() const { return Checked()._objectID; }

char const* KelSystemLogRecord::_assert_invariant() const
{
    Rep const& r = Checked();
    if (char const* failed = HeadInvariant(r)) return failed;
    if (r._iEventIdentifier != r._eventIdentifier.IsNull())
        return "_pRep->_iEventIdentifier == _pRep->_eventIdentifier.IsNull()";
    if (r._iUserID != r._userID.IsNull()) return "_pRep->_iUserID == _pRep->_userID.IsNull()";
    return nullptr;
}

KelOID const& KelSystemLogRecord::ObjectID() const { return Checked()._objectID; }
KelTimeStamp const& KelSystemLogRecord::CreationTime() const { return Checked()._creationTime; }
KelString const& KelSystemLogRecord::SystemName() const { return Checked()._systemName; }
KelString const& KelSystemLogRecord::SystemGroupName() const { return Checked()._systemGroupName; }
std::int32_t KelSystemLogRecord::MessageNumber() const { return Checked()._messageNumber; }
KelSeverity::Type KelSystemLogRecord::Severity() { return Checked()._severity; }
KelMessageClass::Type KelSystemLogRecord::MessageClass() { return Checked()._messageClass; }
bool KelSystemLogRecord::ErrorFlag() const { return Checked()._errorFlag; }

KelString const& KelSystemLogRecord::EventIdentifier() const
{
    return Required(&Rep::_eventIdentifier, &Rep::_iEventIdentifier, "EventIdentifierIsNull() == false");
}

std::int32_t KelSystemLogRecord::MessageType() const
{
    return Required(&Rep::_messageType, &Rep::_iMessageType, "MessageTypeIsNull() == false");
}

KelSvrKind::Type KelSystemLogRecord::SvrKind()
{
    return Required(&Rep::_svrKind, &Rep::_iSvrKind, "SvrKindIsNull() == false");
}

KelSvrState::Type KelSystemLogRecord::SvrState()
{
    return Required(&Rep::_svrState, &Rep::_iSvrState, "SvrStateIsNull() == false");
}

KelUserID const& KelSystemLogRecord::UserID() const
{
    return Required(&Rep::_userID, &Rep::_iUserID, "UserIDIsNull() == false");
}

std::int32_t KelSystemLogRecord::Exception() const
{
    return Required(&Rep::_exception, &Rep::_iException, "ExceptionIsNull() == false");
}

KelSystemLogRecord::Parameters const& KelSystemLogRecord::MessageParameters() const
{
    return Required(&Rep::_messageParameters, &Rep::_iMessageParameters, "MessageParametersIsNull() == false");
}

bool KelSystemLogRecord::EventIdentifierIsNull() const { return Checked()._iEventIdentifier; }
bool KelSystemLogRecord::MessageTypeIsNull() const { return Checked()._iMessageType; }
bool KelSystemLogRecord::SvrKindIsNull() const { return Checked()._iSvrKind; }
bool KelSystemLogRecord::SvrStateIsNull() const { return Checked()._iSvrState; }
bool KelSystemLogRecord::UserIDIsNull() const { return Checked()._iUserID; }
bool KelSystemLogRecord::ExceptionIsNull() const { return Checked()._iException; }
bool KelSystemLogRecord::MessageParametersIsNull() const { return Checked()._iMessageParameters; }

std::ostream& operator<<(std::ostream& os, KelSystemLogRecord const& record)
{
    record.StreamKeywordDelimited(os, 0);
    return os;
}
