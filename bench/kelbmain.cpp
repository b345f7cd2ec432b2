// keldatom_bench: the object manager against raw SQL on the same rows in the same run,
// at growing sizes. Run by hand (never by the tests):
//   build/bench/keldatom_bench [--large] [--sizes 10000,100000] [--out DIR] [--no-plot]
//                              [--w6 T] [--synchronous normal|full]
// PostgreSQL contenders run when KELDATOM_PG_URL names a database.
#include "bench/kelbcont.hpp"
#include "bench/kelbdata.hpp"
#include "bench/kelbrawpg.hpp"
#include "bench/kelbrawsq.hpp"
#include "bench/kelbrep.hpp"
#include "bench/kelbrun.hpp"
#include "bench/kelbtom.hpp"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

// The benchmark's tables on PostgreSQL live in a schema of their own.
char const* const pgSchema = "keldatom_bench";

struct Options {
    std::vector<std::size_t> sizes{10000, 100000};
    std::string out = "bench-out";
    bool plot = true;
    bool postgres = true;
    std::string only;  // "om", "raw" or "rawpipe": run that kind alone (for profiling)
    int repeat = 3;
    // W6's transactions per contender and run; 0: the database's default below.
    std::size_t transactions = 0;
    std::string synchronous = "normal";  // of the SQLite contenders
};

// W6's default number of transactions: a PostgreSQL commit waits for its WAL flush, which
// makes a transaction there several times slower than on SQLite.
std::size_t Transactions(Options const& options, std::string const& database)
{
    if (options.transactions) return options.transactions;
    return database == "sqlite" ? 5000 : 2000;
}

std::string Upper(std::string text)
{
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

std::vector<std::size_t> ParseSizes(std::string const& text)
{
    std::vector<std::size_t> sizes;
    std::istringstream in(text);
    std::string item;
    while (std::getline(in, item, ',')) sizes.push_back(static_cast<std::size_t>(std::stoull(item)));
    return sizes;
}

void Usage(std::ostream& os)
{
    os << "usage: keldatom_bench [--large] [--sizes N,N,...] [--out DIR] [--no-plot] [--no-postgresql]\n"
          "                      [--repeat R] [--only om|raw|rawpipe] [--w6 T] [--synchronous normal|full]\n"
          "  --large          add N = 1,000,000 to the default sizes 10,000 and 100,000\n"
          "  --sizes          the sizes to run (each a multiple of 40)\n"
          "  --out            directory for the SQLite files, bench.csv, growth.gp and growth.svg\n"
          "                   (default bench-out)\n"
          "  --repeat         runs of every contender and size, the best time of each workload\n"
          "                   counts (default 3; the contenders take turns)\n"
          "  --no-plot        do not run gnuplot\n"
          "  --no-postgresql  skip PostgreSQL even when KELDATOM_PG_URL is set\n"
          "  --only           run one kind of contender alone, e.g. under a profiler\n"
          "  --w6             small transactions of W6 per contender and run (default 5,000 on\n"
          "                   SQLite, 2,000 on PostgreSQL)\n"
          "  --synchronous    SQLite's synchronous setting for the whole run (default normal)\n";
}

// The contenders of one database, raw first.
std::vector<std::unique_ptr<KelBenchContender>> Contenders(std::string const& database, Options const& options,
                                                           std::string const& pgUrl)
{
    std::vector<std::unique_ptr<KelBenchContender>> list;
    if (database == "sqlite") {
        list.push_back(std::make_unique<KelBenchRawSQLite>(options.out + "/raw.db", Upper(options.synchronous)));
        std::string const om = options.out + "/om.db";
        list.push_back(std::make_unique<KelBenchObjectManager>(
            database, "sqlite:" + om + "?synchronous=" + options.synchronous, om));
    } else {
        list.push_back(std::make_unique<KelBenchRawPostgreSQL>(pgUrl, pgSchema));
        list.push_back(std::make_unique<KelBenchRawPostgreSQL>(pgUrl, pgSchema, true));
        list.push_back(
            std::make_unique<KelBenchObjectManager>(database, KelBenchPgUrlInSchema(pgUrl, pgSchema), std::string()));
    }
    return list;
}

}  // namespace

