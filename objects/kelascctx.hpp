// KelAdminSvrCoreContextIF: what a server instance needs from the administration
// server's core while it changes state on a start-up or shut-down: the time to stamp on
// the change, and a hook that hears of every change (for notifications). The core owns
// its context and passes it by reference for the duration of one call; nothing keeps it.
#pragma once

#include "kernel/kelktim.hpp"

class KelSvrInstance;

class KelAdminSvrCoreContextIF {
public:
    virtual ~KelAdminSvrCoreContextIF();
    // The time of a state change; the clock by default.
    virtual KelTimeStamp CurrentTime() const;
    // Called after a server instance has changed its state or request; nothing by default.
    virtual void StateChanged(KelSvrInstance const& instance);
};
