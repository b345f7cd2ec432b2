#include "db/keldasvi.hpp"

#include "db/keldsdf.hpp"
#include "db/keldtabi.hpp"

template class KelDBTable<KEL_SVR_INSTANCE_STATE, KelOID>;

namespace {
enum Column { svrOid, creationTime, systemOid, svrType, svrState, lastStateChange, requestType };

KelDBTableDef const table{"kel_svr_instance_state",
                          "KelDatabase::SvrInstanceState",
                          {{"svr_oid", KelDBColumnType::Oid, false},
                           {"creation_time", KelDBColumnType::Time, false},
                           {"system_oid", KelDBColumnType::Oid, false},
                           {"svr_type", KelDBColumnType::Int, false},
                           {"svr_state", KelDBColumnType::Int, false},
                           {"last_state_change", KelDBColumnType::Time, true},
                           {"request_type", KelDBColumnType::Int, true}},
                          {svrOid},
                          -1,
                          {systemOid}};
}  // namespace

KelDatabase::SvrInstanceState::SvrInstanceState(KelDrvConnection& conn) : KelDBTable(conn, table)
{
    _selSystemName = AddStatement(
        "SELECT {cols} FROM {table} t JOIN kel_system s ON s.oid = t.system_oid WHERE s.system_name = $1 "
        "ORDER BY {order}");
    _selSystemOid = AddStatement("SELECT {cols} FROM {table} t WHERE t.system_oid = $1 ORDER BY {order}");
    _selupdSystemOid = AddStatement("SELECT {cols} FROM {table} t WHERE t.system_oid = $1 ORDER BY {order}{lock}");
}

bool KelDatabase::SvrInstanceState::selSystemNameOpenFetch(KelString const& systemName,
                                                           KEL_SVR_INSTANCE_STATE& row) const
{
    return CursorOpen(_selSystemName, systemName, row);
}

bool KelDatabase::SvrInstanceState::selSystemNameFetch(KEL_SVR_INSTANCE_STATE& row) const
{
    return CursorFetch(_selSystemName, row);
}

void KelDatabase::SvrInstanceState::selSystemNameClose() const { CursorClose(_selSystemName); }

bool KelDatabase::SvrInstanceState::selSystemOIDOpenFetch(KelBinary const& systemOid, KEL_SVR_INSTANCE_STATE& row) const
{
    return CursorOpen(_selSystemOid, systemOid, row);
}

bool KelDatabase::SvrInstanceState::selSystemOIDFetch(KEL_SVR_INSTANCE_STATE& row) const
{
    return CursorFetch(_selSystemOid, row);
}

void KelDatabase::SvrInstanceState::selSystemOIDClose() const { CursorClose(_selSystemOid); }

bool KelDatabase::SvrInstanceState::selupdSystemOIDOpenFetch(KelBinary const& systemOid, KEL_SVR_INSTANCE_STATE& row)
{
    return CursorOpen(_selupdSystemOid, systemOid, row);
}

bool KelDatabase::SvrInstanceState::selupdSystemOIDFetch(KEL_SVR_INSTANCE_STATE& row)
{
    return CursorFetch(_selupdSystemOid, row);
}

void KelDatabase::SvrInstanceState::selupdSystemOIDClose() { CursorClose(_selupdSystemOid); }

void KelDatabase::SvrInstanceState::ReadRow(KelDrvStatement const& stmt, KEL_SVR_INSTANCE_STATE& row) const
{
    KelDBReadOid(stmt, svrOid, row._svrOid);
    KelDBReadText(stmt, creationTime, row._creationTime);
    KelDBReadOid(stmt, systemOid, row._systemOid);
    KelDBReadInt(stmt, svrType, row._svrType);
    KelDBReadInt(stmt, svrState, row._svrState);
    KelDBReadText(stmt, lastStateChange, row._lastStateChange, row._iLastStateChange);
    KelDBReadInt(stmt, requestType, row._requestType, row._iRequestType);
}

void KelDatabase::SvrInstanceState::BindColumn(KelDrvStatement& stmt, int pos, KEL_SVR_INSTANCE_STATE const& row,
                                               int column) const
{
    switch (column) {
    case svrOid: return KelDBBindOid(stmt, pos, row._svrOid);
    case creationTime: return KelDBBindText(stmt, pos, row._creationTime);
    case systemOid: return KelDBBindOid(stmt, pos, row._systemOid);
    case svrType: return KelDBBindInt(stmt, pos, row._svrType);
    case svrState: return KelDBBindInt(stmt, pos, row._svrState);
    case lastStateChange: return KelDBBindText(stmt, pos, row._lastStateChange, row._iLastStateChange);
    case requestType: return KelDBBindInt(stmt, pos, row._requestType, row._iRequestType);
    }
}
