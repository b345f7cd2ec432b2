#include "tools/kelatom/kelatdem.hpp"

#include "objects/kelascctx.hpp"
#include "objects/kelmtbld.hpp"
#include "tools/kelatom/kelatcmd.hpp"

#include <ostream>

namespace kelatom {

namespace {

char const* const kGroup = "GROUP1";
char const* const kSystems[] = {"SYS1", "SYS2"};
struct DemoServer {
    KelSvrKind::Type kind;
    char const* name;
};
DemoServer const kServers[] = {
    {KelSvrKind::ExecSvr, "EXEC1"}, {KelSvrKind::SchedulingSvr, "SCHED1"}, {KelSvrKind::CleanupSvr, "CLEAN1"}};
char const* const kLockHolder = "OPERATOR";

KelString S(char const* text) { return KelString(text); }

// What each cache held before the commit and what it saved the database.
struct CacheLine {
    char const* name;
    std::size_t entries;
    std::uint64_t hits;
    std::uint64_t misses;
    std::uint64_t written;
};

template <class Cache>
CacheLine Line(char const* name, Cache const& cache)
{
    auto const& s = cache.Statistics();
    return CacheLine{name, cache.LiveEntries().size(), s.readHits + s.updateHits, s.readMisses + s.updateMisses,
                     s.saved + s.flushed};
}

std::vector<CacheLine> Caches(KelTOMForAdminServer& tom)
{
    return {Line("system states", tom.ForSystemStates()),
            Line("server instances", tom.ForSvrInstances()),
            Line("system log", tom.ForSystemLogs()),
            Line("error log", tom.ForErrorLogs()),
            Line("persons", tom.ForPersons()),
            Line("roles", tom.ForRoles()),
            Line("domains", tom.ForDomains()),
            Line("systems", tom.ForSystems()),
            Line("servers", tom.ForServers())};
}

void ResetCacheStatistics(KelTOMForAdminServer& tom)
{
    tom.ForSystemStates().ResetStatistics();
    tom.ForSvrInstances().ResetStatistics();
    tom.ForSystemLogs().ResetStatistics();
    tom.ForErrorLogs().ResetStatistics();
    tom.ForPersons().ResetStatistics();
    tom.ForRoles().ResetStatistics();
    tom.ForDomains().ResetStatistics();
    tom.ForSystems().ResetStatistics();
    tom.ForServers().ResetStatistics();
}

KelSystemLogRecord LogRecord(KelOID const& oid, KelSystemID const& system, std::int32_t message, bool error,
                             std::vector<std::string> const& params)
{
    return KelSystemLogRecordBuilder(oid)
        .CreationTime(KelTimeStamp::Now())
        .System(system)
        .MessageNumber(message)
        .Severity(error ? KelSeverity::Error : KelSeverity::Information)
        .MessageClass(KelMessageClass::System)
        .EventIdentifier(S("ADMIN"))
        .ErrorFlag(error)
        .SvrKind(KelSvrKind::AdminSvr)
        .SvrState(KelSvrState::Running)
        .UserID(KelUserID(S("ADMIN"), S(kGroup)))
        .MessageParameters(params)
        .Build();
}

KelSystemLogRecord& AddLog(KelTOMForAdminServer& tom, KelSystemID const& system, std::int32_t message, bool error,
                           std::vector<std::string> const& params)
{
    KelOID oid = KelOID::Generate();
    KelSystemLogRecord& record = tom.ForSystemLogs().Create(KelTOMForSystemLogRecordParms::CreateInpParm(oid));
    record = LogRecord(oid, system, message, error, params);
    return record;
}

KelSenderType::Type SenderOf(std::int32_t kind)
{
    switch (kind) {
    case KelSvrKind::ExecSvr: return KelSenderType::ExecSvr;
    case KelSvrKind::SchedulingSvr: return KelSenderType::SchedulingSvr;
    case KelSvrKind::CleanupSvr: return KelSenderType::CleanupSvr;
    default: return KelSenderType::SupportSvr;
    }
}

// Seeds the topology unless its domain is there; true when it did.
bool SeedDemoOnce(Session& session)
{
    bool seeded = false;
    session.Run([&](KelTOMForAdminServer& tom) {
        seeded = false;
        try {
            tom.ForDomains().MaterializeForRead(KelTOMForDomainParms::MaterializeInpParm(), S("DOMAIN1"));
            return;
        } catch (KelTOMNotFoundException const&) {
        }
        seeded = true;
        KelDomainData& domain = tom.ForDomains().Create(KelTOMForDomainParms::CreateInpParm(S("DOMAIN1")));
        domain.SetDescription(S("The demonstration domain"));

        char const* persons[][3] = {
            {"ADMIN", "Ada", "Admin"}, {"OPERATOR", "Otto", "Operator"}, {"AUDITOR", "Alma", "Auditor"}};
        KelOID holderOid;
        for (auto const& p : persons) {
            KelPersonData& person = tom.ForPersons().Create(KelTOMForPersonParms::CreateInpParm(S(p[0])));
            person.SetSystemGroup(S(kGroup));
            person.SetFirstName(S(p[1]));
            person.SetLastName(S(p[2]));
            if (std::string(p[0]) == kLockHolder) holderOid = person.OID();
        }
        KelUserID holder(S(kLockHolder), S(kGroup));
        for (char const* r : {"ADMINS", "OPERATORS"}) {
            KelRoleData& role = tom.ForRoles().Create(KelTOMForRoleParms::CreateInpParm(S(r)));
            role.SetCoordinator(KelUserID(S("ADMIN"), S(kGroup)));
            if (std::string(r) == "OPERATORS") {
                role.SetLockholder(holder);
                role.SetLockholderOID(holderOid);
            }
        }
        for (char const* name : kSystems) {
            KelSystemData& system =
                tom.ForSystems().Create(KelTOMForSystemParms::CreateInpParm(KelSystemID(S(name), S(kGroup))));
            system.SetDescription(KelComposeText("System ", name, " of the demonstration"));
            if (std::string(name) == "SYS2") {
                system.SetLockholder(holder);
                system.SetLockholderOID(holderOid);
            }
            for (auto const& s : kServers) {
                KelServerData& server = tom.ForServers().Create(
                    KelTOMForServerParms::CreateInpParm(KelServerID(s.kind, S(s.name), S(name), S(kGroup))));
                server.SetSystemOID(system.OID());
                if (std::string(name) == "SYS1" && s.kind == KelSvrKind::ExecSvr) {
                    server.SetLockholder(holder);
                    server.SetLockholderOID(holderOid);
                }
            }
            // A new system state is clean, so Flush would pass it by: Save inserts it.
            tom.ForSystemStates().Save(
                tom.ForSystemStates().Create(KelTOMForSystemStateParms::CreateInpParm(system.OID())));
        }
        tom.ForDomains().Flush();
        tom.ForPersons().Flush();
        tom.ForRoles().Flush();
        tom.ForSystems().Flush();
        tom.ForServers().Flush();
    });
    return seeded;
}

void FlushAll(KelTOMForAdminServer& tom)
{
    tom.ForSystemStates().Flush();
    tom.ForSvrInstances().Flush();
    tom.ForSystemLogs().Flush();
    tom.ForErrorLogs().Flush();
}

class Demo {
public:
    Demo(Session& session, std::ostream& os, bool json) : _session(session), _os(os), _json(json) {}

