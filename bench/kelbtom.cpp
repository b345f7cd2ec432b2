#include "bench/kelbtom.hpp"

#include "admin/keldatom.hpp"
#include "admin/keldatxn.hpp"
#include "bench/kelbrawsq.hpp"
#include "db/keldb.hpp"
#include "db/keldsdf.hpp"
#include "kernel/kelkoid.hpp"
#include "kernel/kelktim.hpp"
#include "kernel/kelmusid.hpp"
#include "objects/kelasyss.hpp"
#include "objects/kelmtadm.hpp"
#include "objects/kelmtbld.hpp"

#include <utility>

namespace {

KelOID Oid(KelBenchOid const& bytes) { return KelOID(*reinterpret_cast<unsigned char const(*)[16]>(bytes.data())); }

}  // namespace

KelBenchObjectManager::KelBenchObjectManager(std::string database, std::string url, std::string sqlitePath)
    : _database(std::move(database)), _url(std::move(url)), _sqlitePath(std::move(sqlitePath))
{
    for (char const* name : KelBenchData::systemNames) _systemNames.emplace_back(name);
    _systemGroup = KelString(KelBenchData::systemGroup);
}

KelBenchObjectManager::~KelBenchObjectManager()
{
    _tom.reset();
    _db.reset();
}

void KelBenchObjectManager::Prepare(KelBenchData const& data)
{
    _tom.reset();
    _db.reset();
    if (!_sqlitePath.empty()) KelBenchRemoveSQLiteFiles(_sqlitePath);
    _db = KelDatabase::Open(_url);
    if (_sqlitePath.empty()) _db->DropSchema();
    _db->CreateSchema();

    _db->Begin();
    auto const seed = [this](KelBenchInstanceInput const& in, KelBinary const& systemOid) {
        KelString const created = KelTimeStamp(in.seconds, in.micros).AsVsqString();
        _db->svrInstanceState().insert(KEL_SVR_INSTANCE_STATE(Oid(in.svrOid).AsBinary(), created, systemOid, in.svrType,
                                                              in.svrState, created, 0, 0, 0));
    };
    KelBinary const systemOid = Oid(data.InstanceSystemOid()).AsBinary();
    for (KelBenchInstanceInput const& in : data.instances) seed(in, systemOid);
    KelBinary const txnSystemOid = Oid(data.txnSystemOid).AsBinary();
    for (KelBenchInstanceInput const& in : data.txnInstances) seed(in, txnSystemOid);
    KelBenchInstanceInput const& first = data.txnInstances.front();
    _db->systemState().insert(
        KEL_SYSTEM_STATE(txnSystemOid, KelTimeStamp(first.seconds, first.micros).AsVsqString(), 0, 1));
    _db->Commit();
    _tom = std::make_unique<KelTOMForAdminServer>(*_db);
}

void KelBenchObjectManager::Fill(KelSystemLogRecord& record, KelBenchLogInput const& in) const
{
    KelSystemLogRecord::Parameters parameters;
    for (std::string const& p : in.parameters) parameters.Append(KelString(p));
    KelSystemLogRecordBuilder builder(Oid(in.objectId));
    builder.CreationTime(KelTimeStamp(in.seconds, in.micros))
        .SystemName(_systemNames[static_cast<std::size_t>(in.system)])
        .SystemGroupName(_systemGroup)
        .MessageNumber(in.messageNumber)
        .Severity(static_cast<KelSeverity::Type>(in.severity))
        .MessageClass(static_cast<KelMessageClass::Type>(in.messageClass))
        .EventIdentifier(KelString(in.eventIdentifier))
        .MessageType(in.messageType)
        .ErrorFlag(in.errorFlag)
        .SvrKind(static_cast<KelSvrKind::Type>(in.svrKind))
        .SvrState(static_cast<KelSvrState::Type>(in.svrState))
        .UserID(KelUserID(KelString(in.userId), _systemGroup))
        .MessageParameters(std::move(parameters));
    if (!in.exceptionIsNull) builder.Exception(in.exception);
    record = builder.Build();
}

std::size_t KelBenchObjectManager::Write(KelBenchData const& data)
{
    std::uint64_t const before = _db->systemLog().Stats().insert;
    _db->Begin();
    KelTOMForSystemLogRecords& logs = _tom->ForSystemLogs();
    for (KelBenchLogInput const& in : data.logs) {
        Fill(logs.Create(KelTOMForSystemLogRecords::CreateInpParm(Oid(in.objectId))), in);
    }
    logs.Flush();
    _db->Commit();
    _tom->TxnHasBeenCommitted();
    return static_cast<std::size_t>(_db->systemLog().Stats().insert - before);
}

std::size_t KelBenchObjectManager::ReadSystem(KelBenchData const&)
{
    _db->Begin();
    _tom->ForSystemLogs().MaterializeSystemLogRecordsForRead(
        _systemNames[static_cast<std::size_t>(KelBenchData::ReadSystem())], _read);
    return _read.size();
}

