// KelTOMForAdminServer: the administration server's object manager. The server creates
// one around its database and uses it inside its transactions: it owns the nine managers
// (system states, server instances, error and system log records, domains, systems,
// servers, persons, roles) and the two search objects, hands them out (refused while
// suspended), empties every cache when a transaction has been committed, and checks on
// suspension that every cache is empty. It writes nothing by itself: what the caller did
// not save or flush before TxnHasBeenCommitted() is discarded.
#pragma once

#include "admin/keldtad1.hpp"
#include "admin/keldtad2.hpp"
#include "admin/keldtad3.hpp"
#include "admin/keldtad4.hpp"
#include "staff/keldstpr.hpp"
#include "staff/keldstro.hpp"
#include "tom/keltinyom.hpp"
#include "topology/keldttdm.hpp"
#include "topology/keldttse.hpp"
#include "topology/keldttsv.hpp"
#include "topology/keldttsy.hpp"

#include <memory>

class KelTOMForAdminServer : public KelTinyObjectManager {
public:
    // An object manager over the database that the embedding server set as the default
    // (KelTinyObjectManager::SetDefaultDatabase).
    KelTOMForAdminServer();
    // An object manager over the given database, which must outlive it.
    explicit KelTOMForAdminServer(KelDatabase& database);
    ~KelTOMForAdminServer() override;

    // Each REQUIRES "!_isSuspended".
    KelTOMForPersons& ForPersons() override;
    KelTOMForRoles& ForRoles() override;
    KelTOMForDomains& ForDomains() override;
    KelTOMForSystems& ForSystems() override;
    KelTOMForServers& ForServers() override;
    KelTOMForSearch& ForSearch() override;
    KelTOMForSystemStates& ForSystemStates() override;
    KelTOMForSvrInstances& ForSvrInstances() override;
    KelTOMForTopologySearch& ForTopologySearch() override;
    KelTOMForErrorLogRecords& ForErrorLogs() override;
    KelTOMForSystemLogRecords& ForSystemLogs() override;

    // Suspends the base, then asserts that every cache is empty.
    void Suspend() override;
    // Tells the base, then clears every cache; writes nothing.
    void TxnHasBeenCommitted() override;

private:
    void Construct();

    // Declared in the reverse of the destructor's order, so that a construction that fails
    // part way frees the managers made so far in that order too.
    std::unique_ptr<KelTOMForTopologySearch> _pForTopologySearch;
    std::unique_ptr<KelTOMForSearch> _pForSearch;
    std::unique_ptr<KelTOMForServers> _pForServers;
    std::unique_ptr<KelTOMForSystems> _pForSystems;
    std::unique_ptr<KelTOMForDomains> _pForDomains;
    std::unique_ptr<KelTOMForRoles> _pForRoles;
    std::unique_ptr<KelTOMForPersons> _pForPersons;
    std::unique_ptr<KelTOMForSystemLogRecords> _pForSystemLogs;
    std::unique_ptr<KelTOMForErrorLogRecords> _pForErrorLogs;
    std::unique_ptr<KelTOMForSystemStates> _pForSystemStates;
    std::unique_ptr<KelTOMForSvrInstances> _pForSvrInstances;
};

// The library's entry point, a portable stand-in for the operating system's: on process
// attach (reason 1) it turns off thread attach and detach notifications; every
// notification reports success (true).
enum KelLibraryReason { KEL_PROCESS_DETACH = 0, KEL_PROCESS_ATTACH = 1, KEL_THREAD_ATTACH = 2, KEL_THREAD_DETACH = 3 };
extern "C" bool KelLibraryEntry(void* module, unsigned long reason, void* reserved);
// Whether the entry point has turned off the thread notifications for the module.
bool KelThreadLibraryCallsDisabled(void* module);
