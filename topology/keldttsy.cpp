#include "topology/keldttsy.hpp"

#include "db/keldcol.hpp"

#include <memory>

KelSystemData* KelTOMForSystems::CreateNewServerObject(CreateInpParm const& parm)
{
    auto object = std::make_unique<KelSystemData>(parm.Key());
    object->SetOID(KelOID::Generate());
    return object.release();
}

KelSystemData* KelTOMForSystems::CreateServerObjectFromTuple(KEL_SYSTEM const& row)
{
    auto object = std::make_unique<KelSystemData>(row.Key());
    object->SetOID(KelOID(row._oid));
    object->SetSystemGroupOID(KelColumnOid(row._systemGroupOid, row._iSystemGroupOid));
    object->SetQueueManager(KelColumnText(row._queueManager, row._iQueueManager));
    object->SetDescription(KelColumnLob(row._description, row._iDescription));
    KelReadLockholder(*object, row);
    object->MarkClean();
    return object.release();
}

KEL_SYSTEM* KelTOMForSystems::CreateTupleObject(KelSystemData const& object)
{
    auto row = std::make_unique<KEL_SYSTEM>();
    row->_oid = object.OID().AsBinary();
    row->_systemName = object.SystemID().Name();
    row->_systemGroupName = object.SystemID().Group();
    KelSetColumn(row->_systemGroupOid, row->_iSystemGroupOid,
                 object.SystemGroupOIDIsNull() ? KelOID() : object.SystemGroupOID());
    KelSetColumn(row->_queueManager, row->_iQueueManager,
                 object.QueueManagerIsNull() ? KelString() : object.QueueManager());
    KelSetLobColumn(row->_description, row->_iDescription,
                    object.DescriptionIsNull() ? KelString() : object.Description());
    KelWriteLockholder(*row, object);
    row->CheckLimits();
    return row.release();
}
