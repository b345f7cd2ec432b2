// Shared by the administration server's tests: fresh schema and object manager, SQLite file, seeds.
#pragma once

#include "admin/keldatom.hpp"
#include "db/keldb.hpp"
#include "objects/kelasvin.hpp"
#include "objects/kelmtbld.hpp"

#include "db/dbtest.hpp"
#include "testutil.hpp"

#include <unistd.h>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

// A temporary SQLite database file; the file and its WAL companions go with the object.
class AdminSqliteFile {
public:
    AdminSqliteFile() { Remove(); }  // what a process of the same id may have left
    ~AdminSqliteFile() { Remove(); }
    AdminSqliteFile(AdminSqliteFile const&) = delete;
    AdminSqliteFile& operator=(AdminSqliteFile const&) = delete;
    std::string Url(std::string const& options = std::string()) const { return "sqlite:" + _path + options; }

private:
    void Remove() const
    {
        for (char const* suffix : {"", "-wal", "-shm", "-journal"}) std::remove((_path + suffix).c_str());
    }
    static inline int _made = 0;
    std::string const _path =
        testing::TempDir() + "kelrel_" + std::to_string(getpid()) + "_" + std::to_string(++_made) + ".db";
};

inline KelString S(char const* text) { return KelString(text); }

// Parameter "sqlite" (a fresh file, for several connections), "sqlite::memory:" or "postgresql".
class AdminDatabaseTest : public testing::TestWithParam<std::string> {
protected:
    void SetUp() override
    {
        if (GetParam() == "sqlite") {
            _file = std::make_unique<AdminSqliteFile>();
            url = _file->Url();
        } else {
            url = ResolveUrl(GetParam());
            if (url.empty()) GTEST_SKIP() << "KELDATOM_PG_URL is not set";
        }
        db = KelDatabase::Open(url);
        db->DropSchema();
        db->CreateSchema();
        tom = std::make_unique<KelTOMForAdminServer>(*db);
    }
    void TearDown() override
    {
        if (tom) tom->TxnHasBeenCommitted();
        if (db && db->InTransaction()) db->Rollback();
        tom.reset();
        db.reset();
    }
    bool IsPostgres() const { return GetParam() == "postgresql"; }
    void Commit()  // and empties the caches, as the administration server does
    {
        db->Commit();
        tom->TxnHasBeenCommitted();
    }

    std::string url;
    std::unique_ptr<KelDatabase> db;
    std::unique_ptr<KelTOMForAdminServer> tom;

private:
    std::unique_ptr<AdminSqliteFile> _file;
};

// Commits system `name` (group GRP1), its state and `instances` server instances; returns its OID.
inline KelOID AdminSeedSystem(KelDatabase& db, KelTOMForAdminServer& tom, char const* name, int instances = 0,
                              std::vector<KelOID>* oids = nullptr)
{
    db.Begin();
    KelSystemData& system =
        tom.ForSystems().Create(KelTOMForSystemParms::CreateInpParm(KelSystemID(KelString(name), KelString("GRP1"))));
    KelOID const systemOid = system.OID();
    tom.ForSystems().Save(system);
    tom.ForSystemStates().Save(tom.ForSystemStates().Create(KelTOMForSystemStateParms::CreateInpParm(systemOid)));
    for (int i = 0; i < instances; ++i) {
        KelOID const oid = KelOID::Generate();
        tom.ForSvrInstances().Save(tom.ForSvrInstances().Create(
            KelTOMForSvrInstanceParms::CreateInpParm(oid, systemOid, KelSenderType::ExecSvr)));
        if (oids) oids->push_back(oid);
    }
    db.Commit();
    tom.TxnHasBeenCommitted();
    return systemOid;
}

// A system log record of system SYS1 (group GRP1) with every member given.
inline KelSystemLogRecord AdminLogRecord(KelOID const& oid, KelSystemLogRecord::Parameters const& parameters,
                                         KelString const& system = KelString("SYS1"),
                                         KelUserID const& user = KelUserID(KelString("admin"), KelString("GRP1")),
                                         KelString const& event = KelString("EVT"))
{
    return KelSystemLogRecordBuilder(oid)
        .CreationTime(KelTimeStamp::Now())
        .SystemName(system)
        .SystemGroupName(KelString("GRP1"))
        .MessageNumber(42)
        .Severity(KelSeverity::Information)
        .MessageClass(KelMessageClass::System)
        .EventIdentifier(event)
        .MessageType(7)
        .ErrorFlag(true)
        .SvrKind(KelSvrKind::ExecSvr)
        .SvrState(KelSvrState::Running)
        .UserID(user)
        .Exception(3)
        .MessageParameters(parameters)
        .Build();
}

// One change more to a server instance: its request type counts up.
inline void Increment(KelSvrInstance& instance)
{
    instance.SetRequestType(static_cast<KelSvrRequest::Type>(instance.RequestType() + 1));
}
