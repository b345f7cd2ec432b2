// Reads on the standby; numbered writes by the runner and the tool while the primary dies and the standby takes over.
#include "cluster.hpp"

#include "admin/keldatxn.hpp"
#include "tests/admin/admintest.hpp"
#include "toolrun.hpp"

#include <atomic>
#include <map>

namespace {

using Clock = std::chrono::steady_clock;

// A record of SYS1 whose parameters say who wrote it and its number.
void AddLog(KelTOMForAdminServer& tom, KelOID const& oid, std::string const& writer, int number)
{
    KelSystemLogRecord::Parameters parameters;
    parameters.Append(KelString(writer.c_str()));
    parameters.Append(KelString(std::to_string(number).c_str()));
    KelSystemLogRecord& record = tom.ForSystemLogs().Create(KelTOMForSystemLogRecordParms::CreateInpParm(oid));
    record = AdminLogRecord(oid, parameters);
    tom.ForSystemLogs().Save(record);
}

// How often each (writer, number) is stored, read in one read-only transaction.
std::map<std::pair<std::string, int>, int> Stored(KelTxnRunner& runner)
{
    std::map<std::pair<std::string, int>, int> stored;
    KelTxnOptions readOnly;
    readOnly.readOnly = true;
    runner.Run(readOnly, [&](KelTOMForAdminServer& tom) {
        stored.clear();
        std::vector<KelSystemLogRecord const*> records;
        tom.ForSystemLogs().MaterializeSystemLogRecordsForRead(KelString("SYS1"), records);
        for (KelSystemLogRecord const* r : records) {
            std::vector<std::string> const p = Texts(r->MessageParameters());
            if (p.size() == 2) ++stored[{p[0], std::stoi(p[1])}];
        }
    });
    return stored;
}

// Patient enough to outlast a failover: retries for up to a minute.
KelTxnOptions Patient()
{
    KelTxnOptions options;
    options.attempts = 100000;
    options.budget = std::chrono::seconds(60);
    options.backoff = std::chrono::milliseconds(20);
    options.maxBackoff = std::chrono::milliseconds(250);
    return options;
}

}  // namespace