int main(int argc, char** argv)
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        std::string const arg = argv[i];
        if (arg == "--large") {
            options.sizes.push_back(1000000);
        } else if (arg == "--sizes" && i + 1 < argc) {
            options.sizes = ParseSizes(argv[++i]);
        } else if (arg == "--out" && i + 1 < argc) {
            options.out = argv[++i];
        } else if (arg == "--no-plot") {
            options.plot = false;
        } else if (arg == "--no-postgresql") {
            options.postgres = false;
        } else if (arg == "--repeat" && i + 1 < argc) {
            options.repeat = std::max(1, std::atoi(argv[++i]));
        } else if (arg == "--only" && i + 1 < argc) {
            options.only = argv[++i];
        } else if (arg == "--w6" && i + 1 < argc) {
            options.transactions = static_cast<std::size_t>(std::max(1ll, std::atoll(argv[++i])));
        } else if (arg == "--synchronous" && i + 1 < argc &&
                   (std::string(argv[i + 1]) == "normal" || std::string(argv[i + 1]) == "full")) {
            options.synchronous = argv[++i];
        } else {
            Usage(arg == "--help" || arg == "-h" ? std::cout : std::cerr);
            return arg == "--help" || arg == "-h" ? 0 : 2;
        }
    }
    char const* pg = std::getenv("KELDATOM_PG_URL");
    std::string const pgUrl = pg ? pg : "";
    std::vector<std::string> databases{"sqlite"};
    if (options.postgres && !pgUrl.empty()) databases.push_back("postgresql");
    ::mkdir(options.out.c_str(), 0755);
    std::size_t transactions = 0;
    for (std::string const& database : databases)
        transactions = std::max(transactions, Transactions(options, database));

    std::vector<KelBenchResult> results;
    try {
        for (std::size_t n : options.sizes) {
            KelBenchData const data(n, transactions);
            std::vector<KelBenchResult> ofSize;
            for (int round = 0; round < options.repeat; ++round) {
                std::size_t next = 0;
                for (std::string const& database : databases) {
                    for (auto& contender : Contenders(database, options, pgUrl)) {
                        if (!options.only.empty() && contender->Kind() != options.only) continue;
                        std::cerr << "N=" << n << " " << contender->Kind() << "-" << database << " run " << round + 1
                                  << "/" << options.repeat << std::endl;
                        KelBenchResult const r = KelBenchRun(*contender, data, Transactions(options, database));
                        if (round == 0)
                            ofSize.push_back(r);
                        else
                            KelBenchKeepBest(ofSize[next], r);
                        KelBenchResult const* raw = KelBenchRawPeer(ofSize, r);
                        if (raw && raw->keptSum != r.keptSum)
                            throw std::runtime_error(r.Contender() + " saw other rows than " + raw->Contender());
                        ++next;
                    }
                }
            }
            KelBenchPrintTable(std::cout, ofSize, Upper(options.synchronous));
            std::cout.flush();
            results.insert(results.end(), ofSize.begin(), ofSize.end());
        }
    } catch (std::exception const& e) {
        std::cerr << "keldatom_bench: " << e.what() << "\n";
        return 1;
    }

    std::ofstream csv(options.out + "/bench.csv");
    KelBenchWriteCsv(csv, results);
    csv.close();
    std::ofstream gp(options.out + "/growth.gp");
    gp << KelBenchPlotScript("bench.csv", "growth.svg");
    gp.close();
    std::cout << "\nCSV: " << options.out << "/bench.csv\n";
    if (options.plot && std::system("command -v gnuplot >/dev/null 2>&1") != 0) {
        std::cerr << "keldatom_bench: no plot: gnuplot is not installed (apt-get install gnuplot-nox); the script is "
                  << options.out << "/growth.gp\n";
    } else if (options.plot) {
        std::string const command = "cd '" + options.out + "' && gnuplot growth.gp";
        if (std::system(command.c_str()) == 0)
            std::cout << "growth curves: " << options.out << "/growth.svg\n";
        else
            std::cerr << "keldatom_bench: gnuplot failed; the script is " << options.out << "/growth.gp\n";
    }
    return 0;
}
