// Processes on one database at once: no lost increment or lock, deadlocks retried.
#include "reltest.hpp"

#include "admin/keldatxn.hpp"
#include "objects/kelasvin.hpp"

#include <atomic>
#include <set>

namespace {

using Clock = std::chrono::steady_clock;

// Increments every server instance under its row lock, retrying deadlocks; returns how many.
int RunWriter(std::string const& url, KelOID const& system, int transactions, Clock::time_point deadline)
{
    std::unique_ptr<KelDatabase> db = KelDatabase::Open(url);
    KelTOMForAdminServer tom(*db);
    int deadlocks = 0;
    for (int t = 0; t < transactions; ++t) {
        db->SetLockTimeout(std::chrono::milliseconds(1));
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
                break;
            } catch (KelDBException const& e) {
                if (!e.IsRetryable()) throw;
                deadlocks += e.SqlState() == "40P01";
                db->Rollback();
                tom.TxnHasBeenCommitted();
                db->SetLockTimeout(std::chrono::seconds(20));
            }
        }
    }
    return deadlocks;
}

class Concurrency : public AdminDatabaseTest {};

TEST_P(Concurrency, ForkedWritersOfTheSameRowsLoseNoIncrement)
{
    int const processes = 8, instances = 4, transactions = RelScaled(60);
    KelOID const system = AdminSeedSystem(*db, *tom, "SYS1", instances);

    auto const deadline = Clock::now() + std::chrono::seconds(90);
    std::vector<std::unique_ptr<RelChild<int>>> children;
    for (int p = 0; p < processes; ++p)
        children.push_back(
            std::make_unique<RelChild<int>>([&] { return RunWriter(url, system, transactions, deadline); }));
    for (auto& child : children) {
        int deadlocks = 0;
        ASSERT_TRUE(child->Join(deadline + std::chrono::seconds(5), deadlocks));
        EXPECT_EQ(deadlocks, 0) << "writers that lock in key order never deadlock";
    }

    db->Begin();
    std::vector<KelSvrInstance const*> read;
    tom->ForSvrInstances().MaterializeSvrsForRead(system, read);
    ASSERT_EQ(read.size(), std::size_t(instances));
    for (KelSvrInstance const* instance : read)
        EXPECT_EQ(instance->RequestType(), processes * transactions) << "an increment was lost";
    Commit();
}

struct DeadlockReport {
    int committed, deadlocks;
    char error[128];  // category, retryable, SQLSTATE, table and key of the deadlock
};

// Through the runner: locks `first`, waits once until both sides have (`arrived`, shared), then locks `second`.
DeadlockReport RunLockingSide(std::string const& url, KelOID const& first, KelOID const& second,
                              std::atomic<int>& arrived)
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
                ++arrived;
                for (auto const until = Clock::now() + std::chrono::seconds(20); arrived < 2; std::this_thread::yield())
                    if (Clock::now() > until) throw std::runtime_error("the other side never came");
            }
            KelSvrInstance& b = instances.MaterializeForUpdate({}, second);
            Increment(b);
            instances.Save(b);
        } catch (KelDBException const& e) {
            std::snprintf(report.error, sizeof report.error, "%d %d %s %s %s", int(e.Category()), e.IsRetryable(),
                          e.SqlState().c_str(), e.Table().c_str(), e.Key().c_str());
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

    auto* arrived = static_cast<std::atomic<int>*>(
        mmap(nullptr, sizeof(std::atomic<int>), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0));
    ASSERT_NE(arrived, MAP_FAILED);
    new (arrived) std::atomic<int>(0);
    auto const deadline = Clock::now() + std::chrono::seconds(60);
    RelChild<DeadlockReport> a([&] { return RunLockingSide(url, rows[0], rows[1], *arrived); });
    RelChild<DeadlockReport> b([&] { return RunLockingSide(url, rows[1], rows[0], *arrived); });
    DeadlockReport ra{}, rb{};
    bool const joined = a.Join(deadline, ra) && b.Join(deadline, rb);
    munmap(arrived, sizeof(std::atomic<int>));
    ASSERT_TRUE(joined);

    EXPECT_EQ(ra.committed + rb.committed, 2) << "both transactions end committed";
    // One of the two is aborted; under load the victim's quick retry can meet the other side once more.
    ASSERT_GE(ra.deadlocks + rb.deadlocks, 1) << "the database aborts one of the two";
    DeadlockReport const& victim = ra.deadlocks ? ra : rb;
    KelOID const& victimsSecond = ra.deadlocks ? rows[1] : rows[0];
    EXPECT_EQ(std::string(victim.error), std::to_string(int(KelDBErrorCategory::DeadlockOrLockTimeout)) +
                                             " 1 40P01 kel_svr_instance_state " + Printed(victimsSecond))
        << "a retryable deadlock naming the row it waited for";

    db->Begin();
    std::vector<KelSvrInstance const*> read;
    tom->ForSvrInstances().MaterializeSvrsForRead(system, read);
    ASSERT_EQ(read.size(), 2u);
    for (KelSvrInstance const* instance : read) EXPECT_EQ(instance->RequestType(), 2);
    Commit();
}

