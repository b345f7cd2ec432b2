#include "objects/kelasyss.hpp"

#include "kernel/kelkcon.hpp"
#include "objects/kelmtkwd.hpp"

#include <ostream>

KelSystemState::KelSystemState(KelOID const& id)
    : _id(id),
      _adminSvrStartTime(),
      _adminSvrState(KelSvrState::Type(1)),
      _adminSvrStartTimeIsNull(true),
      _dAdminSvrState(false),
      _dAdminSvrStartTime(false)
{
}

KelSystemState::KelSystemState(KelOID const& id, KelSvrState::Type state, KelTimeStamp const& startTime,
                               bool startTimeIsNull)
    : _id(id),
      _adminSvrStartTime(startTime),
      _adminSvrState(state),
      _adminSvrStartTimeIsNull(startTimeIsNull),
      _dAdminSvrState(false),
      _dAdminSvrStartTime(false)
{
}

void KelSystemState::Refresh(KelSystemState const& other)
{
    if (&other != this) _id = other._id;
    _adminSvrStartTime = other._adminSvrStartTime;
    _adminSvrState = other._adminSvrState;
    _adminSvrStartTimeIsNull = other._adminSvrStartTimeIsNull;
    _dAdminSvrState = other._dAdminSvrState;
    _dAdminSvrStartTime = other._dAdminSvrStartTime;
    kelkAssert(_dAdminSvrState == false);
    kelkAssert(_dAdminSvrStartTime == false);
}

void KelSystemState::SetAdminSvrState(KelSvrState::Type state)
{
    _adminSvrState = state;
    _dAdminSvrState = true;
}

void KelSystemState::SetAdminSvrStartTime(KelTimeStamp const& time)
{
    _adminSvrStartTime = time;
    _adminSvrStartTimeIsNull = false;
    _dAdminSvrStartTime = true;
}

void KelSystemState::SetAdminSvrStartTimeNull()
{
    _adminSvrStartTimeIsNull = true;
    _dAdminSvrStartTime = true;
}

std::ostream& operator<<(std::ostream& os, KelSystemState const& state) { return KelPutObject(os, state); }
