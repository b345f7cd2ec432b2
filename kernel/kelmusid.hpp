// KelUserID: a user's name and system group. Null when the name is null. Equality
// compares the names only (the system group is ignored).
#pragma once

#include "kernel/kelkstr.hpp"

#include <iosfwd>

constexpr int KEL_USER_NAME_LENGTH = 32;

class KelUserID {
public:
    KelUserID() = default;
    // REQUIRES: name is not null, not empty and at most KEL_USER_NAME_LENGTH long.
    KelUserID(KelString const& name, KelString const& systemGroup);

    bool IsNull() const { return _name.IsNull(); }
    KelString const& Name() const { return _name; }
    KelString const& SystemGroup() const { return _systemGroup; }

    friend bool operator==(KelUserID const& a, KelUserID const& b) { return a._name == b._name; }
    friend bool operator!=(KelUserID const& a, KelUserID const& b) { return !(a == b); }

private:
    KelString _name;
    KelString _systemGroup;
};

// "with name: " name ", system group: " group.
std::ostream& operator<<(std::ostream& os, KelUserID const& id);
