// The benchmark's contenders do the same work: the object manager leaves raw SQL's rows, in its order.
#include "bench/kelbrawsq.hpp"
#include "bench/kelbtom.hpp"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// Every column of every row as SQLite quotes it (type and value), in the given order.
std::string Dump(std::string const& path, std::string const& table, char const* key)
{
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    auto rows = [db](std::string const& sql) {
        std::vector<std::string> out;
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr);
        while (sqlite3_step(stmt) == SQLITE_ROW)
            out.emplace_back(reinterpret_cast<char const*>(sqlite3_column_text(stmt, 0)));
        sqlite3_finalize(stmt);
        return out;
    };
    std::string columns, text;
    for (std::string const& name : rows("SELECT name FROM pragma_table_info('" + table + "')"))
        columns += (columns.empty() ? "quote(" : " || ',' || quote(") + name + ")";
    for (std::string const& row : rows("SELECT " + columns + " FROM " + table + " ORDER BY " + key)) text += row + "\n";
    sqlite3_close(db);
    return text;
}

}  // namespace

TEST(BenchObjectManager, WritesAndUpdatesTheSameRowsAsRawSql)
{
    KelBenchData const data(400, 6);
    std::string const suffix = std::to_string(::getpid()) + ".db";
    std::string const rawPath = "/tmp/keldatom_bench_raw" + suffix, omPath = "/tmp/keldatom_bench_om" + suffix;
    KelBenchRawSQLite raw(rawPath);
    KelBenchObjectManager om("sqlite", "sqlite:" + omPath, omPath);
    raw.Prepare(data);
    om.Prepare(data);

    EXPECT_EQ(raw.Write(data), 400u);
    EXPECT_EQ(om.Write(data), 400u);
    // In the same physical order too: the later workloads read the same pages.
    std::string const written = Dump(rawPath, "kel_system_log", "rowid");
    EXPECT_EQ(std::count(written.begin(), written.end(), '\n'), 400);
    EXPECT_NE(written.find("'queue3;job3;3'"), std::string::npos);
    EXPECT_EQ(Dump(omPath, "kel_system_log", "rowid"), written);

    EXPECT_EQ(raw.LockAndUpdate(data), 40u);
    EXPECT_EQ(om.LockAndUpdate(data), 40u);
    std::string const updated = Dump(rawPath, "kel_svr_instance_state", "svr_oid");
    EXPECT_NE(updated.find(",3,'2023-11-15-22.13.20.500000',"), std::string::npos) << updated;
    EXPECT_EQ(Dump(omPath, "kel_svr_instance_state", "svr_oid"), updated);

    // Small transactions: each one's state, instances and record, the last one's change kept.
    EXPECT_EQ(raw.SmallTransactions(data, 6), 6u);
    EXPECT_EQ(om.SmallTransactions(data, 6), 6u);
    for (auto const& [table, key] : {std::pair<char const*, char const*>{"kel_system_state", "system_oid"},
                                     {"kel_svr_instance_state", "svr_oid"},
                                     {"kel_system_log", "rowid"}})
        EXPECT_EQ(Dump(omPath, table, key), Dump(rawPath, table, key)) << table;
    std::string const state = Dump(rawPath, "kel_system_state", "system_oid");
    EXPECT_NE(state.find(",'2023-11-17-05.46.45.000006',3"), std::string::npos) << state;
    EXPECT_EQ(std::count(state.begin(), state.end(), '\n'), 1);
    raw.Finish();
    om.Finish();
}
