#include "objects/kelmtbld.hpp"

namespace {
// The value of an optional member, or the value its record holds while it is null (a
// default argument lives until the record's construction, the end of the full expression).
template <class T>
T const& ValueOr(std::optional<T> const& member, T const& null = T())
{
    return member ? *member : null;
}
}  // namespace

KelSystemLogRecordBuilder& KelSystemLogRecordBuilder::MessageParameters(std::vector<std::string> const& texts)
{
    Parameters parameters;
    for (std::string const& t : texts) parameters.Append(KelString(t));
    return MessageParameters(std::move(parameters));
}

KelSystemLogRecord KelSystemLogRecordBuilder::Build() const
{
    return KelSystemLogRecord(_objectID, _creationTime, _systemName, _systemGroupName, _messageNumber, _severity,
                              _messageClass, ValueOr(_eventIdentifier), !_eventIdentifier, ValueOr(_messageType),
                              !_messageType, _errorFlag, ValueOr(_svrKind, KelSvrKind::None), !_svrKind,
                              ValueOr(_svrState, KelSvrState::Unknown), !_svrState, ValueOr(_userID), !_userID,
                              ValueOr(_exception), !_exception, ValueOr(_messageParameters), !_messageParameters);
}

KelErrorLogRecord KelErrorLogRecordBuilder::Build() const
{
    return KelErrorLogRecord(_objectID, _creationTime, _systemName, _systemGroupName, _versionNumber, _releaseNumber,
                             _modificationLevelNumber, ValueOr(_servicePack), !_servicePack, _componentID,
                             _componentName, _platform, ValueOr(_exceptionType), !_exceptionType, _systemLogID,
                             ValueOr(_messageType), !_messageType, _detectionTime, ValueOr(_errorFile), !_errorFile,
                             ValueOr(_errorLine), !_errorLine, _errorDescription);
}
