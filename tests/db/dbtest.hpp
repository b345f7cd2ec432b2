// SQLite in memory, and PostgreSQL (KELDATOM_PG_URL) in a schema of the test process's own, dropped at its end.
#pragma once

#include "db/keldrv.hpp"

#include <gtest/gtest.h>

#include <unistd.h>
#include <cstdlib>
#include <string>

inline char const* PgUrl()
{
    char const* url = std::getenv("KELDATOM_PG_URL");
    return url && *url ? url : nullptr;
}

class PgTestSchema {
public:
    // `suffix` tells apart several schemas of one process.
    explicit PgTestSchema(std::string base, std::string const& suffix = std::string())
        : _base(std::move(base)), _name("kel_test_" + std::to_string(getpid()) + suffix)
    {
        KelDrvOpen(_base)->Execute("CREATE SCHEMA IF NOT EXISTS " + _name);
    }
    ~PgTestSchema()
    {
        try {
            KelDrvOpen(_base)->Execute("DROP SCHEMA IF EXISTS " + _name + " CASCADE");
        } catch (...) {
        }
    }
    // The base URL or conninfo with the schema as the connection's search path.
    std::string Url() const
    {
        if (_base.find("://") == std::string::npos) return _base + " options='-csearch_path=" + _name + "'";
        char const* separator = _base.find('?') == std::string::npos ? "?" : "&";
        return _base + separator + "options=-csearch_path%3D" + _name;
    }

private:
    std::string _base;
    std::string _name;
};

// "sqlite::memory:", or "postgresql" for KELDATOM_PG_URL (empty when that is not set).
inline std::string ResolveUrl(std::string const& param)
{
    if (param != "postgresql") return param;
    if (!PgUrl()) return std::string();
    static PgTestSchema schema(PgUrl());
    return schema.Url();
}

inline std::string DatabaseName(testing::TestParamInfo<std::string> const& info)
{
    return info.param == "postgresql" ? "PostgreSQL" : "SQLite";
}
