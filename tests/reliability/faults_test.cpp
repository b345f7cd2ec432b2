// Faults in the middle of a Flush: a clear error and no row left after the rollback.
#include "reltest.hpp"

#include "db/keldrv.hpp"
#include "objects/kelasvin.hpp"

namespace {

// Runs `fault` before building the row of the `at`-th write after Arm.
class FaultyInstances : public KelTOMForSvrInstances {
public:
    using KelTOMForSvrInstances::KelTOMForSvrInstances;
    void Arm(int at, std::function<void()> fault)
    {
        _at = at;
        _rows = 0;
        _fault = std::move(fault);
    }
    KEL_SVR_INSTANCE_STATE* CreateTupleObject(KelSvrInstance const& object) override
    {
        if (_fault && ++_rows == _at) _fault();
        return KelTOMForSvrInstances::CreateTupleObject(object);
    }
    KelCachedObjectState::Type StateOf(KelOID const& key) const
    {
        auto it = LiveEntries().find(key);
        return it == LiveEntries().end() ? KelCachedObjectState::Type(0) : it->second->State();
    }

private:
    int _at = 0;
    int _rows = 0;
    std::function<void()> _fault;
};

TEST(ConnectionFaults, BackendKilledInTheMiddleOfAFlushLeavesNoRowAfterReconnecting)
{
    std::string const name = "kelrel_victim_" + std::to_string(getpid()), url = RelFreshPostgres(name);
    if (url.empty()) GTEST_SKIP() << "KELDATOM_PG_URL is not set";

    std::unique_ptr<KelDatabase> db = KelDatabase::Open(url);
    KelTinyObjectManager tom(*db);
    FaultyInstances instances(tom, *db);
    KelOID const system = KelOID::Generate();
    std::vector<KelOID> oids;
    db->Begin();
    for (int i = 0; i < 5; ++i) {
        oids.push_back(KelOID::Generate());
        if (i < 2) instances.Save(instances.Create({oids.back(), system, KelSenderType::ExecSvr}));
    }
    db->Commit();
    instances.ClearCache();

    // Two rows updated, three inserted; the connection dies when the third row is built.
    db->Begin();
    std::vector<KelSvrInstance*> locked;
    instances.MaterializeSvrsForUpdate(system, locked);
    ASSERT_EQ(locked.size(), 2u);
    for (KelSvrInstance* instance : locked) Increment(*instance);
    for (int i = 2; i < 5; ++i) Increment(instances.Create({oids[i], system, KelSenderType::ExecSvr}));
    int killed = 0;
    instances.Arm(3, [&] { killed += RelTerminateSessions(name); });
    auto e = Caught<KelDBException>([&] { instances.Flush(); });
    ASSERT_TRUE(e) << "a Flush over a dead connection went through";
    EXPECT_EQ(e->Category(), KelDBErrorCategory::ConnectionLost) << e->What();
    EXPECT_FALSE(e->IsRetryable());
    EXPECT_EQ(e->Table(), "kel_svr_instance_state");
    EXPECT_EQ(e->Key(), Printed(oids[2]));
    EXPECT_EQ(killed, 1);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(instances.StateOf(oids[i]), i < 2 ? KelCachedObjectState::Saved : KelCachedObjectState::New) << i;

    // The rollback has nothing left to do; the dead connection says so on its next use.
    EXPECT_FALSE(db->InTransaction());
    EXPECT_NO_THROW(db->Rollback());
    EXPECT_NO_THROW(tom.TxnHasBeenCommitted());
    e = Caught<KelDBException>([&] { db->Begin(); });
    ASSERT_TRUE(e) << "a dead connection began a transaction";
    EXPECT_EQ(e->Category(), KelDBErrorCategory::ConnectionLost);

    std::unique_ptr<KelDatabase> again = KelDatabase::Open(url);
    KelTOMForAdminServer fresh(*again);
    again->Begin();
    std::vector<KelSvrInstance const*> read;
    fresh.ForSvrInstances().MaterializeSvrsForRead(system, read);
    ASSERT_EQ(read.size(), 2u) << "a row of the failed transaction was inserted";
    for (KelSvrInstance const* instance : read) EXPECT_EQ(instance->RequestType(), 0) << "an update survived";
    again->Commit();
    fresh.TxnHasBeenCommitted();
}

class KeyFaults : public AdminDatabaseTest {};

// A row that cannot be built or has gone, or a key another transaction took, stops the Flush at its entry;
// earlier writes stay until the rollback, which keeps the other transaction's row.
TEST_P(KeyFaults, FailedBuildVanishedRowOrTakenKeyStopsTheFlushAtItsEntry)
{
    KelOID const system = KelOID::Generate();
    FaultyInstances instances(*tom, *db);
    db->Begin();
    for (int i = 0; i < 3; ++i) instances.Save(instances.Create({KelOID::Generate(), system, KelSenderType::ExecSvr}));
    Commit();
    instances.ClearCache();
    db->Begin();
    std::vector<KelSvrInstance*> locked;
    instances.MaterializeSvrsForUpdate(system, locked);
    for (KelSvrInstance* instance : locked) Increment(*instance);
    std::vector<KelOID> oids;
    for (auto const& entry : instances.LiveEntries()) oids.push_back(entry.first);
    ASSERT_EQ(oids.size(), 3u);
    instances.Arm(2, [] { throw std::runtime_error("no row"); });
    EXPECT_THROW(instances.Flush(), std::runtime_error);
    EXPECT_EQ(instances.StateOf(oids[0]), KelCachedObjectState::Saved);
    instances.Arm(0, nullptr);
    FaultyInstances deleting(*tom, *db);
    deleting.Delete(oids[1]);
    EXPECT_THROW(instances.Flush(), KelContractViolation);
    EXPECT_EQ(instances.StateOf(oids[1]), KelCachedObjectState::MaterializedForUpdate);
    EXPECT_EQ(instances.StateOf(oids[2]), KelCachedObjectState::MaterializedForUpdate);
    FaultyInstances reader(*tom, *db);
    EXPECT_EQ(reader.MaterializeForRead({}, oids[0]).RequestType(), 1);
    EXPECT_EQ(reader.MaterializeForRead({}, oids[2]).RequestType(), 0) << "a write after the failed one stayed";
    Commit();
    instances.ClearCache();

    KelOID const taker = KelOID::Generate(), a = KelOID::Generate(), b = KelOID::Generate(), c = KelOID::Generate();
    for (KelOID const& oid : {a, b, c}) Increment(instances.Create({oid, taker, KelSenderType::ExecSvr}));
    {
        std::unique_ptr<KelDatabase> other = KelDatabase::Open(url);
        KelTOMForAdminServer otherTom(*other);
        other->Begin();
        KelSvrInstance& taken = otherTom.ForSvrInstances().Create({b, taker, KelSenderType::CleanupSvr});
        taken.SetRequestType(static_cast<KelSvrRequest::Type>(99));
        otherTom.ForSvrInstances().Save(taken);
        other->Commit();
        otherTom.TxnHasBeenCommitted();
    }
    db->Begin();
    db->ResetStatistics();
    Increment(instances.MaterializeForUpdate({}, oids[0]));
    auto e = Caught<KelDBException>([&] { instances.Flush(); });
    ASSERT_TRUE(e) << "a duplicate key was inserted";
    EXPECT_EQ(e->Category(), KelDBErrorCategory::ConstraintViolation) << e->What();
    EXPECT_EQ(e->Table(), "kel_svr_instance_state");
    EXPECT_EQ(e->Key(), Printed(b));
    EXPECT_EQ(instances.DatabaseCalls().insert, 2u);
    EXPECT_EQ(instances.StateOf(a), KelCachedObjectState::Saved);
    EXPECT_EQ(instances.StateOf(b), KelCachedObjectState::New);
    EXPECT_EQ(instances.StateOf(c), KelCachedObjectState::New);
    db->Rollback();
    instances.ClearCache();
    db->Begin();
    Increment(instances.MaterializeForUpdate({}, oids[0]));
    EXPECT_NO_THROW(instances.Flush());
    std::vector<KelSvrInstance const*> read;
    tom->ForSvrInstances().MaterializeSvrsForRead(taker, read);
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0]->SenderType(), KelSenderType::CleanupSvr);
    EXPECT_EQ(read[0]->RequestType(), 99);
    Commit();
}