std::size_t KelBenchObjectManager::Hits(KelBenchData const& data, int rounds)
{
    KelTOMForSystemLogRecords& logs = _tom->ForSystemLogs();
    KelTOMForSystemLogRecords::MaterializeInpParm const parm;
    std::uint64_t const before = _db->systemLog().Stats().Total();
    std::size_t hits = 0;
    for (int round = 0; round < rounds; ++round) {
        for (KelBenchOid const& key : data.ReadKeys()) {
            logs.MaterializeForRead(parm, Oid(key));
            ++hits;
        }
    }
    // A hit never reaches the database.
    return _db->systemLog().Stats().Total() == before ? hits : 0;
}

std::uint64_t KelBenchObjectManager::KeptSum() const
{
    std::uint64_t sum = 0;
    for (KelSystemLogRecord const* record : _read) sum += static_cast<std::uint64_t>(record->MessageNumber());
    return sum;
}

std::size_t KelBenchObjectManager::RefreshAll(KelBenchData const&)
{
    std::uint64_t const before = _db->systemLog().Stats().seluni;
    _tom->ForSystemLogs().Refresh();
    return static_cast<std::size_t>(_db->systemLog().Stats().seluni - before);
}

void KelBenchObjectManager::EndRead()
{
    _db->Commit();
    _tom->TxnHasBeenCommitted();
    std::vector<KelSystemLogRecord const*>().swap(_read);
}

std::size_t KelBenchObjectManager::LockAndUpdate(KelBenchData const& data)
{
    std::uint64_t const before = _db->svrInstanceState().Stats().updcli;
    _db->Begin();
    KelTOMForSvrInstances& instances = _tom->ForSvrInstances();
    std::vector<KelSvrInstance*> locked;
    instances.MaterializeSvrsForUpdate(Oid(data.InstanceSystemOid()), locked);
    KelTimeStamp const changed(KelBenchData::updateSeconds, KelBenchData::updateMicros);
    for (KelSvrInstance* instance : locked) {
        instance->SetServerState(static_cast<KelSvrState::Type>(KelBenchData::updatedState));
        instance->SetLastStateChangeTime(changed);
    }
    instances.Flush();
    _db->Commit();
    _tom->TxnHasBeenCommitted();
    return static_cast<std::size_t>(_db->svrInstanceState().Stats().updcli - before);
}

std::size_t KelBenchObjectManager::SmallTransactions(KelBenchData const& data, std::size_t count)
{
    KelDBCallCounts const state = _db->systemState().Stats(), instances = _db->svrInstanceState().Stats(),
                          logs = _db->systemLog().Stats();
    KelTxnRunner runner(*_tom);
    KelOID const system = Oid(data.txnSystemOid);
    KelTOMForSystemStates::MaterializeInpParm const parm;
    std::vector<KelSvrInstance*> locked;
    for (std::size_t i = 0; i < count; ++i) {
        KelBenchTxnInput const& txn = data.txns[i];
        runner.Run([&](KelTOMForAdminServer& t) {
            KelTimeStamp const changed(txn.seconds, txn.micros);
            KelSvrState::Type const to = static_cast<KelSvrState::Type>(txn.svrState);
            KelSystemState& systemState = t.ForSystemStates().MaterializeForUpdate(parm, system);
            systemState.SetAdminSvrState(to);
            systemState.SetAdminSvrStartTime(changed);
            locked.clear();
            t.ForSvrInstances().MaterializeSvrsForUpdate(system, locked);
            for (KelSvrInstance* instance : locked) {
                instance->SetServerState(to);
                instance->SetLastStateChangeTime(changed);
            }
            Fill(t.ForSystemLogs().Create(KelTOMForSystemLogRecords::CreateInpParm(Oid(txn.log.objectId))), txn.log);
            t.ForSystemStates().Flush();
            t.ForSvrInstances().Flush();
            t.ForSystemLogs().Flush();
        });
    }
    // Each transaction reached the database as a raw one does: one locking select of the
    // state and one of the instances, an update of each, one insert, one commit.
    std::uint64_t const n = count;
    bool const calls =
        _db->systemState().Stats().selupd - state.selupd == n &&
        _db->systemState().Stats().updcli - state.updcli == n &&
        _db->svrInstanceState().Stats().open - instances.open == n &&
        _db->svrInstanceState().Stats().updcli - instances.updcli == n * KelBenchData::txnInstanceCount &&
        _db->systemLog().Stats().insert - logs.insert == n && runner.Statistics().committed == n &&
        runner.Statistics().retries == 0;
    return calls ? count : 0;
}

void KelBenchObjectManager::Finish()
{
    _read.clear();
    _tom.reset();
    if (_db && _sqlitePath.empty()) _db->DropSchema();
    _db.reset();
    if (!_sqlitePath.empty()) KelBenchRemoveSQLiteFiles(_sqlitePath);
}
