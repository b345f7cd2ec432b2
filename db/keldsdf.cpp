#include "db/keldsdf.hpp"

#include "db/keldsrow.hpp"
#include "kernel/kelkcon.hpp"

#include <ostream>

namespace {
// The indicator value of a null column, under the name the limit checks use.
constexpr std::int16_t null = -1;
}  // namespace

// Server instance state.

KEL_SVR_INSTANCE_STATE::KEL_SVR_INSTANCE_STATE()
    : _svrOid(KelEmptyOid()),
      _creationTime(KelEmptyText(26)),
      _systemOid(KelEmptyOid()),
      _svrType(0),
      _svrState(0),
      _lastStateChange(KelEmptyText(26)),
      _iLastStateChange(-1),
      _requestType(0),
      _iRequestType(-1)
{
}

KEL_SVR_INSTANCE_STATE::KEL_SVR_INSTANCE_STATE(KelBinary const& svrOid, KelString const& creationTime,
                                               KelBinary const& systemOid, std::int32_t svrType, std::int32_t svrState,
                                               KelString const& lastStateChange, std::int16_t iLastStateChange,
                                               std::int32_t requestType, std::int16_t iRequestType)
    : _svrOid(svrOid),
      _creationTime(creationTime),
      _systemOid(systemOid),
      _svrType(svrType),
      _svrState(svrState),
      _lastStateChange(lastStateChange),
      _iLastStateChange(iLastStateChange),
      _requestType(requestType),
      _iRequestType(iRequestType)
{
    kelkRequire(_svrOid.IsNull() != true);
    kelkRequire(_creationTime.IsNull() != true);
    kelkRequire(_systemOid.IsNull() != true);
    kelkRequire(_svrOid.Length() <= 16);
    kelkRequire(_creationTime.Length() <= 26);
    kelkRequire(_systemOid.Length() <= 16);
    kelkRequire(_iLastStateChange == null ? true : _lastStateChange.Length() <= 26);
}

void KEL_SVR_INSTANCE_STATE::PrintMembers(std::ostream& os) const
{
    KelPrintRowAddress(os, this);
    KelPrintColumn(os, "_svrOid=", _svrOid);
    KelPrintColumn(os, "_creationTime=", _creationTime);
    KelPrintColumn(os, "_systemOid=", _systemOid);
    KelPrintColumn(os, "_svrType=", _svrType);
    KelPrintColumn(os, "_svrState=", _svrState);
    KelPrintColumn(os, "_lastStateChange=", _lastStateChange, _iLastStateChange);
    KelPrintColumn(os, "_requestType=", _requestType, _iRequestType);
}

// System state.

KEL_SYSTEM_STATE::KEL_SYSTEM_STATE()
    : _systemOid(KelEmptyOid()), _adminSvrStart(KelEmptyText(26)), _iAdminSvrStart(-1), _adminSvrState(0)
{
}

KEL_SYSTEM_STATE::KEL_SYSTEM_STATE(KelBinary const& systemOid, KelString const& adminSvrStart,
                                   std::int16_t iAdminSvrStart, std::int32_t adminSvrState)
    : _systemOid(systemOid),
      _adminSvrStart(adminSvrStart),
      _iAdminSvrStart(iAdminSvrStart),
      _adminSvrState(adminSvrState)
{
    kelkRequire(_systemOid.IsNull() != true);
    kelkRequire(_systemOid.Length() <= 16);
    kelkRequire(_iAdminSvrStart == null ? true : _adminSvrStart.Length() <= 26);
}

void KEL_SYSTEM_STATE::PrintMembers(std::ostream& os) const
{
    KelPrintRowAddress(os, this);
    KelPrintColumn(os, "_systemOid=", _systemOid);
    KelPrintColumn(os, "_adminSvrStart=", _adminSvrStart, _iAdminSvrStart);
    KelPrintColumn(os, "_adminSvrState=", _adminSvrState);
}

// System log.

KEL_SYSTEM_LOG::KEL_SYSTEM_LOG()
    : _objectId(KelEmptyOid()),
      _creationTime(KelEmptyText(26)),
      _system(KelEmptyText(8)),
      _systemGroup(KelEmptyText(8)),
      _messageNumber(0),
      _severity(0),
      _messageClass(0),
      _messageType(0),
      _iMessageType(-1),
      _errorFlag(0),
      _svrKind(0),
      _iSvrKind(-1),
      _svrState(0),
      _iSvrState(-1),
      _exception(0),
      _iException(-1),
      _eventIdentifier(KelEmptyText(32)),
      _iEventIdentifier(-1),
      _userId(KelEmptyText(32)),
      _iUserId(-1),
      _messageParameters(KelEmptyText(1024)),
      _iMessageParameters(-1)
{
}

