// The transaction runner: what it runs again (a busy database, a deadlock, a connection
// lost before COMMIT was sent) and what it never runs again (a constraint violation, any
// other error, a COMMIT lost in flight); after every failure nothing of the transaction
// remains and the caches are empty. Read-only transactions refuse writes and row locks and
// wait for no writer.
#include "reltest.hpp"

#include "admin/keldatxn.hpp"

#include <thread>

namespace {

class Runner : public AdminDatabaseTest {};

// A system log record of SYS1, created and saved in the current transaction.
void AddLog(KelTOMForAdminServer& tom, KelOID const& oid)
{
    KelSystemLogRecord& record = tom.ForSystemLogs().Create(KelTOMForSystemLogRecordParms::CreateInpParm(oid));
    record = AdminLogRecord(oid, {});
    tom.ForSystemLogs().Save(record);
}

// The OIDs of SYS1's system log records, read in a transaction of its own.
std::vector<KelOID> Logs(KelTxnRunner& runner)
{
    std::vector<KelOID> oids;
    KelTxnOptions readOnly;
    readOnly.readOnly = true;
    runner.Run(readOnly, [&](KelTOMForAdminServer& tom) {
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
    return "runs=" + std::to_string(s.runs) + " attempts=" + std::to_string(s.attempts) +
           " retries=" + std::to_string(s.retries) + " committed=" + std::to_string(s.committed) +
           " rolledBack=" + std::to_string(s.rolledBack) + " outcomeUnknown=" + std::to_string(s.outcomeUnknown);
}

}  // namespace

TEST_P(Runner, FailureThatNoRetryCuresIsRethrownAtOnceWithNothingWrittenAndCachesEmpty)
{
    AdminSeedSystem(*db, *tom, "SYS1");
    KelTxnRunner runner(*tom);
    KelOID const taken = KelOID::Generate();
    runner.Run([&](KelTOMForAdminServer& t) { AddLog(t, taken); });

    // A duplicate key: the cache does not know the row, the database refuses it.
    KelOID const first = KelOID::Generate();
    int runs = 0;
    runner.ResetStatistics();
    auto e = Caught<KelDBException>([&] {
        runner.Run([&](KelTOMForAdminServer& t) {
            ++runs;
            AddLog(t, first);
            t.ForSystemStates().MaterializeForReadByName(S("SYS1"));
            AddLog(t, taken);
        });
    });
    ASSERT_TRUE(e) << "a duplicate key went through";
    EXPECT_EQ(e->Category(), KelDBErrorCategory::ConstraintViolation);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(runner.LastAttempts(), 1);
    EXPECT_TRUE(CachesEmpty(*tom));
    EXPECT_FALSE(db->InTransaction());

    // Any other exception of the work: the same.
    EXPECT_THROW(runner.Run([&](KelTOMForAdminServer& t) {
        ++runs;
        AddLog(t, first);
        throw std::runtime_error("the caller's own failure");
    }),
                 std::runtime_error);
    EXPECT_EQ(runs, 2);
    EXPECT_TRUE(CachesEmpty(*tom));

    // A COMMIT whose outcome is unknown may have committed: never run again, whatever the attempts.
    KelTxnOptions many;
    many.attempts = 5;
    EXPECT_THROW(runner.Run(many,
                            [&](KelTOMForAdminServer&) {
                                ++runs;
                                throw KelDBException(KelOrigin(__FILE__, __LINE__, "Commit"),
                                                     KelDBErrorCategory::OutcomeUnknown, 0, "", "lost in flight");
                            }),
                 KelDBException);
    EXPECT_EQ(runs, 3);
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
    KelTxnOptions readOnly;
    readOnly.readOnly = true;

    auto write = Caught<KelDBException>(
        [&] { runner.Run(readOnly, [&](KelTOMForAdminServer& t) { AddLog(t, KelOID::Generate()); }); });
    ASSERT_TRUE(write) << "a read-only transaction wrote";
    EXPECT_EQ(write->Category(), KelDBErrorCategory::ReadOnly) << write->What();
    auto lock = Caught<KelDBException>([&] {
        runner.Run(readOnly, [&](KelTOMForAdminServer& t) {
            t.ForSystemStates().MaterializeForUpdate(KelTOMForSystemStateParms::MaterializeInpParm(), system);
        });
    });
    ASSERT_TRUE(lock) << "a read-only transaction locked a row";
    EXPECT_EQ(lock->Category(), KelDBErrorCategory::ReadOnly) << lock->What();
    EXPECT_EQ(runner.Statistics().attempts, 2u) << "a read-only refusal is not retried";
    EXPECT_TRUE(CachesEmpty(*tom));

    // Another connection holds the state's row lock (and, on SQLite, the write lock) with
    // an uncommitted change; this one may wait 1 ms for a lock.
    std::unique_ptr<KelDatabase> otherDb = KelDatabase::Open(url);
    KelTOMForAdminServer other(*otherDb);
    otherDb->Begin();
    other.ForSystemStates()
        .MaterializeForUpdate(KelTOMForSystemStateParms::MaterializeInpParm(), system)
        .SetAdminSvrState(KelSvrState::Running);
    other.ForSystemStates().Flush();
    db->SetLockTimeout(std::chrono::milliseconds(1));
    std::int32_t seen = -1;
    runner.Run(readOnly, [&](KelTOMForAdminServer& t) {
        seen = t.ForSystemStates().MaterializeForReadByName(S("SYS1")).AdminSvrState();
    });
    EXPECT_NE(seen, KelSvrState::Running) << "a reader saw another transaction's uncommitted change";

    if (!IsPostgres()) {
        // A writer must wait for the write lock: busy after its attempts.
        KelTxnOptions twice;
        twice.attempts = 2;
        twice.backoff = std::chrono::milliseconds(1);
        runner.ResetStatistics();
        auto busy = Caught<KelDBException>(
            [&] { runner.Run(twice, [&](KelTOMForAdminServer& t) { AddLog(t, KelOID::Generate()); }); });
        ASSERT_TRUE(busy);
        EXPECT_EQ(busy->Category(), KelDBErrorCategory::Busy);
        EXPECT_EQ(Stats(runner.Statistics()), "runs=1 attempts=2 retries=1 committed=0 rolledBack=2 outcomeUnknown=0");

        // The same writer with room to retry gets through once the other one commits.
        KelTxnOptions patient;
        patient.attempts = 1000;
        patient.backoff = std::chrono::milliseconds(2);
        patient.maxBackoff = std::chrono::milliseconds(20);
        std::thread committer([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            otherDb->Commit();
        });
        KelOID const added = KelOID::Generate();
        runner.ResetStatistics();
        runner.Run(patient, [&](KelTOMForAdminServer& t) { AddLog(t, added); });
        committer.join();
        other.TxnHasBeenCommitted();
        EXPECT_GT(runner.Statistics().retries, 0u);
        EXPECT_EQ(runner.Statistics().committed, 1u);
        EXPECT_EQ(Logs(runner), std::vector<KelOID>{added});
    } else {
        otherDb->Rollback();
        other.TxnHasBeenCommitted();
    }
}

INSTANTIATE_TEST_SUITE_P(Databases, Runner, testing::Values("sqlite", "postgresql"), DatabaseName);

TEST(RunnerFaults, ConnectionLostBeforeCommitIsRetriedButLostDuringCommitIsNot)
{
    std::string const base = ResolveUrl("postgresql");
    if (base.empty()) GTEST_SKIP() << "KELDATOM_PG_URL is not set";
    std::string const name = "kelrel_runner_" + std::to_string(getpid());
    KelDatabase::Open(base)->DropSchema();
    KelDatabase::Open(base)->CreateSchema();
    std::unique_ptr<KelDatabase> db = KelDatabase::Open(WithApplicationName(base, name));
    KelTOMForAdminServer tom(*db);
    AdminSeedSystem(*db, tom, "SYS1");
    KelTxnRunner runner(tom);
    runner.ResetStatistics();

    // Lost before COMMIT: the first run's statement finds the session gone; the runner
    // reconnects, the statements are prepared again, and the second run commits.
    KelOID const first = KelOID::Generate();
    int runs = 0;
    runner.Run([&](KelTOMForAdminServer& t) {
        if (++runs == 1) {
            ASSERT_EQ(RelTerminateSessions(base, name), 1);
        }
        AddLog(t, first);
    });
    EXPECT_EQ(runs, 2);
    EXPECT_EQ(Stats(runner.Statistics()), "runs=1 attempts=2 retries=1 committed=1 rolledBack=1 outcomeUnknown=0");

    // Lost with COMMIT in flight: reported as such, never run again.
    KelOID const second = KelOID::Generate();
    runs = 0;
    runner.ResetStatistics();
    auto e = Caught<KelDBException>([&] {
        runner.Run([&](KelTOMForAdminServer& t) {
            ++runs;
            AddLog(t, second);
            ASSERT_EQ(RelTerminateSessions(base, name), 1);
        });
    });
    ASSERT_TRUE(e) << "a COMMIT on a dead connection succeeded";
    EXPECT_EQ(e->Category(), KelDBErrorCategory::OutcomeUnknown) << e->What();
    EXPECT_FALSE(e->IsRetryable());
    EXPECT_EQ(e->Table(), "kel_system_log") << "the row to look for";
    EXPECT_EQ(e->Key(), Printed(second));
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(Stats(runner.Statistics()), "runs=1 attempts=1 retries=0 committed=0 rolledBack=1 outcomeUnknown=1");
    EXPECT_TRUE(CachesEmpty(tom));

    // The caller looks: the next transaction reconnects and finds what was committed.
    EXPECT_EQ(Logs(runner), std::vector<KelOID>{first});
}
