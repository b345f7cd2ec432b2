#include "db/keldrvpg.hpp"

#include "db/keldbexc.hpp"

#include <libpq-fe.h>

#include <cctype>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <optional>
#include <vector>

namespace {

constexpr std::chrono::milliseconds defaultLockTimeout{30000};

// Type OIDs of the result columns that the accessors read.
constexpr Oid boolOid = 16, int8Oid = 20, int2Oid = 21, int4Oid = 23;

std::string Trimmed(char const* text)
{
    std::string s = text ? text : "";
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.pop_back();
    return s;
}

// The one place where PostgreSQL's errors become error categories. `result` may be null
// when libpq failed before the server answered.
KelDBException PgError(PGconn* conn, PGresult const* result, std::string const& sql, std::string const& table,
                       char const* function)
{
    std::string sqlState;
    std::string message;
    std::int64_t native = conn ? PQstatus(conn) : CONNECTION_BAD;
    if (result) {
        native = PQresultStatus(result);
        char const* state = PQresultErrorField(result, PG_DIAG_SQLSTATE);
        sqlState = state ? state : "";
        char const* primary = PQresultErrorField(result, PG_DIAG_MESSAGE_PRIMARY);
        char const* detail = PQresultErrorField(result, PG_DIAG_MESSAGE_DETAIL);
        message = primary ? primary : Trimmed(PQresultErrorMessage(result));
        if (detail) message += std::string(" (") + detail + ")";
    }
    if (message.empty()) message = conn ? Trimmed(PQerrorMessage(conn)) : "out of memory";

    KelDBErrorCategory::Type category = KelDBErrorCategory::Other;
    std::string cls = sqlState.substr(0, 2);
    if (!conn || PQstatus(conn) == CONNECTION_BAD || cls == "08" || sqlState == "57P01" || sqlState == "57P02" ||
        sqlState == "57P03")
        category = KelDBErrorCategory::ConnectionLost;
    else if (cls == "23")
        category = KelDBErrorCategory::ConstraintViolation;
    else if (sqlState == "40P01" || sqlState == "55P03" || sqlState == "40001")
        category = KelDBErrorCategory::DeadlockOrLockTimeout;
    else if (sqlState == "53300")
        category = KelDBErrorCategory::Busy;
    else if (sqlState == "25006")
        category = KelDBErrorCategory::ReadOnly;
    return KelDBException(KelOrigin(__FILE__, __LINE__, function), category, native, std::move(sqlState),
                          std::move(message), sql, table);
}

// A result that clears itself.
struct PgResult {
    explicit PgResult(PGresult* r) : r(r) {}
    ~PgResult() { PQclear(r); }
    PgResult(PgResult const&) = delete;
    PgResult& operator=(PgResult const&) = delete;
    bool Ok() const
    {
        ExecStatusType s = PQresultStatus(r);
        return r && (s == PGRES_COMMAND_OK || s == PGRES_TUPLES_OK);
    }
    PGresult* r;
};

// The highest $n in the text: the statement's parameter count.
int ParameterCount(std::string const& sql)
{
    int count = 0;
    for (std::size_t i = 0; i < sql.size(); ++i) {
        if (sql[i] != '$') continue;
        int n = 0;
        std::size_t j = i + 1;
        while (j < sql.size() && std::isdigit(static_cast<unsigned char>(sql[j]))) n = n * 10 + (sql[j++] - '0');
        if (n > count) count = n;
    }
    return count;
}

inline std::uint64_t BigEndian(char const* p, int n)
{
    std::uint64_t v = 0;
    for (int i = 0; i < n; ++i) v = (v << 8) | static_cast<unsigned char>(p[i]);
    return v;
}

class PgStatement;

// A statement sent in the open pipeline whose result has not been taken; `prepare` marks
// the preparation sent ahead of its first run on a new session.
struct PgSent {
    PgStatement* stmt;
    bool prepare;
};

// The connection as its statements see it: the handle, how often it has been opened
// again (a new session has none of the statements prepared on the old one), and the
// statements sent in the open pipeline.
struct PgSession {
    PGconn* conn = nullptr;
    unsigned generation = 0;
    std::deque<PgSent> sent;
    bool synced = false;
    std::size_t count = 0;
    std::size_t nextFlush = 1;
    // Whether the transaction holds the savepoint of PipelineGuard.
    bool savepoint = false;

