// KelBenchRawSQLite: the floor of the benchmark on SQLite. The workloads' statements
// through the sqlite3 C API, prepared once, reading into plain structs; nothing cached
// beyond the rows a workload keeps. A file database in WAL mode with synchronous NORMAL.
#pragma once

#include "bench/kelbcont.hpp"
#include "bench/kelbraw.hpp"

#include <string>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

class KelBenchRawSQLite : public KelBenchContender {
public:
    // The database file; Prepare removes whatever is there, Finish removes it again.
    explicit KelBenchRawSQLite(std::string path);
    ~KelBenchRawSQLite() override;

    std::string Kind() const override { return "raw"; }
    std::string Database() const override { return "sqlite"; }
    void Prepare(KelBenchData const& data) override;
    std::size_t Write(KelBenchData const& data) override;
    std::size_t ReadSystem(KelBenchData const& data) override;
    std::size_t Hits(KelBenchData const& data, int rounds) override;
    std::uint64_t KeptSum() const override;
    std::size_t RefreshAll(KelBenchData const& data) override;
    void EndRead() override;
    std::size_t LockAndUpdate(KelBenchData const& data) override;
    void Finish() override;

    // The rows that ReadSystem kept (for tests).
    std::vector<KelBenchRawLogRow> const& Kept() const { return _kept; }

private:
    void Close();
    void Exec(char const* sql);
    sqlite3_stmt* Prepare(std::string const& sql);

    std::string _path;
    sqlite3* _db = nullptr;
    sqlite3_stmt* _logInsert = nullptr;
    sqlite3_stmt* _logBySystem = nullptr;
    sqlite3_stmt* _logByKey = nullptr;
    sqlite3_stmt* _instanceInsert = nullptr;
    sqlite3_stmt* _lockInstances = nullptr;
    sqlite3_stmt* _instanceUpdate = nullptr;
    std::vector<KelBenchRawLogRow> _kept;
};

// Makes every SQLite connection that the process opens from now on (the library's too)
// run with synchronous NORMAL, the setting that goes with WAL mode.
void KelBenchSQLiteSynchronousNormal();

// Removes a database file with its WAL and shared-memory files.
void KelBenchRemoveSQLiteFiles(std::string const& path);
