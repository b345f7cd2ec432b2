// KelBenchRawPostgreSQL: the floor of the benchmark on PostgreSQL. The workloads'
// statements through libpq, prepared once, parameters and results in binary form,
// reading into plain structs; nothing cached beyond the rows a workload keeps.
// Prepare drops and creates the two tables it uses in the database of the URL.
#pragma once

#include "bench/kelbcont.hpp"
#include "bench/kelbraw.hpp"

#include <string>
#include <vector>

struct pg_conn;

class KelBenchRawPostgreSQL : public KelBenchContender {
public:
    explicit KelBenchRawPostgreSQL(std::string url);
    ~KelBenchRawPostgreSQL() override;

    std::string Kind() const override { return "raw"; }
    std::string Database() const override { return "postgresql"; }
    void Prepare(KelBenchData const& data) override;
    std::size_t Write(KelBenchData const& data) override;
    std::size_t ReadSystem(KelBenchData const& data) override;
    std::size_t Hits(KelBenchData const& data, int rounds, std::uint64_t& sum) override;
    std::size_t RefreshAll(KelBenchData const& data) override;
    void EndRead() override;
    std::size_t LockAndUpdate(KelBenchData const& data) override;
    void Finish() override;

    std::vector<KelBenchRawLogRow> const& Kept() const { return _kept; }

private:
    void Exec(char const* sql);

    std::string _url;
    pg_conn* _conn = nullptr;
    std::vector<KelBenchRawLogRow> _kept;
};
