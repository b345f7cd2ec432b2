#include "bench/kelbrawpg.hpp"

#include <libpq-fe.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <stdexcept>

namespace {

struct ResultFree {
    void operator()(PGresult* r) const { PQclear(r); }
};
using Result = std::unique_ptr<PGresult, ResultFree>;

[[noreturn]] void Fail(PGconn* conn, char const* what)
{
    throw std::runtime_error(std::string("postgresql: ") + what + ": " + (conn ? PQerrorMessage(conn) : ""));
}

Result Check(PGconn* conn, PGresult* r, char const* what)
{
    Result result(r);
    ExecStatusType const status = PQresultStatus(r);
    if (!r || (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK)) Fail(conn, what);
    return result;
}

// Parameters of one statement in binary form; values point into the bound rows, numbers
// into the parameters' own buffers.
class Params {
public:
    explicit Params(int count) : _values(count), _lengths(count), _formats(count, 1), _numbers(count) {}
    void Null(int pos) { _values[Index(pos)] = nullptr; }
    void Bytes(int pos, void const* data, std::size_t n)
    {
        _values[Index(pos)] = static_cast<char const*>(data);
        _lengths[Index(pos)] = static_cast<int>(n);
    }
    void Text(int pos, std::string const& value, std::int16_t indicator = 0)
    {
        if (indicator == -1) return Null(pos);
        Bytes(pos, value.data(), value.size());
    }
    void Oid(int pos, KelBenchOid const& oid) { Bytes(pos, oid.data(), oid.size()); }
    void Int(int pos, std::int32_t value, std::int16_t indicator = 0)
    {
        if (indicator == -1) return Null(pos);
        std::uint32_t const v = static_cast<std::uint32_t>(value);
        unsigned char* p = _numbers[Index(pos)].bytes;
        p[0] = static_cast<unsigned char>(v >> 24);
        p[1] = static_cast<unsigned char>(v >> 16);
        p[2] = static_cast<unsigned char>(v >> 8);
        p[3] = static_cast<unsigned char>(v);
        Bytes(pos, p, 4);
    }
    PGresult* Exec(PGconn* conn, char const* name) const
    {
        return PQexecPrepared(conn, name, static_cast<int>(_values.size()), _values.data(), _lengths.data(),
                              _formats.data(), 1);
    }
    // Queues the statement in the connection's pipeline (libpq copies the values).
    void Send(PGconn* conn, char const* name) const
    {
        if (!PQsendQueryPrepared(conn, name, static_cast<int>(_values.size()), _values.data(), _lengths.data(),
                                 _formats.data(), 1))
            Fail(conn, "sending a statement");
    }

private:
    static std::size_t Index(int pos) { return static_cast<std::size_t>(pos - 1); }
    struct Number {
        unsigned char bytes[4];
    };
    std::vector<char const*> _values;
    std::vector<int> _lengths;
    std::vector<int> _formats;
    std::vector<Number> _numbers;
};

std::int32_t Int(PGresult* r, int row, int col)
{
    unsigned char const* p = reinterpret_cast<unsigned char const*>(PQgetvalue(r, row, col));
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(p[0]) << 24 | static_cast<std::uint32_t>(p[1]) << 16 |
                                     static_cast<std::uint32_t>(p[2]) << 8 | p[3]);
}

void ReadText(PGresult* r, int row, int col, std::string& value)
{
    value.assign(PQgetvalue(r, row, col), static_cast<std::size_t>(PQgetlength(r, row, col)));
}

void ReadText(PGresult* r, int row, int col, std::string& value, std::int16_t& indicator)
{
    indicator = PQgetisnull(r, row, col) ? -1 : 0;
    if (indicator == 0) ReadText(r, row, col, value);
}

void ReadInt(PGresult* r, int row, int col, std::int32_t& value, std::int16_t& indicator)
{
    indicator = PQgetisnull(r, row, col) ? -1 : 0;
    if (indicator == 0) value = Int(r, row, col);
}

void ReadOid(PGresult* r, int row, int col, KelBenchOid& oid)
{
    if (PQgetlength(r, row, col) == 16)
        std::memcpy(oid.data(), PQgetvalue(r, row, col), 16);
    else
        oid.fill(0);
}

void ReadLog(PGresult* r, int i, KelBenchRawLogRow& row)
{
    ReadOid(r, i, 0, row.objectId);
    ReadText(r, i, 1, row.creationTime);
    ReadText(r, i, 2, row.system);
    ReadText(r, i, 3, row.systemGroup);
    row.messageNumber = Int(r, i, 4);
    row.severity = Int(r, i, 5);
    row.messageClass = Int(r, i, 6);
    ReadInt(r, i, 7, row.messageType, row.iMessageType);
    row.errorFlag = static_cast<std::int16_t>(Int(r, i, 8));
    ReadInt(r, i, 9, row.svrKind, row.iSvrKind);
    ReadInt(r, i, 10, row.svrState, row.iSvrState);
    ReadInt(r, i, 11, row.exception, row.iException);
    ReadText(r, i, 12, row.eventIdentifier, row.iEventIdentifier);
    ReadText(r, i, 13, row.userId, row.iUserId);
    ReadText(r, i, 14, row.messageParameters, row.iMessageParameters);
}

