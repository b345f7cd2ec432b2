// KelTopologyBaseData: the part that every topology object has (qualifier, contexts,
// texts and lock holder), between KelProcessBaseData and KelSystemData.
//
// A data object as objects/kelmtdat.hpp describes.
// Each level of the derivation has a Rep of its own; assignment assigns every level.
#pragma once

#include "kernel/kelkfun.hpp"
#include "kernel/kelkoid.hpp"
#include "kernel/kelkstr.hpp"
#include "kernel/kelktim.hpp"
#include "kernel/kelmusid.hpp"
#include "objects/kelmtdat.hpp"
#include "objects/kelmtprs.hpp"

#include <cstdint>
#include <iosfwd>

// The state of a KelTopologyBaseData, shared by its handles.
struct KelTopologyBaseRep : KelDataRep<KelTopologyBaseRep> {
    static KelCheckSite const site;
    KelString _systemQualifier;
    bool _iSystemQualifier = true;
    KelString _externalRestartContext;
    bool _iExternalRestartContext = true;
    KelString _description;
    bool _iDescription = true;
    KelString _documentation;
    bool _iDocumentation = true;
    KelUserID _lockholder;
    bool _iLockholder = true;
    KelOID _lockholderOID;
    bool _iLockholderOID = true;
    KelString _execSvrExtControlContext;
    bool _iExecSvrExtControlContext = true;
    KelString _pESvrExtControlContext;
    bool _iPESvrExtControlContext = true;
};

class KelTopologyBaseData : public KelDataLevel<KelTopologyBaseData, KelProcessBaseData, KelTopologyBaseRep> {
public:
    // Every member as "keyword=value" lines indented by level (null members as "<null>").
    void StreamKeywordDelimited(std::ostream& os, int level) const override;

    // The text of the first member whose null flag disagrees with its value, or null.
    char const* _assert_invariant() const;

    // Members: the value, its null flag, a setter (flag from the value, marks dirty) and
    // a flag setter (marks dirty).
    KelString const& SystemQualifier() const { return R()._systemQualifier; }
    bool SystemQualifierIsNull() const { return R()._iSystemQualifier; }
    void SetSystemQualifier(KelString const& value) { Set(&Rep::_systemQualifier, &Rep::_iSystemQualifier, value); }
    void SetSystemQualifierIsNull(bool isNull) { SetNull(&Rep::_iSystemQualifier, isNull); }
    KelString const& ExternalRestartContext() const { return R()._externalRestartContext; }
    bool ExternalRestartContextIsNull() const { return R()._iExternalRestartContext; }
    void SetExternalRestartContext(KelString const& value)
    {
        Set(&Rep::_externalRestartContext, &Rep::_iExternalRestartContext, value);
    }
    void SetExternalRestartContextIsNull(bool isNull) { SetNull(&Rep::_iExternalRestartContext, isNull); }
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
    KelString const& ExecSvrExtControlContext() const { return R()._execSvrExtControlContext; }
    bool ExecSvrExtControlContextIsNull() const { return R()._iExecSvrExtControlContext; }
    void SetExecSvrExtControlContext(KelString const& value)
    {
        Set(&Rep::_execSvrExtControlContext, &Rep::_iExecSvrExtControlContext, value);
    }
    void SetExecSvrExtControlContextIsNull(bool isNull) { SetNull(&Rep::_iExecSvrExtControlContext, isNull); }
    KelString const& PESvrExtControlContext() const { return R()._pESvrExtControlContext; }
    bool PESvrExtControlContextIsNull() const { return R()._iPESvrExtControlContext; }
    void SetPESvrExtControlContext(KelString const& value)
    {
        Set(&Rep::_pESvrExtControlContext, &Rep::_iPESvrExtControlContext, value);
    }
    void SetPESvrExtControlContextIsNull(bool isNull) { SetNull(&Rep::_iPESvrExtControlContext, isNull); }

protected:
    // A part of which nothing is known yet: every member null; clean.
    KelTopologyBaseData() = default;

private:
    using Rep = KelTopologyBaseRep;
};
