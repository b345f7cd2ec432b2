#include "bench/kelbrawsq.hpp"

#include <sqlite3.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace {

[[noreturn]] void Fail(sqlite3* db, char const* what)
{
    throw std::runtime_error(std::string("sqlite: ") + what + ": " + (db ? sqlite3_errmsg(db) : "out of memory"));
}

// "$3" becomes "?3", which SQLite binds by the same number.
std::string Numbered(std::string sql)
{
    for (std::size_t i = 0; i + 1 < sql.size(); ++i)
        if (sql[i] == '$' && std::isdigit(static_cast<unsigned char>(sql[i + 1]))) sql[i] = '?';
    return sql;
}

void BindText(sqlite3_stmt* stmt, int pos, std::string const& value, std::int16_t indicator = 0)
{
    if (indicator == -1)
        sqlite3_bind_null(stmt, pos);
    else
        sqlite3_bind_text(stmt, pos, value.data(), static_cast<int>(value.size()), SQLITE_STATIC);
}

void BindInt(sqlite3_stmt* stmt, int pos, std::int32_t value, std::int16_t indicator = 0)
{
    if (indicator == -1)
        sqlite3_bind_null(stmt, pos);
    else
        sqlite3_bind_int(stmt, pos, value);
}

void BindOid(sqlite3_stmt* stmt, int pos, KelBenchOid const& oid)
{
    sqlite3_bind_blob(stmt, pos, oid.data(), static_cast<int>(oid.size()), SQLITE_STATIC);
}

void ReadText(sqlite3_stmt* stmt, int col, std::string& value)
{
    char const* data = static_cast<char const*>(sqlite3_column_blob(stmt, col));
    value.assign(data ? data : "", static_cast<std::size_t>(sqlite3_column_bytes(stmt, col)));
}

void ReadText(sqlite3_stmt* stmt, int col, std::string& value, std::int16_t& indicator)
{
    indicator = sqlite3_column_type(stmt, col) == SQLITE_NULL ? -1 : 0;
    if (indicator == 0) ReadText(stmt, col, value);
}

void ReadInt(sqlite3_stmt* stmt, int col, std::int32_t& value, std::int16_t& indicator)
{
    indicator = sqlite3_column_type(stmt, col) == SQLITE_NULL ? -1 : 0;
    if (indicator == 0) value = sqlite3_column_int(stmt, col);
}

void ReadOid(sqlite3_stmt* stmt, int col, KelBenchOid& oid)
{
    void const* data = sqlite3_column_blob(stmt, col);
    if (data && sqlite3_column_bytes(stmt, col) == 16)
        std::memcpy(oid.data(), data, 16);
    else
        oid.fill(0);
}

void ReadLog(sqlite3_stmt* stmt, KelBenchRawLogRow& row)
{
    ReadOid(stmt, 0, row.objectId);
    ReadText(stmt, 1, row.creationTime);
    ReadText(stmt, 2, row.system);
    ReadText(stmt, 3, row.systemGroup);
    row.messageNumber = sqlite3_column_int(stmt, 4);
    row.severity = sqlite3_column_int(stmt, 5);
    row.messageClass = sqlite3_column_int(stmt, 6);
    ReadInt(stmt, 7, row.messageType, row.iMessageType);
    row.errorFlag = static_cast<std::int16_t>(sqlite3_column_int(stmt, 8));
    ReadInt(stmt, 9, row.svrKind, row.iSvrKind);
    ReadInt(stmt, 10, row.svrState, row.iSvrState);
    ReadInt(stmt, 11, row.exception, row.iException);
    ReadText(stmt, 12, row.eventIdentifier, row.iEventIdentifier);
    ReadText(stmt, 13, row.userId, row.iUserId);
    ReadText(stmt, 14, row.messageParameters, row.iMessageParameters);
}

void ReadInstance(sqlite3_stmt* stmt, KelBenchRawInstanceRow& row)
{
    ReadOid(stmt, 0, row.svrOid);
    ReadText(stmt, 1, row.creationTime);
    ReadOid(stmt, 2, row.systemOid);
    row.svrType = sqlite3_column_int(stmt, 3);
    row.svrState = sqlite3_column_int(stmt, 4);
    ReadText(stmt, 5, row.lastStateChange, row.iLastStateChange);
    ReadInt(stmt, 6, row.requestType, row.iRequestType);
}

