#include "topology/keldttsv.hpp"

#include "db/keldcol.hpp"

#include <memory>

KelServerData* KelTOMForServers::CreateNewServerObject(CreateInpParm const& parm)
{
    auto object = std::make_unique<KelServerData>(parm.Key());
    object->SetOID(KelOID::Generate());
    return object.release();
}

KelServerData* KelTOMForServers::CreateServerObjectFromTuple(KEL_SERVER const& row)
{
    auto object = std::make_unique<KelServerData>(row.Key());
    object->SetOID(KelOID(row._oid));
    object->SetSystemOID(KelColumnOid(row._systemOid, row._iSystemOid));
    object->SetDescription(KelColumnLob(row._description, row._iDescription));
    KelReadLockholder(*object, row);
    object->MarkClean();
    return object.release();
}

KEL_SERVER* KelTOMForServers::CreateTupleObject(KelServerData const& object)
{
    auto row = std::make_unique<KEL_SERVER>();
    KelServerID const& id = object.ServerID();
    row->_oid = object.OID().AsBinary();
    row->_kind = id.Kind();
    row->_serverName = id.Name();
    row->_systemName = id.System();
    row->_systemGroupName = id.SystemGroup();
    KelSetColumn(row->_systemOid, row->_iSystemOid, object.SystemOIDIsNull() ? KelOID() : object.SystemOID());
    KelSetLobColumn(row->_description, row->_iDescription,
                    object.DescriptionIsNull() ? KelString() : object.Description());
    KelWriteLockholder(*row, object);
    row->CheckLimits();
    return row.release();
}
