// KelTinyObjectManager: the base of an object manager. It holds the database of the
// transaction it serves and whether the manager is suspended, and declares one accessor
// per kind of manager; a derived object manager owns the managers it serves and
// overrides their accessors. An accessor that no derived class serves fails the
// precondition "the object manager serves this kind of objects" and throws.
//
// Lifetime: created by the embedding server around its transactions and destroyed by it;
// the database must outlive it. One transaction (one thread) uses a manager at a time.
#pragma once

class KelDatabase;
class KelTOMForPersons;
class KelTOMForRoles;
class KelTOMForDomains;
class KelTOMForSystems;
class KelTOMForServers;
class KelTOMForSearch;
class KelTOMForSystemStates;
class KelTOMForSvrInstances;
class KelTOMForTopologySearch;
class KelTOMForErrorLogRecords;
class KelTOMForSystemLogRecords;

class KelTinyObjectManager {
public:
    // Over the database the embedding server set as the default (SetDefaultDatabase);
    // REQUIRES such a database.
    KelTinyObjectManager();
    explicit KelTinyObjectManager(KelDatabase& db);
    virtual ~KelTinyObjectManager();
    KelTinyObjectManager(KelTinyObjectManager const&) = delete;
    KelTinyObjectManager& operator=(KelTinyObjectManager const&) = delete;

    // The database that default-constructed object managers use; null for none.
    static void SetDefaultDatabase(KelDatabase* db);
    static KelDatabase* DefaultDatabase();

    // The database of the transaction; every cache of this manager works on it.
    KelDatabase& Database() const { return _db; }
    bool IsSuspended() const { return _isSuspended; }

    virtual KelTOMForPersons& ForPersons();
    virtual KelTOMForRoles& ForRoles();
    virtual KelTOMForDomains& ForDomains();
    virtual KelTOMForSystems& ForSystems();
    virtual KelTOMForServers& ForServers();
    virtual KelTOMForSearch& ForSearch();
    virtual KelTOMForSystemStates& ForSystemStates();
    virtual KelTOMForSvrInstances& ForSvrInstances();
    virtual KelTOMForTopologySearch& ForTopologySearch();
    virtual KelTOMForErrorLogRecords& ForErrorLogs();
    virtual KelTOMForSystemLogRecords& ForSystemLogs();

    // Marks the manager suspended; derived managers refuse their caches meanwhile.
    virtual void Suspend();
    // Clears the suspension.
    virtual void Resume();
    // Called after the database transaction has been committed; the base keeps nothing
    // that would need to be forgotten.
    virtual void TxnHasBeenCommitted();

protected:
    bool _isSuspended;

private:
    KelDatabase& _db;
};
