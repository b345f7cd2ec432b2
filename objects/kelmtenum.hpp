// Enumeration scopes of the log records. Each value is stored in its row as a 32-bit
// number, so the numbers below are part of the tables' contents and must not change.
#pragma once

#include <cstdint>

// How serious a system log message is.
struct KelSeverity {
    enum Type : std::int32_t {
        Unknown = 0,
        Information = 1,
        Warning = 2,
        Error = 3,
        Severe = 4,
    };
};

// What a system log message is about.
struct KelMessageClass {
    enum Type : std::int32_t {
        Unknown = 0,
        System = 1,
        Server = 2,
        Staff = 3,
        Topology = 4,
        Audit = 5,
    };
};

// The operating system on which an error was detected.
struct KelPlatform {
    enum Type : std::int32_t {
        Unknown = 0,
        Linux = 1,
        Windows = 2,
        Unix = 3,
    };
};