KEL_SYSTEM_LOG::KEL_SYSTEM_LOG(KelBinary const& objectId, KelString const& creationTime, KelString const& system,
                               KelString const& systemGroup, std::int32_t messageNumber, std::int32_t severity,
                               std::int32_t messageClass, std::int32_t messageType, std::int16_t iMessageType,
                               std::int16_t errorFlag, std::int32_t svrKind, std::int16_t iSvrKind,
                               std::int32_t svrState, std::int16_t iSvrState, std::int32_t exception,
                               std::int16_t iException, KelString const& eventIdentifier, std::int16_t iEventIdentifier,
                               KelString const& userId, std::int16_t iUserId, KelString const& messageParameters,
                               std::int16_t iMessageParameters)
    : _objectId(objectId),
      _creationTime(creationTime),
      _system(system),
      _systemGroup(systemGroup),
      _messageNumber(messageNumber),
      _severity(severity),
      _messageClass(messageClass),
      _messageType(messageType),
      _iMessageType(iMessageType),
      _errorFlag(errorFlag),
      _svrKind(svrKind),
      _iSvrKind(iSvrKind),
      _svrState(svrState),
      _iSvrState(iSvrState),
      _exception(exception),
      _iException(iException),
      _eventIdentifier(eventIdentifier),
      _iEventIdentifier(iEventIdentifier),
      _userId(userId),
      _iUserId(iUserId),
      _messageParameters(messageParameters),
      _iMessageParameters(iMessageParameters)
{
    kelkRequire(_objectId.IsNull() != true);
    kelkRequire(_creationTime.IsNull() != true);
    kelkRequire(_system.IsNull() != true);
    kelkRequire(_systemGroup.IsNull() != true);
    kelkRequire(_objectId.Length() <= 16);
    kelkRequire(_creationTime.Length() <= 26);
    kelkRequire(_system.Length() <= 8);
    kelkRequire(_systemGroup.Length() <= 8);
    kelkRequire(_iEventIdentifier == null ? true : _eventIdentifier.Length() <= 32);
    kelkRequire(_iUserId == null ? true : _userId.Length() <= 32);
    kelkRequire(_iMessageParameters == null ? true : _messageParameters.Length() <= 1024);
}

void KEL_SYSTEM_LOG::PrintMembers(std::ostream& os) const
{
    KelPrintRowAddress(os, this);
    KelPrintColumn(os, "_objectId=", _objectId);
    KelPrintColumn(os, "_creationTime=", _creationTime);
    KelPrintColumn(os, "_system=", _system);
    KelPrintColumn(os, "_systemGroup=", _systemGroup);
    KelPrintColumn(os, "_messageNumber=", _messageNumber);
    KelPrintColumn(os, "_severity=", _severity);
    KelPrintColumn(os, "_messageClass=", _messageClass);
    KelPrintColumn(os, "_messageType=", _messageType, _iMessageType);
    KelPrintColumn(os, "_errorFlag=", _errorFlag);
    KelPrintColumn(os, "_svrKind=", _svrKind, _iSvrKind);
    KelPrintColumn(os, "_svrState=", _svrState, _iSvrState);
    KelPrintColumn(os, "_exception=", _exception, _iException);
    KelPrintColumn(os, "_eventIdentifier=", _eventIdentifier, _iEventIdentifier);
    KelPrintColumn(os, "_userId=", _userId, _iUserId);
    KelPrintColumn(os, "_messageParameters=", _messageParameters, _iMessageParameters);
}

// Error log.

KEL_ERROR_LOG::KEL_ERROR_LOG()
    : _objectId(KelEmptyOid()),
      _creationTime(KelEmptyText(26)),
      _system(KelEmptyText(8)),
      _systemGroup(KelEmptyText(8)),
      _systemlogId(KelEmptyOid()),
      _versionNumber(0),
      _releaseNumber(0),
      _modLevelNumber(0),
      _servicePack(0),
      _iServicePack(-1),
      _componentId(0),
      _platform(0),
      _exceptionType(0),
      _iExceptionType(-1),
      _messageType(0),
      _iMessageType(-1),
      _detectionTime(KelEmptyText(26)),
      _errorFile(KelEmptyText(16)),
      _iErrorFile(-1),
      _errorLine(0),
      _iErrorLine(-1),
      _componentName(KelEmptyText(32)),
      _errorDescription(KelEmptyText(1024))
{
}