void ReadInstance(PGresult* r, int i, KelBenchRawInstanceRow& row)
{
    ReadOid(r, i, 0, row.svrOid);
    ReadText(r, i, 1, row.creationTime);
    ReadOid(r, i, 2, row.systemOid);
    row.svrType = Int(r, i, 3);
    row.svrState = Int(r, i, 4);
    ReadText(r, i, 5, row.lastStateChange, row.iLastStateChange);
    ReadInt(r, i, 6, row.requestType, row.iRequestType);
}

void BindLog(Params& p, KelBenchRawLogRow const& row)
{
    p.Oid(1, row.objectId);
    p.Text(2, row.creationTime);
    p.Text(3, row.system);
    p.Text(4, row.systemGroup);
    p.Int(5, row.messageNumber);
    p.Int(6, row.severity);
    p.Int(7, row.messageClass);
    p.Int(8, row.messageType, row.iMessageType);
    p.Int(9, row.errorFlag);
    p.Int(10, row.svrKind, row.iSvrKind);
    p.Int(11, row.svrState, row.iSvrState);
    p.Int(12, row.exception, row.iException);
    p.Text(13, row.eventIdentifier, row.iEventIdentifier);
    p.Text(14, row.userId, row.iUserId);
    p.Text(15, row.messageParameters, row.iMessageParameters);
}

void BindInstance(Params& p, KelBenchRawInstanceRow const& row)
{
    p.Oid(1, row.svrOid);
    p.Text(2, row.creationTime);
    p.Oid(3, row.systemOid);
    p.Int(4, row.svrType);
    p.Int(5, row.svrState);
    p.Text(6, row.lastStateChange, row.iLastStateChange);
    p.Int(7, row.requestType, row.iRequestType);
}

std::size_t Changed(PGresult* r) { return static_cast<std::size_t>(std::atoll(PQcmdTuples(r))); }

// The instances of a system, locked, in key order; `p` holds one parameter.
void LockInstances(PGconn* conn, Params& p, KelBenchOid const& systemOid, std::vector<KelBenchRawInstanceRow>& rows)
{
    p.Oid(1, systemOid);
    Result r = Check(conn, p.Exec(conn, "lock_instances"), "locking the server instances");
    int const n = PQntuples(r.get());
    rows.resize(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) ReadInstance(r.get(), i, rows[static_cast<std::size_t>(i)]);
}

// The parameters of instance_update: the changed columns, then the key.
void BindInstanceUpdate(Params& p, KelBenchRawInstanceRow const& row)
{
    p.Text(1, row.creationTime);
    p.Oid(2, row.systemOid);
    p.Int(3, row.svrType);
    p.Int(4, row.svrState);
    p.Text(5, row.lastStateChange, row.iLastStateChange);
    p.Int(6, row.requestType, row.iRequestType);
    p.Oid(7, row.svrOid);
}

std::size_t UpdateInstance(PGconn* conn, Params& p, KelBenchRawInstanceRow const& row)
{
    BindInstanceUpdate(p, row);
    return Changed(Check(conn, p.Exec(conn, "instance_update"), "updating a server instance").get());
}

// Runs `count` statements as one pipeline: send(i) binds and sends the i-th; the results
// are read in order once all are sent. Every 256 statements what the server has answered
// is read in, so that it never blocks on results nobody reads. Returns the rows changed.
template <class SendOne>
std::size_t Pipelined(PGconn* conn, std::size_t count, SendOne&& send, char const* what)
{
    if (!PQenterPipelineMode(conn)) Fail(conn, "entering pipeline mode");
    for (std::size_t i = 0; i < count; ++i) {
        send(i);
        if (i % 256 == 255) {
            PQflush(conn);
            PQconsumeInput(conn);
        }
    }
    if (!PQpipelineSync(conn)) Fail(conn, "ending a pipeline");
    std::size_t changed = 0;
    for (std::size_t i = 0; i < count; ++i) {
        changed += Changed(Check(conn, PQgetResult(conn), what).get());
        PQclear(PQgetResult(conn));  // the null that ends each statement's results
    }
    Result const sync(PQgetResult(conn));
    if (PQresultStatus(sync.get()) != PGRES_PIPELINE_SYNC || !PQexitPipelineMode(conn)) Fail(conn, what);
    return changed;
}

