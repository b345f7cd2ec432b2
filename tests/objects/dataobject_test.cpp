// Staff and topology data objects: shared representations at every level, the invariant
// text of each null flag, the guarded OID, dirty and deleted marks, and the printed form.
#include "kernel/kelkcon.hpp"
#include "objects/kelmtdom.hpp"
#include "objects/kelmtper.hpp"
#include "objects/kelmtrol.hpp"
#include "objects/kelmtsvr.hpp"
#include "objects/kelmtsys.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

KelOID Oid(unsigned char last)
{
    unsigned char bytes[16] = {0x42};
    bytes[15] = last;
    return KelOID(bytes);
}

std::string Pair(char const* indicator, char const* member)
{
    return std::string("_pRep->") + indicator + " == _pRep->" + member + ".IsNull()";
}

template <class T>
struct FlagCase {
    std::function<void(T&)> breakIt;
    std::string text;
};

// On a fresh object, each change must make _assert_invariant() name exactly its pair, and
// assigning the broken object must report that text as a failed invariant.
template <class T>
void ExpectInvariantTexts(std::function<T()> make, std::vector<FlagCase<T>> const& cases)
{
    EXPECT_EQ(make()._assert_invariant(), nullptr);
    for (auto const& c : cases) {
        T broken = make();
        c.breakIt(broken);
        char const* text = broken._assert_invariant();
        ASSERT_NE(text, nullptr) << c.text;
        EXPECT_EQ(std::string(text), c.text);

        KelContractRecorder rec;
        T target = make();
        target = broken;
        EXPECT_EQ(rec.Conditions(), std::vector<std::string>{c.text});
        ASSERT_FALSE(rec.Empty());
        EXPECT_EQ(rec.Failures()[0].kind, KelContractKind::Invariant);
    }
}

KelSystemID SysId() { return KelSystemID(KelString("SYSA"), KelString("GRPA")); }
KelServerID SvrId()
{
    return KelServerID(KelSvrKind::ExecSvr, KelString("EXEC1"), KelString("SYSA"), KelString("GRPA"));
}

}  // namespace

TEST(PersonData, GuardedOidDirtyMarksAndRefresh)
{
    KelPersonData person(KelString("BOB"));
    EXPECT_FALSE(person.IsDirty());
    EXPECT_THROW(person.OID(), KelContractViolation);
    person.SetOID(Oid(1));
    EXPECT_EQ(person.OID(), Oid(1));
    EXPECT_TRUE(person.IsDirty());
    person.MarkClean();
    person.SetFirstName(KelString());  // a null value sets the flag and marks dirty too
    EXPECT_TRUE(person.FirstNameIsNull());
    EXPECT_TRUE(person.IsDirty());
    person.MarkDeleted();
    EXPECT_TRUE(person.IsDeleted());

    // OIDIsNull() reads the flag, not the value.
    person.SetOIDIsNull(true);
    KelContractRecorder rec;
    person.OID();
    EXPECT_EQ(rec.Conditions(), std::vector<std::string>{"OIDIsNull() == false"});

    // A lock holder with a name is not null even without a system group.
    person.SetLockholder(KelUserID(KelString("ANN"), KelString()));
    EXPECT_FALSE(person.LockholderIsNull());

    // Refresh takes the fresh contents, which outlive the fresh handle.
    auto cached = std::make_unique<KelRoleData>(KelString("CLERK"));
    cached->SetDescription(KelString("stale"));
    {
        KelRoleData fresh(KelString("CLERK"));
        fresh.SetOID(Oid(4));
        fresh.SetDescription(KelString("fresh"));
        fresh.MarkClean();
        cached->Refresh(fresh);
    }
    EXPECT_EQ(cached->RefCount(), 1u);
    EXPECT_EQ(cached->Description(), KelString("fresh"));
    EXPECT_FALSE(cached->IsDirty());
}

