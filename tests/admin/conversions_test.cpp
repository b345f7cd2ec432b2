// The four managers' conversions between rows and objects: null indicators (negative
// means null on reading, exactly -1 or 0 on writing), the parameter text joined and split
// with ";", the user ID losing its system group, and the level-9 dumps.
#include "admin/keldatom.hpp"
#include "db/keldb.hpp"
#include "kernel/kelkcon.hpp"
#include "kernel/kelktrc.hpp"

#include <gtest/gtest.h>

#include <memory>

namespace {

KelBinary Oid(int n)
{
    unsigned char bytes[16] = {0x10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, static_cast<unsigned char>(n)};
    return KelBinary(bytes, 16);
}

char const* const kStamp = "2026-12-05-10.11.12.123456";

class Conversions : public testing::Test {
protected:
    Conversions() : db(KelDatabase::Open("sqlite::memory:")), tom(*db) {}
    std::unique_ptr<KelDatabase> db;
    KelTOMForAdminServer tom;
};

KEL_SYSTEM_LOG LogRow(KelString const& params, std::int16_t iParams)
{
    return KEL_SYSTEM_LOG(Oid(1), kStamp, "SYS1", "GRP1", 17, KelSeverity::Warning, KelMessageClass::System, 5, 0, 1, 0,
                          -1, KelSvrState::Running, 0, 0, -2, "", -1, "alice", 0, params, iParams);
}

}  // namespace

TEST_F(Conversions, SystemStateNullStartTimeAndRoundTrip)
{
    auto& states = tom.ForSystemStates();
    for (std::int16_t indicator : {std::int16_t(-1), std::int16_t(-2)}) {
        KEL_SYSTEM_STATE row(Oid(1), "not a timestamp", indicator, KelSvrState::Running);
        std::unique_ptr<KelSystemState> object(states.CreateMaterializedServerObject({}, row));
        EXPECT_TRUE(object->AdminSvrStartTimeIsNull());
        EXPECT_TRUE(object->AdminSvrStartTime().IsNull());
        EXPECT_FALSE(object->IsDirty());
        std::unique_ptr<KEL_SYSTEM_STATE> back(states.CreateTupleObject(*object));
        EXPECT_EQ(back->_iAdminSvrStart, -1);
        EXPECT_TRUE(back->_adminSvrStart.IsNull());
    }
    KEL_SYSTEM_STATE row(Oid(2), kStamp, 0, KelSvrState::Running);
    std::unique_ptr<KelSystemState> object(states.CreateMaterializedServerObject({}, row));
    std::unique_ptr<KEL_SYSTEM_STATE> back(states.CreateTupleObject(*object));
    EXPECT_EQ(back->Key(), KelOID(Oid(2)));
    EXPECT_EQ(back->_adminSvrStart.Str(), kStamp);
    EXPECT_EQ(back->_iAdminSvrStart, 0);
    EXPECT_EQ(back->_adminSvrState, KelSvrState::Running);
}

TEST_F(Conversions, ServerInstanceNullRequestIsZeroBothWays)
{
    auto& instances = tom.ForSvrInstances();
    KEL_SVR_INSTANCE_STATE row(Oid(3), kStamp, Oid(9), KelSenderType::ExecSvr, KelSvrState::Running, "", -1, 7, -1);
    std::unique_ptr<KelSvrInstance> object(instances.CreateMaterializedServerObject({}, row));
    EXPECT_EQ(object->RequestType(), 0);
    EXPECT_TRUE(object->RequestTypeIsNull());
    EXPECT_TRUE(object->LastStateChangeTimeIsNull());
    EXPECT_EQ(object->SystemOid(), KelOID(Oid(9)));
    EXPECT_EQ(object->CreationTime().AsVsqString().Str(), kStamp);
    std::unique_ptr<KEL_SVR_INSTANCE_STATE> back(instances.CreateTupleObject(*object));
    EXPECT_EQ(back->_requestType, 0);
    EXPECT_EQ(back->_iRequestType, -1);
    EXPECT_EQ(back->_iLastStateChange, -1);
    EXPECT_TRUE(back->_lastStateChange.IsNull());
    EXPECT_EQ(back->_creationTime.Str(), kStamp);
}

