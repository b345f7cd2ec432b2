#include "bench/kelbraw.hpp"

#include <algorithm>

namespace {

char const* const logColumns =
    "object_id, creation_time, system_name, system_group, message_number, severity, message_class, message_type, "
    "error_flag, svr_kind, svr_state, exception_no, event_identifier, user_id, message_parameters";
char const* const logSelect =
    "SELECT t.object_id, t.creation_time, t.system_name, t.system_group, t.message_number, t.severity, "
    "t.message_class, t.message_type, t.error_flag, t.svr_kind, t.svr_state, t.exception_no, t.event_identifier, "
    "t.user_id, t.message_parameters FROM kel_system_log t";
char const* const instanceSelect =
    "SELECT t.svr_oid, t.creation_time, t.system_oid, t.svr_type, t.svr_state, t.last_state_change, "
    "t.request_type FROM kel_svr_instance_state t";
char const* const stateSelect = "SELECT t.system_oid, t.admin_svr_start, t.admin_svr_state FROM kel_system_state t";

struct Column {
    char const* name;
    char kind;  // 'o' OID, 't' text, 'i' integer
    bool nullable;
};

std::string CreateTable(KelBenchRawDialect const& dialect, char const* table, std::vector<Column> const& columns,
                        char const* key)
{
    std::string sql = std::string("CREATE TABLE IF NOT EXISTS ") + table + " (";
    for (Column const& c : columns) {
        char const* type = c.kind == 'o' ? dialect.oidType : c.kind == 't' ? dialect.textType : dialect.intType;
        sql += std::string(c.name) + " " + type + (c.nullable ? "" : " NOT NULL") + ", ";
    }
    return sql + "PRIMARY KEY (" + key + "))";
}

}  // namespace

std::vector<std::string> KelBenchRawSql::Schema(KelBenchRawDialect const& dialect)
{
    return {
        CreateTable(dialect, "kel_system_log",
                    {{"object_id", 'o', false},
                     {"creation_time", 't', false},
                     {"system_name", 't', false},
                     {"system_group", 't', false},
                     {"message_number", 'i', false},
                     {"severity", 'i', false},
                     {"message_class", 'i', false},
                     {"message_type", 'i', true},
                     {"error_flag", 'i', false},
                     {"svr_kind", 'i', true},
                     {"svr_state", 'i', true},
                     {"exception_no", 'i', true},
                     {"event_identifier", 't', true},
                     {"user_id", 't', true},
                     {"message_parameters", 't', true}},
                    "object_id"),
        "CREATE INDEX IF NOT EXISTS kel_system_log_system_name_key_ix ON kel_system_log (system_name, object_id)",
        CreateTable(dialect, "kel_svr_instance_state",
                    {{"svr_oid", 'o', false},
                     {"creation_time", 't', false},
                     {"system_oid", 'o', false},
                     {"svr_type", 'i', false},
                     {"svr_state", 'i', false},
                     {"last_state_change", 't', true},
                     {"request_type", 'i', true}},
                    "svr_oid"),
        "CREATE INDEX IF NOT EXISTS kel_svr_instance_state_system_oid_key_ix ON kel_svr_instance_state (system_oid, "
        "svr_oid)",
        CreateTable(dialect, "kel_system_state",
                    {{"system_oid", 'o', false}, {"admin_svr_start", 't', true}, {"admin_svr_state", 'i', false}},
                    "system_oid")};
}

std::vector<std::string> KelBenchRawSql::DropSchema()
{
    return {"DROP TABLE IF EXISTS kel_system_log", "DROP TABLE IF EXISTS kel_svr_instance_state",
            "DROP TABLE IF EXISTS kel_system_state"};
}

std::string const KelBenchRawSql::logInsert = std::string("INSERT INTO kel_system_log (") + logColumns +
                                              ") VALUES ($1, $2, $3, $4, $5, $6, $7, $8, $9, $10, $11, $12, $13, "
                                              "$14, $15)";
std::string const KelBenchRawSql::logBySystem =
    std::string(logSelect) + " WHERE t.system_name = $1 ORDER BY t.object_id";
std::string const KelBenchRawSql::logByKey = std::string(logSelect) + " WHERE t.object_id = $1";
std::string const KelBenchRawSql::instanceInsert =
    "INSERT INTO kel_svr_instance_state (svr_oid, creation_time, system_oid, svr_type, svr_state, "
    "last_state_change, request_type) VALUES ($1, $2, $3, $4, $5, $6, $7)";
