#include "db/keldsdf.hpp"

#include "db/keldrdef.hpp"

#include <ostream>

// Server instance state.

KEL_SVR_INSTANCE_STATE::KEL_SVR_INSTANCE_STATE() { Definition().Clear(*this); }

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
    Definition().CheckWidths(*this);
}

void KEL_SVR_INSTANCE_STATE::PrintMembers(std::ostream& os) const { Definition().Print(os, *this); }

// System state.

KEL_SYSTEM_STATE::KEL_SYSTEM_STATE() { Definition().Clear(*this); }

KEL_SYSTEM_STATE::KEL_SYSTEM_STATE(KelBinary const& systemOid, KelString const& adminSvrStart,
                                   std::int16_t iAdminSvrStart, std::int32_t adminSvrState)
    : _systemOid(systemOid),
      _adminSvrStart(adminSvrStart),
      _iAdminSvrStart(iAdminSvrStart),
      _adminSvrState(adminSvrState)
{
    Definition().CheckWidths(*this);
}

void KEL_SYSTEM_STATE::PrintMembers(std::ostream& os) const { Definition().Print(os, *this); }

// System log.

KEL_SYSTEM_LOG::KEL_SYSTEM_LOG() { Definition().Clear(*this); }

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
    Definition().CheckWidths(*this);
}

void KEL_SYSTEM_LOG::PrintMembers(std::ostream& os) const { Definition().Print(os, *this); }

// Error log.

KEL_ERROR_LOG::KEL_ERROR_LOG() { Definition().Clear(*this); }

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
    Definition().CheckWidths(*this);
}

void KEL_ERROR_LOG::PrintMembers(std::ostream& os) const { Definition().Print(os, *this); }

KelDBRowDef<KEL_SVR_INSTANCE_STATE> const& KEL_SVR_INSTANCE_STATE::Definition()
{
    using R = KEL_SVR_INSTANCE_STATE;
    static KelDBRowDef<R> const def(
        "kel_svr_instance_state", "KelDatabase::SvrInstanceState",
        {KelDBOid("svr_oid", "_svrOid", &R::_svrOid), KelDBTime("creation_time", "_creationTime", &R::_creationTime),
         KelDBOid("system_oid", "_systemOid", &R::_systemOid), KelDBInt("svr_type", "_svrType", &R::_svrType),
         KelDBInt("svr_state", "_svrState", &R::_svrState),
         KelDBTime("last_state_change", "_lastStateChange", &R::_lastStateChange, &R::_iLastStateChange),
         KelDBInt("request_type", "_requestType", &R::_requestType, &R::_iRequestType)},
        {"svr_oid"}, nullptr, {"system_oid"}, KelDBCheckStyle::TextsAndOids, __FILE__, __LINE__);
    return def;
}

KelDBRowDef<KEL_SYSTEM_STATE> const& KEL_SYSTEM_STATE::Definition()
{
    using R = KEL_SYSTEM_STATE;
    static KelDBRowDef<R> const def(
        "kel_system_state", "KelDatabase::SystemState",
        {KelDBOid("system_oid", "_systemOid", &R::_systemOid),
         KelDBTime("admin_svr_start", "_adminSvrStart", &R::_adminSvrStart, &R::_iAdminSvrStart),
         KelDBInt("admin_svr_state", "_adminSvrState", &R::_adminSvrState)},
        {"system_oid"}, nullptr, {}, KelDBCheckStyle::TextsAndOids, __FILE__, __LINE__);
    return def;
}

KelDBRowDef<KEL_SYSTEM_LOG> const& KEL_SYSTEM_LOG::Definition()
{
    using R = KEL_SYSTEM_LOG;
    static KelDBRowDef<R> const def(
        "kel_system_log", "KelDatabase::SystemLog",
        {KelDBOid("object_id", "_objectId", &R::_objectId),
         KelDBTime("creation_time", "_creationTime", &R::_creationTime),
         KelDBText("system_name", "_system", 8, &R::_system).LimitOnRead(),
         KelDBText("system_group", "_systemGroup", 8, &R::_systemGroup).LimitOnRead(),
         KelDBInt("message_number", "_messageNumber", &R::_messageNumber),
         KelDBInt("severity", "_severity", &R::_severity),
         KelDBInt("message_class", "_messageClass", &R::_messageClass),
         KelDBInt("message_type", "_messageType", &R::_messageType, &R::_iMessageType),
         KelDBInt("error_flag", "_errorFlag", &R::_errorFlag),
         KelDBInt("svr_kind", "_svrKind", &R::_svrKind, &R::_iSvrKind),
         KelDBInt("svr_state", "_svrState", &R::_svrState, &R::_iSvrState),
         KelDBInt("exception_no", "_exception", &R::_exception, &R::_iException),
         KelDBText("event_identifier", "_eventIdentifier", 32, &R::_eventIdentifier, &R::_iEventIdentifier),
         KelDBText("user_id", "_userId", 32, &R::_userId, &R::_iUserId).LimitOnRead(),
         KelDBText("message_parameters", "_messageParameters", 1024, &R::_messageParameters, &R::_iMessageParameters)},
        {"object_id"}, nullptr, {"system_name"}, KelDBCheckStyle::TextsAndOids, __FILE__, __LINE__);
    return def;
}

KelDBRowDef<KEL_ERROR_LOG> const& KEL_ERROR_LOG::Definition()
{
    using R = KEL_ERROR_LOG;
    static KelDBRowDef<R> const def(
        "kel_error_log", "KelDatabase::ErrorLog",
        {KelDBOid("object_id", "_objectId", &R::_objectId),
         KelDBTime("creation_time", "_creationTime", &R::_creationTime),
         KelDBText("system_name", "_system", 8, &R::_system).LimitOnRead(),
         KelDBText("system_group", "_systemGroup", 8, &R::_systemGroup).LimitOnRead(),
         KelDBOid("systemlog_id", "_systemlogId", &R::_systemlogId),
         KelDBInt("version_number", "_versionNumber", &R::_versionNumber),
         KelDBInt("release_number", "_releaseNumber", &R::_releaseNumber),
         KelDBInt("mod_level_number", "_modLevelNumber", &R::_modLevelNumber),
         KelDBInt("service_pack", "_servicePack", &R::_servicePack, &R::_iServicePack),
         KelDBInt("component_id", "_componentId", &R::_componentId), KelDBInt("platform", "_platform", &R::_platform),
         KelDBInt("exception_type", "_exceptionType", &R::_exceptionType, &R::_iExceptionType),
         KelDBInt("message_type", "_messageType", &R::_messageType, &R::_iMessageType),
         KelDBTime("detection_time", "_detectionTime", &R::_detectionTime),
         KelDBText("error_file", "_errorFile", 16, &R::_errorFile, &R::_iErrorFile),
         KelDBInt("error_line", "_errorLine", &R::_errorLine, &R::_iErrorLine),
         KelDBText("component_name", "_componentName", 32, &R::_componentName),
         KelDBText("error_description", "_errorDescription", 1024, &R::_errorDescription)},
        {"object_id"}, nullptr, {"system_name", "systemlog_id"}, KelDBCheckStyle::TextsAndOids, __FILE__, __LINE__);
    return def;
}