TEST(PersonData, EachWrongNullFlagNamesItsPair)
{
    using P = KelPersonData;
    ExpectInvariantTexts<P>(
        [] { return P(KelString("BOB")); },
        {
            {[](P& p) { p.SetNameIsNull(true); }, Pair("_iName", "_name")},
            {[](P& p) { p.SetOIDIsNull(false); }, Pair("_iOID", "_oID")},
            {[](P& p) { p.SetSystemIsNull(false); }, Pair("_iSystem", "_system")},
            {[](P& p) { p.SetOrganizationIsNull(false); }, Pair("_iOrganization", "_organization")},
            {[](P& p) { p.SetOrganizationOIDIsNull(false); }, Pair("_iOrganizationOID", "_organizationOID")},
            {[](P& p) { p.SetSubstituteIsNull(false); }, Pair("_iSubstitute", "_substitute")},
            {[](P& p) { p.SetSubstituteOIDIsNull(false); }, Pair("_iSubstituteOID", "_substituteOID")},
            {[](P& p) { p.SetPasswordIsNull(false); }, Pair("_iPassword", "_password")},
            {[](P& p) { p.SetPersonIDIsNull(false); }, Pair("_iPersonID", "_personID")},
            {[](P& p) { p.SetFirstNameIsNull(false); }, Pair("_iFirstName", "_firstName")},
            {[](P& p) { p.SetMiddleNameIsNull(false); }, Pair("_iMiddleName", "_middleName")},
            {[](P& p) { p.SetLastNameIsNull(false); }, Pair("_iLastName", "_lastName")},
            {[](P& p) { p.SetPhoneIsNull(false); }, Pair("_iPhone", "_phone")},
            {[](P& p) { p.SetSecondPhoneIsNull(false); }, Pair("_iSecondPhone", "_secondPhone")},
            {[](P& p) { p.SetLogonBlockedTimeIsNull(false); }, Pair("_iLogonBlockedTime", "_logonBlockedTime")},
            {[](P& p) { p.SetDescriptionIsNull(false); }, Pair("_iDescription", "_description")},
            {[](P& p) { p.SetLockholderIsNull(false); }, Pair("_iLockholder", "_lockholder")},
            {[](P& p) { p.SetLockholderOIDIsNull(false); }, Pair("_iLockholderOID", "_lockholderOID")},
            {[](P& p) { p.SetSystemGroupIsNull(false); }, Pair("_iSystemGroup", "_systemGroup")},
            // two wrong pairs: the first in checking order is named
            {[](P& p) {
                 p.SetSystemGroupIsNull(false);
                 p.SetPhoneIsNull(false);
             },
             Pair("_iPhone", "_phone")},
        });
}

TEST(RoleDomainServerData, EachWrongNullFlagNamesItsPair)
{
    using R = KelRoleData;
    ExpectInvariantTexts<R>(
        [] { return R(KelString("CLERK")); },
        {
            {[](R& r) { r.SetNameIsNull(true); }, Pair("_iName", "_name")},
            {[](R& r) { r.SetOIDIsNull(false); }, Pair("_iOID", "_oID")},
            {[](R& r) { r.SetCoordinatorIsNull(false); }, Pair("_iCoordinator", "_coordinator")},
            {[](R& r) { r.SetCoordinatorOIDIsNull(false); }, Pair("_iCoordinatorOID", "_coordinatorOID")},
            {[](R& r) { r.SetDescriptionIsNull(false); }, Pair("_iDescription", "_description")},
            {[](R& r) { r.SetLockholderIsNull(false); }, Pair("_iLockholder", "_lockholder")},
            {[](R& r) { r.SetLockholderOIDIsNull(false); }, Pair("_iLockholderOID", "_lockholderOID")},
        });
    using D = KelDomainData;
    ExpectInvariantTexts<D>([] { return D(KelString("SALES")); },
                            {
                                {[](D& d) { d.SetNameIsNull(true); }, Pair("_iName", "_name")},
                                {[](D& d) { d.SetOIDIsNull(false); }, Pair("_iOID", "_oID")},
                                {[](D& d) { d.SetDescriptionIsNull(false); }, Pair("_iDescription", "_description")},
                            });
    using S = KelServerData;
    ExpectInvariantTexts<S>(
        [] { return S(SvrId()); },
        {
            {[](S& s) { s.SetServerIDIsNull(true); }, Pair("_iServerID", "_serverID")},
            {[](S& s) { s.SetOIDIsNull(false); }, Pair("_iOID", "_oID")},
            {[](S& s) { s.SetSystemOIDIsNull(false); }, Pair("_iSystemOID", "_systemOID")},
            {[](S& s) { s.SetExternalControlContextIsNull(false); },
             Pair("_iExternalControlContext", "_externalControlContext")},
            {[](S& s) { s.SetDescriptionIsNull(false); }, Pair("_iDescription", "_description")},
            {[](S& s) { s.SetDocumentationIsNull(false); }, Pair("_iDocumentation", "_documentation")},
            {[](S& s) { s.SetLockholderIsNull(false); }, Pair("_iLockholder", "_lockholder")},
            {[](S& s) { s.SetLockholderOIDIsNull(false); }, Pair("_iLockholderOID", "_lockholderOID")},
        });
}

