#include "admin/keldtad1.hpp"

#include "admin/keldtatr.hpp"

#include <memory>

KelSvrInstance* KelTOMForSvrInstances::CreateNewServerObject(CreateInpParm const& parm)
{
    auto* object = new KelSvrInstance(parm.ID(), parm.SystemOid(), parm.Type());
    KelTraceObject(__FILE__, __LINE__, "KelTOMForSvrInstances::CreateNewServerObject", *object);
    return object;
}

KelSvrInstance* KelTOMForSvrInstances::CreateMaterializedServerObject(MaterializeInpParm const&,
                                                                      KEL_SVR_INSTANCE_STATE const& row)
{
    char const* function = "KelTOMForSvrInstances::CreateMaterializedServerObject";
    KelTraceRow(__FILE__, __LINE__, function, "KEL_SVR_INSTANCE_STATE {", row);
    bool lastChangeIsNull = row._iLastStateChange < 0;
    bool requestIsNull = row._iRequestType < 0;
    auto* object = new KelSvrInstance(
        KelOID(row._svrOid), KelTimeStamp::FromVsqString(row._creationTime, 0), KelOID(row._systemOid),
        static_cast<KelSenderType::Type>(row._svrType), static_cast<KelSvrState::Type>(row._svrState),
        lastChangeIsNull ? KelTimeStamp() : KelTimeStamp::FromVsqString(row._lastStateChange, 0), lastChangeIsNull,
        static_cast<KelSvrRequest::Type>(requestIsNull ? 0 : row._requestType), requestIsNull);
    KelTraceObject(__FILE__, __LINE__, function, *object);
    return object;
}

KEL_SVR_INSTANCE_STATE* KelTOMForSvrInstances::CreateTupleObject(KelSvrInstance const& object)
{
    char const* function = "KelTOMForSvrInstances::CreateTupleObject";
    KelTraceObject(__FILE__, __LINE__, function, object);
    bool lastChangeIsNull = object.LastStateChangeTimeIsNull();
    bool requestIsNull = object.RequestTypeIsNull();
    auto* row = new KEL_SVR_INSTANCE_STATE(
        object.ID().AsBinary(), object.CreationTime().AsVsqString(), object.SystemOid().AsBinary(), object.SenderType(),
        object.ServerState(), lastChangeIsNull ? KelString() : object.LastStateChangeTime().AsVsqString(),
        lastChangeIsNull ? std::int16_t(-1) : std::int16_t(0), requestIsNull ? 0 : object.RequestType(),
        requestIsNull ? std::int16_t(-1) : std::int16_t(0));
    KelTraceRow(__FILE__, __LINE__, function, "KEL_SVR_INSTANCE_STATE {", *row);
    return row;
}

template <class OpenFetch, class Fetch, class Close>
void KelTOMForSvrInstances::ReadInstances(std::vector<KelSvrInstance const*>& result, OpenFetch open, Fetch fetch,
                                          Close close)
{
    static std::string const function = "KelTOMForSvrInstances::MaterializeSvrsForRead";
    kelkCtrFlowComponent(function, 16);
    KelTomWalkCursor<KEL_SVR_INSTANCE_STATE>(
        this->RowBuffer(), open, fetch, close, [&](std::unique_ptr<KEL_SVR_INSTANCE_STATE>& row) {
            KelSvrInstance const* pSvrInstance = this->MergeRowForRead(function, *row, [this](auto const& r) {
                return CreateMaterializedServerObject(MaterializeInpParm(), r);
            });
            kelkEnsure(pSvrInstance != 0);
            result.push_back(pSvrInstance);
        });
}

void KelTOMForSvrInstances::MaterializeSvrsForRead(KelOID const& systemOid, std::vector<KelSvrInstance const*>& result)
{
    auto& accessor = this->Database().svrInstanceState();
    KelBinary oid = systemOid.AsBinary();
    ReadInstances(
        result, [&](KEL_SVR_INSTANCE_STATE& row) { return accessor.selSystemOIDOpenFetch(oid, row); },
        [&](KEL_SVR_INSTANCE_STATE& row) { return accessor.selSystemOIDFetch(row); },
        [&] { accessor.selSystemOIDClose(); });
}

void KelTOMForSvrInstances::MaterializeSvrsForRead(KelString const& systemName,
                                                   std::vector<KelSvrInstance const*>& result)
{
    auto& accessor = this->Database().svrInstanceState();
    ReadInstances(
        result, [&](KEL_SVR_INSTANCE_STATE& row) { return accessor.selSystemNameOpenFetch(systemName, row); },
        [&](KEL_SVR_INSTANCE_STATE& row) { return accessor.selSystemNameFetch(row); },
        [&] { accessor.selSystemNameClose(); });
}

void KelTOMForSvrInstances::MaterializeSvrsForUpdate(KelOID const& systemOid, std::vector<KelSvrInstance*>& result)
{
    static std::string const function = "KelTOMForSvrInstances::MaterializeSvrsForUpdate";
    kelkCtrFlowComponent(function, 16);
    auto& accessor = this->Database().svrInstanceState();
    KelBinary oid = systemOid.AsBinary();
    KelTomWalkCursor<KEL_SVR_INSTANCE_STATE>(
        this->RowBuffer(), [&](KEL_SVR_INSTANCE_STATE& row) { return accessor.selupdSystemOIDOpenFetch(oid, row); },
        [&](KEL_SVR_INSTANCE_STATE& row) { return accessor.selupdSystemOIDFetch(row); },
        [&] { accessor.selupdSystemOIDClose(); },
        [&](std::unique_ptr<KEL_SVR_INSTANCE_STATE>& row) {
            // The merge leaves iSvrInstance at the row's entry, which it has checked to be
            // this cache's own kind of entry.
            iterator iSvrInstance;
            this->MergeRowForUpdate(
                function, row,
                [this](auto const& r) { return CreateMaterializedServerObject(MaterializeInpParm(), r); },
                iSvrInstance);
            kelkEnsure((*iSvrInstance).second->State() == KelCachedObjectState::MaterializedForUpdate);
            KelSvrInstance* pSvrInstance = iSvrInstance->second->ServerObject();
            kelkEnsure(pSvrInstance != 0);
            result.push_back(pSvrInstance);
        });
}
