// The start-up and shut-down operations and the keyword texts of the server instance and
// system state objects, and the system state's destructor: the members that the
// administration server's own code supplies, kept apart from the objects' core.
#include "objects/kelascctx.hpp"
#include "objects/kelasvin.hpp"
#include "objects/kelasyss.hpp"
#include "objects/kelmtkwd.hpp"

KelSvrInstance::~KelSvrInstance() = default;

void KelSvrInstance::ChangeState(KelAdminSvrCoreContextIF& context, KelSvrState::Type state,
                                 KelSvrRequest::Type request)
{
    SetServerState(state);
    SetRequestType(request);
    SetLastStateChangeTime(context.CurrentTime());
    context.StateChanged(*this);
}

void KelSvrInstance::StartUp(KelAdminSvrCoreContextIF& context)
{
    ChangeState(context, KelSvrState::StartingUp, KelSvrRequest::StartUp);
}

void KelSvrInstance::StartUpNotif(KelAdminSvrCoreContextIF& context)
{
    ChangeState(context, KelSvrState::StartingUp, KelSvrRequest::None);
}

void KelSvrInstance::StartUpResponse(KelAdminSvrCoreContextIF& context)
{
    ChangeState(context, KelSvrState::Running, KelSvrRequest::None);
}

void KelSvrInstance::ShutDown(KelAdminSvrCoreContextIF& context)
{
    ChangeState(context, KelSvrState::ShuttingDown, KelSvrRequest::ShutDown);
}

void KelSvrInstance::ShutDownNotif(KelAdminSvrCoreContextIF& context)
{
    ChangeState(context, KelSvrState::ShuttingDown, KelSvrRequest::None);
}

void KelSvrInstance::ShutDownResponse(KelAdminSvrCoreContextIF& context)
{
    ChangeState(context, KelSvrState::Stopped, KelSvrRequest::None);
}

void KelSvrInstance::StreamKeywordDelimited(std::ostream& os, int level) const
{
    KelKeywordWriter(os, level)
        .Put("_id", _id)
        .Put("_creationTime", _creationTime)
        .Put("_systemOid", _systemOid)
        .Put("_senderType", _senderType)
        .Put("_serverState", _serverState)
        .Put("_lastStateChangeTime", _lastStateChangeTime, _lastStateChangeTimeIsNull)
        .Put("_requestType", _requestType, _requestTypeIsNull)
        .Put("_dServerState", _dServerState)
        .Put("_dLastStateChangeTime", _dLastStateChangeTime)
        .Put("_dRequestType", _dRequestType);
}

KelSystemState::~KelSystemState() = default;

void KelSystemState::StreamKeywordDelimited(std::ostream& os, int level) const
{
    KelKeywordWriter(os, level)
        .Put("_id", _id)
        .Put("_adminSvrStartTime", _adminSvrStartTime, _adminSvrStartTimeIsNull)
        .Put("_adminSvrState", _adminSvrState)
        .Put("_dAdminSvrState", _dAdminSvrState)
        .Put("_dAdminSvrStartTime", _dAdminSvrStartTime);
}
