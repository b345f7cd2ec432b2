#include "db/keldaslg.hpp"

#include "db/keldsdf.hpp"
#include "db/keldtabi.hpp"

template class KelDBTable<KEL_SYSTEM_LOG, KelOID>;

namespace {
enum Column {
    objectId,
    creationTime,
    systemName,
    systemGroup,
    messageNumber,
    severity,
    messageClass,
    messageType,
    errorFlag,
    svrKind,
    svrState,
    exception,
    eventIdentifier,
    userId,
    messageParameters
};

KelDBTableDef const table{"kel_system_log",
                          "KelDatabase::SystemLog",
                          {{"object_id", KelDBColumnType::Oid, false},
                           {"creation_time", KelDBColumnType::Time, false},
                           {"system_name", KelDBColumnType::Text, false, 8},
                           {"system_group", KelDBColumnType::Text, false, 8},
                           {"message_number", KelDBColumnType::Int, false},
                           {"severity", KelDBColumnType::Int, false},
                           {"message_class", KelDBColumnType::Int, false},
                           {"message_type", KelDBColumnType::Int, true},
                           {"error_flag", KelDBColumnType::Int, false, 32767},
                           {"svr_kind", KelDBColumnType::Int, true},
                           {"svr_state", KelDBColumnType::Int, true},
                           {"exception_no", KelDBColumnType::Int, true},
                           {"event_identifier", KelDBColumnType::Text, true},
                           {"user_id", KelDBColumnType::Text, true, 32},
                           {"message_parameters", KelDBColumnType::Text, true}},
                          {objectId},
                          -1,
                          {systemName}};
}  // namespace

KelDatabase::SystemLog::SystemLog(KelDrvConnection& conn) : KelDBTable(conn, table)
{
    _selSystemName = AddStatement("SELECT {cols} FROM {table} t WHERE t.system_name = $1 ORDER BY {order}");
}

bool KelDatabase::SystemLog::selSystemNameOpenFetch(KelString const& systemName, KEL_SYSTEM_LOG& row) const
{
    return CursorOpen(_selSystemName, systemName, row);
}

bool KelDatabase::SystemLog::selSystemNameFetch(KEL_SYSTEM_LOG& row) const { return CursorFetch(_selSystemName, row); }

void KelDatabase::SystemLog::selSystemNameClose() const { CursorClose(_selSystemName); }

void KelDatabase::SystemLog::ReadRow(KelDrvStatement const& stmt, KEL_SYSTEM_LOG& row) const
{
    KelDBReadOid(stmt, objectId, row._objectId);
    KelDBReadText(stmt, creationTime, row._creationTime);
    KelDBReadText(stmt, systemName, row._system);
    KelDBReadText(stmt, systemGroup, row._systemGroup);
    KelDBReadInt(stmt, messageNumber, row._messageNumber);
    KelDBReadInt(stmt, severity, row._severity);
    KelDBReadInt(stmt, messageClass, row._messageClass);
    KelDBReadInt(stmt, messageType, row._messageType, row._iMessageType);
    KelDBReadInt(stmt, errorFlag, row._errorFlag);
    KelDBReadInt(stmt, svrKind, row._svrKind, row._iSvrKind);
    KelDBReadInt(stmt, svrState, row._svrState, row._iSvrState);
    KelDBReadInt(stmt, exception, row._exception, row._iException);
    KelDBReadText(stmt, eventIdentifier, row._eventIdentifier, row._iEventIdentifier);
    KelDBReadText(stmt, userId, row._userId, row._iUserId);
    KelDBReadText(stmt, messageParameters, row._messageParameters, row._iMessageParameters);
}

void KelDatabase::SystemLog::BindColumn(KelDrvStatement& stmt, int pos, KEL_SYSTEM_LOG const& row, int column) const
{
    switch (column) {
    case objectId: return KelDBBindOid(stmt, pos, row._objectId);
    case creationTime: return KelDBBindText(stmt, pos, row._creationTime);
    case systemName: return KelDBBindText(stmt, pos, row._system);
    case systemGroup: return KelDBBindText(stmt, pos, row._systemGroup);
    case messageNumber: return KelDBBindInt(stmt, pos, row._messageNumber);
    case severity: return KelDBBindInt(stmt, pos, row._severity);
    case messageClass: return KelDBBindInt(stmt, pos, row._messageClass);
    case messageType: return KelDBBindInt(stmt, pos, row._messageType, row._iMessageType);
    case errorFlag: return KelDBBindInt(stmt, pos, row._errorFlag);
    case svrKind: return KelDBBindInt(stmt, pos, row._svrKind, row._iSvrKind);
    case svrState: return KelDBBindInt(stmt, pos, row._svrState, row._iSvrState);
    case exception: return KelDBBindInt(stmt, pos, row._exception, row._iException);
    case eventIdentifier: return KelDBBindText(stmt, pos, row._eventIdentifier, row._iEventIdentifier);
    case userId: return KelDBBindText(stmt, pos, row._userId, row._iUserId);
    case messageParameters: return KelDBBindText(stmt, pos, row._messageParameters, row._iMessageParameters);
    }
}
