#include "kernel/kelmsvid.hpp"

#include "kernel/kelkcon.hpp"
#include "kernel/kelmsyst.hpp"

#include <ostream>

KelServerID::KelServerID(std::int32_t kind, KelString const& name, KelString const& system,
                         KelString const& systemGroup)
    : _kind(kind), _name(name), _system(system), _systemGroup(systemGroup)
{
    kelkRequire(kind != long(KelSvrKind::PESvr));
    kelkRequire(kind != long(KelSvrKind::UPESvr));
    kelkRequire(!name.IsNull());
    kelkRequire(name.Length() > 0);
    kelkRequire(name.Length() < KEL_SERVER_NAME_LENGTH);
    kelkRequire(!system.IsNull());
    kelkRequire(system.Length() > 0);
    kelkRequire(system.Length() < KEL_SYSTEM_NAME_LENGTH);
    kelkRequire(!systemGroup.IsNull());
    kelkRequire(systemGroup.Length() > 0);
    kelkRequire(systemGroup.Length() < KEL_SYSTEM_GROUP_NAME_LENGTH);
}

bool operator<(KelServerID const& a, KelServerID const& b)
{
    if (a._kind != b._kind) return a._kind < b._kind;
    if (a._name < b._name) return true;
    if (b._name < a._name) return false;
    if (a._system < b._system) return true;
    if (b._system < a._system) return false;
    return a._systemGroup < b._systemGroup;
}

std::ostream& operator<<(std::ostream& os, KelServerID const& id)
{
    return os << "with kind: " << id.Kind() << ", name: " << id.Name() << ", system: " << id.System()
              << ", system group: " << id.SystemGroup();
}
