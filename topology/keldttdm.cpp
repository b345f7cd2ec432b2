#include "topology/keldttdm.hpp"

#include "db/keldcol.hpp"

#include <memory>

KelDomainData* KelTOMForDomains::CreateNewServerObject(CreateInpParm const& parm)
{
    auto object = std::make_unique<KelDomainData>(parm.Key());
    object->SetOID(KelOID::Generate());
    return object.release();
}

KelDomainData* KelTOMForDomains::CreateMaterializedServerObject(MaterializeInpParm const&, KEL_DOMAIN const& row)
{
    auto object = std::make_unique<KelDomainData>(row.Key());
    object->SetOID(KelOID(row._oid));
    object->SetDescription(KelColumnLob(row._description, row._iDescription));
    object->MarkClean();
    return object.release();
}

KEL_DOMAIN* KelTOMForDomains::CreateTupleObject(KelDomainData const& object)
{
    auto row = std::make_unique<KEL_DOMAIN>();
    row->_oid = object.OID().AsBinary();
    row->_domainName = object.Name();
    KelSetLobColumn(row->_description, row->_iDescription,
                    object.DescriptionIsNull() ? KelString() : object.Description());
    row->CheckLimits();
    return row.release();
}
