#include "kernel/kelmsyst.hpp"

#include "kernel/kelkcon.hpp"

#include <ostream>

KelSystemID::KelSystemID(KelString const& name, KelString const& group) : _name(name), _group(group)
{
    kelkRequire(name.IsNull() || name.Length() < KEL_SYSTEM_NAME_LENGTH);
    kelkRequire(group.IsNull() || group.Length() < KEL_SYSTEM_GROUP_NAME_LENGTH);
}

std::ostream& operator<<(std::ostream& os, KelSystemID const& id)
{
    return os << "with name: " << id.Name() << ", group: " << id.Group();
}
