#include "objects/kelmtsys.hpp"

#include "kernel/kelkcon.hpp"
#include "objects/kelmtkwd.hpp"

#include <ostream>

KelCheckSite const KelSystemRep::site{__FILE__, __LINE__};

KelSystemData::KelSystemData(KelSystemID const& systemID) : KelDataLevel(&Rep::_systemID, &Rep::_iSystemID, systemID) {}

KelSystemID const& KelSystemData::SystemID() const { return R()._systemID; }
KelSystemID KelSystemData::ID() const { return R()._systemID; }
bool KelSystemData::OIDIsNull() const { return R()._iOID; }

KelOID const& KelSystemData::OID() const { return Required(&Rep::_oID, &Rep::_iOID, "OIDIsNull() == false"); }

char const* KelSystemData::_assert_invariant() const
{
    Rep const& r = R();
    if (r._iSystemID != r._systemID.IsNull()) return "_pRep->_iSystemID == _pRep->_systemID.IsNull()";
    if (r._iOID != r._oID.IsNull()) return "_pRep->_iOID == _pRep->_oID.IsNull()";
    if (r._iSystemGroupOID != r._systemGroupOID.IsNull())
        return "_pRep->_iSystemGroupOID == _pRep->_systemGroupOID.IsNull()";
    if (r._iQueueManager != r._queueManager.IsNull()) return "_pRep->_iQueueManager == _pRep->_queueManager.IsNull()";
    if (r._iQueueManagerOID != r._queueManagerOID.IsNull())
        return "_pRep->_iQueueManagerOID == _pRep->_queueManagerOID.IsNull()";
    if (r._iLastCfgUpdTime != r._lastCfgUpdTime.IsNull())
        return "_pRep->_iLastCfgUpdTime == _pRep->_lastCfgUpdTime.IsNull()";
    if (r._iLastCfgChkTime != r._lastCfgChkTime.IsNull())
        return "_pRep->_iLastCfgChkTime == _pRep->_lastCfgChkTime.IsNull()";
    return nullptr;
}

void KelSystemData::StreamKeywordDelimited(std::ostream& os, int level) const
{
    Rep const& r = R();
    KelKeywordWriter(os, level)
        .Put("_systemID", r._systemID, r._iSystemID)
        .Put("_oID", r._oID, r._iOID)
        .Put("_systemGroupOID", r._systemGroupOID, r._iSystemGroupOID)
        .Put("_queueManager", r._queueManager, r._iQueueManager)
        .Put("_queueManagerOID", r._queueManagerOID, r._iQueueManagerOID)
        .Put("_lastCfgUpdTime", r._lastCfgUpdTime, r._iLastCfgUpdTime)
        .Put("_lastCfgChkTime", r._lastCfgChkTime, r._iLastCfgChkTime)
        .Put("_dirty", r._dirty);
    KelTopologyBaseData::StreamKeywordDelimited(os, level);
}

std::ostream& operator<<(std::ostream& os, KelSystemData const& object) { return KelPutObject(os, object); }
