// The demonstration of the command-line tool: a small topology to seed (a domain, a
// system group with two systems, their servers, persons and roles, some objects locked by
// a person) and an administration server's life in transactions through the object
// manager, printing after each transaction what the caches held and the database calls
// made and saved.
#pragma once

#include "tools/kelatom/kelatout.hpp"
#include "tools/kelatom/kelatses.hpp"

#include <iosfwd>

namespace kelatom {

// Seeds the demonstration topology unless it is there already; returns whether it seeded.
bool SeedDemo(Session& session);
// Runs the demonstration; prints to os (as text, or one JSON document when json is set).
void RunDemo(Session& session, std::ostream& os, bool json);

}  // namespace kelatom
