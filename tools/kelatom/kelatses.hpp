// A session of the command-line tool: the database it opened, the object manager over it
// and the transaction runner that every command goes through. Run() and RunReadOnly()
// run the work in one transaction: committed and the caches emptied, or rolled back with
// the caches emptied and the error rethrown, so a failed command leaves the database as
// it was. Retryable failures (deadlock, lock timeout, busy) run the work again, up to the
// session's attempts; the work must therefore assign its results afresh on every run.
#pragma once

#include "admin/keldatom.hpp"
#include "admin/keldatxn.hpp"
#include "db/keldb.hpp"

#include <functional>
#include <map>
#include <memory>
#include <string>

namespace kelatom {

// Database calls by table, for showing what one transaction cost.
using CallCounts = std::map<std::string, std::uint64_t>;

class Session {
public:
    // `options` are the runner's (attempts, budget, backoff); their readOnly is ignored.
    // With a `readUrl`, read-only transactions run on that second database (a standby).
    explicit Session(std::string const& url, KelTxnOptions const& options = KelTxnOptions(),
                     std::string const& readUrl = std::string());
    ~Session();

    KelDatabase& Database() { return *_database; }
    KelTOMForAdminServer& Tom() { return *_tom; }
    KelTxnRunner& Runner() { return *_runner; }

    // Runs work in one write transaction (see above).
    void Run(std::function<void(KelTOMForAdminServer&)> const& work);
    // Runs work in one read-only transaction: it waits for no writer.
    void RunReadOnly(std::function<void(KelTOMForAdminServer&)> const& work);
    // Database calls per table since the last call of TakeCalls.
    CallCounts TakeCalls();

private:
    std::unique_ptr<KelDatabase> _database;
    std::unique_ptr<KelTOMForAdminServer> _tom;
    std::unique_ptr<KelDatabase> _readDatabase;
    std::unique_ptr<KelTOMForAdminServer> _readTom;
    std::unique_ptr<KelTxnRunner> _runner;
    CallCounts _seen;
};

}  // namespace kelatom
