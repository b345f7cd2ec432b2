// Server instance and system state objects: what a new and a materialized object hold,
// how mutators, start-up and shut-down mark them dirty, and what Refresh asserts.
#include "kernel/kelkcon.hpp"
#include "objects/kelascctx.hpp"
#include "objects/kelasvin.hpp"
#include "objects/kelasyss.hpp"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

KelOID Oid(unsigned char last)
{
    unsigned char bytes[16] = {0x80};
    bytes[15] = last;
    return KelOID(bytes);
}

// Reaches the constructor that the server instance manager uses for rows.
struct RowInstance : KelSvrInstance {
    RowInstance(KelOID const& id, KelTimeStamp const& created, KelSvrState::Type state, KelTimeStamp const& changed,
                bool changedIsNull, KelSvrRequest::Type request, bool requestIsNull)
        : KelSvrInstance(id, created, Oid(9), KelSenderType::ExecSvr, state, changed, changedIsNull, request,
                         requestIsNull)
    {
    }
};

struct FixedClock : KelAdminSvrCoreContextIF {
    KelTimeStamp now{1700000000, 250};
    std::vector<std::pair<KelSvrState::Type, KelSvrRequest::Type>> heard;
    KelTimeStamp CurrentTime() const override { return now; }
    void StateChanged(KelSvrInstance const& i) override { heard.emplace_back(i.ServerState(), i.RequestType()); }
};

bool Within(KelTimeStamp const& t, KelTimeStamp const& from, KelTimeStamp const& to)
{
    return !(t < from) && !(to < t);
}

}  // namespace

TEST(SvrInstance, NewInstanceIsStoppedWithNoRequestStampedNowAndClean)
{
    KelTimeStamp before = KelTimeStamp::Now();
    KelSvrInstance instance(Oid(1), Oid(2), KelSenderType::SchedulingSvr);
    KelTimeStamp after = KelTimeStamp::Now();

    EXPECT_EQ(instance.ID(), Oid(1));
    EXPECT_EQ(instance.SystemOid(), Oid(2));
    EXPECT_EQ(instance.SenderType(), KelSenderType::SchedulingSvr);
    EXPECT_EQ(instance.ServerState(), KelSvrState::Type(1));
    EXPECT_EQ(instance.RequestType(), KelSvrRequest::Type(0));
    EXPECT_FALSE(instance.CreationTime().IsNull());
    EXPECT_FALSE(instance.LastStateChangeTime().IsNull());
    EXPECT_FALSE(instance.LastStateChangeTimeIsNull());
    EXPECT_FALSE(instance.RequestTypeIsNull());
    EXPECT_TRUE(Within(instance.CreationTime(), before, after));
    EXPECT_TRUE(Within(instance.LastStateChangeTime(), instance.CreationTime(), after));
    EXPECT_FALSE(instance.IsDirty());
    EXPECT_FALSE(instance.IsDeleted());
    EXPECT_STREQ(KelSvrInstance::IdName(), "ServerInstanceState");
}

TEST(SvrInstance, EachMutatorMarksItsOwnMemberDirtyAndClearsItsNullFlag)
{
    RowInstance instance(Oid(1), KelTimeStamp(100, 0), KelSvrState::Running, KelTimeStamp(), true, KelSvrRequest::None,
                         true);
    EXPECT_FALSE(instance.IsDirty());
    EXPECT_TRUE(instance.LastStateChangeTimeIsNull());
    EXPECT_TRUE(instance.RequestTypeIsNull());

    instance.SetRequestType(KelSvrRequest::ShutDown);
    EXPECT_TRUE(instance.IsDirty());
    EXPECT_FALSE(instance.RequestTypeIsNull());
    EXPECT_TRUE(instance.LastStateChangeTimeIsNull());

    RowInstance other(Oid(1), KelTimeStamp(100, 0), KelSvrState::Running, KelTimeStamp(), true, KelSvrRequest::None,
                      true);
    other.SetLastStateChangeTime(KelTimeStamp(200, 1));
    EXPECT_TRUE(other.IsDirty());
    EXPECT_FALSE(other.LastStateChangeTimeIsNull());
    EXPECT_EQ(other.LastStateChangeTime(), KelTimeStamp(200, 1));

    RowInstance third(Oid(1), KelTimeStamp(100, 0), KelSvrState::Running, KelTimeStamp(300, 0), false,
                      KelSvrRequest::StartUp, false);
    third.SetServerState(KelSvrState::Failed);
    EXPECT_TRUE(third.IsDirty());
    EXPECT_EQ(third.ServerState(), KelSvrState::Failed);
    RowInstance fourth(Oid(1), KelTimeStamp(100, 0), KelSvrState::Running, KelTimeStamp(300, 0), false,
                       KelSvrRequest::StartUp, false);
    fourth.SetRequestTypeNull();
    EXPECT_TRUE(fourth.RequestTypeIsNull());
    EXPECT_TRUE(fourth.IsDirty());
}

