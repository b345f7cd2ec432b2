#include "db/keldrvsq.hpp"

#include "db/keldbexc.hpp"

#include <sqlite3.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <thread>
#include <vector>

namespace {

constexpr std::chrono::milliseconds defaultLockTimeout{30000};

// The one place where SQLite's result codes become error categories.
KelDBException SqError(sqlite3* db, int rc, std::string const& sql, std::string const& table, char const* function)
{
    int extended = db ? sqlite3_extended_errcode(db) : rc;
    if ((extended & 0xff) != (rc & 0xff)) extended = rc;
    KelDBErrorCategory::Type category = KelDBErrorCategory::Other;
    switch (rc & 0xff) {
    case SQLITE_CONSTRAINT: category = KelDBErrorCategory::ConstraintViolation; break;
    case SQLITE_BUSY:
    case SQLITE_LOCKED: category = KelDBErrorCategory::Busy; break;
    case SQLITE_READONLY: category = KelDBErrorCategory::ReadOnly; break;
    case SQLITE_CANTOPEN:
    case SQLITE_NOTADB:
    case SQLITE_IOERR: category = KelDBErrorCategory::ConnectionLost; break;
    default: break;
    }
    std::string message = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    return KelDBException(KelOrigin(__FILE__, __LINE__, function), category, extended, "", std::move(message), sql,
                          table);
}

// Numbered parameters: "$3" becomes "?3", which SQLite binds by the same number.
std::string ToSqliteParameters(std::string const& sql)
{
    std::string out = sql;
    for (std::size_t i = 0; i + 1 < out.size(); ++i)
        if (out[i] == '$' && std::isdigit(static_cast<unsigned char>(out[i + 1]))) out[i] = '?';
    return out;
}

class SqStatement : public KelDrvStatement {
public:
    SqStatement(sqlite3* db, sqlite3_stmt* stmt, std::string sql, std::string table, bool locksRows,
                bool const& readOnlyTxn)
        : KelDrvStatement(std::move(sql), std::move(table)),
          _db(db),
          _stmt(stmt),
          _changes(0),
          _kept(static_cast<std::size_t>(sqlite3_bind_parameter_count(stmt)) + 1),
          _oids(_kept.size()),
          _locksRows(locksRows),
          _readOnlyTxn(readOnlyTxn)
    {
    }
    ~SqStatement() override { sqlite3_finalize(_stmt); }

    void BindNull(int pos) override { Check(sqlite3_bind_null(_stmt, pos), "SqStatement::BindNull"); }
    void BindInt32(int pos, std::int32_t value) override
    {
        Check(sqlite3_bind_int(_stmt, pos, value), "SqStatement::BindInt32");
    }
    void BindText(int pos, KelString const& value) override
    {
        if (value.IsNull()) return BindNull(pos);
        Keep(pos, value);
        // The binary's inline accessors: the value is not null, so the text's checked ones
        // would only add two calls to every text of every row.
        KelBinary const& bytes = value;
        Check(sqlite3_bind_text(_stmt, pos, reinterpret_cast<char const*>(bytes.BytesOrNull()), bytes.Length(),
                                SQLITE_STATIC),
              "SqStatement::BindText");
    }
    void BindBlob(int pos, KelBinary const& value) override
    {
        if (value.IsNull()) return BindNull(pos);
        Keep(pos, value);
        Check(sqlite3_bind_blob(_stmt, pos, value.BytesOrNull(), value.Length(), SQLITE_STATIC),
              "SqStatement::BindBlob");
    }
    void BindOid(int pos, KelOID const& oid) override
    {
        if (pos > 0 && static_cast<std::size_t>(pos) < _oids.size()) {
            std::memcpy(_oids[static_cast<std::size_t>(pos)].data(), oid.Bytes(), 16);
            Check(sqlite3_bind_blob(_stmt, pos, _oids[static_cast<std::size_t>(pos)].data(), 16, SQLITE_STATIC),
                  "SqStatement::BindBlob");
        } else {
            Check(sqlite3_bind_blob(_stmt, pos, oid.Bytes(), 16, SQLITE_TRANSIENT), "SqStatement::BindBlob");
        }
    }