    void Step(std::string const& title, std::function<std::string(KelTOMForAdminServer&)> const& work)
    {
        std::string what;
        std::vector<CacheLine> caches;
        _session.Run([&](KelTOMForAdminServer& tom) {
            ResetCacheStatistics(tom);
            what = work(tom);
            caches = Caches(tom);
        });
        CallCounts calls = _session.TakeCalls();
        Json step{{"transaction", title}, {"result", what}};
        Json cacheRows = Json::array();
        std::uint64_t saved = 0, made = 0;
        for (auto const& c : caches) {
            saved += c.hits;
            if (c.entries == 0 && c.hits == 0 && c.written == 0) continue;
            cacheRows.push_back(Json{{"cache", c.name},
                                     {"entries", c.entries},
                                     {"hits", c.hits},
                                     {"misses", c.misses},
                                     {"written", c.written}});
        }
        Json callRows = Json::array();
        for (auto const& [table, n] : calls) {
            made += n;
            callRows.push_back(Json{{"table", table}, {"calls", n}});
        }
        step["caches"] = cacheRows;
        step["databaseCalls"] = callRows;
        step["callsMade"] = made;
        step["callsSaved"] = saved;
        _totalMade += made;
        _totalSaved += saved;
        _steps.push_back(step);
        if (_json) return;
        _os << "\n== " << title << "\n" << what << "\n\n";
        PrintTable(_os, cacheRows, {"cache", "entries", "hits", "misses", "written"});
        _os << "\n";
        PrintTable(_os, callRows, {"table", "calls"});
        _os << "database calls made: " << made << ", saved by cache hits: " << saved << "\n";
    }

