// Staff and topology data objects: shared Reps at every level, invariant texts, guards, dirty marks.
#include "kernel/kelkcon.hpp"
#include "objects/kelmtdom.hpp"
#include "objects/kelmtper.hpp"
#include "objects/kelmtrol.hpp"
#include "objects/kelmtsvr.hpp"
#include "objects/kelmtsys.hpp"

#include "testutil.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace {

KelOID Oid(unsigned char last) { return TestOid(0x42, last); }

// Each null flag flipped (`names`: the setters' members) fails its pair once on assignment, an invariant of `file`.
template <class T>
void ExpectInvariantTexts(
    std::function<T()> const& make, std::vector<void (T::*)(bool)> const& setters, std::string const& names,
    char const* file, char const* (*check)(T const&) = [](T const& o) { return o._assert_invariant(); })
{
    EXPECT_EQ(check(make()), nullptr);
    std::istringstream in(names);
    for (auto setter : setters) {
        std::string name;
        in >> name;
        T broken = make();
        (broken.*setter)(false);
        if (!check(broken)) (broken.*setter)(true);  // a key: present on a fresh object
        KelContractRecorder rec;
        T target = make();
        target = broken;
        ASSERT_EQ(rec.Conditions(), std::vector<std::string>{Pair(name)}) << name;
        EXPECT_EQ(rec.Failures()[0].kind, KelContractKind::Invariant);
        EXPECT_NE(rec.Failures()[0].file.find(file), std::string::npos) << name << ": " << rec.Failures()[0].file;
    }
}

KelSystemID SysId() { return KelSystemID(KelString("SYSA"), KelString("GRPA")); }

}  // namespace

TEST(DataObjects, GuardedOidDirtyMarksAndEachWrongNullFlagNamingItsPair)
{
    KelPersonData person(KelString("BOB"));
    EXPECT_FALSE(person.IsDirty());
    EXPECT_THROW(person.OID(), KelContractViolation);
    person.SetOID(Oid(1));
    EXPECT_TRUE(person.IsDirty());

    // OIDIsNull() reads the flag, not the value.
    person.SetOIDIsNull(true);
    KelContractRecorder rec;
    person.OID();
    EXPECT_EQ(rec.Conditions(), std::vector<std::string>{"OIDIsNull() == false"});

    // A lock holder with a name is not null even without a system group.
    person.SetLockholder(KelUserID(KelString("ANN"), KelString()));
    EXPECT_FALSE(person.LockholderIsNull());

    using P = KelPersonData;
    ExpectInvariantTexts<P>(
        [] { return P(KelString("BOB")); },
        {&P::SetNameIsNull, &P::SetOIDIsNull, &P::SetSystemIsNull, &P::SetOrganizationIsNull,
         &P::SetOrganizationOIDIsNull, &P::SetSubstituteIsNull, &P::SetSubstituteOIDIsNull, &P::SetPasswordIsNull,
         &P::SetPersonIDIsNull, &P::SetFirstNameIsNull, &P::SetMiddleNameIsNull, &P::SetLastNameIsNull,
         &P::SetPhoneIsNull, &P::SetSecondPhoneIsNull, &P::SetLogonBlockedTimeIsNull, &P::SetDescriptionIsNull,
         &P::SetLockholderIsNull, &P::SetLockholderOIDIsNull, &P::SetSystemGroupIsNull},
        "Name OID System Organization OrganizationOID Substitute SubstituteOID Password PersonID FirstName MiddleName "
        "LastName Phone SecondPhone LogonBlockedTime Description Lockholder LockholderOID SystemGroup",
        "kelmtper");

    using R = KelRoleData;
    ExpectInvariantTexts<R>([] { return R(KelString("CLERK")); },
                            {&R::SetNameIsNull, &R::SetOIDIsNull, &R::SetCoordinatorIsNull, &R::SetCoordinatorOIDIsNull,
                             &R::SetDescriptionIsNull, &R::SetLockholderIsNull, &R::SetLockholderOIDIsNull},
                            "Name OID Coordinator CoordinatorOID Description Lockholder LockholderOID", "kelmtrol");
    using D = KelDomainData;
    ExpectInvariantTexts<D>([] { return D(KelString("SALES")); },
                            {&D::SetNameIsNull, &D::SetOIDIsNull, &D::SetDescriptionIsNull}, "Name OID Description",
                            "kelmtdom");
    using S = KelServerData;
    ExpectInvariantTexts<S>(
        [] { return S(KelServerID(KelSvrKind::ExecSvr, KelString("EXEC1"), KelString("SYSA"), KelString("GRPA"))); },
        {&S::SetServerIDIsNull, &S::SetOIDIsNull, &S::SetSystemOIDIsNull, &S::SetExternalControlContextIsNull,
         &S::SetDescriptionIsNull, &S::SetDocumentationIsNull, &S::SetLockholderIsNull, &S::SetLockholderOIDIsNull},
        "ServerID OID SystemOID ExternalControlContext Description Documentation Lockholder "
        "LockholderOID",
        "kelmtsvr");
    using Y = KelSystemData;
    ExpectInvariantTexts<Y>(
        [] { return Y(SysId()); },
        {&Y::SetSystemIDIsNull, &Y::SetOIDIsNull, &Y::SetSystemGroupOIDIsNull, &Y::SetQueueManagerIsNull,
         &Y::SetQueueManagerOIDIsNull, &Y::SetLastCfgUpdTimeIsNull, &Y::SetLastCfgChkTimeIsNull},
        "SystemID OID SystemGroupOID QueueManager QueueManagerOID LastCfgUpdTime LastCfgChkTime", "kelmtsys");
    // The base parts check their own pairs on assignment; the system's own check does not.
    ExpectInvariantTexts<Y>([] { return Y(SysId()); }, {&Y::SetAuditEventsToWqIsNull, &Y::SetAuditEventsToDBIsNull},
                            "AuditEventsToWq AuditEventsToDB", "kelmtprs",
                            [](Y const& y) { return y.KelProcessBaseData::_assert_invariant(); });
    ExpectInvariantTexts<Y>(
        [] { return Y(SysId()); },
        {&Y::SetSystemQualifierIsNull, &Y::SetExternalRestartContextIsNull, &Y::SetDescriptionIsNull,
         &Y::SetDocumentationIsNull, &Y::SetLockholderIsNull, &Y::SetLockholderOIDIsNull,
         &Y::SetExecSvrExtControlContextIsNull, &Y::SetPESvrExtControlContextIsNull},
        "SystemQualifier ExternalRestartContext Description Documentation Lockholder LockholderOID "
        "ExecSvrExtControlContext PESvrExtControlContext",
        "kelmttpb", [](Y const& y) { return y.KelTopologyBaseData::_assert_invariant(); });
}

