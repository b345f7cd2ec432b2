#include "kernel/kelmusid.hpp"

#include "kernel/kelkcon.hpp"

#include <ostream>

KelUserID::KelUserID(KelString const& name, KelString const& systemGroup) : _name(name), _systemGroup(systemGroup)
{
    kelkRequire(!name.IsNull());
    kelkRequire(name.Length() > 0);
    kelkRequire(name.Length() <= KEL_USER_NAME_LENGTH);
}

std::ostream& operator<<(std::ostream& os, KelUserID const& id)
{
    return os << "with name: " << id.Name() << ", system group: " << id.SystemGroup();
}