KEL_ERROR_LOG::KEL_ERROR_LOG(KelBinary const& objectId, KelString const& creationTime, KelString const& system,
                             KelString const& systemGroup, KelBinary const& systemlogId, std::int32_t versionNumber,
                             std::int32_t releaseNumber, std::int32_t modLevelNumber, std::int32_t servicePack,
                             std::int16_t iServicePack, std::int32_t componentId, std::int32_t platform,
                             std::int32_t exceptionType, std::int16_t iExceptionType, std::int32_t messageType,
                             std::int16_t iMessageType, KelString const& detectionTime, KelString const& errorFile,
                             std::int16_t iErrorFile, std::int32_t errorLine, std::int16_t iErrorLine,
                             KelString const& componentName, KelString const& errorDescription)
    : _objectId(objectId),
      _creationTime(creationTime),
      _system(system),
      _systemGroup(systemGroup),
      _systemlogId(systemlogId),
      _versionNumber(versionNumber),
      _releaseNumber(releaseNumber),
      _modLevelNumber(modLevelNumber),
      _servicePack(servicePack),
      _iServicePack(iServicePack),
      _componentId(componentId),
      _platform(platform),
      _exceptionType(exceptionType),
      _iExceptionType(iExceptionType),
      _messageType(messageType),
      _iMessageType(iMessageType),
      _detectionTime(detectionTime),
      _errorFile(errorFile),
      _iErrorFile(iErrorFile),
      _errorLine(errorLine),
      _iErrorLine(iErrorLine),
      _componentName(componentName),
      _errorDescription(errorDescription)
{
    kelkRequire(_objectId.IsNull() != true);
    kelkRequire(_creationTime.IsNull() != true);
    kelkRequire(_system.IsNull() != true);
    kelkRequire(_systemGroup.IsNull() != true);
    kelkRequire(_systemlogId.IsNull() != true);
    kelkRequire(_detectionTime.IsNull() != true);
    kelkRequire(_componentName.IsNull() != true);
    kelkRequire(_errorDescription.IsNull() != true);
    kelkRequire(_objectId.Length() <= 16);
    kelkRequire(_creationTime.Length() <= 26);
    kelkRequire(_system.Length() <= 8);
    kelkRequire(_systemGroup.Length() <= 8);
    kelkRequire(_systemlogId.Length() <= 16);
    kelkRequire(_detectionTime.Length() <= 26);
    kelkRequire(_iErrorFile == null ? true : _errorFile.Length() <= 16);
    kelkRequire(_componentName.Length() <= 32);
    kelkRequire(_errorDescription.Length() <= 1024);
}

void KEL_ERROR_LOG::PrintMembers(std::ostream& os) const
{
    KelPrintRowAddress(os, this);
    KelPrintColumn(os, "_objectId=", _objectId);
    KelPrintColumn(os, "_creationTime=", _creationTime);
    KelPrintColumn(os, "_system=", _system);
    KelPrintColumn(os, "_systemGroup=", _systemGroup);
    KelPrintColumn(os, "_systemlogId=", _systemlogId);
    KelPrintColumn(os, "_versionNumber=", _versionNumber);
    KelPrintColumn(os, "_releaseNumber=", _releaseNumber);
    KelPrintColumn(os, "_modLevelNumber=", _modLevelNumber);
    KelPrintColumn(os, "_servicePack=", _servicePack, _iServicePack);
    KelPrintColumn(os, "_componentId=", _componentId);
    KelPrintColumn(os, "_platform=", _platform);
    KelPrintColumn(os, "_exceptionType=", _exceptionType, _iExceptionType);
    KelPrintColumn(os, "_messageType=", _messageType, _iMessageType);
    KelPrintColumn(os, "_detectionTime=", _detectionTime);
    KelPrintColumn(os, "_errorFile=", _errorFile, _iErrorFile);
    KelPrintColumn(os, "_errorLine=", _errorLine, _iErrorLine);
    KelPrintColumn(os, "_componentName=", _componentName);
    KelPrintColumn(os, "_errorDescription=", _errorDescription);
}
