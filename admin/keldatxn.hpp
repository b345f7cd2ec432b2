// KelTxnRunner: runs a unit of work as one database transaction of an object manager, in
// the same order on every path: begin, the work, commit, then empty every cache; on any
// exception, roll back, empty every cache without writing anything, and rethrow.
//
// A failure that another attempt may cure (deadlock, serialization failure, lock timeout,
// a busy database, a connection lost before COMMIT was sent, which is opened again before
// the next attempt) reruns the whole work after a pause (exponential backoff with jitter), until
// the attempts or the time budget are spent; then the last failure is rethrown. It never
// reruns once Commit has returned, and a connection lost while COMMIT was in flight is
// rethrown at once as category OutcomeUnknown: only a look at the data can tell whether
// the transaction was committed.
//
// The work must be safe to run again: it may run several times, and only the writes of
// its last run count. It must not begin, commit or roll back the database itself, and it
// must not keep references into the caches after it returns: they are emptied. Results
// that it hands out should be assigned afresh in every run.
//
// A runner serves one object manager and is used by one thread at a time; the object
// manager and its database must outlive it.
#pragma once

#include "admin/keldatom.hpp"

#include <chrono>
#include <cstdint>
#include <functional>
#include <random>

struct KelTxnOptions {
    // A read-only transaction (KelDatabase::BeginReadOnly): it waits for no writer, and a
    // write or a row lock inside it raises category ReadOnly.
    bool readOnly = false;
    // Runs of the work at most, the first included; at least 1.
    int attempts = 5;
    // No new attempt starts later than this after the first one began.
    std::chrono::milliseconds budget{60000};
    // The pause before the n-th retry is drawn evenly from [0, min(maxBackoff, backoff * 2^(n-1))].
    std::chrono::milliseconds backoff{10};
    std::chrono::milliseconds maxBackoff{1000};
};

// What a runner did since it was made or its statistics were reset.
struct KelTxnStatistics {
    std::uint64_t runs = 0;            // calls of Run
    std::uint64_t attempts = 0;        // transactions begun
    std::uint64_t retries = 0;         // attempts after a retryable failure
    std::uint64_t committed = 0;       // runs that committed
    std::uint64_t rolledBack = 0;      // attempts that ended in a rollback
    std::uint64_t outcomeUnknown = 0;  // runs whose COMMIT was lost in flight
};

class KelTxnRunner final {
public:
    using Work = std::function<void(KelTOMForAdminServer&)>;

    explicit KelTxnRunner(KelTOMForAdminServer& tom, KelTxnOptions defaults = KelTxnOptions());
    KelTxnRunner(KelTxnRunner const&) = delete;
    KelTxnRunner& operator=(KelTxnRunner const&) = delete;

    // Runs the work with the runner's options, or with the given ones.
    // REQUIRES "!Database().InTransaction()": the runner owns the whole transaction.
    void Run(Work const& work);
    void Run(KelTxnOptions const& options, Work const& work);

    // Read-only runs go to `readTom` (an object manager over a second database, such as a
    // standby of a server cluster); writes never do. Null (the default): the main one.
    // `readTom` must outlive the runner or be unset first.
    void SetReadManager(KelTOMForAdminServer* readTom) { _readTom = readTom; }

    KelTxnOptions const& Options() const { return _defaults; }
    void SetOptions(KelTxnOptions const& options) { _defaults = options; }
    // Attempts of the last Run, the failed ones included.
    int LastAttempts() const { return _lastAttempts; }
    KelTxnStatistics const& Statistics() const { return _stats; }
    void ResetStatistics() { _stats = KelTxnStatistics(); }

    // Whether a failure may be cured by running the transaction again: IsRetryable(), or a
    // lost connection where the database can reconnect. OutcomeUnknown never is.
    static bool Retryable(KelDBException const& e, KelDatabase const& database);

    // The pause before retry number `retry` (1, 2, ...) under the options: drawn evenly from
    // [0, min(maxBackoff, backoff * 2^(retry-1))], so that two callers that collided do not
    // collide again in step.
    static std::chrono::milliseconds Pause(KelTxnOptions const& options, int retry, std::minstd_rand& jitter);

private:
    void Attempt(KelTOMForAdminServer& tom, KelTxnOptions const& options, Work const& work);
    void RollBackAndClear(KelTOMForAdminServer& tom) noexcept;

    KelTOMForAdminServer& _tom;
    KelTOMForAdminServer* _readTom = nullptr;
    KelTxnOptions _defaults;
    KelTxnStatistics _stats;
    int _lastAttempts = 0;
    std::minstd_rand _jitter;
};