void BindInstance(sqlite3_stmt* stmt, KelBenchRawInstanceRow const& row)
{
    BindOid(stmt, 1, row.svrOid);
    BindText(stmt, 2, row.creationTime);
    BindOid(stmt, 3, row.systemOid);
    BindInt(stmt, 4, row.svrType);
    BindInt(stmt, 5, row.svrState);
    BindText(stmt, 6, row.lastStateChange, row.iLastStateChange);
    BindInt(stmt, 7, row.requestType, row.iRequestType);
}

// The step of a statement that returns no rows; resets it for the next use.
void Run(sqlite3* db, sqlite3_stmt* stmt, char const* what)
{
    int const rc = sqlite3_step(stmt);
    sqlite3_reset(stmt);
    if (rc != SQLITE_DONE) Fail(db, what);
}

void BindLog(sqlite3_stmt* s, KelBenchRawLogRow const& row)
{
    BindOid(s, 1, row.objectId);
    BindText(s, 2, row.creationTime);
    BindText(s, 3, row.system);
    BindText(s, 4, row.systemGroup);
    BindInt(s, 5, row.messageNumber);
    BindInt(s, 6, row.severity);
    BindInt(s, 7, row.messageClass);
    BindInt(s, 8, row.messageType, row.iMessageType);
    BindInt(s, 9, row.errorFlag);
    BindInt(s, 10, row.svrKind, row.iSvrKind);
    BindInt(s, 11, row.svrState, row.iSvrState);
    BindInt(s, 12, row.exception, row.iException);
    BindText(s, 13, row.eventIdentifier, row.iEventIdentifier);
    BindText(s, 14, row.userId, row.iUserId);
    BindText(s, 15, row.messageParameters, row.iMessageParameters);
}

}  // namespace

void KelBenchRemoveSQLiteFiles(std::string const& path)
{
    for (char const* suffix : {"", "-wal", "-shm", "-journal"}) std::remove((path + suffix).c_str());
}

KelBenchRawSQLite::KelBenchRawSQLite(std::string path, std::string synchronous)
    : _path(std::move(path)), _synchronous(std::move(synchronous))
{
}

KelBenchRawSQLite::~KelBenchRawSQLite() { Close(); }

void KelBenchRawSQLite::Close()
{
    for (sqlite3_stmt** stmt : {&_logInsert, &_logBySystem, &_logByKey, &_instanceInsert, &_lockInstances,
                                &_instanceUpdate, &_stateInsert, &_lockState, &_stateUpdate, &_begin, &_commit}) {
        sqlite3_finalize(*stmt);
        *stmt = nullptr;
    }
    sqlite3_close(_db);
    _db = nullptr;
}

void KelBenchRawSQLite::Exec(char const* sql)
{
    if (sqlite3_exec(_db, sql, nullptr, nullptr, nullptr) != SQLITE_OK) Fail(_db, sql);
}

sqlite3_stmt* KelBenchRawSQLite::Prepare(std::string const& sql)
{
    std::string const text = Numbered(sql);
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v3(_db, text.c_str(), static_cast<int>(text.size() + 1), SQLITE_PREPARE_PERSISTENT, &stmt,
                           nullptr) != SQLITE_OK)
        Fail(_db, text.c_str());
    return stmt;
}

