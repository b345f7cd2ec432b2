// The databases that the database tests run on: SQLite in memory always, PostgreSQL
// when KELDATOM_PG_URL names a database.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

inline char const* PgUrl()
{
    char const* url = std::getenv("KELDATOM_PG_URL");
    return url && *url ? url : nullptr;
}

inline bool IsPg(std::string const& url) { return url != "sqlite::memory:" && url.rfind("sqlite:", 0) != 0; }

// Test parameter: the URL, or "postgresql" standing for KELDATOM_PG_URL.
inline std::string ResolveUrl(std::string const& param) { return param == "postgresql" ? (PgUrl() ? PgUrl() : "") : param; }

inline std::string DatabaseName(testing::TestParamInfo<std::string> const& info)
{
    return info.param == "postgresql" ? "PostgreSQL" : "SQLite";
}
