// KelDatabase: one connection to the database of one administration server and one
// accessor object per table. The embedding server owns the transaction (Begin, Commit,
// Rollback); the object caches reach the tables only through the accessors, which the
// getters return by reference for the life of the database.
//
// A KelDatabase is used by one thread at a time; two of them are two connections, which
// the database isolates from each other (row locks, the SQLite write lock). Errors raise
// KelDBException. The accessor classes are declared here and defined in their own
// headers (db/kelda*.hpp), all of which this header includes at its end.
#pragma once

#include "db/keldkrnl.hpp"

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <string>

class KelDrvConnection;
class KelDBAccessor;
class KelDBException;
struct KelDBCallCounts;

class KelDatabase {
public:
    class SvrInstanceState;
    class SystemState;
    class SystemLog;
    class ErrorLog;
    class Person;
    class Role;
    class System;
    class Server;
    class Domain;

    // Opens "sqlite:PATH", "sqlite::memory:", a "postgresql://..." URL or a libpq
    // conninfo, and records its type for KelGetRtDbType. An SQLite name may end in
    // "?" and options joined by "&": "mode=ro" (read-only), "max_page_count=N" (a size
    // limit), "busy_timeout=MS" (the lock timeout, default 30000) and
    // "synchronous=off|normal|full" (SQLite's default otherwise). On PostgreSQL the
    // conninfo's options set the lock and statement timeouts, e.g.
    // "options='-c lock_timeout=5000 -c statement_timeout=60000'"; without a lock timeout
    // there, it is 30 s. Raises KelDBException.
    static std::unique_ptr<KelDatabase> Open(std::string const& url);
    ~KelDatabase();
    KelDatabase(KelDatabase const&) = delete;
    KelDatabase& operator=(KelDatabase const&) = delete;

    KelDBType::Type Type() const;

    // Starts a transaction that may write. REQUIRES: none is open. After a lost
    // connection it raises category ConnectionLost until Reconnect (the transaction
    // runner reconnects by itself).
    void Begin();
    // Starts a transaction that only reads: on SQLite it waits for no writer (BEGIN
    // DEFERRED; in WAL mode a reader never waits), on PostgreSQL a READ ONLY transaction
    // at REPEATABLE READ (one snapshot for all its reads, on a standby too).
    // A write or a row lock inside it raises a KelDBException of category ReadOnly.
    // REQUIRES: none is open.
    void BeginReadOnly();
    // A connection lost while COMMIT was in flight raises category OutcomeUnknown: the
    // transaction may or may not have been committed. Its Table() and Key() name the row
    // that the transaction wrote last: if that row is there (or, for a delete, gone), the
    // whole transaction was committed.
    void Commit();
    // Ends the open transaction, if any, without its changes.
    void Rollback();
    bool InTransaction() const;
    // Whether a lost connection can be opened again (PostgreSQL; an SQLite file cannot
    // be lost that way), and doing so with the same name. Statements prepare themselves
    // again on their next use.
    bool CanReconnect() const;
    void Reconnect();

    // Creates the nine tables and their indexes where they are missing; safe when many
    // processes start at once (PostgreSQL: under a transaction-level advisory lock;
    // SQLite: in an immediate transaction), and running it again changes nothing.
    void CreateSchema();
    // Drops the nine tables where they exist (for tests and tools that start afresh).
    void DropSchema();
    // How long a statement waits for a lock that another connection holds before it
    // raises a retryable KelDBException (default 30 s). On PostgreSQL a setting made
    // inside a transaction ends with that transaction if it rolls back.
    void SetLockTimeout(std::chrono::milliseconds timeout);

    // Call counts of every accessor, by table name.
    std::map<std::string, KelDBCallCounts> Statistics() const;
    void ResetStatistics();

    SvrInstanceState& svrInstanceState() { return *_svrInstanceState; }
    SystemState& systemState() { return *_systemState; }
    SystemLog& systemLog() { return *_systemLog; }
    ErrorLog& errorLog() { return *_errorLog; }
    Person& person() { return *_person; }
    Role& role() { return *_role; }
    System& system() { return *_system; }
    Server& server() { return *_server; }
    Domain& domain() { return *_domain; }

    // The accessor of the table of A, chosen by the static type of the unused pointer.
    SvrInstanceState& accessorObject(SvrInstanceState const*) { return *_svrInstanceState; }
    SystemState& accessorObject(SystemState const*) { return *_systemState; }
    SystemLog& accessorObject(SystemLog const*) { return *_systemLog; }
    ErrorLog& accessorObject(ErrorLog const*) { return *_errorLog; }
    Person& accessorObject(Person const*) { return *_person; }
    Role& accessorObject(Role const*) { return *_role; }
    System& accessorObject(System const*) { return *_system; }
    Server& accessorObject(Server const*) { return *_server; }
    Domain& accessorObject(Domain const*) { return *_domain; }

private:
    explicit KelDatabase(std::unique_ptr<KelDrvConnection> conn);
    void NameLastWrite(KelDBException& e) const;

    std::unique_ptr<KelDrvConnection> _conn;
    std::unique_ptr<SvrInstanceState> _svrInstanceState;
    std::unique_ptr<SystemState> _systemState;
    std::unique_ptr<SystemLog> _systemLog;
    std::unique_ptr<ErrorLog> _errorLog;
    std::unique_ptr<Person> _person;
    std::unique_ptr<Role> _role;
    std::unique_ptr<System> _system;
    std::unique_ptr<Server> _server;
    std::unique_ptr<Domain> _domain;
    // The nine accessors, in the order in which the schema creates their tables.
    KelDBAccessor* _accessors[9];
    // The connection's write count when the open transaction began.
    std::uint64_t _beginStamp = 0;
};

#include "db/keldadom.hpp"
#include "db/keldaerl.hpp"
#include "db/keldaper.hpp"
#include "db/keldarol.hpp"
#include "db/keldaslg.hpp"
#include "db/keldassv.hpp"
#include "db/keldassy.hpp"
#include "db/keldasvi.hpp"
#include "db/keldasys.hpp"
