// The object-manager contender does the raw contender's work: the same rows end up in the
// tables, and the harness's counts hold for it on both databases.
#include "bench/kelbmeas.hpp"
#include "bench/kelbrawpg.hpp"
#include "bench/kelbrawsq.hpp"
#include "bench/kelbrun.hpp"
#include "bench/kelbtom.hpp"
#include "objects/kelmtadm.hpp"

#include <gtest/gtest.h>
#include <libpq-fe.h>
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <string>

namespace {

// Every column of every row as SQLite quotes it (type and value), in the given order.
std::string Dump(std::string const& path, char const* table, char const* key)
{
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    std::string columns;
    std::string const info = std::string("SELECT name FROM pragma_table_info('") + table + "')";
    sqlite3_exec(
        db, info.c_str(),
        [](void* out, int, char** values, char**) {
            std::string& cols = *static_cast<std::string*>(out);
            cols += (cols.empty() ? "quote(" : " || ',' || quote(") + std::string(values[0]) + ")";
            return 0;
        },
        &columns, nullptr);
    std::string text;
    std::string const sql = "SELECT " + columns + " FROM " + table + " ORDER BY " + key;
    sqlite3_exec(
        db, sql.c_str(),
        [](void* out, int, char** values, char**) {
            *static_cast<std::string*>(out) += std::string(values[0]) + "\n";
            return 0;
        },
        &text, nullptr);
    sqlite3_close(db);
    return text;
}

std::string TempPath(char const* name)
{
    return "/tmp/keldatom_bench_" + std::string(name) + std::to_string(::getpid()) + ".db";
}

}  // namespace

TEST(BenchObjectManager, WritesAndUpdatesTheSameRowsAsRawSql)
{
    KelBenchData const data(400);
    std::string const rawPath = TempPath("raw"), omPath = TempPath("om");
    KelBenchRawSQLite raw(rawPath);
    KelBenchObjectManager om("sqlite", "sqlite:" + omPath, omPath);
    raw.Prepare(data);
    om.Prepare(data);
    EXPECT_EQ(Dump(omPath, "kel_svr_instance_state", "svr_oid"), Dump(rawPath, "kel_svr_instance_state", "svr_oid"));

    EXPECT_EQ(raw.Write(data), 400u);
    EXPECT_EQ(om.Write(data), 400u);
    // In the same physical order too: the later workloads read the same pages.
    std::string const written = Dump(rawPath, "kel_system_log", "rowid");
    EXPECT_EQ(std::count(written.begin(), written.end(), '\n'), 400);
    EXPECT_NE(written.find("'queue3;job3;3'"), std::string::npos);
    EXPECT_EQ(Dump(omPath, "kel_system_log", "rowid"), written);

    ASSERT_EQ(om.ReadSystem(data), 100u);
    EXPECT_EQ(om.Read().front()->MessageParameters().Size(), 3u);
    EXPECT_EQ(om.Hits(data, 2), 200u) << "every look-up a hit, none reaching the database";
    EXPECT_EQ(om.RefreshAll(data), 100u);
    om.EndRead();
    EXPECT_TRUE(om.Read().empty());

    EXPECT_EQ(raw.LockAndUpdate(data), 40u);
    EXPECT_EQ(om.LockAndUpdate(data), 40u);
    std::string const updated = Dump(rawPath, "kel_svr_instance_state", "svr_oid");
    EXPECT_NE(updated.find(",3,'2023-11-15-22.13.20.500000',"), std::string::npos) << updated;
    EXPECT_EQ(Dump(omPath, "kel_svr_instance_state", "svr_oid"), updated);
    raw.Finish();
    om.Finish();
}

TEST(BenchObjectManager, RunsEveryWorkloadSeeingWhatRawSqlSees)
{
    KelBenchData const data(400);
    std::string const omPath = TempPath("run"), rawPath = TempPath("runraw");
    KelBenchObjectManager om("sqlite", "sqlite:" + omPath, omPath);
    KelBenchRawSQLite raw(rawPath);
    KelBenchResult const a = KelBenchRun(om, data), b = KelBenchRun(raw, data);
    EXPECT_EQ(a.Contender(), "om-sqlite");
    EXPECT_EQ(a.objects, b.objects);
    EXPECT_EQ(a.keptSum, b.keptSum);
    if (KelBenchHeapMeasurable()) {
        EXPECT_GT(a.HeapBytesPerCached(), 0.0);
    }
}

TEST(BenchObjectManager, RunsOnPostgreSQLInASchemaOfItsOwn)
{
    char const* url = std::getenv("KELDATOM_PG_URL");
    if (!url) GTEST_SKIP() << "KELDATOM_PG_URL is not set";
    KelBenchData const data(400);
    std::uint64_t kept = 0;
    for (KelBenchLogInput const& in : data.logs)
        if (in.system == KelBenchData::ReadSystem()) kept += static_cast<std::uint64_t>(in.messageNumber);
    char const* schema = "keldatom_bench_test";
    // The benchmark's tables stay in their schema: the tables of the database's other users
    // (the library's tests use the same database) are never dropped or created.
    PGconn* conn = PQconnectdb(url);
    auto publicTable = [conn] {
        PGresult* r = PQexec(conn, "SELECT to_regclass('public.kel_system_log') IS NOT NULL");
        std::string const exists = PQresultStatus(r) == PGRES_TUPLES_OK ? PQgetvalue(r, 0, 0) : "?";
        PQclear(r);
        return exists;
    };
    PQclear(PQexec(conn, "CREATE TABLE IF NOT EXISTS public.kel_bench_sentinel (x INTEGER)"));
    std::string const before = publicTable();
    KelBenchRawPostgreSQL pgRaw(url, schema);
    KelBenchObjectManager pgOm("postgresql", KelBenchPgUrlInSchema(url, schema), "");
    KelBenchResult const c = KelBenchRun(pgRaw, data), d = KelBenchRun(pgOm, data);
    EXPECT_EQ(d.Contender(), "om-postgresql");
    EXPECT_EQ(d.objects, c.objects);
    EXPECT_EQ(d.keptSum, c.keptSum);
    EXPECT_EQ(d.keptSum, kept);
    EXPECT_EQ(publicTable(), before);
    PGresult* sentinel = PQexec(conn, "SELECT count(*) FROM public.kel_bench_sentinel");
    EXPECT_EQ(PQresultStatus(sentinel), PGRES_TUPLES_OK);
    PQclear(sentinel);
    PQclear(PQexec(conn, "DROP TABLE public.kel_bench_sentinel"));
    PQfinish(conn);
}
