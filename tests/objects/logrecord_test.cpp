// Error log and system log records: shared Reps, guarded accessors, invariant texts, streaming.
#include "kernel/kelkcon.hpp"
#include "kernel/kelkexc.hpp"
#include "objects/kelmstrm.hpp"
#include "objects/kelmtadm.hpp"
#include "objects/kelmtbld.hpp"

#include "testutil.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

KelOID Oid(unsigned char last) { return TestOid(0x11, last); }

// The arguments of a complete error log record, each changeable by a test.
struct ErrorArgs {
    KelOID objectID = Oid(1);
    KelTimeStamp creationTime{1000, 1};
    KelString systemName{"SYSA"};
    KelString systemGroupName{"GRPA"};
    KelString componentName{"scheduler"};
    KelOID systemLogID = Oid(2);
    KelTimeStamp detectionTime{990, 0};
    KelString errorFile{"kelsched.cpp"};
    bool errorFileIsNull = false;
    bool errorLineIsNull = false;
    KelString errorDescription{"queue full"};

    KelErrorLogRecord Make() const
    {
        return KelErrorLogRecord(objectID, creationTime, systemName, systemGroupName, 3, 1, 2, 7, false,
                                 KelSenderType::SchedulingSvr, componentName, KelPlatform::Linux, 12, false,
                                 systemLogID, 0, true, detectionTime, errorFile, errorFileIsNull, 421, errorLineIsNull,
                                 errorDescription);
    }
};

struct SystemArgs {
    KelOID objectID = Oid(3);
    KelTimeStamp creationTime{2000, 2};
    KelString systemName{"SYSA"};
    KelString systemGroupName{"GRPA"};
    KelString eventIdentifier{"EV17"};
    bool eventIdentifierIsNull = false;
    KelUserID userID{KelString("ADMIN"), KelString("GRPA")};
    bool userIDIsNull = false;
    KelSystemLogRecord::Parameters parameters;
    bool parametersIsNull = false;

    KelSystemLogRecord Make() const
    {
        return KelSystemLogRecord(objectID, creationTime, systemName, systemGroupName, 4711, KelSeverity::Warning,
                                  KelMessageClass::Server, eventIdentifier, eventIdentifierIsNull, 5, false, true,
                                  KelSvrKind::ExecSvr, false, KelSvrState::Running, false, userID, userIDIsNull, 0,
                                  true, parameters, parametersIsNull);
    }
};

// Each change (with the member whose pair it breaks) fails that pair's invariant on construction and assignment.
template <class Record, class Args>
void ExpectInvariantTexts(std::vector<std::pair<std::function<void(Args&)>, std::string>> const& cases)
{
    EXPECT_EQ(Args().Make()._assert_invariant(), nullptr);
    for (auto const& [change, name] : cases) {
        KelContractRecorder rec;
        Args args;
        change(args);
        Record record = args.Make();
        ASSERT_EQ(rec.Conditions(), std::vector<std::string>{Pair(name)});
        EXPECT_EQ(rec.Failures()[0].kind, KelContractKind::Invariant);
        Record target(Oid(5));
        rec.Clear();
        target = record;
        EXPECT_EQ(rec.Conditions(), std::vector<std::string>{Pair(name)});
    }
}

}  // namespace

