// Enumeration scopes of the server instance and system state objects. Each value is
// stored in its row as a 32-bit number, so the numbers below are part of the tables'
// contents and must not change. A new server instance or system state starts in
// KelSvrState::Stopped (1) with no request pending (KelSvrRequest::None, 0).
#pragma once

#include <cstdint>

// The kind of server a server instance is (also the reporting component of an error).
struct KelSenderType {
    enum Type : std::int32_t {
        Unknown = 0,
        AdminSvr = 1,
        ExecSvr = 2,
        SchedulingSvr = 3,
        CleanupSvr = 4,
        SupportSvr = 5,
        Client = 6,
    };
};

// The state of a server, or of a system's administration server.
struct KelSvrState {
    enum Type : std::int32_t {
        Unknown = 0,
        Stopped = 1,
        StartingUp = 2,
        Running = 3,
        ShuttingDown = 4,
        Failed = 5,
    };
};

// The request that the administration server has sent to a server and that is pending.
struct KelSvrRequest {
    enum Type : std::int32_t {
        None = 0,
        StartUp = 1,
        ShutDown = 2,
    };
};
