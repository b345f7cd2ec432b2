// Measuring helpers of the benchmark: a monotonic stopwatch and the process's memory as
// the allocator and the kernel see it. Linux only (/proc, glibc's mallinfo2).
#pragma once

#include <chrono>
#include <cstdint>

// Wall-clock time, and the CPU time of the calling thread (which leaves out the time that
// other processes of a shared machine took the processor; on PostgreSQL it also leaves
// out the server's work).
class KelBenchStopwatch {
public:
    KelBenchStopwatch() : _start(std::chrono::steady_clock::now()), _cpuStart(ThreadCpuSeconds()) {}
    double Seconds() const { return std::chrono::duration<double>(std::chrono::steady_clock::now() - _start).count(); }
    double CpuSeconds() const { return ThreadCpuSeconds() - _cpuStart; }

private:
    static double ThreadCpuSeconds();

    std::chrono::steady_clock::time_point _start;
    double _cpuStart;
};

// Bytes that malloc has handed out and not yet taken back (all arenas).
std::uint64_t KelBenchHeapInUse();
// Whether KelBenchHeapInUse sees allocations (not where a sanitizer replaces malloc).
bool KelBenchHeapMeasurable();
// Resident set size now, in bytes.
std::uint64_t KelBenchResidentBytes();
// Highest resident set size since the process started or since the last KelBenchResetPeak.
std::uint64_t KelBenchPeakResidentBytes();
// Starts a new peak (writes 5 to /proc/self/clear_refs); false where the kernel refuses.
bool KelBenchResetPeak();
// Gives free heap pages back to the kernel, so that the next RSS growth is the cache's own.
void KelBenchTrimHeap();

// Bytes that SQLite holds (its page caches and statements, all connections).
std::uint64_t KelBenchSQLiteInUse();

// Memory growth around one piece of work: construct before it, read after it. The heap
// growth leaves out what SQLite allocated meanwhile (pages that it cached while reading),
// so that it is the memory of what the work kept.
class KelBenchMemoryProbe {
public:
    KelBenchMemoryProbe();
    std::int64_t HeapGrowth() const;
    std::int64_t ResidentGrowth() const;

private:
    std::uint64_t _heap;
    std::uint64_t _sqlite;
    std::uint64_t _resident;
};
