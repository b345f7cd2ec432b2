// KelBenchObjectManager: the object manager as the administration server uses it, on
// SQLite or PostgreSQL, through the public interface only: KelDatabase for the
// transaction, KelTOMForAdminServer for the managers, Create/assign/Flush for writing,
// the managers' queries and MaterializeForRead for reading, TxnHasBeenCommitted after
// every commit; the small transactions through KelTxnRunner, as a server runs them. Counts come from the accessors'
// call statistics, so a workload is seen to have reached the database as often as it should.
#pragma once

#include "bench/kelbcont.hpp"
#include "kernel/kelkstr.hpp"

#include <memory>
#include <string>
#include <vector>

class KelDatabase;
class KelTOMForAdminServer;
class KelSystemLogRecord;

class KelBenchObjectManager : public KelBenchContender {
public:
    // database: "sqlite" or "postgresql"; url: what KelDatabase::Open takes; sqlitePath:
    // the file behind a SQLite URL, removed by Prepare and Finish (empty for PostgreSQL,
    // whose tables Prepare drops and creates).
    KelBenchObjectManager(std::string database, std::string url, std::string sqlitePath);
    ~KelBenchObjectManager() override;

    std::string Kind() const override { return "om"; }
    std::string Database() const override { return _database; }
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

    std::vector<KelSystemLogRecord const*> const& Read() const { return _read; }

private:
    // Assigns the record made for `in` to `record`, as a caller fills a created record.
    void Fill(KelSystemLogRecord& record, KelBenchLogInput const& in) const;

    std::string _database;
    std::string _url;
    std::string _sqlitePath;
    std::unique_ptr<KelDatabase> _db;
    std::unique_ptr<KelTOMForAdminServer> _tom;
    // The texts shared by many records, made once as a caller would keep them.
    std::vector<KelString> _systemNames;
    KelString _systemGroup;
    std::vector<KelSystemLogRecord const*> _read;
};