    void Finish(std::string const& summary)
    {
        if (_json) {
            _os << Dump(Json{
                       {"steps", _steps}, {"summary", summary}, {"callsMade", _totalMade}, {"callsSaved", _totalSaved}})
                << "\n";
            return;
        }
        _os << "\n== summary\n"
            << summary << "database calls made: " << _totalMade << ", saved by cache hits: " << _totalSaved << "\n";
    }

private:
    Session& _session;
    std::ostream& _os;
    bool _json;
    Json _steps = Json::array();
    std::uint64_t _totalMade = 0, _totalSaved = 0;
};

}  // namespace

bool SeedDemo(Session& session)
{
    // Another process seeding at the same time makes this one's inserts fail on the
    // unique keys once it has committed; the topology is there then, and a second look
    // finds it.
    try {
        return SeedDemoOnce(session);
    } catch (KelDBException const& e) {
        if (e.Category() != KelDBErrorCategory::ConstraintViolation) throw;
    }
    return SeedDemoOnce(session);
}

void RunDemo(Session& session, std::ostream& os, bool json)
{
    session.Run([](KelTOMForAdminServer& tom) { tom.Database().CreateSchema(); });
    bool seeded = SeedDemo(session);
    session.TakeCalls();
    if (!json) os << (seeded ? "seeded the demonstration topology\n" : "the demonstration topology is there already\n");

    Demo demo(session, os, json);
    KelAdminSvrCoreContextIF context;
    KelSystemID sys1(S("SYS1"), S(kGroup));
    KelOID systemOid;
    std::size_t earlierLogs = 0;

    demo.Step("start system SYS1", [&](KelTOMForAdminServer& tom) {
        std::vector<KelSystemLogRecord const*> before;
        tom.ForSystemLogs().MaterializeSystemLogRecordsForRead(S("SYS1"), before);
        earlierLogs = before.size();
        systemOid = tom.ForSystemStates().MaterializeForReadByName(S("SYS1")).ID();
        KelSystemState& state =
            tom.ForSystemStates().MaterializeForUpdate(KelTOMForSystemStateParms::MaterializeInpParm(), systemOid);
        state.SetAdminSvrState(KelSvrState::Running);
        state.SetAdminSvrStartTime(KelTimeStamp::Now());
        std::vector<KelSvrInstance*> instances;
        tom.ForSvrInstances().MaterializeSvrsForUpdate(systemOid, instances);
        if (instances.empty()) {
            std::vector<KelServerData const*> servers;
            tom.ForServers().MaterializeAllForRead(KelTOMForServerParms::MaterializeInpParm(), servers);
            for (KelServerData const* server : servers) {
                if (server->SystemOIDIsNull() || server->SystemOID() != systemOid) continue;
                instances.push_back(&tom.ForSvrInstances().Create(KelTOMForSvrInstanceParms::CreateInpParm(
                    KelOID::Generate(), systemOid, SenderOf(server->ServerID().Kind()))));
            }
        }
        for (KelSvrInstance* instance : instances) instance->StartUp(context);
        AddLog(tom, sys1, 1001, false, {"SYS1", kGroup, std::to_string(instances.size())});
        FlushAll(tom);
        return "system state Running, " + std::to_string(instances.size()) + " server instances starting, " +
               std::to_string(earlierLogs) + " log records from earlier runs";
    });

    demo.Step("record an error", [&](KelTOMForAdminServer& tom) {
        KelSystemLogRecord& log = AddLog(tom, sys1, 2001, true, {"EXEC1", "connection refused"});
        KelOID errorOid = KelOID::Generate();
        KelErrorLogRecord& error = tom.ForErrorLogs().Create(KelTOMForErrorLogRecordParms::CreateInpParm(errorOid));
        error = KelErrorLogRecordBuilder(errorOid)
                    .CreationTime(KelTimeStamp::Now())
                    .System(sys1)
                    .VersionNumber(1)
                    .ComponentID(KelSenderType::ExecSvr)
                    .ComponentName(S("execution server"))
                    .Platform(KelPlatform::Linux)
                    .ExceptionType(7)
                    .SystemLogID(log.ObjectID())
                    .MessageType(2001)
                    .DetectionTime(KelTimeStamp::Now())
                    .ErrorFile(S("kelexec.cpp"))
                    .ErrorLine(421)
                    .ErrorDescription(S("connection to the queue manager refused"))
                    .Build();
        FlushAll(tom);
        return std::string("one system log record (error) and one error log record that belongs to it");
    });

    demo.Step("lock and update the server instances of SYS1", [&](KelTOMForAdminServer& tom) {
        std::vector<KelSvrInstance const*> read;
        tom.ForSvrInstances().MaterializeSvrsForRead(S("SYS1"), read);
        std::vector<KelSvrInstance*> instances;
        tom.ForSvrInstances().MaterializeSvrsForUpdate(systemOid, instances);
        for (KelSvrInstance* instance : instances) instance->StartUpResponse(context);
        // The server checks each instance again by its OID: answered from the cache.
        for (KelSvrInstance* instance : instances)
            tom.ForSvrInstances().MaterializeForRead(KelTOMForSvrInstanceParms::MaterializeInpParm(), instance->ID());
        tom.ForSvrInstances().Flush();
        return std::to_string(instances.size()) +
               " server instances read, then locked, checked again by OID, Running and written back";
    });

    demo.Step("search and release the locks of OPERATOR", [&](KelTOMForAdminServer& tom) {
        // The system's state row is the lock under which its locks are searched and
        // released: a second demo at the same time waits here, then finds them released.
        tom.ForSystemStates().MaterializeForUpdate(KelTOMForSystemStateParms::MaterializeInpParm(), systemOid);
        KelUserID holder(S(kLockHolder), S(kGroup));
        std::vector<KelEntity> persons, roles, systems, servers;
        tom.ForPersons().Search(persons, holder, KelEntityType::Person);
        tom.ForRoles().Search(roles, holder, KelEntityType::Role);
        tom.ForSystems().Search(systems, holder, KelEntityType::System);
        tom.ForServers().Search(servers, holder, KelEntityType::Server);
        for (auto const& e : roles) tom.ForRoles().Release(KelTOMForRoleParms::CreateInpParm(e.Name()), holder);
        for (auto const& e : systems)
            tom.ForSystems().Release(KelTOMForSystemParms::CreateInpParm(e.SystemID()), holder);
        for (auto const& e : servers)
            tom.ForServers().Release(KelTOMForServerParms::CreateInpParm(e.ServerID()), holder);
        std::size_t n = persons.size() + roles.size() + systems.size() + servers.size();
        return n == 0 ? std::string("OPERATOR holds no locks (released by an earlier run)")
                      : "OPERATOR held " + std::to_string(n) + " locks; released them";
    });

    demo.Step("shut down system SYS1", [&](KelTOMForAdminServer& tom) {
        // Locks in the order of every step: the system state, then its instances.
        KelSystemState& state =
            tom.ForSystemStates().MaterializeForUpdate(KelTOMForSystemStateParms::MaterializeInpParm(), systemOid);
        state.SetAdminSvrState(KelSvrState::Stopped);
        std::vector<KelSvrInstance*> instances;
        tom.ForSvrInstances().MaterializeSvrsForUpdate(systemOid, instances);
        for (KelSvrInstance* instance : instances) {
            instance->ShutDown(context);
            instance->ShutDownResponse(context);
        }
        AddLog(tom, sys1, 1002, false, {"SYS1", kGroup});
        FlushAll(tom);
        return std::to_string(instances.size()) + " server instances Stopped, system state Stopped";
    });

    std::size_t logs = 0, errors = 0;
    session.RunReadOnly([&](KelTOMForAdminServer& tom) {
        std::vector<KelSystemLogRecord const*> records;
        tom.ForSystemLogs().MaterializeSystemLogRecordsForRead(S("SYS1"), records);
        std::vector<KelErrorLogRecord const*> errorRecords;
        tom.ForErrorLogs().MaterializeErrorLogRecordsForRead(S("SYS1"), errorRecords);
        logs = records.size();
        errors = errorRecords.size();
    });
    demo.Finish("SYS1 has " + std::to_string(logs) + " system log records (" + std::to_string(earlierLogs) +
                " from earlier runs) and " + std::to_string(errors) + " error log records\n");
}

}  // namespace kelatom
