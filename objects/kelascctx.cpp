#include "objects/kelascctx.hpp"

KelAdminSvrCoreContextIF::~KelAdminSvrCoreContextIF() = default;

KelTimeStamp KelAdminSvrCoreContextIF::CurrentTime() const { return KelTimeStamp::Now(); }

void KelAdminSvrCoreContextIF::StateChanged(KelSvrInstance const&) {}
