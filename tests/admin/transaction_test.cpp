// The administration server's object manager over SQLite and PostgreSQL, end to end.
#include "kernel/kelkcon.hpp"

#include "tests/admin/admintest.hpp"

#include <functional>

namespace {

class AdminTransactions : public AdminDatabaseTest {};

}  // namespace

// Log records, system state, staff and topology objects read back as written, by name, OID and key.
TEST_P(AdminTransactions, LogRecordsStateStaffAndTopologyObjectsReadBackByTheirKeys)
{
    KelOID system = AdminSeedSystem(*db, *tom, "SYS1");
    KelOID logOid = KelOID::Generate(), errorOid = KelOID::Generate();

    db->Begin();
    KelSystemLogRecord& log = tom->ForSystemLogs().Create(KelTOMForSystemLogRecordParms::CreateInpParm(logOid));
    KelSystemLogRecord::Parameters parameters;
    for (char const* p : {"first", "second;third", ""}) parameters.Append(S(p));
    log = AdminLogRecord(logOid, parameters);
    KelErrorLogRecord& error = tom->ForErrorLogs().Create(KelTOMForErrorLogRecordParms::CreateInpParm(errorOid));
    error = KelErrorLogRecordBuilder(errorOid)  // no error line: it must read back null
                .CreationTime(KelTimeStamp::Now())
                .System(KelSystemID(S("SYS1"), S("GRP1")))
                .ComponentName(S("exec"))
                .SystemLogID(logOid)
                .DetectionTime(KelTimeStamp::Now())
                .ErrorFile(S("f.cpp"))
                .ErrorDescription(S("it broke"))
                .Build();
    tom->ForSystemLogs().Save(log);
    tom->ForErrorLogs().Flush();
    KelPersonData& person = tom->ForPersons().Create(KelTOMForPersonParms::CreateInpParm(S("alice")));
    person.SetFirstName(S("Alice"));
    KelServerID serverID(KelSvrKind::ExecSvr, S("EXEC1"), S("SYS1"), S("GRP1"));
    KelServerData& server = tom->ForServers().Create(KelTOMForServerParms::CreateInpParm(serverID));
    server.SetLockholder(KelUserID(S("alice"), S("GRP1")));
    server.SetLockholderOID(person.OID());
    tom->ForDomains().Create(KelTOMForDomainParms::CreateInpParm(S("DOM1")));
    KelRoleData& role = tom->ForRoles().Create(KelTOMForRoleParms::CreateInpParm(S("ROLE1")));
    role.SetLockholder(KelUserID(S("alice"), S("GRP1")));
    role.SetLockholderOID(person.OID());
    tom->ForPersons().Flush();
    tom->ForServers().Flush();
    tom->ForDomains().Flush();
    tom->ForRoles().Flush();
    KelOID personOid = person.OID();
    Commit();

    db->Begin();
    EXPECT_EQ(tom->ForSystemStates().MaterializeForReadByName(S("SYS1")).ID(), system);
    std::vector<KelSystemLogRecord const*> logs;
    tom->ForSystemLogs().MaterializeSystemLogRecordsForRead(S("SYS1"), logs);
    ASSERT_EQ(logs.size(), 1u);
    EXPECT_EQ(Texts(logs[0]->MessageParameters()), (std::vector<std::string>{"first", "second", "third", ""}));
    std::vector<KelErrorLogRecord const*> errors;
    tom->ForErrorLogs().MaterializeErrorLogRecordsForRead(logOid, errors);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_TRUE(errors[0]->ErrorLineIsNull());
    std::vector<KelPersonData const*> persons;
    tom->ForPersons().MaterializeAllForRead({}, persons);
    ASSERT_EQ(persons.size(), 1u);
    EXPECT_EQ(persons[0]->OID(), personOid);
    EXPECT_EQ(persons[0]->FirstName(), S("Alice"));
    EXPECT_EQ(tom->ForPersons().OID(KelTOMForPersonParms::CreateInpParm(S("alice"))), personOid);
    // Each search reports its own kinds of objects, as the objects read back show their holder.
    std::vector<KelEntity> found, staff;
    tom->ForTopologySearch().LockedBy(KelUserID(S("alice"), KelString()), found);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].Type(), KelEntityType::Server);
    EXPECT_EQ(found[0].ServerID(), serverID);
    tom->ForSearch().LockedBy(KelUserID(S("alice"), KelString()), staff);
    ASSERT_EQ(staff.size(), 1u);
    EXPECT_EQ(staff[0].Type(), KelEntityType::Role);
    EXPECT_EQ(staff[0].Name(), S("ROLE1"));
    EXPECT_EQ(tom->ForRoles().MaterializeForRead({}, S("ROLE1")).LockholderOID(), personOid);
    EXPECT_EQ(tom->ForServers().MaterializeForRead({}, serverID).Lockholder().Name(), S("alice"));
    EXPECT_EQ(tom->ForDomains().MaterializeForRead({}, S("DOM1")).ID(), S("DOM1"));
    // Objects read as stored have nothing to write.
    EXPECT_EQ((std::vector<bool>{tom->ForPersons().ContainsDirtyObjects(), tom->ForRoles().ContainsDirtyObjects(),
                                 tom->ForServers().ContainsDirtyObjects(), tom->ForDomains().ContainsDirtyObjects()}),
              std::vector<bool>(4, false));
    Commit();
}

