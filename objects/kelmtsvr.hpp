// KelServerData: the server object of one server of the topology, held by the server
// cache under its server ID (kind, name, system, system group).
//
// A data object as objects/kelmtdat.hpp describes.
// A manager builds an object from a row by the key constructor, a setter per column
// and MarkClean(); the identity accessor and ID() give the key the cache files it under.
#pragma once

#include "kernel/kelkfun.hpp"
#include "kernel/kelkoid.hpp"
#include "kernel/kelkstr.hpp"
#include "kernel/kelktim.hpp"
#include "kernel/kelmsvid.hpp"
#include "kernel/kelmusid.hpp"
#include "objects/kelmtdat.hpp"

#include <cstdint>
#include <iosfwd>

// The state of a KelServerData, shared by its handles.
struct KelServerRep : KelDataRep<KelServerRep> {
    static KelCheckSite const site;
    KelServerID _serverID;
    bool _iServerID = true;
    KelOID _oID;
    bool _iOID = true;
    KelOID _systemOID;
    bool _iSystemOID = true;
    KelString _externalControlContext;
    bool _iExternalControlContext = true;
    KelString _description;
    bool _iDescription = true;
    KelString _documentation;
    bool _iDocumentation = true;
    KelUserID _lockholder;
    bool _iLockholder = true;
    KelOID _lockholderOID;
    bool _iLockholderOID = true;
    bool _deleted = false;
};

class KelServerData : public KelDataObject<KelServerData, KelServerRep> {
public:
    // An object of which only the key is known: every other member null; clean, not deleted.
    explicit KelServerData(KelServerID const& serverID);

    // Every member as "keyword=value" lines indented by level (null members as "<null>").
    void StreamKeywordDelimited(std::ostream& os, int level) const override;

    void Refresh(KelServerData const& other) { *this = other; }

    static char const* IdName() { return "ServerID"; }
    // The key; ID() is a copy of it. Each of these requires "_pRep != 0".
    KelServerID const& ServerID() const;
    KelServerID ID() const;
    bool OIDIsNull() const;
    // REQUIRES: OIDIsNull() == false.
    KelOID const& OID() const;

    // The text of the first member whose null flag disagrees with its value, or null.
    char const* _assert_invariant() const;

    // Members: the value, its null flag, a setter (flag from the value, marks dirty) and
    // a flag setter (marks dirty).
    bool ServerIDIsNull() const { return R()._iServerID; }
    void SetServerIDIsNull(bool isNull) { SetNull(&Rep::_iServerID, isNull); }
    void SetOID(KelOID const& value) { Set(&Rep::_oID, &Rep::_iOID, value); }
    void SetOIDIsNull(bool isNull) { SetNull(&Rep::_iOID, isNull); }
    KelOID const& SystemOID() const { return R()._systemOID; }
    bool SystemOIDIsNull() const { return R()._iSystemOID; }
    void SetSystemOID(KelOID const& value) { Set(&Rep::_systemOID, &Rep::_iSystemOID, value); }
    void SetSystemOIDIsNull(bool isNull) { SetNull(&Rep::_iSystemOID, isNull); }
    KelString const& ExternalControlContext() const { return R()._externalControlContext; }
    bool ExternalControlContextIsNull() const { return R()._iExternalControlContext; }
    void SetExternalControlContext(KelString const& value)
    {
        Set(&Rep::_externalControlContext, &Rep::_iExternalControlContext, value);
    }
    void SetExternalControlContextIsNull(bool isNull) { SetNull(&Rep::_iExternalControlContext, isNull); }
    KelString const& Description() const { return R()._description; }
    bool DescriptionIsNull() const { return R()._iDescription; }
    void SetDescription(KelString const& value) { Set(&Rep::_description, &Rep::_iDescription, value); }
    void SetDescriptionIsNull(bool isNull) { SetNull(&Rep::_iDescription, isNull); }
    KelString const& Documentation() const { return R()._documentation; }
    bool DocumentationIsNull() const { return R()._iDocumentation; }
    void SetDocumentation(KelString const& value) { Set(&Rep::_documentation, &Rep::_iDocumentation, value); }
    void SetDocumentationIsNull(bool isNull) { SetNull(&Rep::_iDocumentation, isNull); }
    KelUserID const& Lockholder() const { return R()._lockholder; }
    bool LockholderIsNull() const { return R()._iLockholder; }
    void SetLockholder(KelUserID const& value) { Set(&Rep::_lockholder, &Rep::_iLockholder, value); }
    void SetLockholderIsNull(bool isNull) { SetNull(&Rep::_iLockholder, isNull); }
    KelOID const& LockholderOID() const { return R()._lockholderOID; }
    bool LockholderOIDIsNull() const { return R()._iLockholderOID; }
    void SetLockholderOID(KelOID const& value) { Set(&Rep::_lockholderOID, &Rep::_iLockholderOID, value); }
    void SetLockholderOIDIsNull(bool isNull) { SetNull(&Rep::_iLockholderOID, isNull); }

private:
    using Rep = KelServerRep;
};

// A line end, "KelServerData {", the keyword text, " }".
std::ostream& operator<<(std::ostream& os, KelServerData const& object);

template <>
struct KelTypeName<KelServerData> {
    static constexpr char const* value = "KelServerData";
};