void KelBenchRawSQLite::Prepare(KelBenchData const& data)
{
    Close();
    KelBenchRemoveSQLiteFiles(_path);
    if (sqlite3_open_v2(_path.c_str(), &_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                        nullptr) != SQLITE_OK)
        Fail(_db, _path.c_str());
    sqlite3_busy_timeout(_db, 30000);
    Exec("PRAGMA journal_mode=WAL");
    Exec(("PRAGMA synchronous=" + _synchronous).c_str());
    static KelBenchRawDialect const dialect{"BLOB", "TEXT", "INTEGER", ""};
    Exec("BEGIN IMMEDIATE");
    for (std::string const& sql : KelBenchRawSql::Schema(dialect)) Exec(sql.c_str());
    Exec("COMMIT");

    _logInsert = Prepare(KelBenchRawSql::logInsert);
    _logBySystem = Prepare(KelBenchRawSql::logBySystem);
    _logByKey = Prepare(KelBenchRawSql::logByKey);
    _instanceInsert = Prepare(KelBenchRawSql::instanceInsert);
    _lockInstances = Prepare(KelBenchRawSql::LockInstances(dialect));
    _instanceUpdate = Prepare(KelBenchRawSql::instanceUpdate);
    _stateInsert = Prepare(KelBenchRawSql::stateInsert);
    _lockState = Prepare(KelBenchRawSql::LockState(dialect));
    _stateUpdate = Prepare(KelBenchRawSql::stateUpdate);
    _begin = Prepare("BEGIN IMMEDIATE");
    _commit = Prepare("COMMIT");

    Exec("BEGIN IMMEDIATE");
    KelBenchRawInstanceRow row;
    for (KelBenchInstanceInput const& in : data.instances) {
        KelBenchRawRowOf(in, data.InstanceSystemOid(), row);
        BindInstance(_instanceInsert, row);
        Run(_db, _instanceInsert, "seeding the server instances");
    }
    for (KelBenchInstanceInput const& in : data.txnInstances) {
        KelBenchRawRowOf(in, data.txnSystemOid, row);
        BindInstance(_instanceInsert, row);
        Run(_db, _instanceInsert, "seeding the server instances");
    }
    KelBenchRawStateRow state;
    KelBenchRawStateOf(data, state);
    BindOid(_stateInsert, 1, state.systemOid);
    BindText(_stateInsert, 2, state.adminSvrStart, state.iAdminSvrStart);
    BindInt(_stateInsert, 3, state.adminSvrState);
    Run(_db, _stateInsert, "seeding the system state");
    Exec("COMMIT");
}

std::size_t KelBenchRawSQLite::Write(KelBenchData const& data)
{
    Exec("BEGIN IMMEDIATE");
    KelBenchRawLogRow row;
    for (KelBenchLogInput const* in : KelBenchKeyOrder(data.logs)) {
        KelBenchRawRowOf(*in, row);
        BindLog(_logInsert, row);
        Run(_db, _logInsert, "inserting a system log record");
    }
    Exec("COMMIT");
    return data.logs.size();
}

std::size_t KelBenchRawSQLite::ReadSystem(KelBenchData const&)
{
    Exec("BEGIN IMMEDIATE");
    sqlite3_stmt* s = _logBySystem;
    char const* system = KelBenchData::systemNames[KelBenchData::ReadSystem()];
    sqlite3_bind_text(s, 1, system, -1, SQLITE_STATIC);
    int rc;
    while ((rc = sqlite3_step(s)) == SQLITE_ROW) {
        _kept.emplace_back();
        ReadLog(s, _kept.back());
    }
    sqlite3_reset(s);
    if (rc != SQLITE_DONE) Fail(_db, "reading the records of a system");
    return _kept.size();
}

std::size_t KelBenchRawSQLite::Hits(KelBenchData const& data, int rounds)
{
    // Without a cache every look-up goes to the database.
    std::size_t found = 0;
    KelBenchRawLogRow row;
    sqlite3_stmt* s = _logByKey;
    for (int round = 0; round < rounds; ++round) {
        for (KelBenchOid const& key : data.ReadKeys()) {
            BindOid(s, 1, key);
            if (sqlite3_step(s) == SQLITE_ROW) {
                ReadLog(s, row);
                ++found;
            }
            sqlite3_reset(s);
        }
    }
    return found;
}

std::uint64_t KelBenchRawSQLite::KeptSum() const
{
    std::uint64_t sum = 0;
    for (KelBenchRawLogRow const& row : _kept) sum += static_cast<std::uint64_t>(row.messageNumber);
    return sum;
}

std::size_t KelBenchRawSQLite::RefreshAll(KelBenchData const&)
{
    std::size_t refreshed = 0;
    sqlite3_stmt* s = _logByKey;
    for (KelBenchRawLogRow& row : _kept) {
        BindOid(s, 1, row.objectId);
        if (sqlite3_step(s) == SQLITE_ROW) {
            ReadLog(s, row);
            ++refreshed;
        }
        sqlite3_reset(s);
    }
    return refreshed;
}

