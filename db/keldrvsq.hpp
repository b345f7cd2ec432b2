// The SQLite driver: one sqlite3 connection per KelDrvConnection, through the C API.
// A file database runs in WAL mode so that readers do not block the writer; a write
// transaction starts with BEGIN IMMEDIATE, so it holds the database's write lock from
// its start and two writers never deadlock; waits for that lock are bounded by the
// busy timeout (the lock timeout). Row locks need no clause of their own here.
#pragma once

#include "db/keldrv.hpp"

#include <memory>
#include <string>

// `path` is a file name or ":memory:", optionally followed by "?" and options joined by
// "&": "mode=ro" opens the database read-only ("mode=rw", the default, for reading and
// writing, creating the file if missing); "max_page_count=N" (N from 1 to 2147483647)
// lets the database grow to at most N pages, after which a write fails as if the disk
// were full. Throws KelDBException, also for an unknown or malformed option.
std::unique_ptr<KelDrvConnection> KelDrvOpenSQLite(std::string const& path);
