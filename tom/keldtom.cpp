#include "tom/keldtom.hpp"

#include "kernel/kelkexc.hpp"

char const* KelCachedObjectStateName(std::int32_t state)
{
    switch (state) {
    case KelCachedObjectState::New: return "New";
    case KelCachedObjectState::MaterializedForRead: return "MaterializedForRead";
    case KelCachedObjectState::MaterializedForUpdate: return "MaterializedForUpdate";
    case KelCachedObjectState::Saved: return "Saved";
    default: return "invalid";
    }
}

void KelTomRaiseInvalidCase(char const* file, unsigned line, std::string const& function, std::int32_t state)
{
    KelRaise(KelIntExcInvalidCase(KelOrigin(KelString(file), line, KelString(function)), state), KelTraceLevel::Always,
             KelTraceComponent::Cache);
}
