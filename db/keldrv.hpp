// The statement interface that both database drivers implement; used by KelDatabase and
// its accessors only. A connection prepares statements once and hands out statement
// objects that are bound, stepped and read, then reset. The drivers' own headers stay in
// their .cpp files.
//
// SQL given to Prepare names its parameters $1, $2, ... and never contains a value.
// Parameter positions count from 1, result columns from 0. Every failure throws a
// KelDBException (not yet traced: the caller adds the key and raises it).
//
// A statement belongs to the connection that prepared it and must not outlive it. One
// connection and its statements are used by one thread at a time.
#pragma once

#include "db/keldkrnl.hpp"
#include "kernel/kelkbin.hpp"
#include "kernel/kelkoid.hpp"
#include "kernel/kelkstr.hpp"

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

class KelDrvStatement {
public:
    KelDrvStatement(std::string sql, std::string table) : _sql(std::move(sql)), _table(std::move(table)) {}
    virtual ~KelDrvStatement();
    KelDrvStatement(KelDrvStatement const&) = delete;
    KelDrvStatement& operator=(KelDrvStatement const&) = delete;

    // Binding keeps a reference to the value's representation until Reset, so the
    // caller's handle may go away while a cursor is open. A null handle binds NULL.
    virtual void BindNull(int pos) = 0;
    virtual void BindInt32(int pos, std::int32_t value) = 0;
    void BindInt16(int pos, std::int16_t value) { BindInt32(pos, value); }
    virtual void BindText(int pos, KelString const& value) = 0;
    virtual void BindBlob(int pos, KelBinary const& value) = 0;
    // Binds an OID's 16 bytes, which the statement copies into room of its own: a key
    // bound so needs no representation made and kept.
    virtual void BindOid(int pos, KelOID const& oid);

    // Runs the statement on the first call after Reset and moves to its first row; later
    // calls move to the next row. False when no row is left (always for a statement that
    // returns no rows).
    virtual bool Step() = 0;
    // Rows that a finished INSERT, UPDATE or DELETE changed.
    virtual std::int64_t Changes() const = 0;

    // Column readers; REQUIRES: the last Step returned true.
    virtual bool IsNull(int col) const = 0;
    virtual std::int32_t ColumnInt32(int col) const = 0;
    // The stored bytes of a column that is not NULL, valid until the next Step or Reset
    // (possibly a null pointer for no bytes).
    virtual char const* ColumnBytes(int col, std::int32_t& length) const = 0;
    // A column in one call, as a fetched row is read: false for NULL; otherwise true with
    // what ColumnBytes or ColumnInt32 gives. The drivers answer without asking twice.
    virtual bool ColumnBytesIfSet(int col, char const*& data, std::int32_t& length) const;
    virtual bool ColumnInt32IfSet(int col, std::int32_t& value) const;
    // Copies of the exact bytes stored; a NULL column gives a null handle.
    KelString ColumnText(int col) const;
    KelBinary ColumnBlob(int col) const;

    // Ends the current use: drops results and bound values. Safe to call at any time.
    virtual void Reset() noexcept = 0;

    // Sends the statement with its bound values as the next one of the connection's open
    // pipeline and drops the bound values; its outcome comes from
    // KelDrvConnection::PipelineResult, in the order sent. REQUIRES: CanPipeline().
    virtual void Send();

    std::string const& Sql() const { return _sql; }
    std::string const& Table() const { return _table; }

private:
    std::string _sql;
    std::string _table;
};

// Resets a statement when the scope of one use ends, normally or by an exception.
class KelDrvUse {
public:
    explicit KelDrvUse(KelDrvStatement& stmt) : _stmt(stmt) {}
    ~KelDrvUse() { _stmt.Reset(); }
    KelDrvUse(KelDrvUse const&) = delete;
    KelDrvUse& operator=(KelDrvUse const&) = delete;

private:
    KelDrvStatement& _stmt;
};

