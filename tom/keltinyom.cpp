#include "tom/keltinyom.hpp"

#include "kernel/kelkcon.hpp"

namespace {
KelDatabase* gDefaultDatabase = nullptr;

KelDatabase& RequireDefaultDatabase()
{
    if (!gDefaultDatabase)
        KelContract::FailHard(KelContractKind::Require, "DefaultDatabase() != 0", __FILE__, __LINE__);
    return *gDefaultDatabase;
}

[[noreturn]] void NotServed(char const* accessor)
{
    (void)accessor;
    KelContract::FailHard(KelContractKind::Require, "the object manager serves this kind of objects", __FILE__,
                          __LINE__);
}
}  // namespace

KelTinyObjectManager::KelTinyObjectManager() : _isSuspended(false), _db(RequireDefaultDatabase()) {}

KelTinyObjectManager::KelTinyObjectManager(KelDatabase& db) : _isSuspended(false), _db(db) {}

KelTinyObjectManager::~KelTinyObjectManager() = default;

void KelTinyObjectManager::SetDefaultDatabase(KelDatabase* db) { gDefaultDatabase = db; }
KelDatabase* KelTinyObjectManager::DefaultDatabase() { return gDefaultDatabase; }

KelTOMForPersons& KelTinyObjectManager::ForPersons() { NotServed("ForPersons"); }
KelTOMForRoles& KelTinyObjectManager::ForRoles() { NotServed("ForRoles"); }
KelTOMForDomains& KelTinyObjectManager::ForDomains() { NotServed("ForDomains"); }
KelTOMForSystems& KelTinyObjectManager::ForSystems() { NotServed("ForSystems"); }
KelTOMForServers& KelTinyObjectManager::ForServers() { NotServed("ForServers"); }
KelTOMForSearch& KelTinyObjectManager::ForSearch() { NotServed("ForSearch"); }
KelTOMForSystemStates& KelTinyObjectManager::ForSystemStates() { NotServed("ForSystemStates"); }
KelTOMForSvrInstances& KelTinyObjectManager::ForSvrInstances() { NotServed("ForSvrInstances"); }
KelTOMForTopologySearch& KelTinyObjectManager::ForTopologySearch() { NotServed("ForTopologySearch"); }
KelTOMForErrorLogRecords& KelTinyObjectManager::ForErrorLogs() { NotServed("ForErrorLogs"); }
KelTOMForSystemLogRecords& KelTinyObjectManager::ForSystemLogs() { NotServed("ForSystemLogs"); }

void KelTinyObjectManager::Suspend() { _isSuspended = true; }

void KelTinyObjectManager::Resume() { _isSuspended = false; }

void KelTinyObjectManager::TxnHasBeenCommitted() {}