KelBenchRawDialect const dialect{"bytea", "bytea", "INTEGER", " FOR UPDATE OF t"};

}  // namespace

KelBenchRawPostgreSQL::KelBenchRawPostgreSQL(std::string url, std::string schema, bool pipelined)
    : _url(std::move(url)), _schema(std::move(schema)), _pipelined(pipelined)
{
}

std::string KelBenchPgUrlInSchema(std::string const& url, std::string const& schema)
{
    if (url.find("://") == std::string::npos) return url + " options='-csearch_path=" + schema + "'";
    return url + (url.find('?') == std::string::npos ? "?" : "&") + "options=-csearch_path%3D" + schema;
}

KelBenchRawPostgreSQL::~KelBenchRawPostgreSQL() { PQfinish(_conn); }

void KelBenchRawPostgreSQL::Exec(char const* sql) { Check(_conn, PQexec(_conn, sql), sql); }

void KelBenchRawPostgreSQL::Prepare(KelBenchData const& data)
{
    PQfinish(_conn);
    _conn = PQconnectdb(_url.c_str());
    if (PQstatus(_conn) != CONNECTION_OK) Fail(_conn, "connecting");
    Exec("SET client_min_messages = warning");
    Exec(("CREATE SCHEMA IF NOT EXISTS " + _schema).c_str());
    Exec(("SET search_path TO " + _schema).c_str());
    for (std::string const& sql : KelBenchRawSql::DropSchema()) Exec(sql.c_str());
    for (std::string const& sql : KelBenchRawSql::Schema(dialect)) Exec(sql.c_str());
    struct Statement {
        char const* name;
        std::string sql;
    } const statements[] = {{"log_insert", KelBenchRawSql::logInsert},
                            {"log_by_system", KelBenchRawSql::logBySystem},
                            {"log_by_key", KelBenchRawSql::logByKey},
                            {"instance_insert", KelBenchRawSql::instanceInsert},
                            {"lock_instances", KelBenchRawSql::LockInstances(dialect)},
                            {"instance_update", KelBenchRawSql::instanceUpdate},
                            {"state_insert", KelBenchRawSql::stateInsert},
                            {"lock_state", KelBenchRawSql::LockState(dialect)},
                            {"state_update", KelBenchRawSql::stateUpdate}};
    for (Statement const& s : statements)
        Check(_conn, PQprepare(_conn, s.name, s.sql.c_str(), 0, nullptr), s.sql.c_str());

    Exec("BEGIN");
    KelBenchRawInstanceRow row;
    Params p(7);
    for (KelBenchInstanceInput const& in : data.instances) {
        KelBenchRawRowOf(in, data.InstanceSystemOid(), row);
        BindInstance(p, row);
        Check(_conn, p.Exec(_conn, "instance_insert"), "seeding the server instances");
    }
    for (KelBenchInstanceInput const& in : data.txnInstances) {
        KelBenchRawRowOf(in, data.txnSystemOid, row);
        BindInstance(p, row);
        Check(_conn, p.Exec(_conn, "instance_insert"), "seeding the server instances");
    }
    KelBenchRawStateRow state;
    KelBenchRawStateOf(data, state);
    Params s(3);
    s.Oid(1, state.systemOid);
    s.Text(2, state.adminSvrStart, state.iAdminSvrStart);
    s.Int(3, state.adminSvrState);
    Check(_conn, s.Exec(_conn, "state_insert"), "seeding the system state");
    Exec("COMMIT");
}

std::size_t KelBenchRawPostgreSQL::Write(KelBenchData const& data)
{
    Exec("BEGIN");
    KelBenchRawLogRow row;
    Params p(15);
    std::vector<KelBenchLogInput const*> const order = KelBenchKeyOrder(data.logs);
    if (_pipelined) {
        Pipelined(
            _conn, order.size(),
            [&](std::size_t i) {
                KelBenchRawRowOf(*order[i], row);
                BindLog(p, row);
                p.Send(_conn, "log_insert");
            },
            "inserting a system log record");
    } else {
        for (KelBenchLogInput const* in : order) {
            KelBenchRawRowOf(*in, row);
            BindLog(p, row);
            Check(_conn, p.Exec(_conn, "log_insert"), "inserting a system log record");
        }
    }
    Exec("COMMIT");
    return data.logs.size();
}

std::size_t KelBenchRawPostgreSQL::ReadSystem(KelBenchData const&)
{
    Exec("BEGIN");
    std::string const system = KelBenchData::systemNames[KelBenchData::ReadSystem()];
    Params p(1);
    p.Text(1, system);
    Result r = Check(_conn, p.Exec(_conn, "log_by_system"), "reading the records of a system");
    int const rows = PQntuples(r.get());
    _kept.resize(static_cast<std::size_t>(rows));
    for (int i = 0; i < rows; ++i) ReadLog(r.get(), i, _kept[static_cast<std::size_t>(i)]);
    return _kept.size();
}

