// Conversions a round trip would not show: the user ID takes the row's system group; the level-9 dumps.
#include "admin/keldatom.hpp"
#include "db/keldb.hpp"
#include "kernel/kelkcon.hpp"
#include "kernel/kelktrc.hpp"

#include "testutil.hpp"

#include <gtest/gtest.h>

#include <memory>

namespace {

KelBinary Oid(unsigned char n) { return TestOid(0x10, n).AsBinary(); }

char const* const kStamp = "2026-12-05-10.11.12.123456";

}  // namespace

TEST(Conversions, SystemLogUserLosesItsGroupNegativeIndicatorsAreNullAndLevelNineDumps)
{
    std::unique_ptr<KelDatabase> db = KelDatabase::Open("sqlite::memory:");
    KelTOMForAdminServer tom(*db);
    auto& logs = tom.ForSystemLogs();
    KEL_SYSTEM_LOG const logRow(Oid(1), kStamp, "SYS1", "GRP1", 17, KelSeverity::Warning, KelMessageClass::System, 5, 0,
                                1, 0, -1, KelSvrState::Running, 0, 0, -2, "", -1, "alice", 0, "p", 0);
    std::unique_ptr<KelSystemLogRecord> record(logs.CreateMaterializedServerObject({}, logRow));
    ASSERT_FALSE(record->UserIDIsNull());
    EXPECT_EQ(record->UserID().Name().Str(), "alice");
    EXPECT_EQ(record->UserID().SystemGroup().Str(), "GRP1");  // from the row's system group
    EXPECT_TRUE(record->ExceptionIsNull());                   // indicator -2 is null too

    KelValueSequence<KelString, -100> none;
    KelSystemLogRecord other(KelOID(Oid(4)), KelTimeStamp::FromVsqString(kStamp), "SYS1", "GRP1", 1, KelSeverity::Error,
                             KelMessageClass::Server, KelString(), true, 0, true, false, KelSvrKind::ExecSvr, true,
                             KelSvrState::Stopped, true, KelUserID("bob", "OTHERGRP"), false, 0, true, none, true);
    std::unique_ptr<KEL_SYSTEM_LOG> row(logs.CreateTupleObject(other));
    EXPECT_EQ(row->_userId.Str(), "bob");
    EXPECT_EQ(row->_systemGroup.Str(), "GRP1");
    EXPECT_EQ(row->_iSvrKind, -1);
    EXPECT_EQ(row->_iSvrState, -1);
    EXPECT_EQ(row->_svrState, 0);

    KelTraceCapture capture(9, 0x8 | 0x10, 0x400);
    KEL_SYSTEM_STATE stateRow(Oid(1), "", -1, 3);
    std::unique_ptr<KelSystemState> object(tom.ForSystemStates().CreateMaterializedServerObject({}, stateRow));
    ASSERT_EQ(capture.Records().size(), 2u);
    KelTraceRecord const& rowDump = capture.Records()[0];
    EXPECT_EQ(rowDump.function, "KelTOMForSystemStates::CreateMaterializedServerObject");
    EXPECT_EQ(rowDump.component, 0x8u);
    EXPECT_EQ(rowDump.text.rfind("\nKEL_SYSTEM_STATE {\nthis=", 0), 0u) << rowDump.text;
    EXPECT_NE(rowDump.text.find("\n_adminSvrStart=\n_adminSvrState=3 }"), std::string::npos) << rowDump.text;
    KelTraceRecord const& objectDump = capture.Records()[1];
    EXPECT_EQ(objectDump.component, 0x10u);
    EXPECT_EQ(objectDump.text.rfind("\nKelSystemState {", 0), 0u) << objectDump.text;
}
