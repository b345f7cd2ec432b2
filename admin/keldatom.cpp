#include "admin/keldatom.hpp"

#include "kernel/kelkcon.hpp"
#include "kernel/kelktrc.hpp"

#include <set>

KelTOMForAdminServer::KelTOMForAdminServer() : KelTinyObjectManager() { Construct(); }

KelTOMForAdminServer::KelTOMForAdminServer(KelDatabase& database) : KelTinyObjectManager(database) { Construct(); }

void KelTOMForAdminServer::Construct()
{
    KelDatabase& db = Database();
    // Should one manager fail to be made, the members free those made before it.
    _pForSystemStates = std::make_unique<KelTOMForSystemStates>(*this, db);
    _pForSvrInstances = std::make_unique<KelTOMForSvrInstances>(*this, db);
    _pForErrorLogs = std::make_unique<KelTOMForErrorLogRecords>(*this, db);
    _pForSystemLogs = std::make_unique<KelTOMForSystemLogRecords>(*this, db);
    _pForDomains = std::make_unique<KelTOMForDomains>(*this, db);
    _pForSystems = std::make_unique<KelTOMForSystems>(*this, db);
    _pForServers = std::make_unique<KelTOMForServers>(*this, db);
    _pForPersons = std::make_unique<KelTOMForPersons>(*this, db);
    _pForRoles = std::make_unique<KelTOMForRoles>(*this, db);
    _pForSearch = std::make_unique<KelTOMForSearch>(db);
    _pForTopologySearch = std::make_unique<KelTOMForTopologySearch>(db);
    kelkCtrFlow("KelTOMForAdminServer::KelTOMForAdminServer");
}

KelTOMForAdminServer::~KelTOMForAdminServer()
{
    kelkCtrFlow("KelTOMForAdminServer::~KelTOMForAdminServer");
    _pForSvrInstances.reset();
    _pForSystemStates.reset();
    _pForErrorLogs.reset();
    _pForSystemLogs.reset();
    _pForPersons.reset();
    _pForRoles.reset();
    _pForDomains.reset();
    _pForSystems.reset();
    _pForServers.reset();
    _pForSearch.reset();
    _pForTopologySearch.reset();
}

KelTOMForPersons& KelTOMForAdminServer::ForPersons()
{
    kelkRequire(!_isSuspended);
    return *_pForPersons;
}

KelTOMForRoles& KelTOMForAdminServer::ForRoles()
{
    kelkRequire(!_isSuspended);
    return *_pForRoles;
}

KelTOMForDomains& KelTOMForAdminServer::ForDomains()
{
    kelkRequire(!_isSuspended);
    return *_pForDomains;
}

KelTOMForSystems& KelTOMForAdminServer::ForSystems()
{
    kelkRequire(!_isSuspended);
    return *_pForSystems;
}

KelTOMForServers& KelTOMForAdminServer::ForServers()
{
    kelkRequire(!_isSuspended);
    return *_pForServers;
}

KelTOMForSearch& KelTOMForAdminServer::ForSearch()
{
    kelkRequire(!_isSuspended);
    return *_pForSearch;
}

KelTOMForSystemStates& KelTOMForAdminServer::ForSystemStates()
{
    kelkRequire(!_isSuspended);
    return *_pForSystemStates;
}

KelTOMForSvrInstances& KelTOMForAdminServer::ForSvrInstances()
{
    kelkRequire(!_isSuspended);
    return *_pForSvrInstances;
}

KelTOMForTopologySearch& KelTOMForAdminServer::ForTopologySearch()
{
    kelkRequire(!_isSuspended);
    return *_pForTopologySearch;
}

KelTOMForErrorLogRecords& KelTOMForAdminServer::ForErrorLogs()
{
    kelkRequire(!_isSuspended);
    return *_pForErrorLogs;
}

KelTOMForSystemLogRecords& KelTOMForAdminServer::ForSystemLogs()
{
    kelkRequire(!_isSuspended);
    return *_pForSystemLogs;
}

void KelTOMForAdminServer::Suspend()
{
    KelTinyObjectManager::Suspend();
    kelkAssert(_pForSvrInstances->IsCacheEmpty());
    kelkAssert(_pForSystemStates->IsCacheEmpty());
    kelkAssert(_pForErrorLogs->IsCacheEmpty());
    kelkAssert(_pForSystemLogs->IsCacheEmpty());
    kelkAssert(_pForPersons->IsCacheEmpty());
    kelkAssert(_pForRoles->IsCacheEmpty());
    kelkAssert(_pForDomains->IsCacheEmpty());
    kelkAssert(_pForSystems->IsCacheEmpty());
    kelkAssert(_pForServers->IsCacheEmpty());
}

void KelTOMForAdminServer::TxnHasBeenCommitted()
{
    kelkCtrFlow("KelTOMForAdminServer::TxnHasBeenCommitted");
    KelTinyObjectManager::TxnHasBeenCommitted();
    _pForSvrInstances->ClearCache();
    _pForSystemStates->ClearCache();
    _pForErrorLogs->ClearCache();
    _pForSystemLogs->ClearCache();
    _pForPersons->ClearCache();
    _pForRoles->ClearCache();
    _pForDomains->ClearCache();
    _pForSystems->ClearCache();
    _pForServers->ClearCache();
}

namespace {
std::set<void*>& DisabledModules()
{
    static std::set<void*> modules;
    return modules;
}
}  // namespace

extern "C" bool KelLibraryEntry(void* module, unsigned long reason, void*)
{
    if (reason == KEL_PROCESS_ATTACH) DisabledModules().insert(module);
    return true;
}

bool KelThreadLibraryCallsDisabled(void* module) { return DisabledModules().count(module) != 0; }