INSTANTIATE_TEST_SUITE_P(Databases, KeyFaults, testing::Values("sqlite", "postgresql"), DatabaseName);

// Bad options fail the open; a read-only or full file fails the Flush, leaving nothing.
TEST(SqliteFileFaults, ReadOnlyOrFullFileStopsTheFlushAndRollsBackWhole)
{
    AdminSqliteFile file;
    for (char const* bad : {"?max_page_count=", "?max_page_count=0", "?max_page_count=-5", "?max_page_count=12;x",
                            "?max_page_count=99999999999", "?mode=rx", "?cache=shared", "?mode=ro&&"}) {
        auto e = Caught<KelDBException>([&] { KelDatabase::Open(file.Url(bad)); });
        ASSERT_TRUE(e) << "accepted " << bad;
        EXPECT_EQ(e->Category(), KelDBErrorCategory::Other);
        EXPECT_NE(e->Message().find("SQLite option"), std::string::npos) << e->Message();
    }

    std::unique_ptr<KelDatabase> seeding = KelDatabase::Open(file.Url());
    seeding->CreateSchema();
    KelOID const oid = AdminSeedSystem(*seeding, *std::make_unique<KelTOMForAdminServer>(*seeding), "SYS1");
    seeding.reset();
    {
        std::unique_ptr<KelDatabase> db = KelDatabase::Open(file.Url("?mode=ro"));
        KelTOMForAdminServer tom(*db);
        db->Begin();
        tom.ForSystemStates().MaterializeForUpdate({}, oid).SetAdminSvrState(KelSvrState::Running);
        auto e = Caught<KelDBException>([&] { tom.ForSystemStates().Flush(); });
        ASSERT_TRUE(e) << "a read-only file was written";
        EXPECT_EQ(e->Category(), KelDBErrorCategory::ReadOnly) << e->What();
        db->Rollback();
        tom.TxnHasBeenCommitted();
    }
    int pages = 0;
    {
        std::unique_ptr<KelDrvConnection> raw = KelDrvOpen(file.Url());
        auto stmt = raw->Prepare("PRAGMA page_count", "");
        ASSERT_TRUE(stmt->Step());
        pages = stmt->ColumnInt32(0);
    }

    std::unique_ptr<KelDatabase> db = KelDatabase::Open(file.Url("?max_page_count=" + std::to_string(pages + 2)));
    KelTOMForAdminServer tom(*db);
    KelTOMForSystemLogRecords& logs = tom.ForSystemLogs();
    KelSystemLogRecord::Parameters parameters;
    for (int i = 0; i < 4; ++i) parameters.Append(KelString(std::string(250, static_cast<char>('a' + i))));
    for (int i = 0; i < 40; ++i) {
        KelOID const oid = KelOID::Generate();
        logs.Create(KelTOMForSystemLogRecordParms::CreateInpParm(oid)) = AdminLogRecord(oid, parameters);
    }
    db->Begin();
    auto e = Caught<KelDBException>([&] { logs.Flush(); });
    ASSERT_TRUE(e) << "40 records of a kilobyte each fit into two pages";
    EXPECT_EQ(e->Category(), KelDBErrorCategory::Other) << e->What();
    EXPECT_EQ(e->NativeCode() & 0xff, 13) << "SQLITE_FULL";
    EXPECT_EQ(e->Table(), "kel_system_log");
    EXPECT_LT(logs.DatabaseCalls().insert, 40u) << "the Flush went on after the full file";
    db->Rollback();
    tom.TxnHasBeenCommitted();

    std::unique_ptr<KelDatabase> unlimited = KelDatabase::Open(file.Url());
    KelTOMForAdminServer fresh(*unlimited);
    unlimited->Begin();
    std::vector<KelSystemLogRecord const*> read;
    fresh.ForSystemLogs().MaterializeSystemLogRecordsForRead(S("SYS1"), read);
    EXPECT_TRUE(read.empty()) << read.size() << " records of the failed transaction are there";
    EXPECT_EQ(fresh.ForSystemStates().MaterializeForRead({}, oid).AdminSvrState(), KelSvrState::Stopped);
    unlimited->Commit();
    fresh.TxnHasBeenCommitted();
}

}  // namespace
