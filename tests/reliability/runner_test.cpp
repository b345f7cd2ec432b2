// The runner: what it retries, what never; a failure leaves nothing; read-only runs refuse writes, wait for no writer.
#include "reltest.hpp"

#include "admin/keldatxn.hpp"

#include <sstream>

namespace {

class Runner : public AdminDatabaseTest {};

// A system log record of SYS1, created and saved in the current transaction.
void AddLog(KelTOMForAdminServer& tom, KelOID const& oid)
{
    KelSystemLogRecord& record = tom.ForSystemLogs().Create(KelTOMForSystemLogRecordParms::CreateInpParm(oid));
    record = AdminLogRecord(oid, {});
    tom.ForSystemLogs().Save(record);
}

KelTxnOptions ReadOnly()
{
    KelTxnOptions o;
    o.readOnly = true;
    return o;
}

// The OIDs of SYS1's system log records, read in a transaction of its own.
std::vector<KelOID> Logs(KelTxnRunner& runner)
{
    std::vector<KelOID> oids;
    runner.Run(ReadOnly(), [&](KelTOMForAdminServer& tom) {
        oids.clear();
        std::vector<KelSystemLogRecord const*> records;
        tom.ForSystemLogs().MaterializeSystemLogRecordsForRead(S("SYS1"), records);
        for (KelSystemLogRecord const* r : records) oids.push_back(const_cast<KelSystemLogRecord&>(*r).ObjectID());
    });
    return oids;
}

bool CachesEmpty(KelTOMForAdminServer& tom)
{
    return tom.ForSystemLogs().IsCacheEmpty() && tom.ForSystemStates().IsCacheEmpty();
}

std::string Stats(KelTxnStatistics const& s)
{
    std::ostringstream os;
    os << "runs=" << s.runs << " attempts=" << s.attempts << " retries=" << s.retries << " committed=" << s.committed
       << " rolledBack=" << s.rolledBack << " outcomeUnknown=" << s.outcomeUnknown;
    return os.str();
}

}  // namespace

TEST_P(Runner, FailureThatNoRetryCuresIsRethrownAtOnceWithNothingWrittenAndCachesEmpty)
{
    AdminSeedSystem(*db, *tom, "SYS1");
    KelTxnRunner runner(*tom);
    KelOID const taken = KelOID::Generate();
    runner.Run([&](KelTOMForAdminServer& t) { AddLog(t, taken); });

    // A duplicate key, any other exception and a COMMIT of unknown outcome: one run each.
    KelOID const first = KelOID::Generate();
    runner.ResetStatistics();
    auto e = Caught<KelDBException>([&] {
        runner.Run([&](KelTOMForAdminServer& t) {
            AddLog(t, first);
            t.ForSystemStates().MaterializeForReadByName(S("SYS1"));
            AddLog(t, taken);
        });
    });
    ASSERT_TRUE(e) << "a duplicate key went through";
    EXPECT_EQ(e->Category(), KelDBErrorCategory::ConstraintViolation);
    std::vector<std::function<void()>> const failures = {
        [] { throw std::runtime_error("the caller's own failure"); },
        [] {
            throw KelDBException(KelOrigin(__FILE__, __LINE__, "Commit"), KelDBErrorCategory::OutcomeUnknown, 0, "",
                                 "lost in flight");
        }};
    for (auto const& fail : failures)
        EXPECT_ANY_THROW(runner.Run([&](KelTOMForAdminServer& t) {
            AddLog(t, first);
            fail();
        }));
    EXPECT_TRUE(CachesEmpty(*tom));
    EXPECT_FALSE(db->InTransaction());
    EXPECT_EQ(Stats(runner.Statistics()), "runs=3 attempts=3 retries=0 committed=0 rolledBack=3 outcomeUnknown=1");
    EXPECT_EQ(Logs(runner), std::vector<KelOID>{taken}) << "the saved record went with the rollback";

    // The runner owns the whole transaction.
    db->Begin();
    EXPECT_THROW(runner.Run([](KelTOMForAdminServer&) {}), KelContractViolation);
    db->Rollback();
}