    bool Step() override
    {
        // A read for update takes no lock of its own here; in a read-only transaction it
        // is refused as it is on a server database, where it would take row locks.
        if (_locksRows && _readOnlyTxn)
            throw KelDBException(KelOrigin(__FILE__, __LINE__, "SqStatement::Step"), KelDBErrorCategory::ReadOnly,
                                 SQLITE_READONLY, "", "a read-only transaction cannot lock rows", Sql(), Table());
        int rc = sqlite3_step(_stmt);
        if (rc == SQLITE_ROW) return true;
        if (rc == SQLITE_DONE) {
            _changes = sqlite3_changes(_db);
            return false;
        }
        KelDBException e = SqError(_db, rc, Sql(), Table(), "SqStatement::Step");
        Reset();
        if (_readOnlyTxn && e.Category() == KelDBErrorCategory::ReadOnly)
            throw KelDBException(e.GetOrigin(), e.Category(), e.NativeCode(), "",
                                 "a read-only transaction cannot write (" + e.Message() + ")", Sql(), Table());
        throw e;
    }
    std::int64_t Changes() const override { return _changes; }

    bool IsNull(int col) const override { return sqlite3_column_type(_stmt, col) == SQLITE_NULL; }
    std::int32_t ColumnInt32(int col) const override { return sqlite3_column_int(_stmt, col); }
    char const* ColumnBytes(int col, std::int32_t& length) const override
    {
        // The blob accessor hands out the stored bytes without any conversion.
        char const* data = static_cast<char const*>(sqlite3_column_blob(_stmt, col));
        length = sqlite3_column_bytes(_stmt, col);
        return data;
    }
    // The column's value once (its type, then its bytes or number without a conversion);
    // each sqlite3_column_* call looks the column up again. A value of another type takes
    // the converting calls above, which also report a failed conversion. The connection
    // is opened without a mutex, so its values need none.
    bool ColumnBytesIfSet(int col, char const*& data, std::int32_t& length) const override
    {
        sqlite3_value* value = sqlite3_column_value(_stmt, col);
        int const type = sqlite3_value_type(value);
        if (type == SQLITE_NULL) return false;
        if (type == SQLITE_TEXT || type == SQLITE_BLOB) {
            data = static_cast<char const*>(sqlite3_value_blob(value));
            length = sqlite3_value_bytes(value);
        } else {
            data = ColumnBytes(col, length);
        }
        return true;
    }
    bool ColumnInt32IfSet(int col, std::int32_t& result) const override
    {
        sqlite3_value* value = sqlite3_column_value(_stmt, col);
        int const type = sqlite3_value_type(value);
        if (type == SQLITE_NULL) return false;
        result = type == SQLITE_INTEGER ? sqlite3_value_int(value) : sqlite3_column_int(_stmt, col);
        return true;
    }

    void Reset() noexcept override
    {
        sqlite3_reset(_stmt);
        sqlite3_clear_bindings(_stmt);
        for (KelBinary& kept : _kept) kept.Release();
    }

private:
    void Keep(int pos, KelBinary const& value)
    {
        if (pos > 0 && static_cast<std::size_t>(pos) < _kept.size()) _kept[static_cast<std::size_t>(pos)] = value;
    }
    void Check(int rc, char const* function)
    {
        if (rc != SQLITE_OK) throw SqError(_db, rc, Sql(), Table(), function);
    }

