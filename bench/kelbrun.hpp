// Running the workloads of one contender on one data set, and what a run measured.
#pragma once

#include "bench/kelbcont.hpp"
#include "bench/kelbdata.hpp"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

// The workloads, in the order in which the report lists them. W1 runs twice: first with
// the heap just handed back to the system (every page of the new objects is touched for
// the first time, as in a process's first transaction), then again into fresh tables with
// the heap the first write left (as in a server that has run transactions before). W6's
// objects are its transactions, whose number is the run's, not the size's.
struct KelBenchWorkload {
    enum Type { Write, WriteWarm, BulkRead, CacheHits, LockUpdate, Refresh, SmallTxns, count };
    static char const* Id(int w);     // "W1" ...
    static char const* Title(int w);  // "write" ...
};

struct KelBenchResult {
    std::string kind;      // "om" or "raw"
    std::string database;  // "sqlite" or "postgresql"
    std::size_t n = 0;
    std::array<double, KelBenchWorkload::count> seconds{};     // wall clock
    std::array<double, KelBenchWorkload::count> cpuSeconds{};  // this thread's CPU time
    std::array<std::size_t, KelBenchWorkload::count> objects{};
    // Growth of malloc's bytes in use and of the resident set while the bulk read built
    // its cache (or its vector of rows), and the number of objects then held.
    std::int64_t heapGrowth = 0;
    std::int64_t residentGrowth = 0;
    std::size_t cached = 0;
    // Highest resident set size during the contender's run (0 where it cannot be reset).
    std::uint64_t peakResident = 0;
    // Sum of the message numbers that the bulk read kept: the same for every contender
    // that read the same rows.
    std::uint64_t keptSum = 0;

    std::string Contender() const { return kind + "-" + database; }
    double NanosPerObject(int w) const;
    double HeapBytesPerCached() const;
    double ResidentBytesPerCached() const;
};

// Look-ups per kept key in the cache-hit workload.
constexpr int kelBenchHitRounds = 10;

// Folds another run of the same contender and size into best: per workload the shorter
// time, and the smaller memory figures (noise on a shared machine only adds).
void KelBenchKeepBest(KelBenchResult& best, KelBenchResult const& run);

// Runs Prepare, the workloads and Finish, W6 with the first `transactions` of data.txns.
// Throws std::runtime_error when a workload handled another number of objects than the
// data set implies.
KelBenchResult KelBenchRun(KelBenchContender& contender, KelBenchData const& data, std::size_t transactions);
