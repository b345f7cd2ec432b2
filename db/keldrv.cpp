#include "db/keldrv.hpp"

#include "db/keldbexc.hpp"
#include "db/keldmask.hpp"
#include "db/keldrvpg.hpp"
#include "db/keldrvsq.hpp"

KelDrvStatement::~KelDrvStatement() = default;

KelString KelDrvStatement::ColumnText(int col) const
{
    if (IsNull(col)) return KelString();
    std::int32_t length = 0;
    char const* data = ColumnBytes(col, length);
    return KelString(data ? data : "", length);
}

void KelDrvStatement::BindOid(int pos, KelOID const& oid) { BindBlob(pos, oid.AsBinary()); }

bool KelDrvStatement::ColumnBytesIfSet(int col, char const*& data, std::int32_t& length) const
{
    if (IsNull(col)) return false;
    data = ColumnBytes(col, length);
    return true;
}

bool KelDrvStatement::ColumnInt32IfSet(int col, std::int32_t& value) const
{
    if (IsNull(col)) return false;
    value = ColumnInt32(col);
    return true;
}

KelBinary KelDrvStatement::ColumnBlob(int col) const
{
    if (IsNull(col)) return KelBinary();
    std::int32_t length = 0;
    char const* data = ColumnBytes(col, length);
    return KelBinary(data, length);
}

namespace {

[[noreturn]] void NoPipeline(char const* function)
{
    throw KelDBException(KelOrigin(__FILE__, __LINE__, function), KelDBErrorCategory::Other, 0, "",
                         "this database does not pipeline statements");
}

}  // namespace

void KelDrvStatement::Send() { NoPipeline("KelDrvStatement::Send"); }

KelDrvConnection::~KelDrvConnection() = default;

void KelDrvConnection::PipelineBegin() { NoPipeline("KelDrvConnection::PipelineBegin"); }

std::int64_t KelDrvConnection::PipelineResult() { NoPipeline("KelDrvConnection::PipelineResult"); }

void KelDrvConnection::PipelineGuard() { NoPipeline("KelDrvConnection::PipelineGuard"); }

void KelDrvConnection::PipelineUndo() { NoPipeline("KelDrvConnection::PipelineUndo"); }

std::unique_ptr<KelDrvConnection> KelDrvOpen(std::string const& url)
{
    static std::string const sqlite = "sqlite:";
    if (url.compare(0, sqlite.size(), sqlite) == 0) return KelDrvOpenSQLite(url.substr(sqlite.size()));
    if (url.rfind("postgresql://", 0) == 0 || url.rfind("postgres://", 0) == 0 || url.find('=') != std::string::npos) {
        // The driver's text may quote the URL or its password back: masked before the
        // exception is traced or shown.
        try {
            return KelDrvOpenPostgreSQL(url);
        } catch (KelDBException const& e) {
            throw KelDBException(e.GetOrigin(), e.Category(), e.NativeCode(), e.SqlState(),
                                 KelDBMaskPasswords(e.Message(), url), KelDBMaskPasswords(e.Statement(), url),
                                 e.Table());
        }
    }
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