TEST_F(Conversions, SystemLogParametersJoinAndSplit)
{
    auto& logs = tom.ForSystemLogs();
    std::unique_ptr<KelSystemLogRecord> abc(logs.CreateMaterializedServerObject({}, LogRow("a;b;c", 0)));
    ASSERT_FALSE(abc->MessageParametersIsNull());
    std::vector<std::string> got;
    for (KelString const& p : abc->MessageParameters()) got.push_back(p.Str());
    EXPECT_EQ(got, (std::vector<std::string>{"a", "b", "c"}));
    std::unique_ptr<KEL_SYSTEM_LOG> back(logs.CreateTupleObject(*abc));
    EXPECT_EQ(back->_messageParameters.Str(), "a;b;c");
    EXPECT_EQ(back->_iMessageParameters, 0);

    // A parameter holding ";" comes back as two; "a;;b" keeps its empty parameter.
    std::unique_ptr<KelSystemLogRecord> semi(logs.CreateMaterializedServerObject({}, LogRow("x;y;;z", 0)));
    EXPECT_EQ(semi->MessageParameters().Size(), 4u);

    // Null: written as an empty text with -1, read back empty and null.
    std::unique_ptr<KelSystemLogRecord> null(logs.CreateMaterializedServerObject({}, LogRow("ignored", -1)));
    EXPECT_TRUE(null->MessageParametersIsNull());
    back.reset(logs.CreateTupleObject(*null));
    EXPECT_EQ(back->_messageParameters.Str(), "");
    EXPECT_FALSE(back->_messageParameters.IsNull());
    EXPECT_EQ(back->_iMessageParameters, -1);

    // A positive indicator: parameters empty but not null; an empty text: present, empty.
    std::unique_ptr<KelSystemLogRecord> positive(logs.CreateMaterializedServerObject({}, LogRow("a;b", 3)));
    EXPECT_FALSE(positive->MessageParametersIsNull());
    EXPECT_EQ(positive->MessageParameters().Size(), 0u);
    back.reset(logs.CreateTupleObject(*positive));
    EXPECT_EQ(back->_iMessageParameters, 0);
    EXPECT_EQ(back->_messageParameters.Str(), "");
}

TEST_F(Conversions, SystemLogUserLosesItsGroupAndNegativeIndicatorsAreNull)
{
    auto& logs = tom.ForSystemLogs();
    std::unique_ptr<KelSystemLogRecord> record(logs.CreateMaterializedServerObject({}, LogRow("p", 0)));
    ASSERT_FALSE(record->UserIDIsNull());
    EXPECT_EQ(record->UserID().Name().Str(), "alice");
    EXPECT_EQ(record->UserID().SystemGroup().Str(), "GRP1");  // from the row's system group
    EXPECT_TRUE(record->SvrKindIsNull());                     // indicator -1
    EXPECT_TRUE(record->ExceptionIsNull());                   // indicator -2 is null too
    EXPECT_TRUE(record->EventIdentifierIsNull());
    EXPECT_TRUE(record->ErrorFlag());

    KelValueSequence<KelString, -100> none;
    KelOID oid(Oid(4));
    KelSystemLogRecord other(oid, KelTimeStamp::FromVsqString(kStamp), "SYS1", "GRP1", 1, KelSeverity::Error,
                             KelMessageClass::Server, KelString(), true, 0, true, false, KelSvrKind::ExecSvr, false,
                             KelSvrState::Stopped, true, KelUserID("bob", "OTHERGRP"), false, 0, true, none, true);
    std::unique_ptr<KEL_SYSTEM_LOG> row(logs.CreateTupleObject(other));
    EXPECT_EQ(row->_userId.Str(), "bob");
    EXPECT_EQ(row->_systemGroup.Str(), "GRP1");
    EXPECT_EQ(row->_iSvrKind, 0);
    EXPECT_EQ(row->_iSvrState, -1);
    EXPECT_EQ(row->_svrState, 0);
    EXPECT_EQ(row->_iEventIdentifier, -1);
    EXPECT_EQ(row->_errorFlag, 0);
}