// SQL words in which the two databases differ.
struct KelDrvDialect {
    char const* oidType;     // column type of 16-byte identifiers
    char const* textType;    // column type of texts that must keep every byte
    char const* intType;     // 32-bit integer column type
    char const* lockClause;  // appended to a SELECT that locks the rows of alias t
};

class KelDrvConnection {
public:
    KelDrvConnection() = default;
    virtual ~KelDrvConnection();
    KelDrvConnection(KelDrvConnection const&) = delete;
    KelDrvConnection& operator=(KelDrvConnection const&) = delete;

    virtual KelDBType::Type Type() const = 0;
    virtual KelDrvDialect const& Dialect() const = 0;
    // `table` only names the table in error reports; `locksRows` marks a read that takes
    // row locks, which a read-only transaction refuses.
    virtual std::unique_ptr<KelDrvStatement> Prepare(std::string const& sql, std::string const& table,
                                                     bool locksRows = false) = 0;
    // Runs SQL without parameters and results (schema changes).
    virtual void Execute(std::string const& sql) = 0;

    // A transaction that may write; REQUIRES: none is open.
    virtual void Begin() = 0;
    // A transaction that only reads: it waits for no writer, and a write or a row lock
    // inside it fails with a KelDBException of category ReadOnly. REQUIRES: none is open.
    virtual void BeginReadOnly() = 0;
    // A connection lost while COMMIT was in flight raises category OutcomeUnknown: the
    // transaction may or may not have been committed.
    virtual void Commit() = 0;
    virtual void Rollback() = 0;
    virtual bool InTransaction() const = 0;
    // Whether Reconnect can replace a lost connection (a server database can; a file
    // cannot be lost that way).
    virtual bool CanReconnect() const = 0;
    // Opens the connection again with the same name; statements prepare themselves
    // again on their next use and the session settings are applied again.
    virtual void Reconnect() = 0;
    // Serializes schema changes of processes that start at once; held until the
    // transaction ends. REQUIRES: a transaction is open.
    virtual void LockSchema() = 0;
    // How long a statement waits for a lock held by another connection before it fails
    // with a retryable KelDBException.
    virtual void SetLockTimeout(std::chrono::milliseconds timeout) = 0;

    // A pipeline sends statements (KelDrvStatement::Send) without waiting for their results,
    // which come back in the order sent; after a failed statement the server skips the
    // rest. Only where CanPipeline(): a file database has no round trips to save.
    virtual bool CanPipeline() const { return false; }
    virtual void PipelineBegin();
    // The rows changed by the oldest statement sent whose result was not taken yet; its
    // failure throws as Step would have. REQUIRES: a statement sent and not yet taken.
    virtual std::int64_t PipelineResult();
    // Skips the results not taken and leaves the pipeline. Safe to call at any time.
    virtual void PipelineEnd() noexcept {}
    // Marks the point in the open pipeline to which PipelineUndo goes back.
    virtual void PipelineGuard();
    // Leaves the pipeline and takes back every write sent after its guard, failed or
    // not: the transaction is usable again. REQUIRES: PipelineGuard was called in it.
    virtual void PipelineUndo();

    // Rows the accessors have set out to write on this connection, counted up; the
    // accessors stamp their writes with it.
    std::uint64_t writes = 0;
};

// Opens "sqlite:PATH", "sqlite::memory:" (either with SQLite options after a "?", see
// db/keldrvsq.hpp), a "postgresql://" or "postgres://" URL, or a libpq conninfo
// ("host=... dbname=..."). Throws KelDBException.
std::unique_ptr<KelDrvConnection> KelDrvOpen(std::string const& url);

// A write transaction that rolls back unless committed.
class KelDrvTransaction {
public:
    explicit KelDrvTransaction(KelDrvConnection& conn) : _conn(conn), _open(true) { _conn.Begin(); }
    ~KelDrvTransaction();
    KelDrvTransaction(KelDrvTransaction const&) = delete;
    KelDrvTransaction& operator=(KelDrvTransaction const&) = delete;
    void Commit();

private:
    KelDrvConnection& _conn;
    bool _open;
};
