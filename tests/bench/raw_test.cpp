// The raw contenders against real databases: what they write is what they read back,
// column for column, and each workload touches exactly the rows it should.
#include "bench/kelbmeas.hpp"
#include "bench/kelbrawpg.hpp"
#include "bench/kelbrawsq.hpp"
#include "bench/kelbrun.hpp"
#include "db/keldb.hpp"

#include <gtest/gtest.h>
#include <libpq-fe.h>
#include <sqlite3.h>

#include <unistd.h>
#include <cstdlib>
#include <map>
#include <string>

namespace {

std::string PgUrl()
{
    char const* url = std::getenv("KELDATOM_PG_URL");
    return url ? url : "";
}

// A second connection that counts rows independently of the contender.
struct SQLiteSide {
    using Contender = KelBenchRawSQLite;
    std::string path = "/tmp/keldatom_bench_test_" + std::to_string(::getpid()) + ".db";
    static bool Available() { return true; }
    Contender Make() const { return Contender(path); }
    long Count(char const* sql) const
    {
        sqlite3* db = nullptr;
        sqlite3_open(path.c_str(), &db);
        long count = -1;
        sqlite3_exec(
            db, sql,
            [](void* out, int, char** values, char**) {
                *static_cast<long*>(out) = std::atol(values[0]);
                return 0;
            },
            &count, nullptr);
        sqlite3_close(db);
        return count;
    }
};

struct PostgreSQLSide {
    using Contender = KelBenchRawPostgreSQL;
    static bool Available() { return !PgUrl().empty(); }
    static constexpr char const* schema = "keldatom_bench_test";
    Contender Make() const { return Contender(PgUrl(), schema); }
    long Count(char const* sql) const
    {
        PGconn* conn = PQconnectdb(KelBenchPgUrlInSchema(PgUrl(), schema).c_str());
        PGresult* r = PQexec(conn, sql);
        long const count = PQresultStatus(r) == PGRES_TUPLES_OK ? std::atol(PQgetvalue(r, 0, 0)) : -1;
        PQclear(r);
        PQfinish(conn);
        return count;
    }
};

template <class Side>
class BenchRawContender : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!Side::Available()) GTEST_SKIP() << "KELDATOM_PG_URL is not set";
    }
    Side side;
};

using Sides = ::testing::Types<SQLiteSide, PostgreSQLSide>;
TYPED_TEST_SUITE(BenchRawContender, Sides);

bool SameRow(KelBenchRawLogRow const& a, KelBenchRawLogRow const& b)
{
    return a.objectId == b.objectId && a.creationTime == b.creationTime && a.system == b.system &&
           a.systemGroup == b.systemGroup && a.messageNumber == b.messageNumber && a.severity == b.severity &&
           a.messageClass == b.messageClass && a.messageType == b.messageType && a.iMessageType == b.iMessageType &&
           a.errorFlag == b.errorFlag && a.svrKind == b.svrKind && a.iSvrKind == b.iSvrKind &&
           a.svrState == b.svrState && a.iSvrState == b.iSvrState && a.iException == b.iException &&
           (a.iException == -1 || a.exception == b.exception) && a.eventIdentifier == b.eventIdentifier &&
           a.iEventIdentifier == b.iEventIdentifier && a.userId == b.userId && a.iUserId == b.iUserId &&
           a.messageParameters == b.messageParameters && a.iMessageParameters == b.iMessageParameters;
}

}  // namespace

