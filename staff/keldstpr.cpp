#include "staff/keldstpr.hpp"

#include "db/keldcol.hpp"

#include <memory>

KelPersonData* KelTOMForPersons::CreateNewServerObject(CreateInpParm const& parm)
{
    auto object = std::make_unique<KelPersonData>(parm.Key());
    object->SetOID(KelOID::Generate());
    return object.release();
}

KelPersonData* KelTOMForPersons::CreateServerObjectFromTuple(KEL_PERSON const& row)
{
    auto object = std::make_unique<KelPersonData>(row.Key());
    object->SetOID(KelOID(row._oid));
    object->SetSystemGroup(KelColumnText(row._systemGroup, row._iSystemGroup));
    object->SetFirstName(KelColumnText(row._firstName, row._iFirstName));
    object->SetLastName(KelColumnText(row._lastName, row._iLastName));
    object->SetDescription(KelColumnLob(row._description, row._iDescription));
    KelReadLockholder(*object, row);
    object->MarkClean();
    return object.release();
}

KEL_PERSON* KelTOMForPersons::CreateTupleObject(KelPersonData const& object)
{
    auto row = std::make_unique<KEL_PERSON>();
    row->_oid = object.OID().AsBinary();
    row->_userId = object.Name();
    KelSetColumn(row->_systemGroup, row->_iSystemGroup,
                 object.SystemGroupIsNull() ? KelString() : object.SystemGroup());
    KelSetColumn(row->_firstName, row->_iFirstName, object.FirstNameIsNull() ? KelString() : object.FirstName());
    KelSetColumn(row->_lastName, row->_iLastName, object.LastNameIsNull() ? KelString() : object.LastName());
    KelSetLobColumn(row->_description, row->_iDescription,
                    object.DescriptionIsNull() ? KelString() : object.Description());
    KelWriteLockholder(*row, object);
    row->CheckLimits();
    return row.release();
}
