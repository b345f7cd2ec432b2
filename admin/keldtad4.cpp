#include "admin/keldtad4.hpp"

#include "admin/keldtatr.hpp"
#include "objects/kelmtlpc.hpp"

#include <cstring>
#include <utility>

KelSystemLogRecord* KelTOMForSystemLogRecords::CreateNewServerObject(CreateInpParm const& parm)
{
    auto* record = new KelSystemLogRecord(parm.Key());
    KelTraceObject(__FILE__, __LINE__, "KelTOMForSystemLogRecords::CreateNewServerObject", *record);
    return record;
}

KelSystemLogRecord* KelTOMForSystemLogRecords::CreateMaterializedServerObject(MaterializeInpParm const&,
                                                                              KEL_SYSTEM_LOG const& row)
{
    char const* function = "KelTOMForSystemLogRecords::CreateMaterializedServerObject";
    KelTraceRow(__FILE__, __LINE__, function, "KEL_SYSTEM_LOG {", row);
    KelSystemLogRecord::Parameters parameters;
    if (row._iMessageParameters == 0) KelAppendStoredParameters(row._messageParameters, parameters);
    bool userIsNull = row._iUserId < 0;
    bool eventIsNull = row._iEventIdentifier < 0;
    bool messageTypeIsNull = row._iMessageType < 0;
    bool svrKindIsNull = row._iSvrKind < 0;
    bool svrStateIsNull = row._iSvrState < 0;
    bool exceptionIsNull = row._iException < 0;
    auto* record = new KelSystemLogRecord(
        KelOID(row._objectId), KelTimeStamp::FromVsqString(row._creationTime, 0), row._system, row._systemGroup,
        row._messageNumber, static_cast<KelSeverity::Type>(row._severity),
        static_cast<KelMessageClass::Type>(row._messageClass), eventIsNull ? KelString() : row._eventIdentifier,
        eventIsNull, messageTypeIsNull ? 0 : row._messageType, messageTypeIsNull, row._errorFlag != 0,
        static_cast<KelSvrKind::Type>(svrKindIsNull ? 0 : row._svrKind), svrKindIsNull,
        static_cast<KelSvrState::Type>(svrStateIsNull ? 0 : row._svrState), svrStateIsNull,
        userIsNull ? KelUserID() : KelUserID(row._userId, row._systemGroup), userIsNull,
        exceptionIsNull ? 0 : row._exception, exceptionIsNull, std::move(parameters), row._iMessageParameters < 0);
    KelTraceObject(__FILE__, __LINE__, function, *record);
    return record;
}

KEL_SYSTEM_LOG* KelTOMForSystemLogRecords::CreateTupleObject(KelSystemLogRecord const& constRecord)
{
    char const* function = "KelTOMForSystemLogRecords::CreateTupleObject";
    // Some accessors of the record are not const; they only read.
    KelSystemLogRecord& record = const_cast<KelSystemLogRecord&>(constRecord);
    auto indicator = [](bool isNull) { return isNull ? std::int16_t(-1) : std::int16_t(0); };
    bool parametersAreNull = record.MessageParametersIsNull();
    // Room for the whole text at once: the parameters and a ";" between each two.
    std::int32_t room = 0;
    if (!parametersAreNull)
        for (KelString const& parameter : record.MessageParameters())
            room += (parameter.IsNull() ? 0 : parameter.Length()) + 1;
    // Joined in a buffer of the column's width and copied once; a longer text (which the
    // row's width check then reports) is appended piece by piece.
    KelString parameterText;
    char joined[1024];
    if (room <= static_cast<std::int32_t>(sizeof joined)) {
        std::size_t used = 0;
        bool first = true;
        if (!parametersAreNull)
            for (KelString const& parameter : record.MessageParameters()) {
                if (!first) joined[used++] = ';';
                if (!parameter.IsNull() && parameter.Length() > 0) {
                    std::memcpy(joined + used, parameter.C_str(), static_cast<std::size_t>(parameter.Length()));
                    used += static_cast<std::size_t>(parameter.Length());
                }
                first = false;
            }
        parameterText = KelString(joined, static_cast<std::int32_t>(used));
    } else {
        parameterText = KelString(KelString::createEmpty, room);
        bool first = true;
        for (KelString const& parameter : record.MessageParameters()) {
            if (!first) parameterText |= ";";
            parameterText |= parameter;
            first = false;
        }
    }
    KelTraceObject(__FILE__, __LINE__, function, constRecord);
    bool userIsNull = record.UserIDIsNull();
    bool eventIsNull = record.EventIdentifierIsNull();
    bool exceptionIsNull = record.ExceptionIsNull();
    bool svrStateIsNull = record.SvrStateIsNull();
    bool svrKindIsNull = record.SvrKindIsNull();
    bool messageTypeIsNull = record.MessageTypeIsNull();
    auto* row = new KEL_SYSTEM_LOG(
        record.ObjectID().AsBinary(), record.CreationTime().AsVsqString(), record.SystemName(),
        record.SystemGroupName(), record.MessageNumber(), record.Severity(), record.MessageClass(),
        messageTypeIsNull ? 0 : record.MessageType(), indicator(messageTypeIsNull), record.ErrorFlag() ? 1 : 0,
        svrKindIsNull ? 0 : record.SvrKind(), indicator(svrKindIsNull), svrStateIsNull ? 0 : record.SvrState(),
        indicator(svrStateIsNull), exceptionIsNull ? 0 : record.Exception(), indicator(exceptionIsNull),
        eventIsNull ? KelString() : record.EventIdentifier(), indicator(eventIsNull),
        userIsNull ? KelString() : record.UserID().Name(), indicator(userIsNull), parameterText,
        indicator(parametersAreNull));
    KelTraceRow(__FILE__, __LINE__, function, "KEL_SYSTEM_LOG {", *row);
    return row;
}

void KelTOMForSystemLogRecords::MaterializeSystemLogRecordsForRead(KelString const& systemName,
                                                                   std::vector<KelSystemLogRecord const*>& result)
{
    static std::string const function = "KelTOMForSystemLogRecords::MaterializeSystemLogRecordsForRead";
    kelkCtrFlowComponent(function, 16);
    auto& accessor = this->Database().systemLog();
    KelTomWalkCursor<KEL_SYSTEM_LOG>(
        this->RowBuffer(), [&](KEL_SYSTEM_LOG& row) { return accessor.selSystemNameOpenFetch(systemName, row); },
        [&](KEL_SYSTEM_LOG& row) { return accessor.selSystemNameFetch(row); }, [&] { accessor.selSystemNameClose(); },
        [&](std::unique_ptr<KEL_SYSTEM_LOG>& row) {
            KelSystemLogRecord const* pSystemLogRecord = this->MergeRowForRead(function, *row, [this](auto const& r) {
                return CreateMaterializedServerObject(MaterializeInpParm(), r);
            });
            kelkEnsure(pSystemLogRecord != 0);
            result.push_back(pSystemLogRecord);
        });
}