TYPED_TEST(BenchRawContender, ReadsBackEveryColumnItWroteAndUpdatesOnlyTheSystemsInstances)
{
    KelBenchData const data(400);
    auto contender = this->side.Make();
    contender.Prepare(data);
    EXPECT_EQ(this->side.Count("SELECT count(*) FROM kel_svr_instance_state"), 40);
    EXPECT_EQ(this->side.Count("SELECT count(*) FROM kel_system_log"), 0);

    EXPECT_EQ(contender.Write(data), 400u);
    EXPECT_EQ(this->side.Count("SELECT count(*) FROM kel_system_log"), 400);
    EXPECT_EQ(this->side.Count("SELECT count(*) FROM kel_system_log WHERE exception_no IS NULL"), 134);

    ASSERT_EQ(contender.ReadSystem(data), 100u);
    std::map<KelBenchOid, KelBenchRawLogRow> written;
    for (KelBenchLogInput const& in : data.logs) KelBenchRawRowOf(in, written[in.objectId]);
    for (std::size_t i = 0; i < contender.Kept().size(); ++i) {
        KelBenchRawLogRow const& row = contender.Kept()[i];
        EXPECT_EQ(row.objectId, data.ReadKeys()[i]) << "key order";
        EXPECT_TRUE(SameRow(row, written[row.objectId])) << i;
    }
    EXPECT_EQ(contender.Kept()[0].messageParameters.find(';'), contender.Kept()[0].messageParameters.find("job") - 1);

    EXPECT_EQ(contender.Hits(data, 3), 300u);
    std::uint64_t sum = 0;
    for (KelBenchLogInput const& in : data.logs)
        if (in.system == KelBenchData::ReadSystem()) sum += static_cast<std::uint64_t>(in.messageNumber);
    EXPECT_EQ(contender.KeptSum(), sum);
    EXPECT_EQ(contender.RefreshAll(data), 100u);
    EXPECT_TRUE(SameRow(contender.Kept()[7], written[contender.Kept()[7].objectId]));
    contender.EndRead();
    EXPECT_TRUE(contender.Kept().empty());

    EXPECT_EQ(contender.LockAndUpdate(data), 40u);
    EXPECT_EQ(this->side.Count("SELECT count(*) FROM kel_svr_instance_state WHERE svr_state = 3"), 40);
    EXPECT_EQ(contender.LockAndUpdate(data), 40u) << "an update to the same values still updates each row";
    contender.Finish();
}

TEST(BenchPostgreSQL, TheSearchPathReachesEveryFormOfConnectionString)
{
    EXPECT_EQ(KelBenchPgUrlInSchema("postgresql://u@h:5/db", "s1"), "postgresql://u@h:5/db?options=-csearch_path%3Ds1");
    EXPECT_EQ(KelBenchPgUrlInSchema("postgresql://h/db?sslmode=disable", "s1"),
              "postgresql://h/db?sslmode=disable&options=-csearch_path%3Ds1");
    EXPECT_EQ(KelBenchPgUrlInSchema("host=h dbname=db", "s1"), "host=h dbname=db options='-csearch_path=s1'");
}

TEST(BenchRun, ChecksEveryWorkloadsCountAndTimesThem)
{
    KelBenchData const data(400);
    KelBenchRawSQLite contender("/tmp/keldatom_bench_run_" + std::to_string(::getpid()) + ".db");
    KelBenchResult const r = KelBenchRun(contender, data);
    EXPECT_EQ(r.Contender(), "raw-sqlite");
    EXPECT_EQ(r.objects, (std::array<std::size_t, 6>{400, 400, 100, 100 * kelBenchHitRounds, 40, 100}));
    for (double s : r.seconds) EXPECT_GT(s, 0.0);
    EXPECT_EQ(r.cached, 100u);
    if (KelBenchHeapMeasurable()) {
        EXPECT_GT(r.HeapBytesPerCached(), 100.0) << "a kept row holds at least its texts";
    }
    EXPECT_GT(r.keptSum, 0u);
}

namespace {

// The CREATE statements that SQLite keeps for the two tables and their indexes.
std::string SchemaOf(std::string const& path)
{
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    std::string text;
    sqlite3_exec(
        db,
        "SELECT name || ': ' || sql FROM sqlite_master WHERE tbl_name IN ('kel_system_log', "
        "'kel_svr_instance_state') AND sql IS NOT NULL ORDER BY name",
        [](void* out, int, char** values, char**) {
            *static_cast<std::string*>(out) += std::string(values[0]) + "\n";
            return 0;
        },
        &text, nullptr);
    sqlite3_close(db);
    return text;
}

}  // namespace

TEST(BenchRawSchema, IsTheSchemaThatTheLibraryCreates)
{
    std::string const raw = "/tmp/keldatom_bench_raw_" + std::to_string(::getpid()) + ".db";
    std::string const lib = "/tmp/keldatom_bench_lib_" + std::to_string(::getpid()) + ".db";
    KelBenchRawSQLite contender(raw);
    contender.Prepare(KelBenchData(40));
    KelBenchRemoveSQLiteFiles(lib);
    KelDatabase::Open("sqlite:" + lib)->CreateSchema();
    std::string const expected = SchemaOf(lib);
    EXPECT_NE(expected.find("kel_system_log_system_name_ix"), std::string::npos);
    EXPECT_EQ(SchemaOf(raw), expected);
    contender.Finish();
    KelBenchRemoveSQLiteFiles(lib);
}
