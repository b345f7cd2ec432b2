// The streaming members of the log records: their destructors, the writing and reading
// of their members through a KelStream, and their readable keyword text. A record in a
// stream is its kind number, then each member as (number, null flag, value if not null)
// in Rep order, then 0.
#include "kernel/kelkexc.hpp"
#include "objects/kelmstrm.hpp"
#include "objects/kelmtadm.hpp"
#include "objects/kelmtkwd.hpp"

#include <sstream>
#include <string>

namespace {
constexpr std::int32_t kErrorLogRecordKind = 1;
constexpr std::int32_t kSystemLogRecordKind = 2;

[[noreturn]] void RaiseInvalidCase(char const* function, int line, std::int64_t value)
{
    KelRaise(KelIntExcInvalidCase(KelOrigin(__FILE__, static_cast<std::uint32_t>(line), function),
                                  static_cast<std::int32_t>(value)),
             KelTraceLevel::Always, KelTraceComponent::Cache);
}

// Writes the member's number and null flag; true when its value follows.
bool PutHead(KelStream& s, std::uint32_t parm, bool isNull)
{
    s.PutUInt32(parm);
    s.PutBool(isNull);
    return !isNull;
}

// A record: its kind, its members as writeMembers puts them, then 0.
template <class Record>
void WriteRecord(KelStream& s, std::int32_t kind, Record const& record, void (Record::*writeMembers)(KelStream&) const)
{
    s.PutInt32(kind);
    (record.*writeMembers)(s);
    s.PutUInt32(0);
}

// Reads a record of that kind (another kind raises KelIntExcInvalidCase from function):
// cleans the record up, then reads each member that the stream names until 0.
template <class Record>
void ReadRecord(KelStream& s, std::int32_t kind, char const* function, Record& record, void (Record::*cleanup)(),
                void (Record::*readParm)(KelStream&, unsigned long))
{
    std::int32_t read = s.GetInt32();
    if (read != kind) RaiseInvalidCase(function, __LINE__, read);
    (record.*cleanup)();
    for (std::uint32_t parm = s.GetUInt32(); parm != 0; parm = s.GetUInt32()) (record.*readParm)(s, parm);
}

// The members both records begin with, numbered 1 to 4.
void WriteHead(KelStream& s, KelLogRecordHead const& r)
{
    if (PutHead(s, 1, r._iObjectID)) s.PutOID(r._objectID);
    if (PutHead(s, 2, r._iCreationTime)) s.PutTimeStamp(r._creationTime);
    if (PutHead(s, 3, r._iSystemName)) s.PutString(r._systemName);
    if (PutHead(s, 4, r._iSystemGroupName)) s.PutString(r._systemGroupName);
}

// Reads member parm if it is one of the members both records begin with; true if it was.
bool ReadHead(KelStream& s, unsigned long parm, bool isNull, KelLogRecordHead& r)
{
    switch (parm) {
    case 1:
        if ((r._iObjectID = isNull) == false) r._objectID = s.GetOID();
        return true;
    case 2:
        if ((r._iCreationTime = isNull) == false) r._creationTime = s.GetTimeStamp();
        return true;
    case 3:
        if ((r._iSystemName = isNull) == false) r._systemName = s.GetString();
        return true;
    case 4:
        if ((r._iSystemGroupName = isNull) == false) r._systemGroupName = s.GetString();
        return true;
    default: return false;
    }
}

// The keyword text of the members both records begin with.
KelKeywordWriter& KeywordHead(KelKeywordWriter&& w, KelLogRecordHead const& r)
{
    return w.Put("_objectID", r._objectID, r._iObjectID)
        .Put("_creationTime", r._creationTime, r._iCreationTime)
        .Put("_systemName", r._systemName, r._iSystemName)
        .Put("_systemGroupName", r._systemGroupName, r._iSystemGroupName);
}

std::string JoinParameters(KelSystemLogRecord::Parameters const& parameters)
{
    std::string text;
    bool first = true;
    for (KelString const& p : parameters) {
        if (!first) text += ';';
        text += p.Str();
        first = false;
    }
    return text;
}
}  // namespace

// ---------------------------------------------------------------------------------------
// KelErrorLogRecord