TEST_P(Runner, ReadOnlyTransactionRefusesWritesAndRowLocksAndWaitsForNoWriter)
{
    KelOID const system = AdminSeedSystem(*db, *tom, "SYS1");
    KelTxnRunner runner(*tom);
    KelTxnOptions const readOnly = ReadOnly();
    std::vector<std::function<void(KelTOMForAdminServer&)>> const refused = {
        [](KelTOMForAdminServer& t) { AddLog(t, KelOID::Generate()); },
        [&](KelTOMForAdminServer& t) { t.ForSystemStates().MaterializeForUpdate({}, system); }};
    for (auto const& work : refused) {
        auto e = Caught<KelDBException>([&] { runner.Run(readOnly, work); });
        ASSERT_TRUE(e) << "a read-only transaction wrote or locked a row";
        EXPECT_EQ(e->Category(), KelDBErrorCategory::ReadOnly) << e->What();
    }
    EXPECT_EQ(runner.Statistics().attempts, 2u) << "a read-only refusal is not retried";
    EXPECT_TRUE(CachesEmpty(*tom));

    // Another connection holds the row lock (on SQLite the write lock) with a change.
    std::unique_ptr<KelDatabase> otherDb = KelDatabase::Open(url);
    KelTOMForAdminServer other(*otherDb);
    otherDb->Begin();
    other.ForSystemStates().MaterializeForUpdate({}, system).SetAdminSvrState(KelSvrState::Running);
    other.ForSystemStates().Flush();
    db->SetLockTimeout(std::chrono::milliseconds(1));
    std::int32_t seen = -1;
    runner.Run(readOnly, [&](KelTOMForAdminServer& t) {
        seen = t.ForSystemStates().MaterializeForReadByName(S("SYS1")).AdminSvrState();
    });
    EXPECT_NE(seen, KelSvrState::Running) << "a reader saw another transaction's uncommitted change";

    otherDb->Rollback();
    other.TxnHasBeenCommitted();
}

INSTANTIATE_TEST_SUITE_P(Databases, Runner, testing::Values("sqlite", "postgresql"), DatabaseName);

TEST(RunnerFaults, ConnectionLostBeforeCommitIsRetriedButLostDuringCommitIsNot)
{
    std::string const name = "kelrel_runner_" + std::to_string(getpid()), url = RelFreshPostgres(name);
    if (url.empty()) GTEST_SKIP() << "KELDATOM_PG_URL is not set";
    std::unique_ptr<KelDatabase> db = KelDatabase::Open(url);
    KelTOMForAdminServer tom(*db);
    AdminSeedSystem(*db, tom, "SYS1");
    KelTxnRunner runner(tom);
    runner.ResetStatistics();

    // Lost before COMMIT: the runner reconnects, prepares again, and the second run commits.
    KelOID const first = KelOID::Generate();
    int runs = 0;
    runner.Run([&](KelTOMForAdminServer& t) {
        if (++runs == 1) {
            ASSERT_EQ(RelTerminateSessions(name), 1);
        }
        AddLog(t, first);
    });
    EXPECT_EQ(Stats(runner.Statistics()), "runs=1 attempts=2 retries=1 committed=1 rolledBack=1 outcomeUnknown=0");

    // Lost with COMMIT in flight: reported as such, never run again.
    KelOID const second = KelOID::Generate();
    runner.ResetStatistics();
    auto e = Caught<KelDBException>([&] {
        runner.Run([&](KelTOMForAdminServer& t) {
            AddLog(t, second);
            ASSERT_EQ(RelTerminateSessions(name), 1);
        });
    });
    ASSERT_TRUE(e) << "a COMMIT on a dead connection succeeded";
    EXPECT_EQ(e->Category(), KelDBErrorCategory::OutcomeUnknown) << e->What();
    EXPECT_EQ(e->Table(), "kel_system_log") << "the row to look for";
    EXPECT_EQ(e->Key(), Printed(second));
    EXPECT_EQ(Stats(runner.Statistics()), "runs=1 attempts=1 retries=0 committed=0 rolledBack=1 outcomeUnknown=1");
    EXPECT_TRUE(CachesEmpty(tom));

    // The caller looks: the next transaction reconnects and finds what was committed.
    EXPECT_EQ(Logs(runner), std::vector<KelOID>{first});
}