TEST(SvrInstance, StartUpAndShutDownWalkTheStatesStampTheTimeAndTellTheContext)
{
    FixedClock clock;
    KelSvrInstance instance(Oid(1), Oid(2), KelSenderType::ExecSvr);

    instance.StartUp(clock);
    EXPECT_EQ(instance.ServerState(), KelSvrState::StartingUp);
    EXPECT_EQ(instance.RequestType(), KelSvrRequest::StartUp);
    EXPECT_EQ(instance.LastStateChangeTime(), clock.now);
    EXPECT_TRUE(instance.IsDirty());

    instance.StartUpNotif(clock);
    instance.StartUpResponse(clock);
    EXPECT_EQ(instance.ServerState(), KelSvrState::Running);
    EXPECT_EQ(instance.RequestType(), KelSvrRequest::None);
    instance.ShutDown(clock);
    EXPECT_EQ(instance.RequestType(), KelSvrRequest::ShutDown);
    instance.ShutDownNotif(clock);
    instance.ShutDownResponse(clock);

    std::vector<std::pair<KelSvrState::Type, KelSvrRequest::Type>> expected = {
        {KelSvrState::StartingUp, KelSvrRequest::StartUp}, {KelSvrState::StartingUp, KelSvrRequest::None},
        {KelSvrState::Running, KelSvrRequest::None},       {KelSvrState::ShuttingDown, KelSvrRequest::ShutDown},
        {KelSvrState::ShuttingDown, KelSvrRequest::None},  {KelSvrState::Stopped, KelSvrRequest::None}};
    EXPECT_EQ(clock.heard, expected);

    // A row whose request and time were null gets both back from a start-up.
    RowInstance fromRow(Oid(3), KelTimeStamp(100, 0), KelSvrState::Stopped, KelTimeStamp(), true, KelSvrRequest::None,
                        true);
    fromRow.StartUp(clock);
    EXPECT_FALSE(fromRow.RequestTypeIsNull());
    EXPECT_FALSE(fromRow.LastStateChangeTimeIsNull());
}

TEST(SvrInstance, RefreshCopiesEveryMemberAndAssertsACleanSource)
{
    KelContractRecorder rec;
    RowInstance fresh(Oid(5), KelTimeStamp(100, 1), KelSvrState::Running, KelTimeStamp(), true, KelSvrRequest::StartUp,
                      false);
    KelSvrInstance cached(Oid(5), Oid(7), KelSenderType::CleanupSvr);
    cached.SetServerState(KelSvrState::Failed);

    cached.Refresh(fresh);
    EXPECT_TRUE(rec.Empty());
    EXPECT_FALSE(cached.IsDirty());
    EXPECT_EQ(cached.SystemOid(), Oid(9));
    EXPECT_EQ(cached.SenderType(), KelSenderType::ExecSvr);
    EXPECT_EQ(cached.CreationTime(), KelTimeStamp(100, 1));
    EXPECT_EQ(cached.ServerState(), KelSvrState::Running);
    EXPECT_TRUE(cached.LastStateChangeTimeIsNull());
    EXPECT_EQ(cached.RequestType(), KelSvrRequest::StartUp);

    // From itself while clean: nothing changes, nothing fails.
    std::ostringstream before, after;
    before << cached;
    cached.Refresh(cached);
    after << cached;
    EXPECT_EQ(before.str(), after.str());
    EXPECT_TRUE(rec.Empty());

    // A dirty source: the values are still copied, and each dirty flag is reported in order.
    KelSvrInstance dirty(Oid(6), Oid(8), KelSenderType::ExecSvr);
    dirty.SetServerState(KelSvrState::Running);
    dirty.SetLastStateChangeTime(KelTimeStamp(400, 0));
    dirty.SetRequestType(KelSvrRequest::ShutDown);
    cached.Refresh(dirty);
    EXPECT_EQ(rec.Conditions(), (std::vector<std::string>{"_dServerState == false", "_dLastStateChangeTime == false",
                                                          "_dRequestType == false"}));
    EXPECT_NE(rec.Failures()[0].file.find("kelasvin"), std::string::npos);
    EXPECT_EQ(cached.ID(), Oid(6));
    EXPECT_EQ(cached.RequestType(), KelSvrRequest::ShutDown);
    EXPECT_TRUE(cached.IsDirty());
}

