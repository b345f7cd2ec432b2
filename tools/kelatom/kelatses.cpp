#include "tools/kelatom/kelatses.hpp"

namespace kelatom {

Session::Session(std::string const& url, KelTxnOptions const& options) : _database(KelDatabase::Open(url))
{
    _tom = std::make_unique<KelTOMForAdminServer>(*_database);
    KelTxnOptions writes = options;
    writes.readOnly = false;
    _runner = std::make_unique<KelTxnRunner>(*_tom, writes);
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
