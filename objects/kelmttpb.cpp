#include "objects/kelmttpb.hpp"

#include "kernel/kelkcon.hpp"
#include "objects/kelmtkwd.hpp"

#include <ostream>

KelCheckSite const KelTopologyBaseRep::site{__FILE__, __LINE__};

char const* KelTopologyBaseData::_assert_invariant() const
{
    Rep const& r = R();
    if (r._iSystemQualifier != r._systemQualifier.IsNull())
        return "_pRep->_iSystemQualifier == _pRep->_systemQualifier.IsNull()";
    if (r._iExternalRestartContext != r._externalRestartContext.IsNull())
        return "_pRep->_iExternalRestartContext == _pRep->_externalRestartContext.IsNull()";
    if (r._iDescription != r._description.IsNull()) return "_pRep->_iDescription == _pRep->_description.IsNull()";
    if (r._iDocumentation != r._documentation.IsNull())
        return "_pRep->_iDocumentation == _pRep->_documentation.IsNull()";
    if (r._iLockholder != r._lockholder.IsNull()) return "_pRep->_iLockholder == _pRep->_lockholder.IsNull()";
    if (r._iLockholderOID != r._lockholderOID.IsNull())
        return "_pRep->_iLockholderOID == _pRep->_lockholderOID.IsNull()";
    if (r._iExecSvrExtControlContext != r._execSvrExtControlContext.IsNull())
        return "_pRep->_iExecSvrExtControlContext == _pRep->_execSvrExtControlContext.IsNull()";
    if (r._iPESvrExtControlContext != r._pESvrExtControlContext.IsNull())
        return "_pRep->_iPESvrExtControlContext == _pRep->_pESvrExtControlContext.IsNull()";
    return nullptr;
}

void KelTopologyBaseData::StreamKeywordDelimited(std::ostream& os, int level) const
{
    Rep const& r = R();
    KelKeywordWriter(os, level)
        .Put("_systemQualifier", r._systemQualifier, r._iSystemQualifier)
        .Put("_externalRestartContext", r._externalRestartContext, r._iExternalRestartContext)
        .Put("_description", r._description, r._iDescription)
        .Put("_documentation", r._documentation, r._iDocumentation)
        .Put("_lockholder", r._lockholder, r._iLockholder)
        .Put("_lockholderOID", r._lockholderOID, r._iLockholderOID)
        .Put("_execSvrExtControlContext", r._execSvrExtControlContext, r._iExecSvrExtControlContext)
        .Put("_pESvrExtControlContext", r._pESvrExtControlContext, r._iPESvrExtControlContext)
        .Put("_dirty", r._dirty);
    KelProcessBaseData::StreamKeywordDelimited(os, level);
}