TEST(Failover, ReadsGoToTheStandbyAndCommittedTransactionsSurviveThePrimarysDeathOnceEach)
{
    std::string const why = PgCluster::Unavailable();
    if (!why.empty()) GTEST_SKIP() << why;
    PgCluster cluster;
    std::unique_ptr<KelDatabase> db = KelDatabase::Open(cluster.WriteUrl());
    db->CreateSchema();
    KelTOMForAdminServer tom(*db);
    AdminSeedSystem(*db, tom, "SYS1");  // the tool looks the system up
    KelTxnRunner runner(tom, Patient());

    {
        // Writes go to the primary, reads to the standby, which sees every commit at once.
        std::unique_ptr<KelDatabase> readDb = KelDatabase::Open(cluster.ReadUrl("&application_name=kel_reader"));
        KelTOMForAdminServer readTom(*readDb);
        KelTxnRunner split(tom);
        split.SetReadManager(&readTom);
        for (int i = 1; i <= 20; ++i) {
            split.Run([&](KelTOMForAdminServer& t) { AddLog(t, KelOID::Generate(), "split", i); });
            EXPECT_EQ(Stored(split).size(), std::size_t(i));
        }
        EXPECT_EQ(readDb->Statistics().at("kel_system_log").insert, 0u) << "a write went to the read database";
        EXPECT_EQ(db->Statistics().at("kel_system_log").insert, 20u);
        EXPECT_EQ(db->Statistics().at("kel_system_log").open, 0u) << "a read-only transaction went to the primary";
        // A write inside a read-only transaction is refused, not sent to the primary.
        KelTxnOptions readOnly;
        readOnly.readOnly = true;
        auto e = Caught<KelDBException>(
            [&] { split.Run(readOnly, [&](KelTOMForAdminServer& t) { AddLog(t, KelOID::Generate(), "reader", 0); }); });
        ASSERT_TRUE(e);
        EXPECT_EQ(e->Category(), KelDBErrorCategory::ReadOnly) << e->What();
        // The reader's session is on the server in recovery.
        std::unique_ptr<KelDrvConnection> standby = KelDrvOpen(cluster.StandbyUrl());
        auto stmt = standby->Prepare(
            "SELECT count(*)::int4 FROM pg_stat_activity WHERE application_name = 'kel_reader' AND pg_is_in_recovery()",
            "");
        ASSERT_TRUE(stmt->Step());
        EXPECT_EQ(stmt->ColumnInt32(0), 1);
        stmt->Reset();
    }

    int const total = 200, failAfter = 50;
    std::atomic<int> committed{0};
    std::atomic<bool> writerDone{false};
    std::vector<int> written;
    int inDoubt = 0;  // commits lost in flight; the key the last one named, the key of the record it wrote
    std::string unknownKey, lookedFor;
    std::string writerError;
    std::thread writer([&] {
        try {
            for (int i = 1; i <= total;) {
                KelOID const oid = KelOID::Generate();
                try {
                    runner.Run([&](KelTOMForAdminServer& t) { AddLog(t, oid, "writer", i); });
                } catch (KelDBException const& e) {
                    if (e.Category() != KelDBErrorCategory::OutcomeUnknown) throw;
                    // Lost in flight: look for the row the exception names.
                    ++inDoubt;
                    unknownKey = e.Key();
                    lookedFor = Printed(oid);
                    bool present = false;
                    KelTxnOptions look = Patient();
                    look.readOnly = true;
                    runner.Run(look, [&](KelTOMForAdminServer& t) {
                        try {
                            t.ForSystemLogs().MaterializeForRead(KelTOMForSystemLogRecordParms::MaterializeInpParm(),
                                                                 oid);
                            present = true;
                        } catch (KelTOMNotFoundException const&) {
                            present = false;
                        }
                    });
                    if (!present) continue;  // not committed: the same number again
                }
                written.push_back(i++);
                ++committed;
            }
        } catch (KelException const& e) {
            writerError = e.What();
        } catch (std::exception const& e) {
            writerError = e.what();
        }
        writerDone = true;
    });

    // The command-line tool, started again and again through the failover.
    std::map<int, int> toolCodes;
    std::map<int, std::string> toolErrors;
    std::filesystem::path const dir = testing::TempDir() + "kelatom-failover-" + std::to_string(getpid());
    std::filesystem::create_directories(dir);
    std::thread tool([&] {
        for (int j = 1; j <= 25 || !writerDone; ++j) {
            ToolRun const run = RunTool(dir, {"--db", cluster.WriteUrl(), "--retries", "100", "log", "add", "SYS1",
                                              "--message", "42", "--param", "tool", "--param", std::to_string(j)});
            toolCodes[j] = run.code;
            toolErrors[j] = run.err;
            std::this_thread::sleep_for(std::chrono::milliseconds(40));
        }
    });

    auto const limit = Clock::now() + std::chrono::seconds(60);
    while (committed < failAfter && !writerDone && Clock::now() < limit)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    cluster.StopPrimaryHard();
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    cluster.PromoteStandby();
    writer.join();
    tool.join();
    std::filesystem::remove_all(dir);
    ASSERT_EQ(writerError, "") << "the writer stopped";

    // Every transaction seen committed is there, once; nothing else is.
    std::map<std::pair<std::string, int>, int> const stored = Stored(runner);
    ASSERT_EQ(written.size(), std::size_t(total));
    int lost = 0, twice = 0;
    for (int i : written) {
        auto it = stored.find({"writer", i});
        lost += it == stored.end();
        twice += it != stored.end() && it->second > 1;
    }
    EXPECT_EQ(lost, 0);
    EXPECT_EQ(twice, 0);
    EXPECT_LE(inDoubt, 1) << "only the transaction in flight can be in doubt";
    if (inDoubt) {
        EXPECT_EQ(unknownKey, lookedFor) << "the exception names the row written";
    }

    int toolUnknown = 0;
    for (auto const& [j, code] : toolCodes) {
        auto it = stored.find({"tool", j});
        int const times = it == stored.end() ? 0 : it->second;
        if (code == 0) {
            EXPECT_EQ(times, 1) << "kelatom run " << j << " exited 0";
        } else {
            bool const unknown = toolErrors[j].find("Category=outcome unknown") != std::string::npos;
            toolUnknown += unknown;
            EXPECT_TRUE(unknown) << "kelatom run " << j << " exited " << code << ": " << toolErrors[j];
            EXPECT_LE(times, 1);
        }
    }
    EXPECT_LE(toolUnknown, 1);
}
