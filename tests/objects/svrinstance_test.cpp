// Server instance and system state objects: start-up and shut-down, what Refresh copies and asserts.
#include "kernel/kelkcon.hpp"
#include "objects/kelascctx.hpp"
#include "objects/kelasvin.hpp"
#include "objects/kelasyss.hpp"

#include "testutil.hpp"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

KelOID Oid(unsigned char last) { return TestOid(0x80, last); }

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

}  // namespace

TEST(SvrInstance, StartUpAndShutDownWalkTheStatesStampTheTimeAndTellTheContext)
{
    FixedClock clock;
    KelSvrInstance instance(Oid(1), Oid(2), KelSenderType::ExecSvr);
    EXPECT_FALSE(instance.IsDirty());  // a new instance is clean

    instance.StartUp(clock);
    EXPECT_EQ(instance.LastStateChangeTime(), clock.now);
    EXPECT_TRUE(instance.IsDirty());

    instance.StartUpNotif(clock);
    instance.StartUpResponse(clock);
    instance.ShutDown(clock);
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

TEST(Refresh, OfInstancesAndSystemStatesCopiesEveryMemberAndAssertsACleanSource)
{
    KelContractRecorder rec;
    RowInstance fresh(Oid(5), KelTimeStamp(100, 1), KelSvrState::Running, KelTimeStamp(), true, KelSvrRequest::StartUp,
                      false);
    KelSvrInstance cached(Oid(5), Oid(7), KelSenderType::CleanupSvr);
    cached.SetServerState(KelSvrState::Failed);

    cached.Refresh(fresh);
    EXPECT_TRUE(rec.Empty());
    EXPECT_FALSE(cached.IsDirty());
    std::string const text = Printed(cached);
    EXPECT_EQ(text, Printed(fresh));
    // The keyword text, wrapped, with its nulls.
    EXPECT_EQ(text.rfind("\nKelSvrInstance {\n_id=", 0), 0u) << text;
    EXPECT_NE(text.find("\n_serverState=3\n_lastStateChangeTime=<null>\n"), std::string::npos) << text;

    // From itself while clean: nothing changes, nothing fails.
    cached.Refresh(cached);
    EXPECT_EQ(Printed(cached), Printed(fresh));
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
    EXPECT_EQ(cached.RequestType(), KelSvrRequest::ShutDown);

    rec.Clear();
    KelSystemState state(Oid(3));
    EXPECT_NE(Printed(state).find("\n_adminSvrStartTime=<null>\n_adminSvrState=1"), std::string::npos);
    state.Refresh(KelSystemState(Oid(3), KelSvrState::Running, KelTimeStamp(700, 0), false));
    EXPECT_TRUE(rec.Empty());
    EXPECT_EQ(state.AdminSvrState(), KelSvrState::Running);
    EXPECT_FALSE(state.AdminSvrStartTimeIsNull());

    KelSystemState dirtyState(Oid(4));
    dirtyState.SetAdminSvrState(KelSvrState::Failed);
    dirtyState.SetAdminSvrStartTimeNull();
    state.Refresh(dirtyState);
    EXPECT_EQ(rec.Conditions(), (std::vector<std::string>{"_dAdminSvrState == false", "_dAdminSvrStartTime == false"}));
    EXPECT_NE(rec.Failures()[0].file.find("kelasyss"), std::string::npos);
    EXPECT_TRUE(state.AdminSvrStartTimeIsNull());
    state.SetAdminSvrStartTime(KelTimeStamp(800, 0));
    EXPECT_FALSE(state.AdminSvrStartTimeIsNull());
}