TEST(SvrInstance, PrintedFormWrapsTheKeywordTextAndShowsNulls)
{
    RowInstance instance(Oid(1), KelTimeStamp(100, 0), KelSvrState::Running, KelTimeStamp(), true, KelSvrRequest::None,
                         false);
    std::ostringstream os;
    os << instance;
    std::string text = os.str();
    EXPECT_EQ(text.rfind("\nKelSvrInstance {\n_id=", 0), 0u) << text;
    EXPECT_EQ(text.substr(text.size() - 2), " }");
    EXPECT_NE(text.find("\n_lastStateChangeTime=<null>\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\n_requestType=0\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\n_serverState=3\n"), std::string::npos) << text;

    std::ostringstream indented;
    instance.StreamKeywordDelimited(indented, 2);
    EXPECT_EQ(indented.str().rfind("\n    _id=", 0), 0u) << indented.str();
}

TEST(SystemState, NewStateHasANullStartTimeAndIsStoppedAndClean)
{
    KelSystemState state(Oid(3));
    EXPECT_EQ(state.ID(), Oid(3));
    EXPECT_TRUE(state.AdminSvrStartTimeIsNull());
    EXPECT_TRUE(state.AdminSvrStartTime().IsNull());
    EXPECT_EQ(state.AdminSvrState(), KelSvrState::Type(1));
    EXPECT_FALSE(state.IsDirty());
    EXPECT_FALSE(state.IsDeleted());
    EXPECT_STREQ(KelSystemState::IdName(), "SystemState");

    state.SetAdminSvrStartTime(KelTimeStamp(500, 0));
    EXPECT_FALSE(state.AdminSvrStartTimeIsNull());
    EXPECT_TRUE(state.IsDirty());

    std::ostringstream os;
    os << KelSystemState(Oid(3));
    EXPECT_EQ(os.str().rfind("\nKelSystemState {\n_id=", 0), 0u);
    EXPECT_NE(os.str().find("\n_adminSvrStartTime=<null>\n"), std::string::npos) << os.str();
}

TEST(SystemState, RefreshAssertsBothDirtyFlagsInOrderAndKeepsTheCopy)
{
    KelContractRecorder rec;
    KelSystemState cached(Oid(3));
    cached.Refresh(KelSystemState(Oid(3), KelSvrState::Running, KelTimeStamp(700, 0), false));
    EXPECT_TRUE(rec.Empty());
    EXPECT_EQ(cached.AdminSvrState(), KelSvrState::Running);
    EXPECT_FALSE(cached.AdminSvrStartTimeIsNull());

    cached.Refresh(cached);
    EXPECT_TRUE(rec.Empty());

    KelSystemState dirty(Oid(4));
    dirty.SetAdminSvrState(KelSvrState::Failed);
    dirty.SetAdminSvrStartTimeNull();
    cached.Refresh(dirty);
    EXPECT_EQ(rec.Conditions(), (std::vector<std::string>{"_dAdminSvrState == false", "_dAdminSvrStartTime == false"}));
    EXPECT_NE(rec.Failures()[0].file.find("kelasyss"), std::string::npos);
    EXPECT_EQ(cached.ID(), Oid(4));
    EXPECT_TRUE(cached.AdminSvrStartTimeIsNull());
}