KelSystemID const sys1() { return KelSystemID(S("SYS1"), S("GRP1")); }

// Each transaction locks the system and counts itself in its description; returns whether a released lock came back.
bool RunHolder(std::string const& url, int transactions, Clock::time_point deadline)
{
    std::unique_ptr<KelDatabase> db = KelDatabase::Open(url);
    KelTOMForAdminServer tom(*db);
    bool seenReleased = false, cameBack = false;
    for (int t = 0; t < transactions; ++t) {
        if (Clock::now() > deadline) throw std::runtime_error("holder out of time");
        db->Begin();
        KelSystemData& system = tom.ForSystems().MaterializeForUpdate({}, sys1());
        bool const locked = !system.LockholderOIDIsNull();
        cameBack |= locked && seenReleased;
        seenReleased |= !locked;
        system.SetDescription(KelString(std::to_string(std::stoi(system.Description().Str()) + 1)));
        tom.ForSystems().Save(system);
        db->Commit();
        tom.TxnHasBeenCommitted();
    }
    return cameBack;
}

// bob tries to release alice's lock, then alice does; returns bob's refusals naming alice.
int RunReleaser(std::string const& url, int attempts, Clock::time_point deadline)
{
    std::unique_ptr<KelDatabase> db = KelDatabase::Open(url);
    KelTOMForAdminServer tom(*db);
    int refused = 0;
    KelTOMForSystemParms::CreateInpParm const parm(sys1());
    for (int t = 0; t < attempts; ++t) {
        if (Clock::now() > deadline) throw std::runtime_error("releaser out of time");
        db->Begin();
        try {
            tom.ForSystems().Release(parm, KelUserID(S("bob"), S("GRP1")));
        } catch (KelTOMNotLockedByThisException const& e) {
            refused += e.LockHolder().Name() == S("alice");
        }
        db->Commit();
        tom.TxnHasBeenCommitted();
    }
    db->Begin();
    tom.ForSystems().Release(parm, KelUserID(S("alice"), S("GRP1")));
    db->Commit();
    return refused;
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
    RelChild<bool> holder([&] { return RunHolder(url, updates, deadline); });
    RelChild<int> releaser([&] { return RunReleaser(url, attempts, deadline); });
    bool cameBack = false;
    int refused = 0;
    ASSERT_TRUE(holder.Join(deadline + std::chrono::seconds(5), cameBack) &&
                releaser.Join(deadline + std::chrono::seconds(5), refused));

    EXPECT_EQ(refused, attempts) << "bob released alice's lock, or the refusal named another holder";
    EXPECT_FALSE(cameBack) << "the holder's update brought a released lock back";

    db->Begin();
    KelSystemData const& after = tom->ForSystems().MaterializeForRead({}, sys1());
    EXPECT_EQ(after.Description().Str(), std::to_string(updates));
    EXPECT_TRUE(after.LockholderOIDIsNull());
    Commit();
}

INSTANTIATE_TEST_SUITE_P(Databases, Concurrency, testing::Values("sqlite", "postgresql"), DatabaseName);

// Two forked processes make identifiers at the same instants of the clock: none repeats.
TEST(ForkedProcesses, GenerateDistinctObjectIdentifiers)
{
    KelOID::Generate();  // set up before the fork
    constexpr int rounds = 1000;
    struct Oids {
        KelOID made[rounds];
    };
    auto const first = std::chrono::time_point_cast<std::chrono::microseconds>(std::chrono::system_clock::now()) +
                       std::chrono::milliseconds(100);
    auto make = [&] {
        Oids oids;
        for (int i = 0; i < rounds; ++i) {
            while (std::chrono::system_clock::now() < first + std::chrono::microseconds(200 * i)) {}
            oids.made[i] = KelOID::Generate();
        }
        return oids;
    };
    auto const deadline = Clock::now() + std::chrono::seconds(30);
    RelChild<Oids> a(make), b(make);
    Oids ra{}, rb{};
    ASSERT_TRUE(a.Join(deadline, ra) && b.Join(deadline, rb));
    std::set<KelOID> seen(std::begin(ra.made), std::end(ra.made));
    seen.insert(std::begin(rb.made), std::end(rb.made));
    EXPECT_EQ(seen.size(), std::size_t(2 * rounds)) << "two processes made the same identifier";
}

}  // namespace