    sqlite3* _db;
    sqlite3_stmt* _stmt;
    std::int64_t _changes;
    // Bound texts and binaries stay alive while SQLite points into them.
    std::vector<KelBinary> _kept;
    // The bytes of the OIDs bound by BindOid, by parameter number.
    std::vector<std::array<unsigned char, 16>> _oids;
    bool _locksRows;
    // The connection's: whether the open transaction is read-only.
    bool const& _readOnlyTxn;
};

constexpr KelDrvDialect sqliteDialect{"BLOB", "TEXT", "INTEGER", ""};

// What follows the "?" of an SQLite database name.
struct SqOptions {
    bool readOnly = false;
    std::int64_t maxPageCount = 0;  // 0: no limit of ours
    std::int64_t busyTimeout = defaultLockTimeout.count();
    char const* synchronous = nullptr;  // null: SQLite's default
};

[[noreturn]] void BadOption(std::string const& option, char const* why)
{
    throw KelDBException(KelOrigin(__FILE__, __LINE__, "KelDrvOpenSQLite"), KelDBErrorCategory::Other, 0, "",
                         "SQLite option '" + option + "' " + why +
                             "; known options: mode=ro, mode=rw, max_page_count=N (1 to 2147483647), "
                             "busy_timeout=MS (0 to 2147483647), synchronous=off|normal|full");
}

// A decimal option value from `least` to 2147483647.
std::int64_t Number(std::string const& option, std::string const& value, std::int64_t least)
{
    std::int64_t n = 0;
    for (char c : value) {
        if (!std::isdigit(static_cast<unsigned char>(c)) || n > 2147483647) BadOption(option, "is malformed");
        n = n * 10 + (c - '0');
    }
    if (value.empty() || n < least || n > 2147483647) BadOption(option, "is out of range");
    return n;
}

// Splits "PATH?name=value&..." into the path and the options.
SqOptions ParseOptions(std::string const& name, std::string& path)
{
    SqOptions options;
    std::size_t const question = name.find('?');
    path = name.substr(0, question);
    if (question == std::string::npos) return options;
    std::string const list = name.substr(question + 1);
    for (std::size_t begin = 0; begin <= list.size();) {
        std::size_t end = list.find('&', begin);
        if (end == std::string::npos) end = list.size();
        std::string const option = list.substr(begin, end - begin);
        std::size_t const equals = option.find('=');
        std::string const key = option.substr(0, equals);
        std::string const value = equals == std::string::npos ? std::string() : option.substr(equals + 1);
        if (key == "mode" && (value == "ro" || value == "rw")) {
            options.readOnly = value == "ro";
        } else if (key == "max_page_count") {
            options.maxPageCount = Number(option, value, 1);
        } else if (key == "busy_timeout") {
            options.busyTimeout = Number(option, value, 0);
        } else if (key == "synchronous" && (value == "off" || value == "normal" || value == "full")) {
            options.synchronous = value == "off" ? "OFF" : value == "normal" ? "NORMAL" : "FULL";
        } else {
            BadOption(option, "is unknown or malformed");
        }
        begin = end + 1;
    }
    return options;
}

// A database file that does not exist yet is made here, empty and readable and writable
// by its owner only whatever the umask (it holds persons and logs); SQLite takes an empty
// file for a new database and gives its -wal and -shm files the mode of the database
// file. An existing file keeps its mode. A failure is left for SQLite to report.
void CreatePrivateFile(std::string const& path)
{
    int const fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, S_IRUSR | S_IWUSR);
    if (fd < 0) return;
    ::fchmod(fd, S_IRUSR | S_IWUSR);
    ::close(fd);
}

class SqConnection final : public KelDrvConnection {
public:
    explicit SqConnection(std::string const& name) : _db(nullptr)
    {
        std::string path;
        SqOptions const options = ParseOptions(name, path);
        int flags = (options.readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE) |
                    SQLITE_OPEN_NOMUTEX;
        if (!options.readOnly && !path.empty() && path != ":memory:") CreatePrivateFile(path);
        int rc = sqlite3_open_v2(path.c_str(), &_db, flags, nullptr);
        if (rc != SQLITE_OK) {
            KelDBException e = SqError(_db, rc, "", "", "KelDrvOpenSQLite");
            sqlite3_close(_db);
            throw KelDBException(e.GetOrigin(), e.Category(), e.NativeCode(), "", e.Message() + " (" + path + ")");
        }
        sqlite3_extended_result_codes(_db, 1);
        sqlite3_busy_timeout(_db, static_cast<int>(options.busyTimeout));
        try {
            if (path != ":memory:" && !path.empty() && !options.readOnly)
                WhileBusy(options.busyTimeout, [&] { Execute("PRAGMA journal_mode=WAL"); });
            // A pragma takes no bound parameter; the limit is an integer parsed from
            // digits and the mode one of three words, so no text of the caller's reaches
            // the statement.
            if (options.maxPageCount > 0) Execute("PRAGMA max_page_count = " + std::to_string(options.maxPageCount));
            if (options.synchronous) Execute(std::string("PRAGMA synchronous = ") + options.synchronous);
        } catch (...) {
            sqlite3_close(_db);
            throw;
        }
    }
    ~SqConnection() override
    {
        for (sqlite3_stmt* stmt : _control) sqlite3_finalize(stmt);
        sqlite3_close(_db);
    }

    KelDBType::Type Type() const override { return KelDBType::SQLite; }
    KelDrvDialect const& Dialect() const override { return sqliteDialect; }

    std::unique_ptr<KelDrvStatement> Prepare(std::string const& sql, std::string const& table, bool locksRows) override
    {
        std::string text = ToSqliteParameters(sql);
        sqlite3_stmt* stmt = nullptr;
        int rc = sqlite3_prepare_v3(_db, text.c_str(), static_cast<int>(text.size() + 1), SQLITE_PREPARE_PERSISTENT,
                                    &stmt, nullptr);
        if (rc != SQLITE_OK) {
            sqlite3_finalize(stmt);
            throw SqError(_db, rc, sql, table, "SqConnection::Prepare");
        }
        try {
            return std::make_unique<SqStatement>(_db, stmt, sql, table, locksRows, _readOnlyTxn);
        } catch (...) {
            sqlite3_finalize(stmt);  // else the connection could not close
            throw;
        }
    }

