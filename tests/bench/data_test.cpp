// The benchmark's data set, time text and report: every contender must get the same
// rows, write the same text the library writes, and be reported against its own peer.
#include "bench/kelbdata.hpp"
#include "bench/kelbmeas.hpp"
#include "bench/kelbrep.hpp"
#include "kernel/kelktim.hpp"

#include <gtest/gtest.h>

#include <algorithm>
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
    std::vector<std::int64_t> const seconds{1,          86399,      951782400 /* 2000-02-29 */, 1700000000,
                                            1709251199, 4102444800, 253402300799 /* 9999-12-31 23:59:59 */};
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
    EXPECT_EQ(lines[6], "400,sqlite,om-sqlite,W1,100,0.600000,6000000.0,1.200,512.0,0.0,0,0.400000,0.800");
    EXPECT_EQ(lines[11], "800,sqlite,om-sqlite,W1,0,0.000000,0.0,,0.0,0.0,0,0.000000,") << "no peer, no ratio";

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
    EXPECT_GE(probe.HeapGrowth(), 16 << 20);
    EXPECT_GE(probe.ResidentGrowth(), 8 << 20);
    EXPECT_GE(KelBenchPeakResidentBytes(), KelBenchResidentBytes() / 2);
    EXPECT_EQ(kept[12345], 'x');
}

TEST(BenchRun, RepeatedRunsKeepTheBestOfEachWorkload)
{
    KelBenchResult best, run;
    best.seconds = {1, 2, 3, 4, 5};
    run.seconds = {2, 1, 3, 5, 4};
    best.cpuSeconds = {1, 1, 1, 1, 1};
    run.cpuSeconds = {0.5, 2, 1, 1, 1};
    best.heapGrowth = 900;
    run.heapGrowth = 800;
    run.peakResident = 5;
    KelBenchKeepBest(best, run);
    EXPECT_EQ(best.seconds, (std::array<double, 5>{1, 1, 3, 4, 4}));
    EXPECT_EQ(best.cpuSeconds, (std::array<double, 5>{0.5, 1, 1, 1, 1}));
    EXPECT_EQ(best.heapGrowth, 800);
    EXPECT_EQ(best.peakResident, 5u) << "an unknown peak takes the run's";
}