std::size_t KelBenchRawPostgreSQL::Hits(KelBenchData const& data, int rounds)
{
    std::size_t found = 0;
    KelBenchRawLogRow row;
    Params p(1);
    for (int round = 0; round < rounds; ++round) {
        for (KelBenchOid const& key : data.ReadKeys()) {
            p.Oid(1, key);
            Result r = Check(_conn, p.Exec(_conn, "log_by_key"), "reading a system log record");
            if (PQntuples(r.get()) == 1) {
                ReadLog(r.get(), 0, row);
                ++found;
            }
        }
    }
    return found;
}

std::uint64_t KelBenchRawPostgreSQL::KeptSum() const
{
    std::uint64_t sum = 0;
    for (KelBenchRawLogRow const& row : _kept) sum += static_cast<std::uint64_t>(row.messageNumber);
    return sum;
}

std::size_t KelBenchRawPostgreSQL::RefreshAll(KelBenchData const&)
{
    std::size_t refreshed = 0;
    Params p(1);
    for (KelBenchRawLogRow& row : _kept) {
        p.Oid(1, row.objectId);
        Result r = Check(_conn, p.Exec(_conn, "log_by_key"), "reading a system log record");
        if (PQntuples(r.get()) == 1) {
            ReadLog(r.get(), 0, row);
            ++refreshed;
        }
    }
    return refreshed;
}

void KelBenchRawPostgreSQL::EndRead()
{
    Exec("COMMIT");
    std::vector<KelBenchRawLogRow>().swap(_kept);
}

std::size_t KelBenchRawPostgreSQL::LockAndUpdate(KelBenchData const& data)
{
    Exec("BEGIN");
    Params lock(1), p(7);
    std::vector<KelBenchRawInstanceRow> rows;
    LockInstances(_conn, lock, data.InstanceSystemOid(), rows);
    for (KelBenchRawInstanceRow& row : rows) KelBenchRawChange(row);
    std::size_t updated = 0;
    if (_pipelined) {
        updated = Pipelined(
            _conn, rows.size(),
            [&](std::size_t i) {
                BindInstanceUpdate(p, rows[i]);
                p.Send(_conn, "instance_update");
            },
            "updating a server instance");
    } else {
        for (KelBenchRawInstanceRow const& row : rows) updated += UpdateInstance(_conn, p, row);
    }
    Exec("COMMIT");
    return updated;
}

std::size_t KelBenchRawPostgreSQL::SmallTransactions(KelBenchData const& data, std::size_t count)
{
    std::size_t done = 0;
    KelBenchRawStateRow state;
    std::vector<KelBenchRawInstanceRow> instances;
    KelBenchRawLogRow log;
    Params key(1), update(3), instance(7), insert(15);
    for (std::size_t i = 0; i < count; ++i) {
        KelBenchTxnInput const& txn = data.txns[i];
        Exec("BEGIN");
        key.Oid(1, data.txnSystemOid);
        bool found;
        {
            Result r = Check(_conn, key.Exec(_conn, "lock_state"), "locking a system state");
            found = PQntuples(r.get()) == 1;
            if (found) {
                ReadOid(r.get(), 0, 0, state.systemOid);
                ReadText(r.get(), 0, 1, state.adminSvrStart, state.iAdminSvrStart);
                state.adminSvrState = Int(r.get(), 0, 2);
            }
        }
        LockInstances(_conn, key, data.txnSystemOid, instances);
        KelBenchRawChange(txn, state, instances);
        std::size_t changed = 0;
        if (found) {
            update.Text(1, state.adminSvrStart, state.iAdminSvrStart);
            update.Int(2, state.adminSvrState);
            update.Oid(3, state.systemOid);
            changed += Changed(Check(_conn, update.Exec(_conn, "state_update"), "updating a system state").get());
        }
        for (KelBenchRawInstanceRow const& row : instances) changed += UpdateInstance(_conn, instance, row);
        KelBenchRawRowOf(txn.log, log);
        BindLog(insert, log);
        changed += Changed(Check(_conn, insert.Exec(_conn, "log_insert"), "inserting a system log record").get());
        Exec("COMMIT");
        if (changed == 2 + KelBenchData::txnInstanceCount) ++done;
    }
    return done;
}

void KelBenchRawPostgreSQL::Finish()
{
    if (_conn && PQstatus(_conn) == CONNECTION_OK) {
        if (PQtransactionStatus(_conn) != PQTRANS_IDLE) PQclear(PQexec(_conn, "ROLLBACK"));
        for (std::string const& sql : KelBenchRawSql::DropSchema()) PQclear(PQexec(_conn, sql.c_str()));
    }
    PQfinish(_conn);
    _conn = nullptr;
    _kept.clear();
}