TEST(SystemData, AssignmentSharesEveryLevelFreesEachOldRepAndMarksReachEveryLevel)
{
    KelString wq("wq-old"), qualifier("q-old"), manager("qm-old");
    // The handle counts of the system, topology and process levels; the texts each level holds.
    auto counts = [](KelSystemData const& y) {
        return std::vector<std::uint32_t>{y.RefCount(), y.KelTopologyBaseData::RefCount(),
                                          y.KelProcessBaseData::RefCount()};
    };
    auto held = [&] { return std::vector<std::uint32_t>{wq.RefCount(), qualifier.RefCount(), manager.RefCount()}; };
    std::vector<std::uint32_t> const before = held();
    KelSystemData a(SysId());
    a.SetAuditEventsToWq(wq);
    a.SetSystemQualifier(qualifier);
    a.SetQueueManager(manager);

    a = a;
    EXPECT_EQ(held(), (std::vector<std::uint32_t>{before[0] + 1, before[1] + 1, before[2] + 1}));
    {
        KelSystemData b(KelSystemID(KelString("SYSB"), KelString("GRPA")));
        b.SetDescription(KelString("b's"));
        a = b;
        EXPECT_EQ(counts(a), (std::vector<std::uint32_t>{2, 2, 2}));
        EXPECT_EQ(held(), before);  // every level's old Rep went with its last handle
        // The sharers are one object: a change through one shows through the other.
        a.SetQueueManager(KelString("qm-new"));
        EXPECT_EQ(b.QueueManager(), KelString("qm-new"));
        EXPECT_TRUE(b.IsDirty());
    }
    EXPECT_EQ(counts(a), (std::vector<std::uint32_t>{1, 1, 1}));
    // The printed form shows every level, nulls included.
    std::string const text = Printed(a);
    EXPECT_EQ(text.rfind("\nKelSystemData {\n_systemID=with name: SYSB, group: GRPA\n_oID=<null>", 0), 0u) << text;
    for (char const* part : {"\n_description=b's\n", "\n_auditEventsToDB=<null>\n"})
        EXPECT_NE(text.find(part), std::string::npos) << part << " in " << text;

    // Dirty and clean marks reach every level through the base.
    KelSystemData system(SysId());
    KelProcessBaseData* object = &system;  // one change at each level: process base, topology base, system
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
