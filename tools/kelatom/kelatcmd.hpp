// The commands of the command-line tool. Each runs in one transaction of the session,
// through the managers' own queries, and returns its result as JSON; the caller prints it
// as a table or as JSON.
#pragma once

#include "tools/kelatom/kelatout.hpp"
#include "tools/kelatom/kelatses.hpp"

#include <string>
#include <vector>

class KelSystemData;

namespace kelatom {

char const* StateName(std::int32_t state);
char const* SenderName(std::int32_t type);
char const* SeverityName(std::int32_t severity);

// The system of that name (any group), read in the current transaction.
KelSystemData const& FindSystem(KelTOMForAdminServer& tom, std::string const& name);

Json StateShow(Session& session, std::string const& system);
Json InstancesList(Session& session, std::string const& system, bool forUpdate);
Json LogList(Session& session, std::string const& system, bool errors);
Json LogAdd(Session& session, std::string const& system, std::int32_t message, std::vector<std::string> const& params,
            std::string const& user);
Json LocksList(Session& session, std::string const& user);
// kind: person, role, system (name SYSTEM or SYSTEM.GROUP) or server (name SERVER@SYSTEM).
Json LocksRelease(Session& session, std::string const& user, std::string const& kind, std::string const& name);

// Prints a command's result as a table.
void PrintResult(std::ostream& os, std::string const& command, Json const& result);

}  // namespace kelatom
