// Processes on one database at once: writers of the same rows lose no increment, opposite
// lock orders deadlock, roll back and retry, and a release by the wrong user racing the
// holder's updates neither clears nor loses the lock; forked processes make distinct OIDs.
#include "reltest.hpp"

#include "admin/keldatxn.hpp"
#include "objects/kelasvin.hpp"

#include <set>

namespace {

using Clock = std::chrono::steady_clock;

struct WriterReport {
    int committed, increments, lockWaits, deadlocks;
};

// `transactions` transactions, each locking every server instance of the system and
// incrementing its request type. A transaction first asks for its locks with a lock
// timeout of 1 ms: when that runs out, the transaction had to wait for another one; it
// is rolled back, counted as a lock wait and run again with a long timeout.
WriterReport RunWriter(std::string const& url, KelOID const& system, int transactions, Clock::time_point deadline)
{
    std::unique_ptr<KelDatabase> db = KelDatabase::Open(url);
    KelTOMForAdminServer tom(*db);
    WriterReport report{};
    std::chrono::milliseconds const probe(1), patient(20000);
    for (int t = 0; t < transactions; ++t) {
        db->SetLockTimeout(probe);
        for (int attempt = 0;; ++attempt) {
            if (Clock::now() > deadline || attempt > 20) throw std::runtime_error("writer out of time");
            try {
                db->Begin();
                std::vector<KelSvrInstance*> instances;
                tom.ForSvrInstances().MaterializeSvrsForUpdate(system, instances);
                for (KelSvrInstance* instance : instances) Increment(*instance);
                tom.ForSvrInstances().Flush();
                db->Commit();
                tom.TxnHasBeenCommitted();
                ++report.committed;
                report.increments += static_cast<int>(instances.size());
                break;
            } catch (KelDBException const& e) {
                if (!e.IsRetryable()) throw;
                ++(e.SqlState() == "40P01" ? report.deadlocks : report.lockWaits);
                db->Rollback();
                tom.TxnHasBeenCommitted();
                db->SetLockTimeout(patient);
            }
        }
    }
    return report;
}

class Concurrency : public AdminDatabaseTest {};

TEST_P(Concurrency, ForkedWritersOfTheSameRowsLoseNoIncrement)
{
    int const processes = 8, instances = 4, transactions = RelScaled(60);
    KelOID const system = AdminSeedSystem(*db, *tom, "SYS1", instances);

    auto const deadline = Clock::now() + std::chrono::seconds(90);
    std::vector<std::unique_ptr<RelChild<WriterReport>>> children;
    for (int p = 0; p < processes; ++p)
        children.push_back(
            std::make_unique<RelChild<WriterReport>>([&] { return RunWriter(url, system, transactions, deadline); }));
    WriterReport total{};
    for (auto& child : children) {
        WriterReport r{};
        ASSERT_TRUE(RelJoin(*child, deadline + std::chrono::seconds(5), r));
        total = {total.committed + r.committed, total.increments + r.increments, total.lockWaits + r.lockWaits,
                 total.deadlocks + r.deadlocks};
    }

    db->Begin();
    std::vector<KelSvrInstance const*> read;
    tom->ForSvrInstances().MaterializeSvrsForRead(system, read);
    ASSERT_EQ(read.size(), std::size_t(instances));
    for (KelSvrInstance const* instance : read)
        EXPECT_EQ(instance->RequestType(), processes * transactions) << "an increment was lost";
    Commit();
    EXPECT_EQ(total.committed, processes * transactions);
    EXPECT_EQ(total.increments, processes * transactions * instances);
    EXPECT_EQ(total.deadlocks, 0) << "writers that lock in key order never deadlock";
    RecordProperty("lock_waits", total.lockWaits);
}

struct DeadlockReport {
    int committed, deadlocks, category;
    bool retryable;
    char sqlState[8], table[32], key[40];
};

// Locks `first`, writes its increment, waits until the other side holds its first row,
// then locks `second`, through the transaction runner, which rolls a deadlock back and
// runs the transaction again (without waiting for the other side then).
DeadlockReport RunLockingSide(std::string const& url, KelOID const& first, KelOID const& second, RelSignal& mine,
                              RelSignal& theirs)
{
    std::unique_ptr<KelDatabase> db = KelDatabase::Open(url);
    KelTOMForAdminServer tom(*db);
    KelTxnRunner runner(tom);
    DeadlockReport report{};
    int runs = 0;
    runner.Run([&](KelTOMForAdminServer& t) {
        KelTOMForSvrInstances& instances = t.ForSvrInstances();
        try {
            KelSvrInstance& a = instances.MaterializeForUpdate({}, first);
            Increment(a);
            instances.Save(a);
            if (runs++ == 0) {
                mine.Post();
                if (!theirs.Wait(std::chrono::seconds(20))) throw std::runtime_error("the other side never came");
            }
            KelSvrInstance& b = instances.MaterializeForUpdate({}, second);
            Increment(b);
            instances.Save(b);
        } catch (KelDBException const& e) {
            report.category = e.Category();
            report.retryable = e.IsRetryable();
            std::snprintf(report.sqlState, sizeof report.sqlState, "%s", e.SqlState().c_str());
            std::snprintf(report.table, sizeof report.table, "%s", e.Table().c_str());
            std::snprintf(report.key, sizeof report.key, "%s", e.Key().c_str());
            throw;
        }
    });
    report.committed = static_cast<int>(runner.Statistics().committed);
    report.deadlocks = static_cast<int>(runner.Statistics().retries);
    return report;
}

TEST_P(Concurrency, OppositeLockOrderIsADeadlockThatRollsBackAndRetries)
{
    if (!IsPostgres()) GTEST_SKIP() << "SQLite admits one writer at a time: no row locks to deadlock on";
    std::vector<KelOID> rows;
    KelOID const system = AdminSeedSystem(*db, *tom, "SYS1", 2, &rows);

    RelSignal aHolds, bHolds;
    auto const deadline = Clock::now() + std::chrono::seconds(60);
    RelChild<DeadlockReport> a([&] { return RunLockingSide(url, rows[0], rows[1], aHolds, bHolds); });
    RelChild<DeadlockReport> b([&] { return RunLockingSide(url, rows[1], rows[0], bHolds, aHolds); });
    DeadlockReport ra{}, rb{};
    ASSERT_TRUE(RelJoin(a, deadline, ra) && RelJoin(b, deadline, rb));

    EXPECT_EQ(ra.committed + rb.committed, 2) << "both transactions end committed";
    ASSERT_EQ(ra.deadlocks + rb.deadlocks, 1) << "the database aborts exactly one of the two";
    DeadlockReport const& victim = ra.deadlocks ? ra : rb;
    KelOID const& victimsSecond = ra.deadlocks ? rows[1] : rows[0];
    EXPECT_EQ(victim.category, KelDBErrorCategory::DeadlockOrLockTimeout);
    EXPECT_TRUE(victim.retryable);
    EXPECT_STREQ(victim.sqlState, "40P01");
    EXPECT_STREQ(victim.table, "kel_svr_instance_state");
    EXPECT_EQ(std::string(victim.key), Printed(victimsSecond)) << "the error names the row it waited for";

    // Each row was incremented once per committed transaction: the victim's first write,
    // made before the deadlock, went with its rollback.
    db->Begin();
    std::vector<KelSvrInstance const*> read;
    tom->ForSvrInstances().MaterializeSvrsForRead(system, read);
    ASSERT_EQ(read.size(), 2u);
    for (KelSvrInstance const* instance : read) EXPECT_EQ(instance->RequestType(), 2);
    Commit();
}

struct HolderReport {
    int updates, seenLocked, seenReleased;
    bool cameBack;  // locked again after it had been seen released
};

struct ReleaserReport {
    int refused, refusedNamingAlice, other;
    bool released;
};

KelSystemID const sys1() { return KelSystemID(S("SYS1"), S("GRP1")); }

// The lock holder's own work: each transaction locks the system, notes whether alice
// still holds it and counts one more update in its description.
HolderReport RunHolder(std::string const& url, int transactions, Clock::time_point deadline)
{
    std::unique_ptr<KelDatabase> db = KelDatabase::Open(url);
    KelTOMForAdminServer tom(*db);
    HolderReport report{};
    for (int t = 0; t < transactions; ++t) {
        if (Clock::now() > deadline) throw std::runtime_error("holder out of time");
        db->Begin();
        KelSystemData& system = tom.ForSystems().MaterializeForUpdate({}, sys1());
        bool const locked = !system.LockholderOIDIsNull();
        ++(locked ? report.seenLocked : report.seenReleased);
        if (locked && report.seenReleased) report.cameBack = true;
        system.SetDescription(KelString(std::to_string(std::stoi(system.Description().Str()) + 1)));
        tom.ForSystems().Save(system);
        db->Commit();
        tom.TxnHasBeenCommitted();
        ++report.updates;
    }
    return report;
}

// bob tries to release alice's lock, `attempts` times, each in a transaction of its own;
// then alice releases it.
ReleaserReport RunReleaser(std::string const& url, int attempts, Clock::time_point deadline)
{
    std::unique_ptr<KelDatabase> db = KelDatabase::Open(url);
    KelTOMForAdminServer tom(*db);
    ReleaserReport report{};
    KelTOMForSystemParms::CreateInpParm const parm(sys1());
    for (int t = 0; t < attempts; ++t) {
        if (Clock::now() > deadline) throw std::runtime_error("releaser out of time");
        db->Begin();
        try {
            tom.ForSystems().Release(parm, KelUserID(S("bob"), S("GRP1")));
        } catch (KelTOMNotLockedByThisException const& e) {
            ++report.refused;
            if (e.LockHolder().Name() == S("alice")) ++report.refusedNamingAlice;
        } catch (KelException const&) {
            ++report.other;
        }
        db->Commit();
        tom.TxnHasBeenCommitted();
    }
    db->Begin();
    tom.ForSystems().Release(parm, KelUserID(S("alice"), S("GRP1")));
    db->Commit();
    report.released = true;
    return report;
}

TEST_P(Concurrency, ReleaseByAnotherUserRacingTheHoldersUpdatesLosesNoLock)
{
    db->Begin();
    KelOID aliceOid;
    for (char const* name : {"alice", "bob"}) {
        KelPersonData& person = tom->ForPersons().Create(KelTOMForPersonParms::CreateInpParm(S(name)));
        person.SetSystemGroup(S("GRP1"));
        tom->ForPersons().Save(person);
        if (name[0] == 'a') aliceOid = person.OID();
    }
    KelSystemData& system = tom->ForSystems().Create(KelTOMForSystemParms::CreateInpParm(sys1()));
    system.SetLockholderOID(aliceOid);
    system.SetLockholder(KelUserID(S("alice"), S("GRP1")));
    system.SetDescription(S("0"));
    tom->ForSystems().Save(system);
    Commit();

    int const updates = RelScaled(80), attempts = RelScaled(40);
    auto const deadline = Clock::now() + std::chrono::seconds(60);
    RelChild<HolderReport> holder([&] { return RunHolder(url, updates, deadline); });
    RelChild<ReleaserReport> releaser([&] { return RunReleaser(url, attempts, deadline); });
    HolderReport h{};
    ReleaserReport r{};
    ASSERT_TRUE(RelJoin(holder, deadline + std::chrono::seconds(5), h) &&
                RelJoin(releaser, deadline + std::chrono::seconds(5), r));

    EXPECT_EQ(r.refused, attempts) << "bob never releases alice's lock";
    EXPECT_EQ(r.refusedNamingAlice, attempts);
    EXPECT_EQ(r.other, 0);
    EXPECT_TRUE(r.released);
    EXPECT_EQ(h.updates, updates);
    EXPECT_EQ(h.seenLocked + h.seenReleased, updates);
    EXPECT_FALSE(h.cameBack) << "the holder's update brought a released lock back";

    // Every update is there, and alice's release was not undone by them.
    db->Begin();
    KelSystemData const& after = tom->ForSystems().MaterializeForRead({}, sys1());
    EXPECT_EQ(after.Description().Str(), std::to_string(updates));
    EXPECT_TRUE(after.LockholderOIDIsNull());
    Commit();
}

INSTANTIATE_TEST_SUITE_P(Databases, Concurrency, testing::Values("sqlite", "postgresql"), DatabaseName);

// Processes forked from one parent make object identifiers at the same moments (each
// waits for the same instants of the system clock), so their clocks and counters agree;
// none of them may repeat another's identifier.
TEST(ForkedProcesses, GenerateDistinctObjectIdentifiers)
{
    KelOID::Generate();  // the parent's generator is set up before the fork
    constexpr int rounds = 1000;
    struct Oids {
        unsigned char bytes[rounds][16];
    };
    using Micros = std::chrono::microseconds;
    auto const nowMicros = [] {
        return std::chrono::duration_cast<Micros>(std::chrono::system_clock::now().time_since_epoch()).count();
    };
    auto const first = nowMicros() + 100000;
    auto make = [&] {
        Oids oids;
        for (int i = 0; i < rounds; ++i) {
            while (nowMicros() < first + 200 * i) {}
            std::memcpy(oids.bytes[i], KelOID::Generate().Bytes(), 16);
        }
        return oids;
    };
    auto const deadline = Clock::now() + std::chrono::seconds(30);
    RelChild<Oids> a(make), b(make);
    Oids ra{}, rb{};
    ASSERT_TRUE(RelJoin(a, deadline, ra) && RelJoin(b, deadline, rb));
    std::set<std::string> seen;
    for (Oids const* oids : {&ra, &rb})
        for (auto const& oid : oids->bytes) seen.insert(std::string(reinterpret_cast<char const*>(oid), 16));
    EXPECT_EQ(seen.size(), std::size_t(2 * rounds)) << "two processes made the same identifier";
}

}  // namespace