std::string const KelBenchRawSql::instanceUpdate =
    "UPDATE kel_svr_instance_state SET creation_time = $1, system_oid = $2, svr_type = $3, svr_state = $4, "
    "last_state_change = $5, request_type = $6 WHERE svr_oid = $7";

std::string const KelBenchRawSql::stateInsert =
    "INSERT INTO kel_system_state (system_oid, admin_svr_start, admin_svr_state) VALUES ($1, $2, $3)";
std::string const KelBenchRawSql::stateUpdate =
    "UPDATE kel_system_state SET admin_svr_start = $1, admin_svr_state = $2 WHERE system_oid = $3";

std::string KelBenchRawSql::LockState(KelBenchRawDialect const& dialect)
{
    return std::string(stateSelect) + " WHERE t.system_oid = $1" + dialect.lockClause;
}

std::string KelBenchRawSql::LockInstances(KelBenchRawDialect const& dialect)
{
    return std::string(instanceSelect) + " WHERE t.system_oid = $1 ORDER BY t.svr_oid" + dialect.lockClause;
}

std::vector<KelBenchLogInput const*> KelBenchKeyOrder(std::vector<KelBenchLogInput> const& logs)
{
    std::vector<KelBenchLogInput const*> order;
    order.reserve(logs.size());
    for (KelBenchLogInput const& in : logs) order.push_back(&in);
    std::sort(order.begin(), order.end(),
              [](KelBenchLogInput const* a, KelBenchLogInput const* b) { return a->objectId < b->objectId; });
    return order;
}

void KelBenchRawRowOf(KelBenchLogInput const& in, KelBenchRawLogRow& row)
{
    char time[27];
    KelBenchFormatTime(in.seconds, in.micros, time);
    row.objectId = in.objectId;
    row.creationTime.assign(time, 26);
    row.system = KelBenchData::systemNames[in.system];
    row.systemGroup = KelBenchData::systemGroup;
    row.messageNumber = in.messageNumber;
    row.severity = in.severity;
    row.messageClass = in.messageClass;
    row.messageType = in.messageType;
    row.iMessageType = 0;
    row.errorFlag = in.errorFlag ? 1 : 0;
    row.svrKind = in.svrKind;
    row.iSvrKind = 0;
    row.svrState = in.svrState;
    row.iSvrState = 0;
    row.exception = in.exceptionIsNull ? 0 : in.exception;
    row.iException = in.exceptionIsNull ? -1 : 0;
    row.eventIdentifier = in.eventIdentifier;
    row.iEventIdentifier = 0;
    row.userId = in.userId;
    row.iUserId = 0;
    KelBenchJoinParameters(in.parameters, row.messageParameters);
    row.iMessageParameters = 0;
}

void KelBenchRawRowOf(KelBenchInstanceInput const& in, KelBenchOid const& systemOid, KelBenchRawInstanceRow& row)
{
    char time[27];
    KelBenchFormatTime(in.seconds, in.micros, time);
    row.svrOid = in.svrOid;
    row.creationTime.assign(time, 26);
    row.systemOid = systemOid;
    row.svrType = in.svrType;
    row.svrState = in.svrState;
    row.lastStateChange = row.creationTime;
    row.iLastStateChange = 0;
    row.requestType = 0;
    row.iRequestType = 0;
}

void KelBenchRawChange(KelBenchRawInstanceRow& row)
{
    char time[27];
    KelBenchFormatTime(KelBenchData::updateSeconds, KelBenchData::updateMicros, time);
    row.svrState = KelBenchData::updatedState;
    row.lastStateChange.assign(time, 26);
    row.iLastStateChange = 0;
}

void KelBenchRawStateOf(KelBenchData const& data, KelBenchRawStateRow& row)
{
    char time[27];
    KelBenchFormatTime(data.txnInstances.front().seconds, data.txnInstances.front().micros, time);
    row.systemOid = data.txnSystemOid;
    row.adminSvrStart.assign(time, 26);
    row.iAdminSvrStart = 0;
    row.adminSvrState = 1;
}

void KelBenchRawChange(KelBenchTxnInput const& txn, KelBenchRawStateRow& state,
                       std::vector<KelBenchRawInstanceRow>& instances)
{
    char time[27];
    KelBenchFormatTime(txn.seconds, txn.micros, time);
    state.adminSvrState = txn.svrState;
    state.adminSvrStart.assign(time, 26);
    state.iAdminSvrStart = 0;
    for (KelBenchRawInstanceRow& row : instances) {
        row.svrState = txn.svrState;
        row.lastStateChange.assign(time, 26);
        row.iLastStateChange = 0;
    }
}
