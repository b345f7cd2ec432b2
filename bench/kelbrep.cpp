#include "bench/kelbrep.hpp"

#include <algorithm>
#include <iomanip>
#include <map>
#include <ostream>
#include <set>
#include <sstream>

KelBenchResult const* KelBenchRawPeer(std::vector<KelBenchResult> const& results, KelBenchResult const& r)
{
    for (KelBenchResult const& other : results)
        if (other.kind == "raw" && other.database == r.database && other.n == r.n) return &other;
    return nullptr;
}

namespace {

std::string Fixed(double value, int precision)
{
    std::ostringstream text;
    text << std::fixed << std::setprecision(precision) << value;
    return text.str();
}

std::string MiB(std::uint64_t bytes) { return Fixed(static_cast<double>(bytes) / (1024.0 * 1024.0), 1) + " MiB"; }

std::string DatabaseTitle(std::string const& database, std::string const& sqliteSynchronous)
{
    return database == "sqlite" ? "SQLite file, WAL, synchronous " + sqliteSynchronous : "PostgreSQL";
}

// The width of a contender's ratio column: its heading and two blanks.
int RatioWidth(KelBenchResult const& r) { return std::max(9, static_cast<int>(r.kind.size()) + 6); }

double MicrosPerTransaction(KelBenchResult const& r) { return r.NanosPerObject(KelBenchWorkload::SmallTxns) / 1000.0; }

}  // namespace

void KelBenchPrintTable(std::ostream& os, std::vector<KelBenchResult> const& results,
                        std::string const& sqliteSynchronous)
{
    // Sizes and databases in the order in which they ran.
    std::vector<std::pair<std::size_t, std::string>> groups;
    for (KelBenchResult const& r : results) {
        std::pair<std::size_t, std::string> const g{r.n, r.database};
        bool seen = false;
        for (auto const& known : groups) seen = seen || known == g;
        if (!seen) groups.push_back(g);
    }
    for (auto const& g : groups) {
        std::vector<KelBenchResult const*> rs;
        for (KelBenchResult const& r : results)
            if (r.n == g.first && r.database == g.second) rs.push_back(&r);
        KelBenchResult const* raw = nullptr;
        KelBenchResult const* pipe = nullptr;  // raw SQL with pipelined writes (PostgreSQL)
        for (KelBenchResult const* r : rs) {
            if (r->kind == "raw") raw = r;
            if (r->kind == "rawpipe") pipe = r;
        }

        os << "\nN = " << g.first << "  (" << DatabaseTitle(g.second, sqliteSynchronous) << ")\n";
        os << std::left << std::setw(22) << "workload" << std::right << std::setw(9) << "objects";
        for (KelBenchResult const* r : rs) os << std::setw(22) << (r->Contender() + " s");
        for (KelBenchResult const* r : rs)
            if (r->kind != "raw") os << std::setw(RatioWidth(*r)) << (r->kind + "/raw") << std::setw(9) << "cpu";
        if (pipe) os << std::setw(9) << "om/pipe";
        for (KelBenchResult const* r : rs) os << std::setw(20) << (r->kind + " ns/object");
        os << "\n";
        for (int w = 0; w < KelBenchWorkload::count; ++w) {
            std::string const label = std::string(KelBenchWorkload::Id(w)) + " " + KelBenchWorkload::Title(w);
            os << std::left << std::setw(22) << label << std::right << std::setw(9)
               << rs.front()->objects[static_cast<std::size_t>(w)];
            for (KelBenchResult const* r : rs) os << std::setw(22) << Fixed(r->seconds[static_cast<std::size_t>(w)], 4);
            for (KelBenchResult const* r : rs) {
                if (r->kind == "raw") continue;
                std::size_t const i = static_cast<std::size_t>(w);
                double const base = raw ? raw->seconds[i] : 0.0, cpuBase = raw ? raw->cpuSeconds[i] : 0.0;
                os << std::setw(RatioWidth(*r)) << (base > 0 ? Fixed(r->seconds[i] / base, 2) : std::string("-"))
                   << std::setw(9) << (cpuBase > 0 ? Fixed(r->cpuSeconds[i] / cpuBase, 2) : std::string("-"));
            }
            if (pipe) {
                std::size_t const i = static_cast<std::size_t>(w);
                double om = 0;
                for (KelBenchResult const* r : rs)
                    if (r->kind == "om") om = r->seconds[i];
                os << std::setw(9) << (pipe->seconds[i] > 0 ? Fixed(om / pipe->seconds[i], 2) : std::string("-"));
            }
            for (KelBenchResult const* r : rs) os << std::setw(20) << Fixed(r->NanosPerObject(w), 0);
            os << "\n";
        }
        if (rs.front()->objects[KelBenchWorkload::SmallTxns]) {
            os << "  W6 µs/transaction:";
            for (KelBenchResult const* r : rs) os << " " << r->Contender() << " " << Fixed(MicrosPerTransaction(*r), 1);
            for (KelBenchResult const* r : rs)
                if (r->kind != "raw" && raw && MicrosPerTransaction(*raw) > 0)
                    os << " (" << r->kind << "/raw " << Fixed(MicrosPerTransaction(*r) / MicrosPerTransaction(*raw), 2)
                       << ")";
            os << "\n";
        }
        for (KelBenchResult const* r : rs) {
            os << "  " << std::left << std::setw(18) << r->Contender() << std::right << " cache of " << r->cached
               << ": heap " << Fixed(r->HeapBytesPerCached(), 0) << " B/object, RSS "
               << Fixed(r->ResidentBytesPerCached(), 0) << " B/object; peak RSS "
               << (r->peakResident ? MiB(r->peakResident) : std::string("n/a")) << "\n";
        }
    }
}

