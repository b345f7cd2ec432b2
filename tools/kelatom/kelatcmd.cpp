#include "tools/kelatom/kelatcmd.hpp"

#include "kernel/kelkexc.hpp"
#include "objects/kelmtbld.hpp"

#include <ostream>

namespace kelatom {

char const* StateName(std::int32_t state)
{
    switch (state) {
    case KelSvrState::Stopped: return "Stopped";
    case KelSvrState::StartingUp: return "StartingUp";
    case KelSvrState::Running: return "Running";
    case KelSvrState::ShuttingDown: return "ShuttingDown";
    case KelSvrState::Failed: return "Failed";
    default: return "Unknown";
    }
}

char const* SenderName(std::int32_t type)
{
    switch (type) {
    case KelSenderType::AdminSvr: return "AdminSvr";
    case KelSenderType::ExecSvr: return "ExecSvr";
    case KelSenderType::SchedulingSvr: return "SchedulingSvr";
    case KelSenderType::CleanupSvr: return "CleanupSvr";
    case KelSenderType::SupportSvr: return "SupportSvr";
    case KelSenderType::Client: return "Client";
    default: return "Unknown";
    }
}

char const* SeverityName(std::int32_t severity)
{
    switch (severity) {
    case KelSeverity::Information: return "Information";
    case KelSeverity::Warning: return "Warning";
    case KelSeverity::Error: return "Error";
    case KelSeverity::Severe: return "Severe";
    default: return "Unknown";
    }
}

KelSystemData const& FindSystem(KelTOMForAdminServer& tom, std::string const& name)
{
    std::vector<KelSystemData const*> systems;
    tom.ForSystems().MaterializeAllForRead(KelTOMForSystemParms::MaterializeInpParm(), systems);
    for (KelSystemData const* system : systems)
        if (system->SystemID().Name().Str() == name) return *system;
    KelRaise(KelTOMNotFoundException(KelOrigin(__FILE__, __LINE__, "kelatom::FindSystem"),
                                     KelComposeText(KelSystemData::IdName(), " ", name, " not found")),
             3, 8);
}

Json StateShow(Session& session, std::string const& system)
{
    Json result;
    session.RunReadOnly([&](KelTOMForAdminServer& tom) {
        KelSystemState const& state = tom.ForSystemStates().MaterializeForReadByName(KelString(system));
        result = Json{{"system", system},
                      {"oid", Hex(state.ID())},
                      {"state", StateName(state.AdminSvrState())},
                      {"stateCode", state.AdminSvrState()},
                      {"startTime", ToJson(state.AdminSvrStartTime(), state.AdminSvrStartTimeIsNull())}};
    });
    return result;
}

namespace {
Json InstanceJson(KelSvrInstance const& instance)
{
    return Json{{"oid", Hex(instance.ID())},
                {"type", SenderName(instance.SenderType())},
                {"state", StateName(instance.ServerState())},
                {"lastChange", ToJson(instance.LastStateChangeTime(), instance.LastStateChangeTimeIsNull())},
                {"request", instance.RequestTypeIsNull() ? Json(nullptr) : Json(instance.RequestType())}};
}
}  // namespace

Json InstancesList(Session& session, std::string const& system, bool forUpdate)
{
    Json result;
    auto work = [&](KelTOMForAdminServer& tom) {
        result = Json::array();
        if (forUpdate) {
            KelOID systemOid = tom.ForSystemStates().MaterializeForReadByName(KelString(system)).ID();
            std::vector<KelSvrInstance*> instances;
            tom.ForSvrInstances().MaterializeSvrsForUpdate(systemOid, instances);
            for (KelSvrInstance* instance : instances) result.push_back(InstanceJson(*instance));
        } else {
            std::vector<KelSvrInstance const*> instances;
            tom.ForSvrInstances().MaterializeSvrsForRead(KelString(system), instances);
            for (KelSvrInstance const* instance : instances) result.push_back(InstanceJson(*instance));
        }
    };
    if (forUpdate)
        session.Run(work);
    else
        session.RunReadOnly(work);
    return result;
}

Json LogList(Session& session, std::string const& system, bool errors)
{
    Json result;
    session.RunReadOnly([&](KelTOMForAdminServer& tom) {
        result = Json::array();
        if (errors) {
            std::vector<KelErrorLogRecord const*> records;
            tom.ForErrorLogs().MaterializeErrorLogRecordsForRead(KelString(system), records);
            for (KelErrorLogRecord const* r : records) {
                auto& record = const_cast<KelErrorLogRecord&>(*r);
                result.push_back(Json{{"oid", Hex(record.ObjectID())},
                                      {"created", ToJson(record.CreationTime(), false)},
                                      {"component", ToJson(record.ComponentName())},
                                      {"systemLog", Hex(record.SystemLogID())},
                                      {"file", record.ErrorFileIsNull() ? Json(nullptr) : ToJson(record.ErrorFile())},
                                      {"line", record.ErrorLineIsNull() ? Json(nullptr) : Json(record.ErrorLine())},
                                      {"description", ToJson(record.ErrorDescription())}});
            }
        } else {
            std::vector<KelSystemLogRecord const*> records;
            tom.ForSystemLogs().MaterializeSystemLogRecordsForRead(KelString(system), records);
            for (KelSystemLogRecord const* r : records) {
                auto& record = const_cast<KelSystemLogRecord&>(*r);
                Json params = nullptr;
                if (!record.MessageParametersIsNull()) {
                    params = Json::array();
                    for (KelString const& p : record.MessageParameters()) params.push_back(p.Str());
                }
                result.push_back(Json{{"oid", Hex(record.ObjectID())},
                                      {"created", ToJson(record.CreationTime(), false)},
                                      {"message", record.MessageNumber()},
                                      {"severity", SeverityName(record.Severity())},
                                      {"error", record.ErrorFlag()},
                                      {"user", record.UserIDIsNull() ? Json(nullptr) : ToJson(record.UserID().Name())},
                                      {"parameters", params}});
            }
        }
    });
    return result;
}

Json LogAdd(Session& session, std::string const& system, std::int32_t message, std::vector<std::string> const& params,
            std::string const& user)
{
    Json result;
    session.Run([&](KelTOMForAdminServer& tom) {
        KelSystemData const& systemData = FindSystem(tom, system);
        KelOID oid = KelOID::Generate();
        KelTOMForSystemLogRecords& logs = tom.ForSystemLogs();
        KelSystemLogRecord& record = logs.Create(KelTOMForSystemLogRecordParms::CreateInpParm(oid));
        KelSystemLogRecordBuilder built(oid);
        built.CreationTime(KelTimeStamp::Now())
            .System(systemData.SystemID())
            .MessageNumber(message)
            .Severity(KelSeverity::Information)
            .MessageClass(KelMessageClass::System)
            .MessageParameters(params);
        if (!user.empty()) built.UserID(KelUserID(KelString(user), KelString()));
        record = built.Build();
        logs.Flush();
        result = Json{{"oid", Hex(oid)}, {"system", system}, {"message", message}, {"parameters", params}};
    });
    return result;
}

namespace {
Json EntityJson(KelEntity const& e, char const* kind)
{
    std::string name;
    if (!e.SystemID().IsNull())
        name = e.SystemID().Name().Str() + "." + e.SystemID().Group().Str();
    else if (!e.ServerID().IsNull())
        name = e.ServerID().Name().Str() + "@" + e.ServerID().System().Str();
    else
        name = e.Name().Str();
    return Json{{"kind", kind}, {"name", name}};
}
}  // namespace

Json LocksList(Session& session, std::string const& user)
{
    Json result;
    session.RunReadOnly([&](KelTOMForAdminServer& tom) {
        result = Json::array();
        KelUserID holder{KelString(user), KelString()};
        std::vector<KelEntity> persons, roles, systems, servers;
        tom.ForPersons().Search(persons, holder, KelEntityType::Person);
        tom.ForRoles().Search(roles, holder, KelEntityType::Role);
        tom.ForSystems().Search(systems, holder, KelEntityType::System);
        tom.ForServers().Search(servers, holder, KelEntityType::Server);
        for (auto const& e : persons) result.push_back(EntityJson(e, "person"));
        for (auto const& e : roles) result.push_back(EntityJson(e, "role"));
        for (auto const& e : systems) result.push_back(EntityJson(e, "system"));
        for (auto const& e : servers) result.push_back(EntityJson(e, "server"));
    });
    return result;
}

Json LocksRelease(Session& session, std::string const& user, std::string const& kind, std::string const& name)
{
    KelUserID holder{KelString(user), KelString()};
    // The full key of a system or server: found in a read transaction of its own, since
    // Release requires the cache of its class to be empty.
    KelSystemID systemID;
    KelServerID serverID;
    if (kind == "system" || kind == "server") {
        std::string systemName = name, serverName;
        if (kind == "server") {
            auto at = name.find('@');
            if (at == std::string::npos) throw std::invalid_argument("a server is named SERVER@SYSTEM");
            serverName = name.substr(0, at);
            systemName = name.substr(at + 1);
        }
        auto dot = systemName.find('.');
        std::string group;
        if (dot != std::string::npos) {
            group = systemName.substr(dot + 1);
            systemName.resize(dot);
        }
        std::string const givenGroup = group;
        session.RunReadOnly([&](KelTOMForAdminServer& tom) {
            group = givenGroup.empty() ? FindSystem(tom, systemName).SystemID().Group().Str() : givenGroup;
            serverID = KelServerID();
            systemID = KelSystemID(KelString(systemName), KelString(group));
            if (kind == "server") {
                std::vector<KelServerData const*> servers;
                tom.ForServers().MaterializeAllForRead(KelTOMForServerParms::MaterializeInpParm(), servers);
                for (KelServerData const* server : servers) {
                    KelServerID const& id = server->ServerID();
                    if (id.Name().Str() == serverName && id.System().Str() == systemName &&
                        id.SystemGroup().Str() == group)
                        serverID = id;
                }
                if (serverID.IsNull())
                    KelRaise(KelTOMNotFoundException(KelOrigin(__FILE__, __LINE__, "kelatom::LocksRelease"),
                                                     KelComposeText(KelServerData::IdName(), " ", name, " not found")),
                             3, 8);
            }
        });
    } else if (kind != "person" && kind != "role") {
        throw std::invalid_argument("KIND is one of person, role, system, server");
    }
    session.Run([&](KelTOMForAdminServer& tom) {
        if (kind == "person") tom.ForPersons().Release(KelTOMForPersonParms::CreateInpParm(KelString(name)), holder);
        if (kind == "role") tom.ForRoles().Release(KelTOMForRoleParms::CreateInpParm(KelString(name)), holder);
        if (kind == "system") tom.ForSystems().Release(KelTOMForSystemParms::CreateInpParm(systemID), holder);
        if (kind == "server") tom.ForServers().Release(KelTOMForServerParms::CreateInpParm(serverID), holder);
    });
    return Json{{"released", true}, {"kind", kind}, {"name", name}, {"user", user}};
}

void PrintResult(std::ostream& os, std::string const& command, Json const& result)
{
    if (command == "state show") {
        PrintTable(os, Json::array({result}), {"system", "oid", "state", "startTime"});
    } else if (command == "instances list") {
        PrintTable(os, result, {"oid", "type", "state", "lastChange", "request"});
    } else if (command == "log list") {
        PrintTable(os, result, {"created", "message", "severity", "error", "user", "parameters"});
    } else if (command == "log list --errors") {
        PrintTable(os, result, {"created", "component", "file", "line", "description"});
    } else if (command == "locks list") {
        PrintTable(os, result, {"kind", "name"});
    } else if (command == "init") {
        os << "the schema is in place" << (result.value("seeded", false) ? "; seeded the demonstration topology" : "")
           << "\n";
    } else if (command == "log add") {
        os << "added system log record " << Cell(result["oid"]) << " of " << Cell(result["system"]) << " (message "
           << Cell(result["message"]) << ", " << result["parameters"].size()
           << (result["parameters"].size() == 1 ? " parameter)\n" : " parameters)\n");
    } else if (command == "locks release") {
        os << "released the lock of " << Cell(result["user"]) << " on " << Cell(result["kind"]) << " "
           << Cell(result["name"]) << "\n";
    } else {
        os << Dump(result) << '\n';
    }
}

}  // namespace kelatom