TEST(SystemData, EachLevelNamesItsOwnWrongPairOnAssignment)
{
    using Y = KelSystemData;
    ExpectInvariantTexts<Y>(
        [] { return Y(SysId()); },
        {
            {[](Y& y) { y.SetSystemIDIsNull(true); }, Pair("_iSystemID", "_systemID")},
            {[](Y& y) { y.SetOIDIsNull(false); }, Pair("_iOID", "_oID")},
            {[](Y& y) { y.SetSystemGroupOIDIsNull(false); }, Pair("_iSystemGroupOID", "_systemGroupOID")},
            {[](Y& y) { y.SetQueueManagerIsNull(false); }, Pair("_iQueueManager", "_queueManager")},
            {[](Y& y) { y.SetQueueManagerOIDIsNull(false); }, Pair("_iQueueManagerOID", "_queueManagerOID")},
            {[](Y& y) { y.SetLastCfgUpdTimeIsNull(false); }, Pair("_iLastCfgUpdTime", "_lastCfgUpdTime")},
            {[](Y& y) { y.SetLastCfgChkTimeIsNull(false); }, Pair("_iLastCfgChkTime", "_lastCfgChkTime")},
        });

    // The base parts check their own pairs when the system is assigned; the system's own
    // _assert_invariant() does not look at them.
    std::vector<FlagCase<Y>> baseCases = {
        {[](Y& y) { y.SetAuditEventsToWqIsNull(false); }, Pair("_iAuditEventsToWq", "_auditEventsToWq")},
        {[](Y& y) { y.SetAuditEventsToDBIsNull(false); }, Pair("_iAuditEventsToDB", "_auditEventsToDB")},
        {[](Y& y) { y.SetSystemQualifierIsNull(false); }, Pair("_iSystemQualifier", "_systemQualifier")},
        {[](Y& y) { y.SetExternalRestartContextIsNull(false); },
         Pair("_iExternalRestartContext", "_externalRestartContext")},
        {[](Y& y) { y.SetDescriptionIsNull(false); }, Pair("_iDescription", "_description")},
        {[](Y& y) { y.SetDocumentationIsNull(false); }, Pair("_iDocumentation", "_documentation")},
        {[](Y& y) { y.SetLockholderIsNull(false); }, Pair("_iLockholder", "_lockholder")},
        {[](Y& y) { y.SetLockholderOIDIsNull(false); }, Pair("_iLockholderOID", "_lockholderOID")},
        {[](Y& y) { y.SetExecSvrExtControlContextIsNull(false); },
         Pair("_iExecSvrExtControlContext", "_execSvrExtControlContext")},
        {[](Y& y) { y.SetPESvrExtControlContextIsNull(false); },
         Pair("_iPESvrExtControlContext", "_pESvrExtControlContext")},
    };
    for (auto const& c : baseCases) {
        Y broken(SysId());
        c.breakIt(broken);
        EXPECT_EQ(broken._assert_invariant(), nullptr);
        char const* own = c.text.find("audit") != std::string::npos ? broken.KelProcessBaseData::_assert_invariant()
                                                                    : broken.KelTopologyBaseData::_assert_invariant();
        ASSERT_NE(own, nullptr) << c.text;
        EXPECT_EQ(std::string(own), c.text);
        KelContractRecorder rec;
        Y target(SysId());
        target = broken;
        EXPECT_EQ(rec.Conditions(), std::vector<std::string>{c.text});
    }
}

TEST(SystemData, AssignmentSharesEveryLevelAndFreesEachOldRep)
{
    KelString wq("wq-old"), qualifier("q-old"), manager("qm-old");
    std::uint32_t const heldWq = wq.RefCount(), heldQ = qualifier.RefCount(), heldM = manager.RefCount();
    KelSystemData a(SysId());
    a.SetAuditEventsToWq(wq);
    a.SetSystemQualifier(qualifier);
    a.SetQueueManager(manager);

    a = a;
    EXPECT_EQ(a.RefCount(), 1u);
    EXPECT_EQ(a.KelTopologyBaseData::RefCount(), 1u);
    EXPECT_EQ(a.KelProcessBaseData::RefCount(), 1u);
    EXPECT_EQ(wq.RefCount(), heldWq + 1);
    {
        KelSystemData b(KelSystemID(KelString("SYSB"), KelString("GRPA")));
        b.SetDescription(KelString("b's"));
        a = b;
        EXPECT_EQ(a.RefCount(), 2u);
        EXPECT_EQ(a.KelTopologyBaseData::RefCount(), 2u);
        EXPECT_EQ(a.KelProcessBaseData::RefCount(), 2u);
        EXPECT_EQ(wq.RefCount(), heldWq);
        EXPECT_EQ(qualifier.RefCount(), heldQ);
        EXPECT_EQ(manager.RefCount(), heldM);
        // The sharers are one object: a change through one shows through the other.
        a.SetQueueManager(KelString("qm-new"));
        EXPECT_EQ(b.QueueManager(), KelString("qm-new"));
        EXPECT_TRUE(b.IsDirty());
    }
    EXPECT_EQ(a.RefCount(), 1u);
    EXPECT_EQ(a.KelProcessBaseData::RefCount(), 1u);
    EXPECT_EQ(a.SystemID().Name(), KelString("SYSB"));
    EXPECT_EQ(a.Description(), KelString("b's"));
}

