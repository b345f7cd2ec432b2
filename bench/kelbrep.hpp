// The benchmark's report: a table for people (per size and database, each workload's
// seconds per contender, the ratio object manager / raw, nanoseconds per object, and the
// memory of the bulk read's cache), the same figures as CSV for plotting, and the
// gnuplot script that draws the growth curves from that CSV.
#pragma once

#include "bench/kelbrun.hpp"

#include <iosfwd>
#include <string>
#include <vector>

// The raw result of the same size and database, or null.
KelBenchResult const* KelBenchRawPeer(std::vector<KelBenchResult> const& results, KelBenchResult const& r);

// `sqliteSynchronous`: the synchronous setting of the SQLite contenders, for the titles.
void KelBenchPrintTable(std::ostream& os, std::vector<KelBenchResult> const& results,
                        std::string const& sqliteSynchronous = "NORMAL");

// One line per contender, size and workload, after a header line:
// n,database,contender,workload,objects,seconds,ns_per_object,ratio_to_raw,
// heap_bytes_per_cached,rss_bytes_per_cached,peak_rss_bytes,cpu_seconds,cpu_ratio_to_raw,
// us_per_transaction (the ratios empty for the raw contenders themselves, the last column
// for every workload but W6).
void KelBenchWriteCsv(std::ostream& os, std::vector<KelBenchResult> const& results);

// A gnuplot script that reads `csvFile` and writes `svgFile` (both names as the script
// will see them, relative to where gnuplot runs).
std::string KelBenchPlotScript(std::string const& csvFile, std::string const& svgFile);