void KelErrorLogRecord::WriteMembers(KelStream& s) const
{
    Rep const& r = Checked();
    WriteHead(s, r);
    if (PutHead(s, 5, r._iVersionNumber)) s.PutInt32(r._versionNumber);
    if (PutHead(s, 6, r._iReleaseNumber)) s.PutInt32(r._releaseNumber);
    if (PutHead(s, 7, r._iModificationLevelNumber)) s.PutInt32(r._modificationLevelNumber);
    if (PutHead(s, 8, r._iServicePack)) s.PutInt32(r._servicePack);
    if (PutHead(s, 9, r._iComponentID)) s.PutInt32(r._componentID);
    if (PutHead(s, 10, r._iComponentName)) s.PutString(r._componentName);
    if (PutHead(s, 11, r._iPlatform)) s.PutInt32(r._platform);
    if (PutHead(s, 12, r._iExceptionType)) s.PutInt32(r._exceptionType);
    if (PutHead(s, 13, r._iSystemLogID)) s.PutOID(r._systemLogID);
    if (PutHead(s, 14, r._iMessageType)) s.PutInt32(r._messageType);
    if (PutHead(s, 15, r._iDetectionTime)) s.PutTimeStamp(r._detectionTime);
    if (PutHead(s, 16, r._iErrorFile)) s.PutString(r._errorFile);
    if (PutHead(s, 17, r._iErrorLine)) s.PutInt32(r._errorLine);
    if (PutHead(s, 18, r._iErrorDescription)) s.PutString(r._errorDescription);
}

void KelErrorLogRecord::Cleanup() { _pRep.Renew(); }

void KelErrorLogRecord::ReadParm(KelStream& s, unsigned long parm)
{
    Rep& r = Checked();
    bool isNull = s.GetBool();
    if (ReadHead(s, parm, isNull, r)) return;
    switch (parm) {
    case 5:
        if ((r._iVersionNumber = isNull) == false) r._versionNumber = s.GetInt32();
        break;
    case 6:
        if ((r._iReleaseNumber = isNull) == false) r._releaseNumber = s.GetInt32();
        break;
    case 7:
        if ((r._iModificationLevelNumber = isNull) == false) r._modificationLevelNumber = s.GetInt32();
        break;
    case 8:
        if ((r._iServicePack = isNull) == false) r._servicePack = s.GetInt32();
        break;
    case 9:
        if ((r._iComponentID = isNull) == false) r._componentID = KelSenderType::Type(s.GetInt32());
        break;
    case 10:
        if ((r._iComponentName = isNull) == false) r._componentName = s.GetString();
        break;
    case 11:
        if ((r._iPlatform = isNull) == false) r._platform = KelPlatform::Type(s.GetInt32());
        break;
    case 12:
        if ((r._iExceptionType = isNull) == false) r._exceptionType = s.GetInt32();
        break;
    case 13:
        if ((r._iSystemLogID = isNull) == false) r._systemLogID = s.GetOID();
        break;
    case 14:
        if ((r._iMessageType = isNull) == false) r._messageType = s.GetInt32();
        break;
    case 15:
        if ((r._iDetectionTime = isNull) == false) r._detectionTime = s.GetTimeStamp();
        break;
    case 16:
        if ((r._iErrorFile = isNull) == false) r._errorFile = s.GetString();
        break;
    case 17:
        if ((r._iErrorLine = isNull) == false) r._errorLine = s.GetInt32();
        break;
    case 18:
        if ((r._iErrorDescription = isNull) == false) r._errorDescription = s.GetString();
        break;
    default: RaiseInvalidCase("KelErrorLogRecord::ReadParm", __LINE__, static_cast<std::int64_t>(parm));
    }
}

void KelErrorLogRecord::WriteTo(KelStream& s) const
{
    WriteRecord(s, kErrorLogRecordKind, *this, &KelErrorLogRecord::WriteMembers);
}

void KelErrorLogRecord::ReadFrom(KelStream& s)
{
    ReadRecord(s, kErrorLogRecordKind, "KelErrorLogRecord::ReadFrom", *this, &KelErrorLogRecord::Cleanup,
               &KelErrorLogRecord::ReadParm);
    CheckInvariant();
}

void KelErrorLogRecord::StreamKeywordDelimited(std::ostream& os, int level) const
{
    Rep const& r = Checked();
    KeywordHead(KelKeywordWriter(os, level), r)
        .Put("_versionNumber", r._versionNumber, r._iVersionNumber)
        .Put("_releaseNumber", r._releaseNumber, r._iReleaseNumber)
        .Put("_modificationLevelNumber", r._modificationLevelNumber, r._iModificationLevelNumber)
        .Put("_servicePack", r._servicePack, r._iServicePack)
        .Put("_componentID", r._componentID, r._iComponentID)
        .Put("_componentName", r._componentName, r._iComponentName)
        .Put("_platform", r._platform, r._iPlatform)
        .Put("_exceptionType", r._exceptionType, r._iExceptionType)
        .Put("_systemLogID", r._systemLogID, r._iSystemLogID)
        .Put("_messageType", r._messageType, r._iMessageType)
        .Put("_detectionTime", r._detectionTime, r._iDetectionTime)
        .Put("_errorFile", r._errorFile, r._iErrorFile)
        .Put("_errorLine", r._errorLine, r._iErrorLine)
        .Put("_errorDescription", r._errorDescription, r._iErrorDescription);
}

// ---------------------------------------------------------------------------------------
// KelSystemLogRecord

