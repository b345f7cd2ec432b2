#include "tools/kelatom/kelatses.hpp"

namespace kelatom {

Session::Session(std::string const& url) : _database(KelDatabase::Open(url))
{
    _tom = std::make_unique<KelTOMForAdminServer>(*_database);
    TakeCalls();
}

Session::~Session()
{
    if (_database && _database->InTransaction()) _database->Rollback();
}

void Session::Run(std::function<void(KelTOMForAdminServer&)> const& work)
{
    _database->Begin();
    try {
        work(*_tom);
        _database->Commit();
    } catch (...) {
        try {
            _database->Rollback();
        } catch (...) {
            // The connection may be gone; the original error is the one to report.
        }
        _tom->TxnHasBeenCommitted();
        throw;
    }
    _tom->TxnHasBeenCommitted();
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
