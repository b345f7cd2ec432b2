#include "tools/kelatom/kelatses.hpp"

#include "db/keldbexc.hpp"

#include <random>
#include <thread>

namespace kelatom {

namespace {

// Opens the database; a server that cannot be reached (down, or no host of the URL takes
// writes yet while a cluster fails over) is tried again with the runner's attempts and
// pauses. A file database is opened once: it is not going to come back by waiting.
std::unique_ptr<KelDatabase> Open(std::string const& url, KelTxnOptions const& options)
{
    bool const server = url.rfind("sqlite:", 0) != 0;
    auto const deadline = std::chrono::steady_clock::now() + options.budget;
    std::minstd_rand jitter(std::random_device{}());
    for (int attempt = 1;; ++attempt) {
        std::chrono::milliseconds pause{0};
        try {
            return KelDatabase::Open(url);
        } catch (KelDBException const& e) {
            pause = KelTxnRunner::Pause(options, attempt, jitter);
            if (!server || e.Category() != KelDBErrorCategory::ConnectionLost || attempt >= options.attempts ||
                std::chrono::steady_clock::now() + pause >= deadline)
                throw;
        }
        std::this_thread::sleep_for(pause);
    }
}

}  // namespace

Session::Session(std::string const& url, KelTxnOptions const& options, std::string const& readUrl)
{
    // The read database opens first, so that the last one opened, whose type the kernel
    // reports, is the one that takes the writes.
    if (!readUrl.empty()) {
        _readDatabase = Open(readUrl, options);
        _readTom = std::make_unique<KelTOMForAdminServer>(*_readDatabase);
    }
    _database = Open(url, options);
    _tom = std::make_unique<KelTOMForAdminServer>(*_database);
    KelTxnOptions writes = options;
    writes.readOnly = false;
    _runner = std::make_unique<KelTxnRunner>(*_tom, writes);
    _runner->SetReadManager(_readTom.get());
    TakeCalls();
}

Session::~Session()
{
    try {
        if (_database && _database->InTransaction()) _database->Rollback();
    } catch (...) {
        // The connection may be gone; its transaction ended with it.
    }
}

void Session::Run(std::function<void(KelTOMForAdminServer&)> const& work) { _runner->Run(work); }

void Session::RunReadOnly(std::function<void(KelTOMForAdminServer&)> const& work)
{
    KelTxnOptions options = _runner->Options();
    options.readOnly = true;
    _runner->Run(options, work);
}

CallCounts Session::TakeCalls()
{
    CallCounts now;
    for (auto const& [table, counts] : _database->Statistics()) now[table] = counts.Total();
    CallCounts delta;
    for (auto const& [table, total] : now) {
        std::uint64_t before = _seen.count(table) ? _seen[table] : 0;
        if (total > before) delta[table] = total - before;
    }
    _seen = now;
    return delta;
}

}  // namespace kelatom