TEST(SystemData, DirtyAndCleanReachEveryLevelThroughTheBase)
{
    std::unique_ptr<KelProcessBaseData> object = std::make_unique<KelSystemData>(SysId());
    auto& system = static_cast<KelSystemData&>(*object);
    // One change at each level: process base, topology base, system.
    for (std::function<void()> const& change : std::vector<std::function<void()>>{
             [&] { system.SetAuditEventsToDB(KelString("db")); }, [&] { system.SetLockholderOID(Oid(3)); },
             [&] { system.SetLastCfgUpdTime(KelTimeStamp(1, 0)); }}) {
        change();
        EXPECT_TRUE(object->IsDirty());
        object->MarkClean();
        EXPECT_FALSE(system.IsDirty());
    }
    object->MarkDeleted();
    EXPECT_TRUE(system.IsDeleted());

    // A system ID with a name and no group is null; one with a group and no name is not.
    EXPECT_TRUE(KelSystemData(KelSystemID(KelString("SYSA"), KelString())).SystemIDIsNull());
    EXPECT_FALSE(KelSystemData(KelSystemID(KelString(), KelString("GRPA"))).SystemIDIsNull());
}

TEST(DataObjects, PrintedFormShowsEveryLevelAndNulls)
{
    KelSystemData system(SysId());
    system.SetDescription(KelString("main"));
    std::ostringstream os;
    os << system;
    std::string text = os.str();
    EXPECT_EQ(text.rfind("\nKelSystemData {\n_systemID=with name: SYSA, group: GRPA\n_oID=<null>", 0), 0u) << text;
    EXPECT_NE(text.find("\n_description=main\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\n_auditEventsToDB=<null>\n"), std::string::npos) << text;
    EXPECT_EQ(text.substr(text.size() - 2), " }");

    std::ostringstream person;
    person << KelPersonData(KelString("BOB"));
    EXPECT_EQ(person.str().rfind("\nKelPersonData {\n_name=BOB\n_oID=<null>", 0), 0u) << person.str();
}

// Each level's checks name that level's own source file, whichever helper runs them.
TEST(DataObjects, ChecksNameTheSourceFileOfTheirLevel)
{
    auto fileOfFailure = [](std::function<void()> const& operation) {
        KelContractRecorder rec;
        operation();
        return rec.Empty() ? std::string() : rec.Failures()[0].file;
    };
    auto assignBroken = [](std::function<void(KelSystemData&)> breakIt) {
        return [breakIt] {
            KelSystemData broken(SysId()), target(SysId());
            breakIt(broken);
            target = broken;
        };
    };
    EXPECT_NE(fileOfFailure(assignBroken([](KelSystemData& y) { y.SetAuditEventsToWqIsNull(false); })).find("kelmtprs"),
              std::string::npos);
    EXPECT_NE(fileOfFailure(assignBroken([](KelSystemData& y) { y.SetLockholderIsNull(false); })).find("kelmttpb"),
              std::string::npos);
    EXPECT_NE(fileOfFailure(assignBroken([](KelSystemData& y) { y.SetOIDIsNull(false); })).find("kelmtsys"),
              std::string::npos);
    EXPECT_NE(fileOfFailure([] {
                  KelPersonData broken(KelString("BOB")), target(KelString("ANN"));
                  broken.SetFirstNameIsNull(false);
                  target = broken;
              }).find("kelmtper"),
              std::string::npos);
    EXPECT_NE(fileOfFailure([] { KelServerData(SvrId()).OID(); }).find("kelmtsvr"), std::string::npos);
}