void KelSystemLogRecord::WriteMembers(KelStream& s) const
{
    Rep const& r = Checked();
    WriteHead(s, r);
    if (PutHead(s, 5, r._iMessageNumber)) s.PutInt32(r._messageNumber);
    if (PutHead(s, 6, r._iSeverity)) s.PutInt32(r._severity);
    if (PutHead(s, 7, r._iMessageClass)) s.PutInt32(r._messageClass);
    if (PutHead(s, 8, r._iEventIdentifier)) s.PutString(r._eventIdentifier);
    if (PutHead(s, 9, r._iMessageType)) s.PutInt32(r._messageType);
    if (PutHead(s, 10, r._iErrorFlag)) s.PutBool(r._errorFlag);
    if (PutHead(s, 11, r._iSvrKind)) s.PutInt32(r._svrKind);
    if (PutHead(s, 12, r._iSvrState)) s.PutInt32(r._svrState);
    if (PutHead(s, 13, r._iUserID)) {
        s.PutString(r._userID.Name());
        s.PutString(r._userID.SystemGroup());
    }
    if (PutHead(s, 14, r._iException)) s.PutInt32(r._exception);
    if (PutHead(s, 15, r._iMessageParameters)) {
        s.PutUInt32(static_cast<std::uint32_t>(r._messageParameters.Size()));
        for (KelString const& p : r._messageParameters) s.PutString(p);
    }
}

void KelSystemLogRecord::Cleanup() { _pRep.Renew(); }

void KelSystemLogRecord::ReadParm(KelStream& s, unsigned long parm)
{
    Rep& r = Checked();
    bool isNull = s.GetBool();
    if (ReadHead(s, parm, isNull, r)) return;
    switch (parm) {
    case 5:
        if ((r._iMessageNumber = isNull) == false) r._messageNumber = s.GetInt32();
        break;
    case 6:
        if ((r._iSeverity = isNull) == false) r._severity = KelSeverity::Type(s.GetInt32());
        break;
    case 7:
        if ((r._iMessageClass = isNull) == false) r._messageClass = KelMessageClass::Type(s.GetInt32());
        break;
    case 8:
        if ((r._iEventIdentifier = isNull) == false) r._eventIdentifier = s.GetString();
        break;
    case 9:
        if ((r._iMessageType = isNull) == false) r._messageType = s.GetInt32();
        break;
    case 10:
        if ((r._iErrorFlag = isNull) == false) r._errorFlag = s.GetBool();
        break;
    case 11:
        if ((r._iSvrKind = isNull) == false) r._svrKind = KelSvrKind::Type(s.GetInt32());
        break;
    case 12:
        if ((r._iSvrState = isNull) == false) r._svrState = KelSvrState::Type(s.GetInt32());
        break;
    case 13:
        if ((r._iUserID = isNull) == false) {
            KelString name = s.GetString();
            KelString group = s.GetString();
            r._userID = KelUserID(name, group);
        }
        break;
    case 14:
        if ((r._iException = isNull) == false) r._exception = s.GetInt32();
        break;
    case 15:
        if ((r._iMessageParameters = isNull) == false) {
            r._messageParameters.Clear();
            for (std::uint32_t n = s.GetUInt32(); n > 0; --n) r._messageParameters.Append(s.GetString());
        }
        break;
    default: RaiseInvalidCase("KelSystemLogRecord::ReadParm", __LINE__, static_cast<std::int64_t>(parm));
    }
}

void KelSystemLogRecord::WriteTo(KelStream& s) const
{
    WriteRecord(s, kSystemLogRecordKind, *this, &KelSystemLogRecord::WriteMembers);
}

void KelSystemLogRecord::ReadFrom(KelStream& s)
{
    ReadRecord(s, kSystemLogRecordKind, "KelSystemLogRecord::ReadFrom", *this, &KelSystemLogRecord::Cleanup,
               &KelSystemLogRecord::ReadParm);
    CheckInvariant();
}

void KelSystemLogRecord::StreamKeywordDelimited(std::ostream& os, int level) const
{
    Rep const& r = Checked();
    KeywordHead(KelKeywordWriter(os, level), r)
        .Put("_messageNumber", r._messageNumber, r._iMessageNumber)
        .Put("_severity", r._severity, r._iSeverity)
        .Put("_messageClass", r._messageClass, r._iMessageClass)
        .Put("_eventIdentifier", r._eventIdentifier, r._iEventIdentifier)
        .Put("_messageType", r._messageType, r._iMessageType)
        .Put("_errorFlag", r._errorFlag, r._iErrorFlag)
        .Put("_svrKind", r._svrKind, r._iSvrKind)
        .Put("_svrState", r._svrState, r._iSvrState)
        .Put("_userID", r._userID, r._iUserID)
        .Put("_exception", r._exception, r._iException)
        .Put("_messageParameters", JoinParameters(r._messageParameters), r._iMessageParameters);
}