TEST_P(AdminTransactions, InstanceQueriesMergeWithTheCacheSuspensionNeedsEmptyCachesAndFlushWritesNulls)
{
    std::vector<KelOID> oids;
    KelOID system = AdminSeedSystem(*db, *tom, "SYS1", 2, &oids);

    db->Begin();
    auto& cache = tom->ForSvrInstances();
    // Both read queries return the cached, changed object; the update query upgrades the other in place.
    KelSvrInstance& locked = cache.MaterializeForUpdate({}, oids[0]);
    locked.SetServerState(KelSvrState::Failed);
    std::vector<KelSvrInstance const*> byOid, byName;
    cache.MaterializeSvrsForRead(system, byOid);
    cache.MaterializeSvrsForRead(S("SYS1"), byName);
    ASSERT_EQ(byOid.size(), 2u);
    EXPECT_EQ(byOid, byName);
    EXPECT_TRUE(std::find(byOid.begin(), byOid.end(), &locked) != byOid.end());
    KelSvrInstance const* other = byOid[0] == &locked ? byOid[1] : byOid[0];
    EXPECT_EQ(cache.LiveEntries().at(other->ID())->State(), KelCachedObjectState::MaterializedForRead);
    std::vector<KelSvrInstance*> first;
    cache.MaterializeSvrsForUpdate(system, first);
    EXPECT_EQ(cache.LiveEntries().at(other->ID())->State(), KelCachedObjectState::MaterializedForUpdate);
    EXPECT_EQ(std::vector<KelSvrInstance const*>(first.begin(), first.end()), byOid);
    Commit();

    // Suspension: no manager while suspended, and none with cached objects.
    tom->Suspend();  // every cache empty: no assertion
    {
        KelContractRecorder rec;
        tom->ForSystemStates();
        EXPECT_EQ(rec.Conditions(), std::vector<std::string>{"!_isSuspended"});
    }
    tom->TxnHasBeenCommitted();  // works while suspended
    tom->Resume();

    db->Begin();
    tom->ForSvrInstances().Create(
        KelTOMForSvrInstanceParms::CreateInpParm(KelOID::Generate(), system, KelSenderType::ExecSvr));
    tom->ForSystemStates().MaterializeForRead({}, system);
    {
        KelContractRecorder rec;
        tom->Suspend();
        EXPECT_EQ(rec.Conditions(),
                  (std::vector<std::string>{"_pForSvrInstances->IsCacheEmpty()", "_pForSystemStates->IsCacheEmpty()"}));
    }
    tom->Resume();
    db->Rollback();
    tom->TxnHasBeenCommitted();
    EXPECT_TRUE(tom->ForSvrInstances().IsCacheEmpty());
    EXPECT_TRUE(tom->ForSystemStates().IsCacheEmpty());

    // A setter's change reaches the row, nulls and values over nulls: a step a transaction, read back by the next.
    KelTimeStamp const started(1700000000, 5);
    std::vector<std::function<void(KelSvrInstance&, KelSystemState&)>> const steps = {
        [&](KelSvrInstance& i, KelSystemState& s) {
            i.SetRequestTypeNull();
            s.SetAdminSvrStartTime(started);
        },
        [&](KelSvrInstance& i, KelSystemState& s) {
            EXPECT_TRUE(i.RequestTypeIsNull());
            EXPECT_FALSE(s.AdminSvrStartTimeIsNull());
            EXPECT_EQ(s.AdminSvrStartTime(), started);
            i.SetLastStateChangeTimeNull();
            s.SetAdminSvrStartTimeNull();
        },
        [&](KelSvrInstance& i, KelSystemState& s) {
            EXPECT_TRUE(i.LastStateChangeTimeIsNull());
            EXPECT_TRUE(s.AdminSvrStartTimeIsNull());
            i.SetLastStateChangeTime(started);
        },
        [&](KelSvrInstance& i, KelSystemState&) {
            EXPECT_FALSE(i.LastStateChangeTimeIsNull());
            EXPECT_EQ(i.LastStateChangeTime(), started);
        }};
    for (auto const& step : steps) {
        db->Begin();
        step(tom->ForSvrInstances().MaterializeForUpdate({}, oids[0]),
             tom->ForSystemStates().MaterializeForUpdate({}, system));
        tom->ForSvrInstances().Flush();
        tom->ForSystemStates().Flush();
        Commit();
    }
}

INSTANTIATE_TEST_SUITE_P(Databases, AdminTransactions, testing::Values("sqlite::memory:", "postgresql"), DatabaseName);
