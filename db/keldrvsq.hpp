// The SQLite driver: one sqlite3 connection per KelDrvConnection, through the C API.
// A file database runs in WAL mode so that readers do not block the writer; a write
// transaction starts with BEGIN IMMEDIATE, so it holds the database's write lock from
// its start and two writers never deadlock; waits for that lock are bounded by the
// busy timeout (the lock timeout). Row locks need no clause of their own here.
#pragma once

#include "db/keldrv.hpp"

#include <memory>
#include <string>

// `path` is a file name or ":memory:". Throws KelDBException.
std::unique_ptr<KelDrvConnection> KelDrvOpenSQLite(std::string const& path);