    // Runs work again while SQLite answers busy, with short pauses, for at most timeout
    // milliseconds. Switching a file to WAL needs its exclusive lock, and SQLite answers busy
    // at once, without waiting in its busy handler, while other connections that open the
    // same new file at the same moment hold a lock on it.
    template <class Work>
    static void WhileBusy(std::int64_t timeout, Work&& work)
    {
        auto const deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout);
        for (std::chrono::milliseconds pause{1};; pause = std::min(2 * pause, std::chrono::milliseconds(50))) {
            try {
                return work();
            } catch (KelDBException const& e) {
                if (e.Category() != KelDBErrorCategory::Busy || std::chrono::steady_clock::now() + pause > deadline)
                    throw;
            }
            std::this_thread::sleep_for(pause);
        }
    }

    void Execute(std::string const& sql) override
    {
        // sqlite3_exec runs every statement of the text; ours hold no values.
        char* error = nullptr;
        int rc = sqlite3_exec(_db, sql.c_str(), nullptr, nullptr, &error);
        sqlite3_free(error);
        if (rc != SQLITE_OK) throw SqError(_db, rc, sql, "", "SqConnection::Execute");
    }

    void Begin() override { Control(BeginWrite); }
    // A deferred transaction takes no lock until its first read, and in WAL mode a
    // reader never waits for the writer; query_only makes any write inside it fail.
    void BeginReadOnly() override
    {
        Control(QueryOnly);
        _readOnlyTxn = true;
        try {
            Control(BeginRead);
        } catch (...) {
            EndReadOnly();
            throw;
        }
    }
    void Commit() override
    {
        Control(CommitTxn);
        EndReadOnly();
    }
    void Rollback() override
    {
        // After some errors SQLite has already rolled back on its own.
        if (InTransaction()) Control(RollbackTxn);
        EndReadOnly();
    }
    bool InTransaction() const override { return sqlite3_get_autocommit(_db) == 0; }
    bool CanReconnect() const override { return false; }
    void Reconnect() override
    {
        throw KelDBException(KelOrigin(__FILE__, __LINE__, "SqConnection::Reconnect"),
                             KelDBErrorCategory::ConnectionLost, 0, "", "an SQLite database cannot be reconnected");
    }
    // BEGIN IMMEDIATE already excludes every other writer.
    void LockSchema() override {}
    void SetLockTimeout(std::chrono::milliseconds timeout) override
    {
        sqlite3_busy_timeout(_db, static_cast<int>(timeout.count()));
    }

private:
    // The statements that begin and end transactions, prepared once: every transaction
    // runs two or three of them, and parsing each anew would cost more than running it.
    enum ControlStatement { BeginWrite, BeginRead, CommitTxn, RollbackTxn, QueryOnly, QueryAll, ControlCount };

    void Control(ControlStatement which)
    {
        static char const* const sql[ControlCount] = {
            "BEGIN IMMEDIATE", "BEGIN DEFERRED",        "COMMIT",
            "ROLLBACK",        "PRAGMA query_only = 1", "PRAGMA query_only = 0"};
        sqlite3_stmt*& stmt = _control[which];
        int rc = stmt ? SQLITE_OK : sqlite3_prepare_v3(_db, sql[which], -1, SQLITE_PREPARE_PERSISTENT, &stmt, nullptr);
        if (rc == SQLITE_OK) {
            rc = sqlite3_step(stmt);
            if (rc == SQLITE_ROW || rc == SQLITE_DONE) rc = SQLITE_OK;
        }
        if (rc == SQLITE_OK) {
            sqlite3_reset(stmt);
            return;
        }
        KelDBException e = SqError(_db, rc, sql[which], "", "SqConnection::Execute");
        if (stmt) sqlite3_reset(stmt);
        throw e;
    }

    void EndReadOnly()
    {
        if (!_readOnlyTxn) return;
        _readOnlyTxn = false;
        try {
            Control(QueryAll);
        } catch (KelDBException const&) {
            // Switching a setting of the connection back takes no lock and does not fail in
            // practice; should it, the next write is refused as read-only, which says why.
        }
    }

    sqlite3* _db;
    bool _readOnlyTxn = false;
    sqlite3_stmt* _control[ControlCount] = {};
};

}  // namespace

std::unique_ptr<KelDrvConnection> KelDrvOpenSQLite(std::string const& path)
{
    return std::make_unique<SqConnection>(path);
}