TEST_F(Conversions, ErrorLogNullErrorFileAndRowLimits)
{
    auto& errors = tom.ForErrorLogs();
    KEL_ERROR_LOG row(Oid(5), kStamp, "SYS1", "GRP1", Oid(6), 3, 1, 2, 0, -1, KelSenderType::ExecSvr,
                      KelPlatform::Linux, 0, -1, 9, 0, kStamp, "left-over", -1, 12, 0, "component", "description");
    std::unique_ptr<KelErrorLogRecord> record(errors.CreateMaterializedServerObject({}, row));
    EXPECT_TRUE(record->ErrorFileIsNull());
    EXPECT_TRUE(record->ServicePackIsNull());
    EXPECT_EQ(record->ErrorLine(), 12);
    EXPECT_EQ(record->SystemLogID(), KelOID(Oid(6)));
    std::unique_ptr<KEL_ERROR_LOG> back(errors.CreateTupleObject(*record));
    EXPECT_TRUE(back->_errorFile.IsNull());
    EXPECT_EQ(back->_iErrorFile, -1);
    EXPECT_EQ(back->_iServicePack, -1);
    EXPECT_EQ(back->_servicePack, 0);
    EXPECT_EQ(back->_errorLine, 12);

    // A component name over 32 characters fails the row's own check when written.
    KelErrorLogRecord tooLong(KelOID(Oid(7)), KelTimeStamp::Now(), "SYS1", "GRP1", 1, 0, 0, 0, true,
                              KelSenderType::ExecSvr, KelString(std::string(33, 'c')), KelPlatform::Linux, 0, true,
                              KelOID(Oid(6)), 0, true, KelTimeStamp::Now(), KelString(), true, 0, true, "d");
    KelContractRecorder rec;
    std::unique_ptr<KEL_ERROR_LOG> refused(errors.CreateTupleObject(tooLong));
    EXPECT_EQ(rec.Conditions(), std::vector<std::string>{"_componentName.Length() <= 32"});
}

TEST_F(Conversions, LevelNineDumpsOfRowsAndObjects)
{
    KelTraceCapture capture(9, 0x8 | 0x10, 0x400);
    KEL_SYSTEM_STATE row(Oid(1), "", -1, 3);
    std::unique_ptr<KelSystemState> object(tom.ForSystemStates().CreateMaterializedServerObject({}, row));
    ASSERT_EQ(capture.Records().size(), 2u);
    KelTraceRecord const& rowDump = capture.Records()[0];
    EXPECT_EQ(rowDump.function, "KelTOMForSystemStates::CreateMaterializedServerObject");
    EXPECT_NE(rowDump.file.find("keldtad2"), std::string::npos);
    EXPECT_EQ(rowDump.component, 0x8u);
    EXPECT_EQ(rowDump.text.rfind("\nKEL_SYSTEM_STATE {\nthis=", 0), 0u) << rowDump.text;
    EXPECT_NE(rowDump.text.find("\n_adminSvrStart=\n_adminSvrState=3 }"), std::string::npos) << rowDump.text;
    KelTraceRecord const& objectDump = capture.Records()[1];
    EXPECT_EQ(objectDump.component, 0x10u);
    EXPECT_EQ(objectDump.text.rfind("\nKelSystemState {", 0), 0u) << objectDump.text;
    EXPECT_EQ(objectDump.text.substr(objectDump.text.size() - 2), " }");

    capture.Clear();
    std::unique_ptr<KelSystemLogRecord> log(tom.ForSystemLogs().CreateMaterializedServerObject({}, LogRow("a", 0)));
    ASSERT_EQ(capture.Records().size(), 2u);
    EXPECT_EQ(capture.Records()[0].text.rfind("\nKEL_SYSTEM_LOG {\nthis=", 0), 0u);
    EXPECT_NE(capture.Records()[0].text.find("\n_messageParameters=a }"), std::string::npos);
}