    void SendUtility(char const* sql)
    {
        if (PQsendQueryParams(conn, sql, 0, nullptr, nullptr, nullptr, nullptr, 0)) sent.push_back({nullptr, false});
    }

    // After a statement is sent. The first ones leave at once, so that the server works
    // on them while the caller builds the next; then in growing batches, up to one every
    // 256 statements, which keeps the socket calls few. Reading what has arrived keeps
    // the server from blocking on results nobody reads.
    void Sent()
    {
        if (++count < nextFlush) return;
        nextFlush = count < 256 ? count * 2 : count + 256;
        PQflush(conn);
        PQconsumeInput(conn);
    }
};

void PrepareOn(PgSession const& session, std::string const& name, std::string const& sql, std::string const& table)
{
    PgResult prepared(PQprepare(session.conn, name.c_str(), sql.c_str(), 0, nullptr));
    if (!prepared.Ok()) throw PgError(session.conn, prepared.r, sql, table, "PgConnection::Prepare");
}

class PgStatement : public KelDrvStatement {
public:
    // `prepared`: on the server already; otherwise before its first run.
    PgStatement(PgSession& session, std::string name, std::string sql, std::string table, bool prepared)
        : KelDrvStatement(std::move(sql), std::move(table)),
          _session(session),
          _preparedIn(prepared ? session.generation : session.generation - 1),
          _name(std::move(name)),
          _count(ParameterCount(Sql())),
          _values(_count, nullptr),
          _lengths(_count, 0),
          _formats(_count, 0),
          _kept(_count),
          _numbers(_count),
          _result(nullptr),
          _row(-1),
          _rows(0),
          _executed(false),
          _changes(0)
    {
    }
    ~PgStatement() override { PQclear(_result); }

    void BindNull(int pos) override { _values[Index(pos)] = nullptr; }
    void BindInt32(int pos, std::int32_t value) override
    {
        std::size_t i = Index(pos);
        // The decimal text "%ld" gives, without the formatter: every number of every row
        // written is converted here.
        char* end = std::to_chars(_numbers[i].digits, _numbers[i].digits + sizeof _numbers[i].digits - 1, value).ptr;
        *end = '\0';
        _values[i] = _numbers[i].digits;
        _formats[i] = 0;
    }
    void BindOid(int pos, KelOID const& oid) override
    {
        std::size_t i = Index(pos);
        std::memcpy(_numbers[i].digits, oid.Bytes(), 16);
        _values[i] = _numbers[i].digits;
        _lengths[i] = 16;
        _formats[i] = 1;
    }
    void BindText(int pos, KelString const& value) override { BindBlob(pos, value); }
    void BindBlob(int pos, KelBinary const& value) override
    {
        if (value.IsNull()) return BindNull(pos);
        std::size_t i = Index(pos);
        _kept[i] = value;
        _values[i] = reinterpret_cast<char const*>(value.BytesOrNull());
        _lengths[i] = value.Length();
        _formats[i] = 1;
    }

    bool Step() override
    {
        if (!_executed) Execute();
        ++_row;
        return _row < _rows;
    }
    std::int64_t Changes() const override { return _changes; }

