// KelBenchRawPostgreSQL: the floor of the benchmark on PostgreSQL. The workloads'
// statements through libpq, prepared once, parameters and results in binary form,
// reading into plain structs; nothing cached beyond the rows a workload keeps.
// Prepare drops and creates the three tables it uses in a schema of its own (created where
// missing), so that it never touches the tables of the database's other users.
// Pipelined ("rawpipe"), the writes of W1 and W4 go out as one libpq pipeline each, the
// results read in order afterwards: the floor of writing without a round trip per row.
#pragma once

#include "bench/kelbcont.hpp"
#include "bench/kelbraw.hpp"

#include <string>
#include <vector>

struct pg_conn;

class KelBenchRawPostgreSQL : public KelBenchContender {
public:
    // `schema`: a plain SQL identifier chosen by the program, never a user's value.
    KelBenchRawPostgreSQL(std::string url, std::string schema, bool pipelined = false);
    ~KelBenchRawPostgreSQL() override;

    std::string Kind() const override { return _pipelined ? "rawpipe" : "raw"; }
    std::string Database() const override { return "postgresql"; }
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

    std::vector<KelBenchRawLogRow> const& Kept() const { return _kept; }

private:
    void Exec(char const* sql);

    std::string _url;
    std::string _schema;
    bool _pipelined;
    pg_conn* _conn = nullptr;
    std::vector<KelBenchRawLogRow> _kept;
};

// The connection URL or conninfo with the search path set to `schema`, for connections
// that cannot set it themselves (the library's).
std::string KelBenchPgUrlInSchema(std::string const& url, std::string const& schema);