TEST(LogRecords, RecordOfAnOidAloneGuardsEveryOptionalAccessorAndEachWrongNullFlagFailsItsInvariant)
{
    KelErrorLogRecord record(Oid(1));
    EXPECT_TRUE(record.IsDirty());  // log records are always written
    KelContractRecorder rec;
    record.ServicePack();
    record.ExceptionType();
    record.MessageType();
    record.ErrorFile();
    record.ErrorLine();
    EXPECT_EQ(rec.Conditions(),
              (std::vector<std::string>{"ServicePackIsNull() == false", "ExceptionTypeIsNull() == false",
                                        "MessageTypeIsNull() == false", "ErrorFileIsNull() == false",
                                        "ErrorLineIsNull() == false"}));

    KelSystemLogRecord system(Oid(3));
    EXPECT_TRUE(system.IsDirty());
    rec.Clear();
    system.EventIdentifier();
    system.MessageType();
    system.SvrKind();
    system.SvrState();
    system.UserID();
    system.Exception();
    EXPECT_TRUE(system.MessageParameters().IsEmpty());
    EXPECT_EQ(rec.Conditions(), (std::vector<std::string>{
                                    "EventIdentifierIsNull() == false", "MessageTypeIsNull() == false",
                                    "SvrKindIsNull() == false", "SvrStateIsNull() == false", "UserIDIsNull() == false",
                                    "ExceptionIsNull() == false", "MessageParametersIsNull() == false"}));

    ExpectInvariantTexts<KelErrorLogRecord, ErrorArgs>({
        {[](ErrorArgs& a) { a.objectID = KelOID(); }, "ObjectID"},
        {[](ErrorArgs& a) { a.creationTime = KelTimeStamp(); }, "CreationTime"},
        {[](ErrorArgs& a) { a.systemName = KelString(); }, "SystemName"},
        {[](ErrorArgs& a) { a.systemGroupName = KelString(); }, "SystemGroupName"},
        {[](ErrorArgs& a) { a.componentName = KelString(); }, "ComponentName"},
        {[](ErrorArgs& a) { a.systemLogID = KelOID(); }, "SystemLogID"},
        {[](ErrorArgs& a) { a.detectionTime = KelTimeStamp(); }, "DetectionTime"},
        {[](ErrorArgs& a) { a.errorFileIsNull = true; }, "ErrorFile"},
        {[](ErrorArgs& a) { a.errorFile = KelString(); }, "ErrorFile"},
        {[](ErrorArgs& a) { a.errorDescription = KelString(); }, "ErrorDescription"},
        // Two wrong pairs: only the first in checking order is reported.
        {[](ErrorArgs& a) {
             a.errorDescription = KelString();
             a.systemName = KelString();
         },
         "SystemName"},
    });
    ExpectInvariantTexts<KelSystemLogRecord, SystemArgs>({
        {[](SystemArgs& a) { a.objectID = KelOID(); }, "ObjectID"},
        {[](SystemArgs& a) { a.creationTime = KelTimeStamp(); }, "CreationTime"},
        {[](SystemArgs& a) { a.systemName = KelString(); }, "SystemName"},
        {[](SystemArgs& a) { a.systemGroupName = KelString(); }, "SystemGroupName"},
        {[](SystemArgs& a) { a.eventIdentifierIsNull = true; }, "EventIdentifier"},
        {[](SystemArgs& a) { a.userIDIsNull = true; }, "UserID"},
        {[](SystemArgs& a) { a.userID = KelUserID(); }, "UserID"},
    });
}

