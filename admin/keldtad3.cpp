#include "admin/keldtad3.hpp"

#include "admin/keldtatr.hpp"

KelErrorLogRecord* KelTOMForErrorLogRecords::CreateNewServerObject(CreateInpParm const& parm)
{
    auto* record = new KelErrorLogRecord(parm.Key());
    KelTraceObject(__FILE__, __LINE__, "KelTOMForErrorLogRecords::CreateNewServerObject", *record);
    return record;
}

KelErrorLogRecord* KelTOMForErrorLogRecords::CreateMaterializedServerObject(MaterializeInpParm const&,
                                                                            KEL_ERROR_LOG const& row)
{
    char const* function = "KelTOMForErrorLogRecords::CreateMaterializedServerObject";
    KelTraceRow(__FILE__, __LINE__, function, "KEL_ERROR_LOG {", row);
    bool servicePackIsNull = row._iServicePack < 0;
    bool exceptionTypeIsNull = row._iExceptionType < 0;
    bool messageTypeIsNull = row._iMessageType < 0;
    bool errorFileIsNull = row._iErrorFile < 0;
    bool errorLineIsNull = row._iErrorLine < 0;
    auto* record = new KelErrorLogRecord(
        KelOID(row._objectId), KelTimeStamp::FromVsqString(row._creationTime, 0), row._system, row._systemGroup,
        row._versionNumber, row._releaseNumber, row._modLevelNumber, servicePackIsNull ? 0 : row._servicePack,
        servicePackIsNull, static_cast<KelSenderType::Type>(row._componentId), row._componentName,
        static_cast<KelPlatform::Type>(row._platform), exceptionTypeIsNull ? 0 : row._exceptionType,
        exceptionTypeIsNull, KelOID(row._systemlogId), messageTypeIsNull ? 0 : row._messageType, messageTypeIsNull,
        KelTimeStamp::FromVsqString(row._detectionTime, 0), errorFileIsNull ? KelString() : row._errorFile,
        errorFileIsNull, errorLineIsNull ? 0 : row._errorLine, errorLineIsNull, row._errorDescription);
    KelTraceObject(__FILE__, __LINE__, function, *record);
    return record;
}

KEL_ERROR_LOG* KelTOMForErrorLogRecords::CreateTupleObject(KelErrorLogRecord const& constRecord)
{
    char const* function = "KelTOMForErrorLogRecords::CreateTupleObject";
    KelTraceObject(__FILE__, __LINE__, function, constRecord);
    // Some accessors of the record are not const; they only read.
    KelErrorLogRecord& record = const_cast<KelErrorLogRecord&>(constRecord);
    auto indicator = [](bool isNull) { return isNull ? std::int16_t(-1) : std::int16_t(0); };
    bool servicePackIsNull = record.ServicePackIsNull();
    bool exceptionTypeIsNull = record.ExceptionTypeIsNull();
    bool messageTypeIsNull = record.MessageTypeIsNull();
    bool errorFileIsNull = record.ErrorFileIsNull();
    bool errorLineIsNull = record.ErrorLineIsNull();
    auto* row = new KEL_ERROR_LOG(
        record.ObjectID().AsBinary(), record.CreationTime().AsVsqString(), record.SystemName(),
        record.SystemGroupName(), record.SystemLogID().AsBinary(), record.VersionNumber(), record.ReleaseNumber(),
        record.ModificationLevelNumber(), servicePackIsNull ? 0 : record.ServicePack(), indicator(servicePackIsNull),
        record.ComponentID(), record.Platform(), exceptionTypeIsNull ? 0 : record.ExceptionType(),
        indicator(exceptionTypeIsNull), messageTypeIsNull ? 0 : record.MessageType(), indicator(messageTypeIsNull),
        record.DetectionTime().AsVsqString(), errorFileIsNull ? KelString() : record.ErrorFile(),
        indicator(errorFileIsNull), errorLineIsNull ? 0 : record.ErrorLine(), indicator(errorLineIsNull),
        record.ComponentName(), record.ErrorDescription());
    KelTraceRow(__FILE__, __LINE__, function, "KEL_ERROR_LOG {", *row);
    return row;
}

template <class OpenFetch, class Fetch, class Close>
void KelTOMForErrorLogRecords::ReadRecords(std::vector<KelErrorLogRecord const*>& result, OpenFetch open, Fetch fetch,
                                           Close close)
{
    static std::string const function = "KelTOMForErrorLogRecords::MaterializeErrorLogRecordsForRead";
    kelkCtrFlowComponent(function, 16);
    KelTomWalkCursor<KEL_ERROR_LOG>(this->RowBuffer(), open, fetch, close, [&](std::unique_ptr<KEL_ERROR_LOG>& row) {
        KelErrorLogRecord const* pErrorLogRecord = this->MergeRowForRead(
            function, *row, [this](auto const& r) { return CreateMaterializedServerObject(MaterializeInpParm(), r); });
        kelkEnsure(pErrorLogRecord != 0);
        result.push_back(pErrorLogRecord);
    });
}

void KelTOMForErrorLogRecords::MaterializeErrorLogRecordsForRead(KelString const& systemName,
                                                                 std::vector<KelErrorLogRecord const*>& result)
{
    auto& accessor = this->Database().errorLog();
    ReadRecords(
        result, [&](KEL_ERROR_LOG& row) { return accessor.selSystemNameOpenFetch(systemName, row); },
        [&](KEL_ERROR_LOG& row) { return accessor.selSystemNameFetch(row); }, [&] { accessor.selSystemNameClose(); });
}

void KelTOMForErrorLogRecords::MaterializeErrorLogRecordsForRead(KelOID const& systemLogOid,
                                                                 std::vector<KelErrorLogRecord const*>& result)
{
    auto& accessor = this->Database().errorLog();
    KelBinary oid = systemLogOid.AsBinary();
    ReadRecords(
        result, [&](KEL_ERROR_LOG& row) { return accessor.selSystemLogIDOpenFetch(oid, row); },
        [&](KEL_ERROR_LOG& row) { return accessor.selSystemLogIDFetch(row); }, [&] { accessor.selSystemLogIDClose(); });
}
