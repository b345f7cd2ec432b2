// KelSystemID: a system's name and system group, the key of the system cache. Null when
// the group is null (a null name alone does not make it null). Ordered by name, then group.
#pragma once

#include "kernel/kelkstr.hpp"

#include <iosfwd>

constexpr int KEL_SYSTEM_NAME_LENGTH = 9;
constexpr int KEL_SYSTEM_GROUP_NAME_LENGTH = 9;

class KelSystemID {
public:
    KelSystemID() = default;
    // REQUIRES: each string is null or shorter than its limit (9).
    KelSystemID(KelString const& name, KelString const& group);

    bool IsNull() const { return _group.IsNull(); }
    KelString const& Name() const { return _name; }
    KelString const& Group() const { return _group; }

    friend bool operator==(KelSystemID const& a, KelSystemID const& b)
    {
        return a._name == b._name && a._group == b._group;
    }
    friend bool operator!=(KelSystemID const& a, KelSystemID const& b) { return !(a == b); }
    friend bool operator<(KelSystemID const& a, KelSystemID const& b)
    {
        if (a._name < b._name) return true;
        if (b._name < a._name) return false;
        return a._group < b._group;
    }

private:
    KelString _name;
    KelString _group;
};

// "with name: " name ", group: " group.
std::ostream& operator<<(std::ostream& os, KelSystemID const& id);
