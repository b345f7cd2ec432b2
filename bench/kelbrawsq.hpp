// KelBenchRawSQLite: the floor of the benchmark on SQLite. The workloads' statements
// through the sqlite3 C API, prepared once, reading into plain structs; nothing cached
// beyond the rows a workload keeps. A file database in WAL mode, synchronous NORMAL unless
// the benchmark asks for FULL.
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
    // `synchronous`: "NORMAL" or "FULL", a constant of the program.
    explicit KelBenchRawSQLite(std::string path, std::string synchronous = "NORMAL");
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
    std::size_t SmallTransactions(KelBenchData const& data, std::size_t count) override;
    void Finish() override;

    // The rows that ReadSystem kept (for tests).
    std::vector<KelBenchRawLogRow> const& Kept() const { return _kept; }

private:
    void Close();
    void Exec(char const* sql);
    sqlite3_stmt* Prepare(std::string const& sql);
    // The instances of a system, locked, in key order.
    void LockInstances(KelBenchOid const& systemOid, std::vector<KelBenchRawInstanceRow>& rows);
    std::size_t UpdateInstance(KelBenchRawInstanceRow const& row);

    std::string _path;
    std::string _synchronous;
    sqlite3* _db = nullptr;
    sqlite3_stmt* _logInsert = nullptr;
    sqlite3_stmt* _logBySystem = nullptr;
    sqlite3_stmt* _logByKey = nullptr;
    sqlite3_stmt* _instanceInsert = nullptr;
    sqlite3_stmt* _lockInstances = nullptr;
    sqlite3_stmt* _instanceUpdate = nullptr;
    sqlite3_stmt* _stateInsert = nullptr;
    sqlite3_stmt* _lockState = nullptr;
    sqlite3_stmt* _stateUpdate = nullptr;
    sqlite3_stmt* _begin = nullptr;
    sqlite3_stmt* _commit = nullptr;
    std::vector<KelBenchRawLogRow> _kept;
};

// Removes a database file with its WAL and shared-memory files.
void KelBenchRemoveSQLiteFiles(std::string const& path);
