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

int SynchronousNormal(sqlite3* db, char const**, sqlite3_api_routines const*)
{
    return sqlite3_exec(db, "PRAGMA synchronous=NORMAL", nullptr, nullptr, nullptr);
}

}  // namespace

void KelBenchSQLiteSynchronousNormal()
{
    // The entry point's declared type differs from the one the call expects; SQLite calls
    // it with the three arguments it has.
    sqlite3_auto_extension(reinterpret_cast<void (*)()>(SynchronousNormal));
}

void KelBenchRemoveSQLiteFiles(std::string const& path)
{
    for (char const* suffix : {"", "-wal", "-shm", "-journal"}) std::remove((path + suffix).c_str());
}

KelBenchRawSQLite::KelBenchRawSQLite(std::string path) : _path(std::move(path)) {}

KelBenchRawSQLite::~KelBenchRawSQLite() { Close(); }

void KelBenchRawSQLite::Close()
{
    for (sqlite3_stmt** stmt :
         {&_logInsert, &_logBySystem, &_logByKey, &_instanceInsert, &_lockInstances, &_instanceUpdate}) {
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
    Exec("PRAGMA synchronous=NORMAL");
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

    Exec("BEGIN IMMEDIATE");
    KelBenchRawInstanceRow row;
    for (KelBenchInstanceInput const& in : data.instances) {
        KelBenchRawRowOf(in, data.InstanceSystemOid(), row);
        BindInstance(_instanceInsert, row);
        Run(_db, _instanceInsert, "seeding the server instances");
    }
    Exec("COMMIT");
}

std::size_t KelBenchRawSQLite::Write(KelBenchData const& data)
{
    Exec("BEGIN IMMEDIATE");
    KelBenchRawLogRow row;
    for (KelBenchLogInput const* in : KelBenchKeyOrder(data.logs)) {
        KelBenchRawRowOf(*in, row);
        sqlite3_stmt* s = _logInsert;
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
        Run(_db, s, "inserting a system log record");
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

std::size_t KelBenchRawSQLite::LockAndUpdate(KelBenchData const& data)
{
    Exec("BEGIN IMMEDIATE");
    std::vector<KelBenchRawInstanceRow> rows;
    sqlite3_stmt* s = _lockInstances;
    BindOid(s, 1, data.InstanceSystemOid());
    int rc;
    while ((rc = sqlite3_step(s)) == SQLITE_ROW) {
        rows.emplace_back();
        ReadInstance(s, rows.back());
    }
    sqlite3_reset(s);
    if (rc != SQLITE_DONE) Fail(_db, "locking the server instances");
    for (KelBenchRawInstanceRow& row : rows) KelBenchRawChange(row);
    std::size_t updated = 0;
    sqlite3_stmt* u = _instanceUpdate;
    for (KelBenchRawInstanceRow const& row : rows) {
        BindText(u, 1, row.creationTime);
        BindOid(u, 2, row.systemOid);
        BindInt(u, 3, row.svrType);
        BindInt(u, 4, row.svrState);
        BindText(u, 5, row.lastStateChange, row.iLastStateChange);
        BindInt(u, 6, row.requestType, row.iRequestType);
        BindOid(u, 7, row.svrOid);
        Run(_db, u, "updating a server instance");
        updated += static_cast<std::size_t>(sqlite3_changes(_db));
    }
    Exec("COMMIT");
    return updated;
}

void KelBenchRawSQLite::Finish()
{
    Close();
    _kept.clear();
    KelBenchRemoveSQLiteFiles(_path);
}
