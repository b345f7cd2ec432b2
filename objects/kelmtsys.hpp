// KelSystemData: the server object of one system of the topology, held by the system
// cache under its system ID (name, system group).
//
// A data object as objects/kelmtdat.hpp describes.
// Each level of the derivation has a Rep of its own; assignment assigns every level.
// A manager builds an object from a row by the key constructor, a setter per column
// and MarkClean(); the identity accessor and ID() give the key the cache files it under.
#pragma once

#include "kernel/kelkfun.hpp"
#include "kernel/kelkoid.hpp"
#include "kernel/kelkstr.hpp"
#include "kernel/kelktim.hpp"
#include "kernel/kelmsyst.hpp"
#include "kernel/kelmusid.hpp"
#include "objects/kelmtdat.hpp"
#include "objects/kelmttpb.hpp"

#include <cstdint>
#include <iosfwd>

// The state of a KelSystemData, shared by its handles.
struct KelSystemRep : KelDataRep<KelSystemRep> {
    static KelCheckSite const site;
    KelSystemID _systemID;
    bool _iSystemID = true;
    KelOID _oID;
    bool _iOID = true;
    KelOID _systemGroupOID;
    bool _iSystemGroupOID = true;
    KelString _queueManager;
    bool _iQueueManager = true;
    KelOID _queueManagerOID;
    bool _iQueueManagerOID = true;
    KelTimeStamp _lastCfgUpdTime;
    bool _iLastCfgUpdTime = true;
    KelTimeStamp _lastCfgChkTime;
    bool _iLastCfgChkTime = true;
};

class KelSystemData : public KelDataLevel<KelSystemData, KelTopologyBaseData, KelSystemRep> {
public:
    // An object of which only the key is known: every other member null; clean, not deleted.
    explicit KelSystemData(KelSystemID const& systemID);

    // Every member as "keyword=value" lines indented by level (null members as "<null>").
    void StreamKeywordDelimited(std::ostream& os, int level) const override;

    void Refresh(KelSystemData const& other) { *this = other; }

    static char const* IdName() { return "SystemID"; }
    // The key; ID() is a copy of it. Each of these requires "_pRep != 0".
    KelSystemID const& SystemID() const;
    KelSystemID ID() const;
    bool OIDIsNull() const;
    // REQUIRES: OIDIsNull() == false.
    KelOID const& OID() const;

    // The text of the first member whose null flag disagrees with its value, or null.
    char const* _assert_invariant() const;

    // Members: the value, its null flag, a setter (flag from the value, marks dirty) and
    // a flag setter (marks dirty).
    bool SystemIDIsNull() const { return R()._iSystemID; }
    void SetSystemIDIsNull(bool isNull) { SetNull(&Rep::_iSystemID, isNull); }
    void SetOID(KelOID const& value) { Set(&Rep::_oID, &Rep::_iOID, value); }
    void SetOIDIsNull(bool isNull) { SetNull(&Rep::_iOID, isNull); }
    KelOID const& SystemGroupOID() const { return R()._systemGroupOID; }
    bool SystemGroupOIDIsNull() const { return R()._iSystemGroupOID; }
    void SetSystemGroupOID(KelOID const& value) { Set(&Rep::_systemGroupOID, &Rep::_iSystemGroupOID, value); }
    void SetSystemGroupOIDIsNull(bool isNull) { SetNull(&Rep::_iSystemGroupOID, isNull); }
    KelString const& QueueManager() const { return R()._queueManager; }
    bool QueueManagerIsNull() const { return R()._iQueueManager; }
    void SetQueueManager(KelString const& value) { Set(&Rep::_queueManager, &Rep::_iQueueManager, value); }
    void SetQueueManagerIsNull(bool isNull) { SetNull(&Rep::_iQueueManager, isNull); }
    KelOID const& QueueManagerOID() const { return R()._queueManagerOID; }
    bool QueueManagerOIDIsNull() const { return R()._iQueueManagerOID; }
    void SetQueueManagerOID(KelOID const& value) { Set(&Rep::_queueManagerOID, &Rep::_iQueueManagerOID, value); }
    void SetQueueManagerOIDIsNull(bool isNull) { SetNull(&Rep::_iQueueManagerOID, isNull); }
    KelTimeStamp const& LastCfgUpdTime() const { return R()._lastCfgUpdTime; }
    bool LastCfgUpdTimeIsNull() const { return R()._iLastCfgUpdTime; }
    void SetLastCfgUpdTime(KelTimeStamp const& value) { Set(&Rep::_lastCfgUpdTime, &Rep::_iLastCfgUpdTime, value); }
    void SetLastCfgUpdTimeIsNull(bool isNull) { SetNull(&Rep::_iLastCfgUpdTime, isNull); }
    KelTimeStamp const& LastCfgChkTime() const { return R()._lastCfgChkTime; }
    bool LastCfgChkTimeIsNull() const { return R()._iLastCfgChkTime; }
    void SetLastCfgChkTime(KelTimeStamp const& value) { Set(&Rep::_lastCfgChkTime, &Rep::_iLastCfgChkTime, value); }
    void SetLastCfgChkTimeIsNull(bool isNull) { SetNull(&Rep::_iLastCfgChkTime, isNull); }

private:
    using Rep = KelSystemRep;
};

// A line end, "KelSystemData {", the keyword text, " }".
std::ostream& operator<<(std::ostream& os, KelSystemData const& object);

template <>
struct KelTypeName<KelSystemData> {
    static constexpr char const* value = "KelSystemData";
};
