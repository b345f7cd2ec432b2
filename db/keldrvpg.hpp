// The PostgreSQL driver: one libpq connection per KelDrvConnection. Statements are
// prepared on the server once per connection under names of their own and executed
// with their parameters (integers as text, texts and binaries as raw bytes) and binary
// results. Locking reads add FOR UPDATE; lock_timeout bounds the wait for a row lock.
#pragma once

#include "db/keldrv.hpp"

#include <memory>
#include <string>

// `url` is a postgresql:// URL or a conninfo string. Throws KelDBException.
std::unique_ptr<KelDrvConnection> KelDrvOpenPostgreSQL(std::string const& url);
