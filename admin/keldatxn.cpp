#include "admin/keldatxn.hpp"

#include "db/keldbexc.hpp"
#include "kernel/kelkcon.hpp"
#include "kernel/kelktrc.hpp"

#include <algorithm>
#include <thread>

KelTxnRunner::KelTxnRunner(KelTOMForAdminServer& tom, KelTxnOptions defaults)
    : _tom(tom), _defaults(defaults), _jitter(std::random_device()())
{
}

void KelTxnRunner::Run(Work const& work) { Run(_defaults, work); }

bool KelTxnRunner::Retryable(KelDBException const& e, KelDatabase const& database)
{
    if (e.IsRetryable()) return true;
    return e.Category() == KelDBErrorCategory::ConnectionLost && database.CanReconnect();
}

std::chrono::milliseconds KelTxnRunner::Pause(KelTxnOptions const& options, int retry, std::minstd_rand& jitter)
{
    long long const cap =
        std::min<long long>(options.maxBackoff.count(), options.backoff.count() << std::clamp(retry - 1, 0, 20));
    return std::chrono::milliseconds(std::uniform_int_distribution<long long>(0, std::max(0LL, cap))(jitter));
}

void KelTxnRunner::Run(KelTxnOptions const& options, Work const& work)
{
    kelkCtrFlow("KelTxnRunner::Run");
    KelTOMForAdminServer& tom = options.readOnly && _readTom ? *_readTom : _tom;
    kelkCheck(KelContractKind::Require, !tom.Database().InTransaction(), "!Database().InTransaction()");
    using Clock = std::chrono::steady_clock;
    Clock::time_point const deadline = Clock::now() + options.budget;
    int const attempts = std::max(1, options.attempts);
    ++_stats.runs;
    bool reconnect = false;
    for (int attempt = 1;; ++attempt) {
        _lastAttempts = attempt;
        try {
            // The same name again: after a failover of a server cluster it finds the new
            // primary; a server still down fails again as a lost connection.
            if (reconnect) tom.Database().Reconnect();
            Attempt(tom, options, work);
            return;
        } catch (KelDBException const& e) {
            if (e.Category() == KelDBErrorCategory::OutcomeUnknown) ++_stats.outcomeUnknown;
            if (!Retryable(e, tom.Database()) || attempt >= attempts) throw;
            reconnect = e.Category() == KelDBErrorCategory::ConnectionLost;
            std::chrono::milliseconds const pause = Pause(options, attempt, _jitter);
            if (Clock::now() + pause >= deadline) throw;
            std::this_thread::sleep_for(pause);
            ++_stats.retries;
        }
    }
}

void KelTxnRunner::Attempt(KelTOMForAdminServer& tom, KelTxnOptions const& options, Work const& work)
{
    KelDatabase& database = tom.Database();
    ++_stats.attempts;
    try {
        if (options.readOnly)
            database.BeginReadOnly();
        else
            database.Begin();
        work(tom);
        database.Commit();
    } catch (...) {
        RollBackAndClear(tom);
        throw;
    }
    ++_stats.committed;
    // Committed: from here on nothing may lead to another run.
    tom.TxnHasBeenCommitted();
}

void KelTxnRunner::RollBackAndClear(KelTOMForAdminServer& tom) noexcept
{
    ++_stats.rolledBack;
    try {
        tom.Database().Rollback();
    } catch (...) {
        // A lost connection has no transaction left; the original error is the one to report.
    }
    try {
        // Empties every cache and writes nothing, as after a commit.
        tom.TxnHasBeenCommitted();
    } catch (...) {
        // Clearing frees memory only; the original error is the one to report.
    }
}
