#include "db/keldrv.hpp"

#include "db/keldbexc.hpp"
#include "db/keldrvpg.hpp"
#include "db/keldrvsq.hpp"

KelDrvStatement::~KelDrvStatement() = default;

KelDrvConnection::~KelDrvConnection() = default;

std::unique_ptr<KelDrvConnection> KelDrvOpen(std::string const& url)
{
    static std::string const sqlite = "sqlite:";
    if (url.compare(0, sqlite.size(), sqlite) == 0) return KelDrvOpenSQLite(url.substr(sqlite.size()));
    if (url.rfind("postgresql://", 0) == 0 || url.rfind("postgres://", 0) == 0 || url.find('=') != std::string::npos)
        return KelDrvOpenPostgreSQL(url);
    throw KelDBException(KelOrigin(__FILE__, __LINE__, "KelDrvOpen"), KelDBErrorCategory::Other, 0, "",
                         "unknown kind of database URL; expected sqlite:PATH, sqlite::memory:, "
                         "postgresql://... or a conninfo");
}

KelDrvTransaction::~KelDrvTransaction()
{
    if (!_open) return;
    try {
        _conn.Rollback();
    } catch (...) {
        // The connection is gone or broken; its transaction ends with it.
    }
}

void KelDrvTransaction::Commit()
{
    _conn.Commit();
    _open = false;
}
