// A session of the command-line tool: the database it opened and the object manager over
// it, and one transaction at a time. Run() begins a transaction, runs the work, flushes
// nothing by itself, commits and clears the caches; on any error it rolls back, clears the
// caches and rethrows, so a failed command leaves the database as it was.
#pragma once

#include "admin/keldatom.hpp"
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
    explicit Session(std::string const& url);
    ~Session();

    KelDatabase& Database() { return *_database; }
    KelTOMForAdminServer& Tom() { return *_tom; }

    // Runs work in one transaction (see above).
    void Run(std::function<void(KelTOMForAdminServer&)> const& work);
    // Database calls per table since the last call of TakeCalls.
    CallCounts TakeCalls();

private:
    std::unique_ptr<KelDatabase> _database;
    std::unique_ptr<KelTOMForAdminServer> _tom;
    CallCounts _seen;
};

}  // namespace kelatom
