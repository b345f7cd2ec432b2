// KelDomainData: the server object of one domain, held by the domain cache under the
// domain's name.
//
// A data object as objects/kelmtdat.hpp describes.
// A manager builds an object from a row by the key constructor, a setter per column
// and MarkClean(); the identity accessor and ID() give the key the cache files it under.
#pragma once

#include "kernel/kelkfun.hpp"
#include "kernel/kelkoid.hpp"
#include "kernel/kelkstr.hpp"
#include "kernel/kelktim.hpp"
#include "kernel/kelmusid.hpp"
#include "objects/kelmtdat.hpp"

#include <cstdint>
#include <iosfwd>

// The state of a KelDomainData, shared by its handles.
struct KelDomainRep : KelDataRep<KelDomainRep> {
    static KelCheckSite const site;
    KelString _name;
    bool _iName = true;
    KelOID _oID;
    bool _iOID = true;
    KelString _description;
    bool _iDescription = true;
    bool _deleted = false;
};

class KelDomainData : public KelDataObject<KelDomainData, KelDomainRep> {
public:
    // An object of which only the key is known: every other member null; clean, not deleted.
    explicit KelDomainData(KelString const& name);

    // Every member as "keyword=value" lines indented by level (null members as "<null>").
    void StreamKeywordDelimited(std::ostream& os, int level) const override;

    void Refresh(KelDomainData const& other) { *this = other; }

    static char const* IdName() { return "DomainName"; }
    // The key; ID() is a copy of it. Each of these requires "_pRep != 0".
    KelString const& Name() const;
    KelString ID() const;
    bool OIDIsNull() const;
    // REQUIRES: OIDIsNull() == false.
    KelOID const& OID() const;

    // The text of the first member whose null flag disagrees with its value, or null.
    char const* _assert_invariant() const;

    // Members: the value, its null flag, a setter (flag from the value, marks dirty) and
    // a flag setter (marks dirty).
    bool NameIsNull() const { return R()._iName; }
    void SetNameIsNull(bool isNull) { SetNull(&Rep::_iName, isNull); }
    void SetOID(KelOID const& value) { Set(&Rep::_oID, &Rep::_iOID, value); }
    void SetOIDIsNull(bool isNull) { SetNull(&Rep::_iOID, isNull); }
    KelString const& Description() const { return R()._description; }
    bool DescriptionIsNull() const { return R()._iDescription; }
    void SetDescription(KelString const& value) { Set(&Rep::_description, &Rep::_iDescription, value); }
    void SetDescriptionIsNull(bool isNull) { SetNull(&Rep::_iDescription, isNull); }

private:
    using Rep = KelDomainRep;
};

// A line end, "KelDomainData {", the keyword text, " }".
std::ostream& operator<<(std::ostream& os, KelDomainData const& object);

template <>
struct KelTypeName<KelDomainData> {
    static constexpr char const* value = "KelDomainData";
};
