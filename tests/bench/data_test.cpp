// The benchmark's data set, time text and report: every contender must get the same
// rows, write the same text the library writes, and be reported against its own peer.
#include "bench/kelbdata.hpp"
#include "bench/kelbmeas.hpp"
#include "bench/kelbrep.hpp"
#include "kernel/kelktim.hpp"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <stdexcept>
#include <vector>

TEST(BenchData, SameRowsEveryTimeFourSystemsInTurnInstancesOfOneSystem)
{
    KelBenchData const a(400), b(400);
    ASSERT_EQ(a.logs.size(), 400u);
    EXPECT_EQ(a.instances.size(), 40u);
    EXPECT_EQ(a.ReadKeys().size(), 100u);
    std::set<KelBenchOid> keys;
    for (std::size_t i = 0; i < a.logs.size(); ++i) {
        EXPECT_EQ(a.logs[i].objectId, b.logs[i].objectId);
        EXPECT_EQ(a.logs[i].system, static_cast<int>(i % 4));
        keys.insert(a.logs[i].objectId);
    }
    for (KelBenchInstanceInput const& s : a.instances) keys.insert(s.svrOid);
    keys.insert(a.InstanceSystemOid());
    EXPECT_EQ(keys.size(), 400u + 40u + 1u) << "identifiers must be unique";
    EXPECT_TRUE(std::is_sorted(a.ReadKeys().begin(), a.ReadKeys().end()));

    std::string joined;
    KelBenchJoinParameters(a.logs[5].parameters, joined);
    EXPECT_EQ(joined, "queue5;job5;5");
    EXPECT_THROW(KelBenchData(410), std::invalid_argument);
    EXPECT_THROW(KelBenchData(0), std::invalid_argument);
}

TEST(BenchData, TimeTextIsTheLibrarysTimestampText)
{
    std::vector<std::int64_t> const seconds{1,          86399,       951782400 /* 2000-02-29 */, 1700000000, 1709251199,
                                            4102444800, 253402300799 /* 9999-12-31 23:59:59 */};
    for (std::int64_t s : seconds) {
        for (std::int32_t micros : {1, 62500, 999999}) {
            char text[27];
            KelBenchFormatTime(s, micros, text);
            EXPECT_EQ(std::string(text), KelTimeStamp(s, micros).AsVsqString().Str()) << s << " " << micros;
        }
    }
}

TEST(BenchReport, RatiosAgainstTheRawPeerOfTheSameSizeAndDatabase)
{
    KelBenchResult raw, om, otherSize;
    raw.kind = "raw";
    raw.database = otherSize.database = om.database = "sqlite";
    om.kind = otherSize.kind = "om";
    raw.n = om.n = 400;
    otherSize.n = 800;
    for (int w = 0; w < KelBenchWorkload::count; ++w) {
        raw.seconds[static_cast<std::size_t>(w)] = raw.cpuSeconds[static_cast<std::size_t>(w)] = 0.5;
        om.seconds[static_cast<std::size_t>(w)] = 0.6;
        om.cpuSeconds[static_cast<std::size_t>(w)] = 0.4;
        raw.objects[static_cast<std::size_t>(w)] = om.objects[static_cast<std::size_t>(w)] = 100;
    }
    om.heapGrowth = 51200;
    om.cached = 100;
    std::vector<KelBenchResult> const results{raw, om, otherSize};
    EXPECT_EQ(KelBenchRawPeer(results, om), &results[0]);
    EXPECT_EQ(KelBenchRawPeer(results, otherSize), nullptr);

    std::ostringstream csv;
    KelBenchWriteCsv(csv, results);
    std::istringstream in(csv.str());
    std::string line;
    std::vector<std::string> lines;
    while (std::getline(in, line)) lines.push_back(line);
    ASSERT_EQ(lines.size(), 1u + 3u * KelBenchWorkload::count);
    EXPECT_EQ(lines[1], "400,sqlite,raw-sqlite,W1,100,0.500000,5000000.0,,0.0,0.0,0,0.500000,");
    EXPECT_EQ(lines[1 + KelBenchWorkload::count],
              "400,sqlite,om-sqlite,W1,100,0.600000,6000000.0,1.200,512.0,0.0,0,0.400000,0.800");
    EXPECT_EQ(lines[1 + 2 * KelBenchWorkload::count], "800,sqlite,om-sqlite,W1,0,0.000000,0.0,,0.0,0.0,0,0.000000,")
        << "no peer, no ratio";

    std::ostringstream table;
    KelBenchPrintTable(table, results);
    EXPECT_NE(table.str().find("N = 400  (SQLite file, WAL, synchronous NORMAL)"), std::string::npos);
    EXPECT_NE(table.str().find("     1.20     0.80"), std::string::npos) << table.str();
    EXPECT_NE(table.str().find("heap 512 B/object"), std::string::npos);
}