void KelBenchWriteCsv(std::ostream& os, std::vector<KelBenchResult> const& results)
{
    os << "n,database,contender,workload,objects,seconds,ns_per_object,ratio_to_raw,heap_bytes_per_cached,"
          "rss_bytes_per_cached,peak_rss_bytes,cpu_seconds,cpu_ratio_to_raw,us_per_transaction\n";
    for (KelBenchResult const& r : results) {
        KelBenchResult const* raw = r.kind == "raw" ? nullptr : KelBenchRawPeer(results, r);
        for (int w = 0; w < KelBenchWorkload::count; ++w) {
            std::size_t const i = static_cast<std::size_t>(w);
            os << r.n << ',' << r.database << ',' << r.Contender() << ',' << KelBenchWorkload::Id(w) << ','
               << r.objects[i] << ',' << Fixed(r.seconds[i], 6) << ',' << Fixed(r.NanosPerObject(w), 1) << ',';
            if (raw && raw->seconds[i] > 0) os << Fixed(r.seconds[i] / raw->seconds[i], 3);
            os << ',' << Fixed(r.HeapBytesPerCached(), 1) << ',' << Fixed(r.ResidentBytesPerCached(), 1) << ','
               << r.peakResident << ',' << Fixed(r.cpuSeconds[i], 6) << ',';
            if (raw && raw->cpuSeconds[i] > 0) os << Fixed(r.cpuSeconds[i] / raw->cpuSeconds[i], 3);
            os << ',';
            if (w == KelBenchWorkload::SmallTxns) os << Fixed(MicrosPerTransaction(r), 2);
            os << '\n';
        }
    }
}

std::string KelBenchPlotScript(std::string const& csvFile, std::string const& svgFile)
{
    std::ostringstream gp;
    gp << "# Growth curves of the keldatom benchmark; run: gnuplot "
       << "growth.gp\n"
       << "csv = '" << csvFile << "'\n"
       << "set terminal svg size 1200,1200 dynamic font 'sans,11'\n"
       << "set output '" << svgFile << "'\n"
       << R"(set datafile separator ','
set key outside right top
set logscale x 10
set format x '%.0f'
set grid
set xlabel 'N (system log records written)'
contenders = system("tail -n +2 '" . csv . "' | cut -d, -f3 | awk '!seen[$0]++' | tr '\n' ' '")
workloads = 'W1 W1w W2 W3 W4 W5 W6'
# The lines of one contender (column 3) and workload (column 4), so that each curve is continuous.
rows(c, w) = sprintf("< awk -F, '$3 == \"%s\" && $4 == \"%s\"' '%s'", c, w, csv)
set multiplot layout 3,1 title 'keldatom: object manager against raw SQL (dash type: contender, colour: workload)'
set logscale y 10
set ylabel 'seconds per workload'
plot for [ci=1:words(contenders)] for [wi=1:words(workloads)] rows(word(contenders, ci), word(workloads, wi)) \
     using 1:6 with linespoints lc wi dt ci title word(contenders, ci).' '.word(workloads, wi)
set ylabel 'nanoseconds per object'
plot for [ci=1:words(contenders)] for [wi=1:words(workloads)] rows(word(contenders, ci), word(workloads, wi)) \
     using 1:7 with linespoints lc wi dt ci title word(contenders, ci).' '.word(workloads, wi)
unset logscale y
set yrange [0:*]
set ylabel 'bytes per cached object (W2)'
plot for [ci=1:words(contenders)] rows(word(contenders, ci), 'W2') \
     using 1:9 with linespoints lc ci dt 1 title word(contenders, ci).' heap', \
     for [ci=1:words(contenders)] rows(word(contenders, ci), 'W2') \
     using 1:10 with linespoints lc ci dt 3 title word(contenders, ci).' RSS'
unset multiplot
)";
    return gp.str();
}
