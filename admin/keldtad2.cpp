#include "admin/keldtad2.hpp"

#include "admin/keldtatr.hpp"
#include "kernel/kelkexc.hpp"

KelSystemState* KelTOMForSystemStates::CreateNewServerObject(CreateInpParm const& parm)
{
    auto* object = new KelSystemState(parm.Key());
    KelTraceObject(__FILE__, __LINE__, "KelTOMForSystemStates::CreateNewServerObject", *object);
    return object;
}

KelSystemState* KelTOMForSystemStates::CreateMaterializedServerObject(MaterializeInpParm const&,
                                                                      KEL_SYSTEM_STATE const& row)
{
    char const* function = "KelTOMForSystemStates::CreateMaterializedServerObject";
    KelTraceRow(__FILE__, __LINE__, function, "KEL_SYSTEM_STATE {", row);
    bool startIsNull = row._iAdminSvrStart < 0;
    KelTimeStamp start = startIsNull ? KelTimeStamp() : KelTimeStamp::FromVsqString(row._adminSvrStart, 0);
    auto* object = new KelSystemState(KelOID(row._systemOid), static_cast<KelSvrState::Type>(row._adminSvrState), start,
                                      startIsNull);
    KelTraceObject(__FILE__, __LINE__, function, *object);
    return object;
}

KEL_SYSTEM_STATE* KelTOMForSystemStates::CreateTupleObject(KelSystemState const& object)
{
    char const* function = "KelTOMForSystemStates::CreateTupleObject";
    KelTraceObject(__FILE__, __LINE__, function, object);
    bool startIsNull = object.AdminSvrStartTimeIsNull();
    auto* row = new KEL_SYSTEM_STATE(object.ID().AsBinary(),
                                     startIsNull ? KelString() : object.AdminSvrStartTime().AsVsqString(),
                                     startIsNull ? std::int16_t(-1) : std::int16_t(0), object.AdminSvrState());
    KelTraceRow(__FILE__, __LINE__, function, "KEL_SYSTEM_STATE {", *row);
    return row;
}

KelSystemState const& KelTOMForSystemStates::MaterializeForReadByName(KelString const& systemName)
{
    char const* function = "KelTOMForSystemStates::MaterializeForReadByName";
    kelkCtrFlowComponent(function, 16);
    KEL_SYSTEM_STATE row;
    if (!this->Database().systemState().seluniByName(systemName, row)) {
        KelTOMNotFoundException e(KelOrigin(__FILE__, __LINE__, function), KelComposeText(" SysName=", systemName));
        KelRaise(e, KelTraceLevel::Flow, KelTraceComponent::Rows);
    }
    return MaterializeForRead(MaterializeInpParm(), KelOID(row._systemOid));
}
