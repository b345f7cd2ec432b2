#include "bench/kelbrun.hpp"

#include "bench/kelbmeas.hpp"

#include <stdexcept>

char const* KelBenchWorkload::Id(int w)
{
    static char const* const ids[count] = {"W1", "W1w", "W2", "W3", "W4", "W5", "W6"};
    return ids[w];
}

char const* KelBenchWorkload::Title(int w)
{
    static char const* const titles[count] = {"write",           "write, warm", "bulk read",         "cache hits",
                                              "lock and update", "refresh",     "small transactions"};
    return titles[w];
}

double KelBenchResult::NanosPerObject(int w) const
{
    std::size_t const k = objects[static_cast<std::size_t>(w)];
    return k ? seconds[static_cast<std::size_t>(w)] * 1e9 / static_cast<double>(k) : 0.0;
}

double KelBenchResult::HeapBytesPerCached() const
{
    return cached ? static_cast<double>(heapGrowth) / static_cast<double>(cached) : 0.0;
}

double KelBenchResult::ResidentBytesPerCached() const
{
    return cached ? static_cast<double>(residentGrowth) / static_cast<double>(cached) : 0.0;
}

void KelBenchKeepBest(KelBenchResult& best, KelBenchResult const& run)
{
    for (std::size_t w = 0; w < best.seconds.size(); ++w)
        if (run.seconds[w] < best.seconds[w]) best.seconds[w] = run.seconds[w];
    for (std::size_t w = 0; w < best.cpuSeconds.size(); ++w)
        if (run.cpuSeconds[w] < best.cpuSeconds[w]) best.cpuSeconds[w] = run.cpuSeconds[w];
    if (run.heapGrowth < best.heapGrowth) best.heapGrowth = run.heapGrowth;
    if (run.residentGrowth < best.residentGrowth) best.residentGrowth = run.residentGrowth;
    if (run.peakResident && (!best.peakResident || run.peakResident < best.peakResident))
        best.peakResident = run.peakResident;
}

namespace {

void Expect(KelBenchContender const& c, int w, std::size_t got, std::size_t want)
{
    if (got != want)
        throw std::runtime_error(c.Kind() + "-" + c.Database() + " " + KelBenchWorkload::Id(w) + ": " +
                                 std::to_string(got) + " objects instead of " + std::to_string(want));
}

}  // namespace

KelBenchResult KelBenchRun(KelBenchContender& c, KelBenchData const& data, std::size_t transactions)
{
    if (transactions > data.txns.size()) throw std::invalid_argument("more small transactions than the data set has");
    using W = KelBenchWorkload;
    KelBenchResult r;
    r.kind = c.Kind();
    r.database = c.Database();
    r.n = data.N();
    std::size_t const n = data.N();
    std::size_t const perSystem = data.ReadKeys().size();

    KelBenchTrimHeap();
    bool const peak = KelBenchResetPeak();
    c.Prepare(data);

    KelBenchStopwatch write;
    r.objects[W::Write] = c.Write(data);
    r.seconds[W::Write] = write.Seconds();
    r.cpuSeconds[W::Write] = write.CpuSeconds();
    Expect(c, W::Write, r.objects[W::Write], n);

    c.Prepare(data);  // fresh tables; the heap stays as the first write left it
    KelBenchStopwatch again;
    r.objects[W::WriteWarm] = c.Write(data);
    r.seconds[W::WriteWarm] = again.Seconds();
    r.cpuSeconds[W::WriteWarm] = again.CpuSeconds();
    Expect(c, W::WriteWarm, r.objects[W::WriteWarm], n);

    KelBenchTrimHeap();
    KelBenchMemoryProbe probe;
    KelBenchStopwatch read;
    r.objects[W::BulkRead] = c.ReadSystem(data);
    double const readSeconds = read.Seconds(), readCpu = read.CpuSeconds();
    r.heapGrowth = probe.HeapGrowth();
    r.residentGrowth = probe.ResidentGrowth();
    r.cached = r.objects[W::BulkRead];
    Expect(c, W::BulkRead, r.objects[W::BulkRead], perSystem);

    KelBenchStopwatch hits;
    r.objects[W::CacheHits] = c.Hits(data, kelBenchHitRounds);
    r.seconds[W::CacheHits] = hits.Seconds();
    r.cpuSeconds[W::CacheHits] = hits.CpuSeconds();
    Expect(c, W::CacheHits, r.objects[W::CacheHits], perSystem * kelBenchHitRounds);
    r.keptSum = c.KeptSum();
    if (r.keptSum == 0) throw std::runtime_error(r.Contender() + " W2: no message numbers kept");

    KelBenchStopwatch refresh;
    r.objects[W::Refresh] = c.RefreshAll(data);
    r.seconds[W::Refresh] = refresh.Seconds();
    r.cpuSeconds[W::Refresh] = refresh.CpuSeconds();
    Expect(c, W::Refresh, r.objects[W::Refresh], perSystem);

    KelBenchStopwatch end;
    c.EndRead();
    r.seconds[W::BulkRead] = readSeconds + end.Seconds();
    r.cpuSeconds[W::BulkRead] = readCpu + end.CpuSeconds();

    KelBenchStopwatch lock;
    r.objects[W::LockUpdate] = c.LockAndUpdate(data);
    r.seconds[W::LockUpdate] = lock.Seconds();
    r.cpuSeconds[W::LockUpdate] = lock.CpuSeconds();
    Expect(c, W::LockUpdate, r.objects[W::LockUpdate], data.instances.size());

    KelBenchStopwatch txns;
    r.objects[W::SmallTxns] = c.SmallTransactions(data, transactions);
    r.seconds[W::SmallTxns] = txns.Seconds();
    r.cpuSeconds[W::SmallTxns] = txns.CpuSeconds();
    Expect(c, W::SmallTxns, r.objects[W::SmallTxns], transactions);

    r.peakResident = peak ? KelBenchPeakResidentBytes() : 0;
    c.Finish();
    return r;
}
