#include "db/keldkrnl.hpp"

namespace {
long openedType = KelDBType::None;
KelRtDbTypeOverride* innermost = nullptr;
}  // namespace

long KelGetRtDbType() { return innermost ? innermost->Type() : openedType; }

void KelSetRtDbType(KelDBType::Type type) { openedType = type; }

KelRtDbTypeOverride::KelRtDbTypeOverride(long type) : _previous(innermost), _type(type) { innermost = this; }

KelRtDbTypeOverride::~KelRtDbTypeOverride() { innermost = _previous; }