void KelBenchRawSQLite::EndRead()
{
    Exec("COMMIT");
    std::vector<KelBenchRawLogRow>().swap(_kept);
}

void KelBenchRawSQLite::LockInstances(KelBenchOid const& systemOid, std::vector<KelBenchRawInstanceRow>& rows)
{
    sqlite3_stmt* s = _lockInstances;
    BindOid(s, 1, systemOid);
    std::size_t n = 0;
    int rc;
    while ((rc = sqlite3_step(s)) == SQLITE_ROW) {
        if (n == rows.size()) rows.emplace_back();
        ReadInstance(s, rows[n++]);
    }
    sqlite3_reset(s);
    if (rc != SQLITE_DONE) Fail(_db, "locking the server instances");
    rows.resize(n);
}

std::size_t KelBenchRawSQLite::UpdateInstance(KelBenchRawInstanceRow const& row)
{
    sqlite3_stmt* u = _instanceUpdate;
    BindText(u, 1, row.creationTime);
    BindOid(u, 2, row.systemOid);
    BindInt(u, 3, row.svrType);
    BindInt(u, 4, row.svrState);
    BindText(u, 5, row.lastStateChange, row.iLastStateChange);
    BindInt(u, 6, row.requestType, row.iRequestType);
    BindOid(u, 7, row.svrOid);
    Run(_db, u, "updating a server instance");
    return static_cast<std::size_t>(sqlite3_changes(_db));
}

std::size_t KelBenchRawSQLite::LockAndUpdate(KelBenchData const& data)
{
    Exec("BEGIN IMMEDIATE");
    std::vector<KelBenchRawInstanceRow> rows;
    LockInstances(data.InstanceSystemOid(), rows);
    for (KelBenchRawInstanceRow& row : rows) KelBenchRawChange(row);
    std::size_t updated = 0;
    for (KelBenchRawInstanceRow const& row : rows) updated += UpdateInstance(row);
    Exec("COMMIT");
    return updated;
}

std::size_t KelBenchRawSQLite::SmallTransactions(KelBenchData const& data, std::size_t count)
{
    std::size_t done = 0;
    KelBenchRawStateRow state;
    std::vector<KelBenchRawInstanceRow> instances;
    KelBenchRawLogRow log;
    for (std::size_t i = 0; i < count; ++i) {
        KelBenchTxnInput const& txn = data.txns[i];
        Run(_db, _begin, "beginning a transaction");
        BindOid(_lockState, 1, data.txnSystemOid);
        bool const found = sqlite3_step(_lockState) == SQLITE_ROW;
        if (found) {
            ReadOid(_lockState, 0, state.systemOid);
            ReadText(_lockState, 1, state.adminSvrStart, state.iAdminSvrStart);
            state.adminSvrState = sqlite3_column_int(_lockState, 2);
        }
        sqlite3_reset(_lockState);
        LockInstances(data.txnSystemOid, instances);
        KelBenchRawChange(txn, state, instances);
        std::size_t changed = 0;
        if (found) {
            BindText(_stateUpdate, 1, state.adminSvrStart, state.iAdminSvrStart);
            BindInt(_stateUpdate, 2, state.adminSvrState);
            BindOid(_stateUpdate, 3, state.systemOid);
            Run(_db, _stateUpdate, "updating a system state");
            changed += static_cast<std::size_t>(sqlite3_changes(_db));
        }
        for (KelBenchRawInstanceRow const& row : instances) changed += UpdateInstance(row);
        KelBenchRawRowOf(txn.log, log);
        BindLog(_logInsert, log);
        Run(_db, _logInsert, "inserting a system log record");
        changed += static_cast<std::size_t>(sqlite3_changes(_db));
        Run(_db, _commit, "committing");
        if (changed == 2 + KelBenchData::txnInstanceCount) ++done;
    }
    return done;
}

void KelBenchRawSQLite::Finish()
{
    Close();
    _kept.clear();
    KelBenchRemoveSQLiteFiles(_path);
}
