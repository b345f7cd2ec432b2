// Row records: printed forms, constructor checks, LOB handle release.
#include "db/keldsdf.hpp"
#include "db/keldsdom.hpp"
#include "db/keldsper.hpp"
#include "db/keldsrol.hpp"
#include "db/keldssvr.hpp"
#include "db/keldssys.hpp"
#include "db/kellob.hpp"
#include "kernel/kelkcon.hpp"

#include "testutil.hpp"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

char const* const kOidHex = "00112233445566778899AABBCCDDEEFF";
std::string const kZeroOid(32, '0');

KelBinary Oid() { return KelOID::FromHex(kOidHex).AsBinary(); }
KelString Text(int n) { return KelString(std::string(static_cast<std::size_t>(n), 'x')); }
KelString Stamp() { return KelString("2024-01-02-03.04.05.000006"); }

std::string Hex(void const* p)
{
    std::ostringstream os;
    os << std::hex << reinterpret_cast<unsigned long>(p);
    return os.str();
}

template <class Row>
std::string Members(Row const& row)
{
    std::ostringstream os;
    row.PrintMembers(os);
    return os.str();
}

KEL_SYSTEM_LOG SystemLog(KelString const& parameters, std::int16_t iParameters)
{
    return KEL_SYSTEM_LOG(Oid(), Stamp(), "SYS1", "GRP1", 4711, 2, 1, 7, 0, 1, 2, -2, 3, 0, 99, -1, "EVT", 0, "ADMIN",
                          0, parameters, iParameters);
}

// Counts its end and the handles its text still had then.
struct WatchingLocator {
    int* destroyed = nullptr;
    KelString const* watched = nullptr;
    std::uint32_t* watchedCountAtDestruction = nullptr;
    ~WatchingLocator()
    {
        if (destroyed) ++*destroyed;
        if (watched && watchedCountAtDestruction) *watchedCountAtDestruction = watched->RefCount();
    }
};
using WatchedLob = KelLOBAccess<KelString, KelDatabase::Person, WatchingLocator>;

}  // namespace

TEST(RowRecords, PrintedForms)
{
    // Nullable columns print as bare labels; the address is printed in hexadecimal only.
    KEL_SVR_INSTANCE_STATE svr;
    EXPECT_EQ(Members(svr), "\nthis=" + Hex(&svr) + "\n_svrOid=" + kZeroOid + "\n_creationTime=\n_systemOid=" +
                                kZeroOid + "\n_svrType=0\n_svrState=0\n_lastStateChange=\n_requestType=");
    KEL_SYSTEM_STATE state(Oid(), Stamp(), -1, 3);
    EXPECT_EQ(Members(state),
              "\nthis=" + Hex(&state) + "\n_systemOid=" + kOidHex + "\n_adminSvrStart=\n_adminSvrState=3");

    // -2 counts as present; a present null text prints "<null>"; the flag prints as a number.
    KEL_SYSTEM_LOG log = SystemLog("a;b", 0);
    log._iMessageType = -2;
    log._userId = KelString();
    std::string printed = Members(log);
    EXPECT_NE(printed.find("\n_messageType=7\n_errorFlag=1\n_svrKind=2\n_svrState=3\n_exception=\n"
                           "_eventIdentifier=EVT\n_userId=<null>\n_messageParameters=a;b"),
              std::string::npos)
        << printed;

    // A null OID prints "<null>"; a LOB text prints as its text.
    KEL_ERROR_LOG err(Oid(), Stamp(), "SYS1", "GRP1", Oid(), 3, 1, 0, 2, 0, 5, 4, 12, -1, 8, 0, Stamp(), "kelmod.cpp",
                      -2, 120, 0, "Scheduler", "it failed");
    err._systemlogId = KelBinary();
    EXPECT_NE(Members(err).find("\n_systemlogId=<null>\n"), std::string::npos) << Members(err);
    KEL_PERSON person;
    person._description = KEL_PERSON::Description(KelString("the boss"));
    person._iDescription = 0;
    EXPECT_NE(Members(person).find("\n_description=the boss\n"), std::string::npos) << Members(person);
}