    bool IsNull(int col) const override { return PQgetisnull(_result, _row, col) != 0; }
    std::int32_t ColumnInt32(int col) const override
    {
        char const* p = PQgetvalue(_result, _row, col);
        int n = PQgetlength(_result, _row, col);
        Oid type = PQftype(_result, col);
        if ((type == int4Oid && n == 4) || (type == int2Oid && n == 2) || (type == int8Oid && n == 8) ||
            (type == boolOid && n == 1)) {
            std::uint64_t v = BigEndian(p, n);
            if (n == 2) return static_cast<std::int16_t>(v);
            return static_cast<std::int32_t>(v);
        }
        throw KelDBException(KelOrigin(__FILE__, __LINE__, "PgStatement::ColumnInt32"), KelDBErrorCategory::Other,
                             static_cast<std::int64_t>(type), "",
                             "column " + std::to_string(col) + " is not an integer column", Sql(), Table());
    }
    char const* ColumnBytes(int col, std::int32_t& length) const override
    {
        length = PQgetlength(_result, _row, col);
        return PQgetvalue(_result, _row, col);
    }
    bool ColumnBytesIfSet(int col, char const*& data, std::int32_t& length) const override
    {
        if (PQgetisnull(_result, _row, col)) return false;
        data = PgStatement::ColumnBytes(col, length);
        return true;
    }
    bool ColumnInt32IfSet(int col, std::int32_t& value) const override
    {
        if (PQgetisnull(_result, _row, col)) return false;
        // The usual column, a 4-byte integer, without asking for its type again; any other
        // goes through ColumnInt32's checks.
        if (static_cast<std::size_t>(col) < _types.size() && _types[static_cast<std::size_t>(col)] == int4Oid &&
            PQgetlength(_result, _row, col) == 4) {
            value = static_cast<std::int32_t>(static_cast<std::uint32_t>(BigEndian(PQgetvalue(_result, _row, col), 4)));
            return true;
        }
        value = PgStatement::ColumnInt32(col);
        return true;
    }

    void Reset() noexcept override
    {
        PQclear(_result);
        _result = nullptr;
        _executed = false;
        _row = -1;
        _rows = 0;
        for (std::size_t i = 0; i < _values.size(); ++i) {
            _values[i] = nullptr;
            _kept[i].Release();
        }
    }

    void Send() override
    {
        KelDrvUse use(*this);
        PGconn* conn = _session.conn;
        if (_preparedIn != _session.generation) {
            if (!PQsendPrepare(conn, _name.c_str(), Sql().c_str(), 0, nullptr))
                throw PgError(conn, nullptr, Sql(), Table(), "PgStatement::Step");
            _session.sent.push_back({this, true});
            _preparedIn = _session.generation;
        }
        if (!PQsendQueryPrepared(conn, _name.c_str(), _count, _values.data(), _lengths.data(), _formats.data(), 1))
            throw PgError(conn, nullptr, Sql(), Table(), "PgStatement::Step");
        _session.sent.push_back({this, false});
        _session.Sent();
    }

    // The result of this statement's run in the pipeline (or of its preparation); a
    // failure throws as Step does.
    std::int64_t Outcome(PGresult* result, bool prepare)
    {
        PgResult taken(result);
        if (taken.Ok()) return prepare ? 0 : std::atoll(PQcmdTuples(result));
        if (prepare) Unprepared();
        throw PgError(_session.conn, result, Sql(), Table(), "PgStatement::Step");
    }
    // The preparation sent with the statement did not run: it goes out again next time.
    void Unprepared() { _preparedIn = _session.generation - 1; }

private:
    std::size_t Index(int pos) const
    {
        if (pos < 1 || pos > _count)
            throw KelDBException(KelOrigin(__FILE__, __LINE__, "PgStatement::Bind"), KelDBErrorCategory::Other, 0, "",
                                 "parameter " + std::to_string(pos) + " out of range", Sql(), Table());
        return static_cast<std::size_t>(pos - 1);
    }