// Builders make the constructors' records, what they are not told null; streamed records read back whole or refused.
TEST(LogRecordBuildersAndStream, BuildTheConstructorsRecordsAndReadBackEveryMemberAndNullFlag)
{
    ErrorArgs e;
    KelErrorLogRecord const built = KelErrorLogRecordBuilder(e.objectID)
                                        .CreationTime(e.creationTime)
                                        .System(KelSystemID(e.systemName, e.systemGroupName))
                                        .VersionNumber(3)
                                        .ReleaseNumber(1)
                                        .ModificationLevelNumber(2)
                                        .ServicePack(7)
                                        .ComponentID(KelSenderType::SchedulingSvr)
                                        .ComponentName(e.componentName)
                                        .Platform(KelPlatform::Linux)
                                        .ExceptionType(12)
                                        .SystemLogID(e.systemLogID)
                                        .DetectionTime(e.detectionTime)
                                        .ErrorFile(e.errorFile)
                                        .ErrorLine(421)
                                        .ErrorDescription(e.errorDescription)
                                        .Build();
    EXPECT_EQ(Printed(built), Printed(e.Make()));

    SystemArgs s;
    s.parameters.Append(KelString("a"));
    KelSystemLogRecord const builtSystem = KelSystemLogRecordBuilder(s.objectID)
                                               .CreationTime(s.creationTime)
                                               .SystemName(s.systemName)
                                               .SystemGroupName(s.systemGroupName)
                                               .MessageNumber(4711)
                                               .Severity(KelSeverity::Warning)
                                               .MessageClass(KelMessageClass::Server)
                                               .EventIdentifier(s.eventIdentifier)
                                               .MessageType(5)
                                               .ErrorFlag(true)
                                               .SvrKind(KelSvrKind::ExecSvr)
                                               .SvrState(KelSvrState::Running)
                                               .UserID(s.userID)
                                               .MessageParameters(std::vector<std::string>{"a"})
                                               .Build();
    EXPECT_EQ(Printed(builtSystem), Printed(s.Make()));

    KelSystemLogRecord const untold = KelSystemLogRecordBuilder(s.objectID)
                                          .CreationTime(s.creationTime)
                                          .System(KelSystemID(s.systemName, s.systemGroupName))
                                          .Build();
    for (bool isNull :
         {untold.EventIdentifierIsNull(), untold.MessageTypeIsNull(), untold.SvrKindIsNull(), untold.SvrStateIsNull(),
          untold.UserIDIsNull(), untold.ExceptionIsNull(), untold.MessageParametersIsNull()})
        EXPECT_TRUE(isNull);

    ErrorArgs errorArgs;
    errorArgs.errorFileIsNull = true;
    errorArgs.errorFile = KelString();
    errorArgs.errorLineIsNull = true;
    SystemArgs systemArgs;
    systemArgs.parameters.Append(KelString("a"));
    systemArgs.parameters.Append(KelString(""));
    systemArgs.parameters.Append(KelString("c;d"));

    KelStream stream;
    errorArgs.Make().WriteTo(stream);
    systemArgs.Make().WriteTo(stream);
    KelErrorLogRecord(Oid(6)).WriteTo(stream);

    KelErrorLogRecord error(Oid(0xEE));
    KelErrorLogRecord sharer(error);
    error.ReadFrom(stream);
    EXPECT_EQ(Printed(error), Printed(errorArgs.Make()));
    EXPECT_TRUE(error.ErrorLineIsNull());
    // Reading replaced error's Rep; the handle that shared the old one is untouched.
    EXPECT_EQ(sharer.ID(), Oid(0xEE));
    EXPECT_EQ(sharer.RefCount(), 1u);

    KelSystemLogRecord system(Oid(1));
    system.ReadFrom(stream);
    EXPECT_EQ(Printed(system), Printed(systemArgs.Make()));
    EXPECT_EQ(system.MessageParameters(), systemArgs.parameters);

    KelErrorLogRecord bare(Oid(1));
    bare.ReadFrom(stream);
    EXPECT_EQ(Printed(bare), Printed(KelErrorLogRecord(Oid(6))));
    EXPECT_EQ(stream.Remaining(), 0u);

    // A record of the other kind, and a whole record but its last bytes, are refused.
    KelStream other;
    KelSystemLogRecord(Oid(3)).WriteTo(other);
    EXPECT_THROW(bare.ReadFrom(other), KelIntExcInvalidCase);
    EXPECT_EQ(bare.ID(), Oid(6));  // unchanged
    KelStream whole;
    ErrorArgs().Make().WriteTo(whole);
    KelStream cut(std::vector<unsigned char>(whole.Bytes().begin(), whole.Bytes().end() - 5));
    KelContractRecorder rec;  // even when checks go on, reading past the end does not
    EXPECT_THROW(bare.ReadFrom(cut), KelContractViolation);
    EXPECT_TRUE(rec.Has("Remaining() >= n"));
}
