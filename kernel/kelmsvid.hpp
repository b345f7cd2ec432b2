// KelServerID: kind, name, system and system group of a server, the key of the server
// cache. Null when the kind is 0 or any string is null. Ordered by kind (signed), name,
// system, group. Never carries the kinds PESvr (12) or UPESvr (13).
#pragma once

#include "kernel/kelkstr.hpp"

#include <cstdint>
#include <iosfwd>

constexpr int KEL_SERVER_NAME_LENGTH = 9;

// Kinds of servers, stored in rows as 32-bit numbers.
struct KelSvrKind {
    enum Type : std::int32_t {
        None = 0,
        AdminSvr = 1,
        ExecSvr = 2,
        SchedulingSvr = 3,
        CleanupSvr = 4,
        SupportSvr = 5,
        PESvr = 12,
        UPESvr = 13,
    };
};

class KelServerID {
public:
    KelServerID() : _kind(0) {}
    // REQUIRES: kind not 12 or 13; name, system and group non-null, non-empty, shorter than 9.
    KelServerID(std::int32_t kind, KelString const& name, KelString const& system, KelString const& systemGroup);

    bool IsNull() const { return _kind == 0 || _name.IsNull() || _system.IsNull() || _systemGroup.IsNull(); }
    std::int32_t Kind() const { return _kind; }
    KelString const& Name() const { return _name; }
    KelString const& System() const { return _system; }
    KelString const& SystemGroup() const { return _systemGroup; }

    friend bool operator==(KelServerID const& a, KelServerID const& b)
    {
        return a._kind == b._kind && a._name == b._name && a._system == b._system && a._systemGroup == b._systemGroup;
    }
    friend bool operator!=(KelServerID const& a, KelServerID const& b) { return !(a == b); }
    friend bool operator<(KelServerID const& a, KelServerID const& b);

private:
    std::int32_t _kind;
    KelString _name;
    KelString _system;
    KelString _systemGroup;
};

// "with kind: " kind ", name: " name ", system: " system ", system group: " group.
std::ostream& operator<<(std::ostream& os, KelServerID const& id);