    void Execute()
    {
        PQclear(_result);
        _result = nullptr;
        if (_preparedIn != _session.generation) {
            try {
                PrepareOn(_session, _name, Sql(), Table());
            } catch (...) {
                Reset();
                throw;
            }
            _preparedIn = _session.generation;
        }
        _result =
            PQexecPrepared(_session.conn, _name.c_str(), _count, _values.data(), _lengths.data(), _formats.data(), 1);
        _executed = true;
        _row = -1;
        _rows = 0;
        ExecStatusType status = PQresultStatus(_result);
        if (_result && status == PGRES_TUPLES_OK) {
            _rows = PQntuples(_result);
            _types.resize(static_cast<std::size_t>(PQnfields(_result)));
            for (std::size_t i = 0; i < _types.size(); ++i) _types[i] = PQftype(_result, static_cast<int>(i));
        } else if (_result && status == PGRES_COMMAND_OK) {
            _changes = std::atoll(PQcmdTuples(_result));
        } else {
            KelDBException e = PgError(_session.conn, _result, Sql(), Table(), "PgStatement::Step");
            Reset();
            throw e;
        }
    }

    // A bound number's digits, or a bound OID's 16 bytes (BindOid).
    struct Number {
        char digits[16];
    };

    PgSession& _session;
    unsigned _preparedIn;
    std::string _name;
    int _count;
    std::vector<char const*> _values;
    std::vector<int> _lengths;
    std::vector<int> _formats;
    // Bound texts and binaries stay alive until the statement has run.
    std::vector<KelBinary> _kept;
    std::vector<Number> _numbers;
    // The column types of the rows read, taken once per result.
    std::vector<Oid> _types;
    PGresult* _result;
    int _row;
    int _rows;
    bool _executed;
    std::int64_t _changes;
};

constexpr KelDrvDialect postgresDialect{"bytea", "bytea", "INTEGER", " FOR UPDATE OF t"};

void IgnoreNotice(void*, char const*) {}

// Whether the connection's own options (the conninfo's "options", e.g.
// "-c lock_timeout=5000") set the lock timeout, which the default must then not replace.
bool OptionsSetLockTimeout(PGconn* conn)
{
    bool set = false;
    PQconninfoOption* options = PQconninfo(conn);
    for (PQconninfoOption* o = options; o && o->keyword; ++o)
        if (std::strcmp(o->keyword, "options") == 0 && o->val && std::strstr(o->val, "lock_timeout")) set = true;
    PQconninfoFree(options);
    return set;
}

// The key of the advisory lock under which schema changes run.
constexpr char const* schemaLockSql = "SELECT pg_advisory_xact_lock(7308604897068083577)";

class PgConnection final : public KelDrvConnection {
public:
    explicit PgConnection(std::string const& url) : _statements(0)
    {
        _session.conn = PQconnectdb(url.c_str());
        if (!_session.conn || PQstatus(_session.conn) != CONNECTION_OK) {
            KelDBException e = PgError(_session.conn, nullptr, "", "", "KelDrvOpenPostgreSQL");
            PQfinish(_session.conn);
            throw e;
        }
        // Notices ("relation already exists, skipping") are not errors; keep them off stderr.
        PQsetNoticeProcessor(_session.conn, IgnoreNotice, nullptr);
        try {
            if (!OptionsSetLockTimeout(_session.conn)) SetLockTimeout(defaultLockTimeout);
        } catch (...) {
            PQfinish(_session.conn);
            throw;
        }
    }
    ~PgConnection() override { PQfinish(_session.conn); }

    KelDBType::Type Type() const override { return KelDBType::PostgreSQL; }
    KelDrvDialect const& Dialect() const override { return postgresDialect; }

    std::unique_ptr<KelDrvStatement> Prepare(std::string const& sql, std::string const& table, bool) override
    {
        std::string name = "kel_" + std::to_string(++_statements);
        // Inside a pipeline the preparation goes out with the statement's first run.
        bool const now = PQpipelineStatus(_session.conn) == PQ_PIPELINE_OFF;
        if (now) PrepareOn(_session, name, sql, table);
        return std::make_unique<PgStatement>(_session, std::move(name), sql, table, now);
    }

