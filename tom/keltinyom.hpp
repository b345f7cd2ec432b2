// KelTinyObjectManager: the base of an object manager. It holds the database of the
// transaction it serves and whether the manager is suspended; derived managers add their
// per-class caches and hand them out through accessors.
//
// Lifetime: created by the embedding server around its transactions and destroyed by it;
// the database must outlive it. One transaction (one thread) uses a manager at a time.
#pragma once

class KelDatabase;

class KelTinyObjectManager {
public:
    explicit KelTinyObjectManager(KelDatabase& db);
    virtual ~KelTinyObjectManager();
    KelTinyObjectManager(KelTinyObjectManager const&) = delete;
    KelTinyObjectManager& operator=(KelTinyObjectManager const&) = delete;

    // The database of the transaction; every cache of this manager works on it.
    KelDatabase& Database() const { return _db; }
    bool IsSuspended() const { return _isSuspended; }

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
