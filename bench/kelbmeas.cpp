#include "bench/kelbmeas.hpp"

#include "kernel/kelkblk.hpp"
#include "tom/keltpool.hpp"

#include <malloc.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <string>

double KelBenchStopwatch::ThreadCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

std::uint64_t KelBenchHeapInUse()
{
    struct mallinfo2 info = mallinfo2();
    // Small blocks (uordblks), blocks mapped on their own (hblkhd) and the chunks that the
    // caches map for their dictionaries; the small blocks kept for reuse are free memory.
    return static_cast<std::uint64_t>(info.uordblks) + static_cast<std::uint64_t>(info.hblkhd) +
           static_cast<std::uint64_t>(KelTomBlockPool::MappedBytes()) -
           static_cast<std::uint64_t>(KelSmallBlocks::KeptBytes());
}

bool KelBenchHeapMeasurable()
{
    std::uint64_t const before = KelBenchHeapInUse();
    char* volatile block = static_cast<char*>(std::malloc(1 << 20));
    bool const seen = KelBenchHeapInUse() >= before + (1 << 20);
    std::free(block);
    return seen;
}

std::uint64_t KelBenchResidentBytes()
{
    std::ifstream statm("/proc/self/statm");
    std::uint64_t size = 0, resident = 0;
    statm >> size >> resident;
    return resident * static_cast<std::uint64_t>(sysconf(_SC_PAGESIZE));
}

std::uint64_t KelBenchPeakResidentBytes()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.compare(0, 6, "VmHWM:") == 0) return std::stoull(line.substr(6)) * 1024;
    }
    return 0;
}

bool KelBenchResetPeak()
{
    std::FILE* f = std::fopen("/proc/self/clear_refs", "w");
    if (!f) return false;
    bool const ok = std::fputs("5", f) >= 0;
    return std::fclose(f) == 0 && ok;
}

void KelBenchTrimHeap()
{
    KelSmallBlocks::Release();
    malloc_trim(0);
    KelTomBlockPool::ReleaseSpareChunks();
}

std::uint64_t KelBenchSQLiteInUse() { return static_cast<std::uint64_t>(sqlite3_memory_used()); }

KelBenchMemoryProbe::KelBenchMemoryProbe()
    : _heap(KelBenchHeapInUse()), _sqlite(KelBenchSQLiteInUse()), _resident(KelBenchResidentBytes())
{
}

std::int64_t KelBenchMemoryProbe::HeapGrowth() const
{
    std::int64_t const heap = static_cast<std::int64_t>(KelBenchHeapInUse()) - static_cast<std::int64_t>(_heap);
    std::int64_t const sqlite = static_cast<std::int64_t>(KelBenchSQLiteInUse()) - static_cast<std::int64_t>(_sqlite);
    return heap - sqlite;
}

std::int64_t KelBenchMemoryProbe::ResidentGrowth() const
{
    return static_cast<std::int64_t>(KelBenchResidentBytes()) - static_cast<std::int64_t>(_resident);
}
