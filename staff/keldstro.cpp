#include "staff/keldstro.hpp"

#include "db/keldcol.hpp"

#include <memory>

KelRoleData* KelTOMForRoles::CreateNewServerObject(CreateInpParm const& parm)
{
    auto object = std::make_unique<KelRoleData>(parm.Key());
    object->SetOID(KelOID::Generate());
    return object.release();
}

KelRoleData* KelTOMForRoles::CreateServerObjectFromTuple(KEL_ROLE const& row)
{
    auto object = std::make_unique<KelRoleData>(row.Key());
    object->SetOID(KelOID(row._oid));
    KelString coordinator = KelColumnText(row._coordinator, row._iCoordinator);
    object->SetCoordinator(coordinator.IsNull() ? KelUserID() : KelUserID(coordinator, KelString()));
    object->SetDescription(KelColumnLob(row._description, row._iDescription));
    KelReadLockholder(*object, row);
    object->MarkClean();
    return object.release();
}

KEL_ROLE* KelTOMForRoles::CreateTupleObject(KelRoleData const& object)
{
    auto row = std::make_unique<KEL_ROLE>();
    row->_oid = object.OID().AsBinary();
    row->_roleName = object.Name();
    KelSetColumn(row->_coordinator, row->_iCoordinator,
                 object.CoordinatorIsNull() ? KelString() : object.Coordinator().Name());
    KelSetLobColumn(row->_description, row->_iDescription,
                    object.DescriptionIsNull() ? KelString() : object.Description());
    KelWriteLockholder(*row, object);
    row->CheckLimits();
    return row.release();
}