    void Execute(std::string const& sql) override
    {
        PgResult result(PQexec(_session.conn, sql.c_str()));
        if (!result.Ok()) throw PgError(_session.conn, result.r, sql, "", "PgConnection::Execute");
    }

    void Begin() override
    {
        Execute("BEGIN");
        _session.savepoint = false;
    }
    // One snapshot for the whole transaction: its reads agree with each other, also on a
    // standby that replays the primary's changes meanwhile.
    void BeginReadOnly() override
    {
        Execute("BEGIN ISOLATION LEVEL REPEATABLE READ, READ ONLY");
        _session.savepoint = false;
    }
    void Commit() override
    {
        // COMMIT of a transaction that an error has aborted only rolls it back; say so.
        if (PQtransactionStatus(_session.conn) == PQTRANS_INERROR) {
            Execute("ROLLBACK");
            throw KelDBException(KelOrigin(__FILE__, __LINE__, "PgConnection::Commit"), KelDBErrorCategory::Other, 0,
                                 "25P02", "an earlier statement failed; the transaction was rolled back", "COMMIT");
        }
        // A connection known to be lost has not sent COMMIT: nothing was committed.
        if (PQstatus(_session.conn) == CONNECTION_BAD) {
            throw KelDBException(KelOrigin(__FILE__, __LINE__, "PgConnection::Commit"),
                                 KelDBErrorCategory::ConnectionLost, CONNECTION_BAD, "",
                                 "the connection was lost before COMMIT was sent", "COMMIT");
        }
        PgResult result(PQexec(_session.conn, "COMMIT"));
        if (result.Ok()) return;
        KelDBException e = PgError(_session.conn, result.r, "COMMIT", "", "PgConnection::Commit");
        if (e.Category() != KelDBErrorCategory::ConnectionLost) throw e;
        throw KelDBException(e.GetOrigin(), KelDBErrorCategory::OutcomeUnknown, e.NativeCode(), e.SqlState(),
                             "the connection was lost while COMMIT was in flight; the transaction may or may not "
                             "have been committed (" +
                                 e.Message() + ")",
                             "COMMIT");
    }
    void Rollback() override
    {
        // A lost connection has no transaction left to end: the server discarded it with
        // the session.
        if (InTransaction()) Execute("ROLLBACK");
    }
    bool InTransaction() const override
    {
        PGTransactionStatusType s = PQtransactionStatus(_session.conn);
        return s == PQTRANS_INTRANS || s == PQTRANS_INERROR || s == PQTRANS_ACTIVE;
    }
    bool CanReconnect() const override { return true; }
    // The same connection string: with several hosts, libpq finds the one that serves.
    void Reconnect() override
    {
        PQreset(_session.conn);
        ++_session.generation;
        _session.savepoint = false;
        if (PQstatus(_session.conn) != CONNECTION_OK)
            throw PgError(_session.conn, nullptr, "", "", "PgConnection::Reconnect");
        PQsetNoticeProcessor(_session.conn, IgnoreNotice, nullptr);
        if (_lockTimeout) SetLockTimeout(*_lockTimeout);
    }
    void LockSchema() override { Execute(schemaLockSql); }

