#include "objects/kelasvin.hpp"

#include "kernel/kelkcon.hpp"
#include "objects/kelmtkwd.hpp"

#include <ostream>

KelSvrInstance::KelSvrInstance(KelOID const& id, KelOID const& systemOid, KelSenderType::Type type)
    : _id(id),
      _creationTime(KelTimeStamp::Now()),
      _systemOid(systemOid),
      _senderType(type),
      _serverState(KelSvrState::Type(1)),
      _lastStateChangeTime(KelTimeStamp::Now()),
      _requestType(KelSvrRequest::Type(0)),
      _lastStateChangeTimeIsNull(false),
      _requestTypeIsNull(false),
      _dServerState(false),
      _dLastStateChangeTime(false),
      _dRequestType(false)
{
}

KelSvrInstance::KelSvrInstance(KelOID const& id, KelTimeStamp const& creationTime, KelOID const& systemOid,
                               KelSenderType::Type type, KelSvrState::Type state,
                               KelTimeStamp const& lastStateChangeTime, bool lastStateChangeTimeIsNull,
                               KelSvrRequest::Type requestType, bool requestTypeIsNull)
    : _id(id),
      _creationTime(creationTime),
      _systemOid(systemOid),
      _senderType(type),
      _serverState(state),
      _lastStateChangeTime(lastStateChangeTime),
      _requestType(requestType),
      _lastStateChangeTimeIsNull(lastStateChangeTimeIsNull),
      _requestTypeIsNull(requestTypeIsNull),
      _dServerState(false),
      _dLastStateChangeTime(false),
      _dRequestType(false)
{
}

void KelSvrInstance::Refresh(KelSvrInstance const& other)
{
    if (&other != this) {
        _id = other._id;
        _systemOid = other._systemOid;
    }
    _creationTime = other._creationTime;
    _senderType = other._senderType;
    _serverState = other._serverState;
    _lastStateChangeTime = other._lastStateChangeTime;
    _requestType = other._requestType;
    _lastStateChangeTimeIsNull = other._lastStateChangeTimeIsNull;
    _requestTypeIsNull = other._requestTypeIsNull;
    _dServerState = other._dServerState;
    _dLastStateChangeTime = other._dLastStateChangeTime;
    _dRequestType = other._dRequestType;
    kelkAssert(_dServerState == false);
    kelkAssert(_dLastStateChangeTime == false);
    kelkAssert(_dRequestType == false);
}

void KelSvrInstance::SetServerState(KelSvrState::Type state)
{
    _serverState = state;
    _dServerState = true;
}

void KelSvrInstance::SetLastStateChangeTime(KelTimeStamp const& time)
{
    _lastStateChangeTime = time;
    _lastStateChangeTimeIsNull = false;
    _dLastStateChangeTime = true;
}

void KelSvrInstance::SetRequestType(KelSvrRequest::Type request)
{
    _requestType = request;
    _requestTypeIsNull = false;
    _dRequestType = true;
}

void KelSvrInstance::SetLastStateChangeTimeNull()
{
    _lastStateChangeTimeIsNull = true;
    _dLastStateChangeTime = true;
}

void KelSvrInstance::SetRequestTypeNull()
{
    _requestTypeIsNull = true;
    _dRequestType = true;
}

std::ostream& operator<<(std::ostream& os, KelSvrInstance const& instance) { return KelPutObject(os, instance); }