// Widths are checked in column order, nullable ones only when present, null checks first.
TEST(RowRecords, ConstructorChecksWidthsInColumnOrderAndNullableOnesOnlyWhenPresent)
{
    auto v =
        Caught<KelContractViolation>([] { KEL_SVR_INSTANCE_STATE(Oid(), Stamp(), Oid(), 1, 2, Text(27), 0, 0, -1); });
    ASSERT_TRUE(v) << "no violation";
    EXPECT_EQ(v->Kind(), KelContractKind::Require);
    EXPECT_EQ(v->Condition(), "_iLastStateChange == null ? true : _lastStateChange.Length() <= 26");
    char const* const parameters = "_iMessageParameters == null ? true : _messageParameters.Length() <= 1024";
    KelContractRecorder rec;
    SystemLog(Text(1024), 0);
    SystemLog(Text(1025), -1);  // null: its value is not looked at
    EXPECT_TRUE(rec.Empty()) << rec.Conditions().front();
    KEL_SYSTEM_LOG log = SystemLog(Text(1025), 0);
    SystemLog(Text(1025), -2);
    EXPECT_EQ(rec.Conditions(), (std::vector<std::string>{parameters, parameters}));
    EXPECT_EQ(log._messageParameters.Length(), 1025);  // the row is built all the same
    rec.Clear();

    KelBinary const oid17(KelBinary::createEmpty, 17);
    KEL_ERROR_LOG(oid17, Text(27), Text(9), Text(9), oid17, 0, 0, 0, 0, -1, 0, 0, 0, -1, 0, -1, Text(27), Text(17), 0,
                  0, -1, Text(33), Text(1025));
    EXPECT_EQ(rec.Conditions(),
              (std::vector<std::string>{"_objectId.Length() <= 16", "_creationTime.Length() <= 26",
                                        "_system.Length() <= 8", "_systemGroup.Length() <= 8",
                                        "_systemlogId.Length() <= 16", "_detectionTime.Length() <= 26",
                                        "_iErrorFile == null ? true : _errorFile.Length() <= 16",
                                        "_componentName.Length() <= 32", "_errorDescription.Length() <= 1024"}));
    rec.Clear();
    KEL_SYSTEM_STATE(Oid(), Text(27), -1, 1);
    EXPECT_TRUE(rec.Empty());

    // Null checks first, then lengths: a null text's length fails the kernel's "!IsNull()" and goes on.
    KEL_ERROR_LOG(KelBinary(), Stamp(), "S", "G", KelBinary(), 0, 0, 0, 0, -1, 0, 0, 0, -1, 0, -1, Stamp(), KelString(),
                  -1, 0, -1, KelString(), KelString());
    EXPECT_EQ(rec.Conditions(),
              (std::vector<std::string>{"_objectId.IsNull() != true", "_systemlogId.IsNull() != true",
                                        "_componentName.IsNull() != true", "_errorDescription.IsNull() != true",
                                        "!IsNull()", "!IsNull()"}));
}

TEST(LobAccess, HandlesShareOneRepAndTheLastOneFreesIt)
{
    int destroyed = 0;
    std::uint32_t textCountAtLocatorEnd = 0;
    KelString text("long text");
    {
        WatchingLocator locator;
        WatchedLob lob(text, locator);
        EXPECT_EQ(lob.Length(), 9);
        EXPECT_EQ(lob.Value().Data(), text.Data());
        {
            WatchedLob copy(lob);
            WatchedLob assigned;
            assigned = copy;
            assigned = assigned;
            EXPECT_EQ(lob.RefCount(), 3u);
        }
        EXPECT_EQ(lob.RefCount(), 1u);

        // Assigning over the last handle frees the old Rep at once, locator first.
        WatchingLocator watching{&destroyed, &text, &textCountAtLocatorEnd};
        WatchedLob other(text, watching);
        watching.destroyed = nullptr;
        watching.watched = nullptr;
        other = lob;
        EXPECT_EQ(destroyed, 1);
        EXPECT_EQ(textCountAtLocatorEnd, 3u);  // the text was still held when the locator went
        EXPECT_EQ(lob.RefCount(), 2u);
        other = WatchedLob();
        EXPECT_EQ(lob.RefCount(), 1u);
    }
    EXPECT_EQ(text.RefCount(), 1u);

    // A null handle has no value, whatever the contract policy.
    KelContractRecorder rec;
    WatchedLob none;
    EXPECT_EQ(none.Length(), 0);
    EXPECT_THROW(none.Value(), KelContractViolation);
    EXPECT_TRUE(rec.Has("!IsNull()"));
}