    // Inside a transaction that has not failed: outside one each statement would commit
    // alone, and a failed one must show its error at the first write as before.
    bool CanPipeline() const override { return PQtransactionStatus(_session.conn) == PQTRANS_INTRANS; }
    void PipelineBegin() override
    {
        if (!PQenterPipelineMode(_session.conn))
            throw PgError(_session.conn, nullptr, "", "", "PgConnection::PipelineBegin");
        _session.synced = false;
        _session.count = 0;
        _session.nextFlush = 1;
    }
    std::int64_t PipelineResult() override
    {
        PGconn* conn = _session.conn;
        if (!_session.synced) {
            _session.synced = true;
            PQpipelineSync(conn);  // a failure to send shows in the results
        }
        for (;;) {
            PgSent const next = _session.sent.front();
            _session.sent.pop_front();
            PGresult* result = PQgetResult(conn);
            // Each statement's results end with a null; a lost connection may give only that.
            if (result) PQclear(PQgetResult(conn));
            // A savepoint's failure shows as the failure of the statement after it.
            PgStatement* stmt = next.stmt;
            for (std::size_t i = 0; !stmt && i < _session.sent.size(); ++i) stmt = _session.sent[i].stmt;
            if (!stmt) {
                // Only a savepoint is left: the caller asked for a result that was never sent.
                PQclear(result);
                throw KelDBException(KelOrigin(__FILE__, __LINE__, "PgConnection::PipelineResult"),
                                     KelDBErrorCategory::Other, 0, "", "no statement was sent to take a result of", "",
                                     "");
            }
            std::int64_t const changes = stmt->Outcome(result, next.prepare);
            if (next.stmt && !next.prepare) return changes;
        }
    }
    // A savepoint; one set by an earlier pipeline of the transaction is released first,
    // so that they do not nest.
    void PipelineGuard() override
    {
        if (_session.savepoint) _session.SendUtility("RELEASE SAVEPOINT kel_pipeline");
        _session.SendUtility("SAVEPOINT kel_pipeline");
        _session.savepoint = true;
    }
    void PipelineUndo() override
    {
        PipelineEnd();
        Execute("ROLLBACK TO SAVEPOINT kel_pipeline");
    }
    void PipelineEnd() noexcept override
    {
        PGconn* conn = _session.conn;
        bool const nothingSent = _session.sent.empty() && _session.count == 0;
        std::deque<PgSent> pending;
        pending.swap(_session.sent);
        if (PQpipelineStatus(conn) == PQ_PIPELINE_OFF) return;
        if (nothingSent) {
            PQexitPipelineMode(conn);
            return;
        }
        if (!_session.synced) PQpipelineSync(conn);
        _session.synced = true;
        // The results not taken, each ended by a null: a preparation that the server
        // skipped after a failed statement has to be sent again. (One that ran stays: a
        // rollback does not take back a prepared statement.)
        for (PgSent const& next : pending) {
            if (PQstatus(conn) == CONNECTION_BAD) break;
            PGresult* result = PQgetResult(conn);
            if (!result) break;
            bool const ran = PQresultStatus(result) == PGRES_COMMAND_OK;
            PQclear(result);
            PQclear(PQgetResult(conn));
            if (next.prepare && !ran) next.stmt->Unprepared();
        }
        // Results until the end of the pipeline; two nulls in a row mean nothing more comes.
        int nulls = 0;
        while (PQstatus(conn) != CONNECTION_BAD && nulls < 2) {
            PGresult* result = PQgetResult(conn);
            if (!result) {
                ++nulls;
                continue;
            }
            nulls = 0;
            bool const end = PQresultStatus(result) == PGRES_PIPELINE_SYNC;
            PQclear(result);
            if (end) break;
        }
        PQexitPipelineMode(conn);
    }
    // Applies to the session; a rollback of the transaction that set it undoes it.
    void SetLockTimeout(std::chrono::milliseconds timeout) override
    {
        static char const sql[] = "SELECT set_config('lock_timeout', $1, false)";
        std::string value = std::to_string(timeout.count());
        char const* values[] = {value.c_str()};
        PgResult result(PQexecParams(_session.conn, sql, 1, nullptr, values, nullptr, nullptr, 0));
        if (!result.Ok()) throw PgError(_session.conn, result.r, sql, "", "PgConnection::SetLockTimeout");
        _lockTimeout = timeout;
    }

private:
    PgSession _session;
    unsigned _statements;
    // The lock timeout set through this connection, applied again after a reconnect.
    std::optional<std::chrono::milliseconds> _lockTimeout;
};

}  // namespace

std::unique_ptr<KelDrvConnection> KelDrvOpenPostgreSQL(std::string const& url)
{
    return std::make_unique<PgConnection>(url);
}
