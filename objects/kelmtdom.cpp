#include "objects/kelmtdom.hpp"

#include "kernel/kelkcon.hpp"
#include "objects/kelmtkwd.hpp"

#include <ostream>

KelCheckSite const KelDomainRep::site{__FILE__, __LINE__};

KelDomainData::KelDomainData(KelString const& name) : KelDataObject(&Rep::_name, &Rep::_iName, name) {}

KelString const& KelDomainData::Name() const { return R()._name; }
KelString KelDomainData::ID() const { return R()._name; }
bool KelDomainData::OIDIsNull() const { return R()._iOID; }

KelOID const& KelDomainData::OID() const { return Required(&Rep::_oID, &Rep::_iOID, "OIDIsNull() == false"); }

char const* KelDomainData::_assert_invariant() const
{
    Rep const& r = R();
    if (r._iName != r._name.IsNull()) return "_pRep->_iName == _pRep->_name.IsNull()";
    if (r._iOID != r._oID.IsNull()) return "_pRep->_iOID == _pRep->_oID.IsNull()";
    if (r._iDescription != r._description.IsNull()) return "_pRep->_iDescription == _pRep->_description.IsNull()";
    return nullptr;
}

void KelDomainData::StreamKeywordDelimited(std::ostream& os, int level) const
{
    Rep const& r = R();
    KelKeywordWriter(os, level)
        .Put("_name", r._name, r._iName)
        .Put("_oID", r._oID, r._iOID)
        .Put("_description", r._description, r._iDescription)
        .Put("_deleted", r._deleted)
        .Put("_dirty", r._dirty);
}

std::ostream& operator<<(std::ostream& os, KelDomainData const& object) { return KelPutObject(os, object); }
