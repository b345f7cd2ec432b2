#include "admin/keldatom.hpp"

#include "kernel/kelkcon.hpp"
#include "kernel/kelktrc.hpp"

#include <set>

KelTOMForAdminServer::KelTOMForAdminServer() : KelTinyObjectManager() { Construct(); }

KelTOMForAdminServer::KelTOMForAdminServer(KelDatabase& database) : KelTinyObjectManager(database) { Construct(); }

void KelTOMForAdminServer::Construct()
{
    KelDatabase& db = Database();
    try {
        _pForSystemStates = new KelTOMForSystemStates(*this, db);
        _pForSvrInstances = new KelTOMForSvrInstances(*this, db);
        _pForErrorLogs = new KelTOMForErrorLogRecords(*this, db);
        _pForSystemLogs = new KelTOMForSystemLogRecords(*this, db);
        _pForDomains = new KelTOMForDomains(*this, db);
        _pForSystems = new KelTOMForSystems(*this, db);
        _pForServers = new KelTOMForServers(*this, db);
        _pForPersons = new KelTOMForPersons(*this, db);
        _pForRoles = new KelTOMForRoles(*this, db);
        _pForSearch = new KelTOMForSearch(db);
        _pForTopologySearch = new KelTOMForTopologySearch(db);
    } catch (...) {
        this->~KelTOMForAdminServer();
        throw;
    }
    kelkCtrFlow("KelTOMForAdminServer::KelTOMForAdminServer");
}

KelTOMForAdminServer::~KelTOMForAdminServer()
{
    kelkCtrFlow("KelTOMForAdminServer::~KelTOMForAdminServer");
    delete _pForSvrInstances;
    delete _pForSystemStates;
    delete _pForErrorLogs;
    delete _pForSystemLogs;
    delete _pForPersons;
    delete _pForRoles;
    delete _pForDomains;
    delete _pForSystems;
    delete _pForServers;
    delete _pForSearch;
    delete _pForTopologySearch;
    _pForSvrInstances = nullptr;
    _pForSystemStates = nullptr;
    _pForErrorLogs = nullptr;
    _pForSystemLogs = nullptr;
    _pForPersons = nullptr;
    _pForRoles = nullptr;
    _pForDomains = nullptr;
    _pForSystems = nullptr;
    _pForServers = nullptr;
    _pForSearch = nullptr;
    _pForTopologySearch = nullptr;
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