TEST(BenchMeasure, HeapAndResidentGrowthSeeWhatWasKept)
{
    KelBenchMemoryProbe probe;
    std::vector<char> kept(16 << 20, 'x');
    if (KelBenchHeapMeasurable()) {
        EXPECT_GE(probe.HeapGrowth(), 16 << 20);
    }
    EXPECT_GE(probe.ResidentGrowth(), 8 << 20);
    EXPECT_GE(KelBenchPeakResidentBytes(), KelBenchResidentBytes() / 2);
    EXPECT_EQ(kept[12345], 'x');
}

TEST(BenchRun, RepeatedRunsKeepTheBestOfEachWorkload)
{
    KelBenchResult best, run;
    best.seconds = {1, 2, 3, 4, 5, 6};
    run.seconds = {2, 1, 3, 5, 4, 6};
    best.cpuSeconds = {1, 1, 1, 1, 1, 1};
    run.cpuSeconds = {0.5, 2, 1, 1, 1, 1};
    best.heapGrowth = 900;
    run.heapGrowth = 800;
    run.peakResident = 5;
    KelBenchKeepBest(best, run);
    EXPECT_EQ(best.seconds, (std::array<double, 6>{1, 1, 3, 4, 4, 6}));
    EXPECT_EQ(best.cpuSeconds, (std::array<double, 6>{0.5, 1, 1, 1, 1, 1}));
    EXPECT_EQ(best.heapGrowth, 800);
    EXPECT_EQ(best.peakResident, 5u) << "an unknown peak takes the run's";
}

TEST(BenchReport, PlotScriptDrawsTheCsvWithGnuplot)
{
    if (std::system("gnuplot --version > /dev/null 2>&1") != 0) GTEST_SKIP() << "gnuplot is not installed";
    std::string const dir = "/tmp/keldatom_bench_plot_" + std::to_string(::getpid());
    ASSERT_EQ(::mkdir(dir.c_str(), 0755), 0);
    std::vector<KelBenchResult> results;
    for (std::size_t n : {400u, 4000u}) {
        for (char const* kind : {"raw", "om"}) {
            KelBenchResult r;
            r.kind = kind;
            r.database = "sqlite";
            r.n = n;
            r.cached = n / 4;
            r.heapGrowth = static_cast<std::int64_t>(n * 200);
            for (std::size_t w = 0; w < r.seconds.size(); ++w) {
                r.seconds[w] = r.cpuSeconds[w] = 1e-6 * static_cast<double>(n * (w + 1));
                r.objects[w] = n;
            }
            results.push_back(r);
        }
    }
    std::ofstream(dir + "/bench.csv") << [&] {
        std::ostringstream csv;
        KelBenchWriteCsv(csv, results);
        return csv.str();
    }();
    std::ofstream(dir + "/growth.gp") << KelBenchPlotScript("bench.csv", "growth.svg");
    EXPECT_EQ(std::system(("cd " + dir + " && gnuplot growth.gp 2> errors.txt").c_str()), 0);
    std::ifstream svg(dir + "/growth.svg");
    std::string const text((std::istreambuf_iterator<char>(svg)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("om-sqlite W1"), std::string::npos);
    EXPECT_NE(text.find("raw-sqlite RSS"), std::string::npos);
    std::system(("rm -rf " + dir).c_str());
}

TEST(BenchMeasure, SQLitesOwnPagesAreNotCountedAsWhatTheWorkKept)
{
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(":memory:", &db), SQLITE_OK);
    KelBenchMemoryProbe probe;
    // About 4 MB of rows in SQLite's own memory, nothing kept by the caller.
    sqlite3_exec(db,
                 "CREATE TABLE t (x BLOB); WITH RECURSIVE c(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM c "
                 "WHERE i < 4000) INSERT INTO t SELECT randomblob(1000) FROM c",
                 nullptr, nullptr, nullptr);
    EXPECT_GT(KelBenchSQLiteInUse(), 4000000u);
    if (KelBenchHeapMeasurable()) {
        EXPECT_LT(probe.HeapGrowth(), 200000);
    }
    sqlite3_close(db);
}
