#include "db/keldaerl.hpp"

#include "db/keldsdf.hpp"
#include "db/keldtabi.hpp"

template class KelDBTable<KEL_ERROR_LOG, KelOID>;

namespace {
enum Column {
    objectId,
    creationTime,
    systemName,
    systemGroup,
    systemlogId,
    versionNumber,
    releaseNumber,
    modLevelNumber,
    servicePack,
    componentId,
    platform,
    exceptionType,
    messageType,
    detectionTime,
    errorFile,
    errorLine,
    componentName,
    errorDescription
};

KelDBTableDef const table{"kel_error_log",
                          "KelDatabase::ErrorLog",
                          {{"object_id", KelDBColumnType::Oid, false},
                           {"creation_time", KelDBColumnType::Time, false},
                           {"system_name", KelDBColumnType::Text, false, 8},
                           {"system_group", KelDBColumnType::Text, false, 8},
                           {"systemlog_id", KelDBColumnType::Oid, false},
                           {"version_number", KelDBColumnType::Int, false},
                           {"release_number", KelDBColumnType::Int, false},
                           {"mod_level_number", KelDBColumnType::Int, false},
                           {"service_pack", KelDBColumnType::Int, true},
                           {"component_id", KelDBColumnType::Int, false},
                           {"platform", KelDBColumnType::Int, false},
                           {"exception_type", KelDBColumnType::Int, true},
                           {"message_type", KelDBColumnType::Int, true},
                           {"detection_time", KelDBColumnType::Time, false},
                           {"error_file", KelDBColumnType::Text, true},
                           {"error_line", KelDBColumnType::Int, true},
                           {"component_name", KelDBColumnType::Text, false},
                           {"error_description", KelDBColumnType::Text, false}},
                          {objectId},
                          -1,
                          {systemName, systemlogId}};
}  // namespace

KelDatabase::ErrorLog::ErrorLog(KelDrvConnection& conn) : KelDBTable(conn, table)
{
    _selSystemName = AddStatement("SELECT {cols} FROM {table} t WHERE t.system_name = $1 ORDER BY {order}");
    _selSystemLogId = AddStatement("SELECT {cols} FROM {table} t WHERE t.systemlog_id = $1 ORDER BY {order}");
}

bool KelDatabase::ErrorLog::selSystemNameOpenFetch(KelString const& systemName, KEL_ERROR_LOG& row) const
{
    return CursorOpen(_selSystemName, systemName, row);
}

bool KelDatabase::ErrorLog::selSystemNameFetch(KEL_ERROR_LOG& row) const { return CursorFetch(_selSystemName, row); }

void KelDatabase::ErrorLog::selSystemNameClose() const { CursorClose(_selSystemName); }

bool KelDatabase::ErrorLog::selSystemLogIDOpenFetch(KelBinary const& systemLogOid, KEL_ERROR_LOG& row) const
{
    return CursorOpen(_selSystemLogId, systemLogOid, row);
}

bool KelDatabase::ErrorLog::selSystemLogIDFetch(KEL_ERROR_LOG& row) const { return CursorFetch(_selSystemLogId, row); }

void KelDatabase::ErrorLog::selSystemLogIDClose() const { CursorClose(_selSystemLogId); }

void KelDatabase::ErrorLog::ReadRow(KelDrvStatement const& stmt, KEL_ERROR_LOG& row) const
{
    KelDBReadOid(stmt, objectId, row._objectId);
    KelDBReadText(stmt, creationTime, row._creationTime);
    KelDBReadText(stmt, systemName, row._system);
    KelDBReadText(stmt, systemGroup, row._systemGroup);
    KelDBReadOid(stmt, systemlogId, row._systemlogId);
    KelDBReadInt(stmt, versionNumber, row._versionNumber);
    KelDBReadInt(stmt, releaseNumber, row._releaseNumber);
    KelDBReadInt(stmt, modLevelNumber, row._modLevelNumber);
    KelDBReadInt(stmt, servicePack, row._servicePack, row._iServicePack);
    KelDBReadInt(stmt, componentId, row._componentId);
    KelDBReadInt(stmt, platform, row._platform);
    KelDBReadInt(stmt, exceptionType, row._exceptionType, row._iExceptionType);
    KelDBReadInt(stmt, messageType, row._messageType, row._iMessageType);
    KelDBReadText(stmt, detectionTime, row._detectionTime);
    KelDBReadText(stmt, errorFile, row._errorFile, row._iErrorFile);
    KelDBReadInt(stmt, errorLine, row._errorLine, row._iErrorLine);
    KelDBReadText(stmt, componentName, row._componentName);
    KelDBReadText(stmt, errorDescription, row._errorDescription);
}

void KelDatabase::ErrorLog::BindColumn(KelDrvStatement& stmt, int pos, KEL_ERROR_LOG const& row, int column) const
{
    switch (column) {
    case objectId: return KelDBBindOid(stmt, pos, row._objectId);
    case creationTime: return KelDBBindText(stmt, pos, row._creationTime);
    case systemName: return KelDBBindText(stmt, pos, row._system);
    case systemGroup: return KelDBBindText(stmt, pos, row._systemGroup);
    case systemlogId: return KelDBBindOid(stmt, pos, row._systemlogId);
    case versionNumber: return KelDBBindInt(stmt, pos, row._versionNumber);
    case releaseNumber: return KelDBBindInt(stmt, pos, row._releaseNumber);
    case modLevelNumber: return KelDBBindInt(stmt, pos, row._modLevelNumber);
    case servicePack: return KelDBBindInt(stmt, pos, row._servicePack, row._iServicePack);
    case componentId: return KelDBBindInt(stmt, pos, row._componentId);
    case platform: return KelDBBindInt(stmt, pos, row._platform);
    case exceptionType: return KelDBBindInt(stmt, pos, row._exceptionType, row._iExceptionType);
    case messageType: return KelDBBindInt(stmt, pos, row._messageType, row._iMessageType);
    case detectionTime: return KelDBBindText(stmt, pos, row._detectionTime);
    case errorFile: return KelDBBindText(stmt, pos, row._errorFile, row._iErrorFile);
    case errorLine: return KelDBBindInt(stmt, pos, row._errorLine, row._iErrorLine);
    case componentName: return KelDBBindText(stmt, pos, row._componentName);
    case errorDescription: return KelDBBindText(stmt, pos, row._errorDescription);
    }
}
