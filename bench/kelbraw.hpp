// What the two raw contenders share: the plain structs they read rows into, and the SQL
// that they prepare. The statements are the ones the library's accessors run on the
// same tables (same columns, same order, same key and filter), written with numbered
// parameters ($1 ...); the SQLite contender turns them into ?1 ....
#pragma once

#include "bench/kelbdata.hpp"

#include <cstdint>
#include <string>
#include <vector>

struct KelBenchRawLogRow {
    KelBenchOid objectId;
    std::string creationTime;
    std::string system;
    std::string systemGroup;
    std::int32_t messageNumber = 0;
    std::int32_t severity = 0;
    std::int32_t messageClass = 0;
    std::int32_t messageType = 0;
    std::int16_t iMessageType = -1;
    std::int16_t errorFlag = 0;
    std::int32_t svrKind = 0;
    std::int16_t iSvrKind = -1;
    std::int32_t svrState = 0;
    std::int16_t iSvrState = -1;
    std::int32_t exception = 0;
    std::int16_t iException = -1;
    std::string eventIdentifier;
    std::int16_t iEventIdentifier = -1;
    std::string userId;
    std::int16_t iUserId = -1;
    std::string messageParameters;
    std::int16_t iMessageParameters = -1;
};

struct KelBenchRawInstanceRow {
    KelBenchOid svrOid;
    std::string creationTime;
    KelBenchOid systemOid;
    std::int32_t svrType = 0;
    std::int32_t svrState = 0;
    std::string lastStateChange;
    std::int16_t iLastStateChange = -1;
    std::int32_t requestType = 0;
    std::int16_t iRequestType = -1;
};

struct KelBenchRawStateRow {
    KelBenchOid systemOid;
    std::string adminSvrStart;
    std::int16_t iAdminSvrStart = -1;
    std::int32_t adminSvrState = 0;
};

// SQL words in which the two databases differ.
struct KelBenchRawDialect {
    char const* oidType;
    char const* textType;
    char const* intType;
    char const* lockClause;
};

struct KelBenchRawSql {
    // CREATE TABLE and CREATE INDEX of the three tables, and their DROP TABLE.
    static std::vector<std::string> Schema(KelBenchRawDialect const& dialect);
    static std::vector<std::string> DropSchema();

    static std::string const logInsert;
    static std::string const logBySystem;  // $1 system name, in key order
    static std::string const logByKey;     // $1 object id
    static std::string const instanceInsert;
    static std::string LockInstances(KelBenchRawDialect const& dialect);  // $1 system oid, key order
    static std::string const instanceUpdate;                              // every column but the key, then $7 the key
    static std::string const stateInsert;
    static std::string LockState(KelBenchRawDialect const& dialect);  // $1 system oid
    static std::string const stateUpdate;                             // every column but the key, then $3 the key
};

// The input records in ascending key order: the order in which the object manager writes
// (its Flush walks its cache in key order), so that both kinds leave the same table.
std::vector<KelBenchLogInput const*> KelBenchKeyOrder(std::vector<KelBenchLogInput> const& logs);

// The row that the write workload inserts for one input record (parameters joined,
// time formatted), and the row that seeds one server instance.
void KelBenchRawRowOf(KelBenchLogInput const& in, KelBenchRawLogRow& row);
void KelBenchRawRowOf(KelBenchInstanceInput const& in, KelBenchOid const& systemOid, KelBenchRawInstanceRow& row);
// The change of the lock-and-update workload: the updated state, changed at the update time.
void KelBenchRawChange(KelBenchRawInstanceRow& row);
// The small transactions' system state as Prepare inserts it, and the change of one transaction.
void KelBenchRawStateOf(KelBenchData const& data, KelBenchRawStateRow& row);
void KelBenchRawChange(KelBenchTxnInput const& txn, KelBenchRawStateRow& state,
                       std::vector<KelBenchRawInstanceRow>& instances);
