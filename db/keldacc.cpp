#include "db/keldacc.hpp"
#include "db/keldrv.hpp"
#include "kernel/kelkoid.hpp"
#include "kernel/kelktim.hpp"
#include "kernel/kelmsvid.hpp"
#include "kernel/kelmsyst.hpp"

int KelDBBind(KelDrvStatement& stmt, int pos, KelOID const& key)
{
    stmt.BindOid(pos, key);
    return 1;
}

int KelDBBind(KelDrvStatement& stmt, int pos, KelBinary const& key)
{
    stmt.BindBlob(pos, key);
    return 1;
}

int KelDBBind(KelDrvStatement& stmt, int pos, KelString const& key)
{
    stmt.BindText(pos, key);
    return 1;
}

int KelDBBind(KelDrvStatement& stmt, int pos, KelSystemID const& key)
{
    stmt.BindText(pos, key.Name());
    stmt.BindText(pos + 1, key.Group());
    return 2;
}

int KelDBBind(KelDrvStatement& stmt, int pos, KelServerID const& key)
{
    stmt.BindInt32(pos, key.Kind());
    stmt.BindText(pos + 1, key.Name());
    stmt.BindText(pos + 2, key.System());
    stmt.BindText(pos + 3, key.SystemGroup());
    return 4;
}

void KelDBBindText(KelDrvStatement& stmt, int pos, KelString const& value, std::int16_t indicator)
{
    if (indicator == -1)
        stmt.BindNull(pos);
    else
        stmt.BindText(pos, value);
}

void KelDBBindOid(KelDrvStatement& stmt, int pos, KelBinary const& value, std::int16_t indicator)
{
    if (indicator == -1)
        stmt.BindNull(pos);
    else
        stmt.BindBlob(pos, value);
}

void KelDBBindInt(KelDrvStatement& stmt, int pos, std::int32_t value, std::int16_t indicator)
{
    if (indicator == -1)
        stmt.BindNull(pos);
    else
        stmt.BindInt32(pos, value);
}

namespace {

// The column's bytes into value, in the room value already has where it can: a row that
// is filled again keeps its buffers.
void ReadBytes(KelDrvStatement const& stmt, int col, KelBinary& value)
{
    std::int32_t length = 0;
    char const* data = stmt.ColumnBytes(col, length);
    value.Fill(data, length);
}

}  // namespace

void KelDBReadText(KelDrvStatement const& stmt, int col, KelString& value, std::int16_t& indicator)
{
    if (stmt.IsNull(col)) {
        indicator = -1;
        return;
    }
    ReadBytes(stmt, col, value);
    indicator = 0;
}

void KelDBReadText(KelDrvStatement const& stmt, int col, KelString& value)
{
    if (stmt.IsNull(col))
        value = KelString();
    else
        ReadBytes(stmt, col, value);
}

void KelDBReadOid(KelDrvStatement const& stmt, int col, KelBinary& value, std::int16_t& indicator)
{
    if (stmt.IsNull(col)) {
        indicator = -1;
        return;
    }
    ReadBytes(stmt, col, value);
    indicator = 0;
}

void KelDBReadOid(KelDrvStatement const& stmt, int col, KelBinary& value)
{
    if (stmt.IsNull(col))
        value = KelBinary();
    else
        ReadBytes(stmt, col, value);
}

void KelDBReadInt(KelDrvStatement const& stmt, int col, std::int32_t& value, std::int16_t& indicator)
{
    if (stmt.IsNull(col)) {
        indicator = -1;
        return;
    }
    value = stmt.ColumnInt32(col);
    indicator = 0;
}

void KelDBReadInt(KelDrvStatement const& stmt, int col, std::int32_t& value)
{
    value = stmt.IsNull(col) ? 0 : stmt.ColumnInt32(col);
}

void KelDBReadInt(KelDrvStatement const& stmt, int col, std::int16_t& value)
{
    // The row has passed its check (KelDBAccessor::CheckRow): the value fits.
    value = stmt.IsNull(col) ? std::int16_t(0) : static_cast<std::int16_t>(stmt.ColumnInt32(col));
}

KelDBAccessor::KelDBAccessor(KelDrvConnection& conn, KelDBTableDef const& def)
    : _conn(conn), _def(def), _tableText(def.name)
{
}

KelDBAccessor::~KelDBAccessor() = default;

std::size_t KelDBAccessor::AddStatement(std::string const& pattern)
{
    _sql.push_back(Expand(pattern));
    _locks.push_back(pattern.find("{lock}") != std::string::npos);
    _stmts.emplace_back();
    _active.push_back(false);
    return _sql.size() - 1;
}

KelDrvStatement& KelDBAccessor::Stmt(std::size_t id) const
{
    std::unique_ptr<KelDrvStatement>& stmt = _stmts[id];
    if (!stmt) stmt = _conn.Prepare(_sql[id], _def.name, _locks[id]);
    return *stmt;
}

void KelDBAccessor::ResetIfPrepared(std::size_t id) const
{
    if (_stmts[id]) _stmts[id]->Reset();
}

void KelDBAccessor::StampWrite() { _lastWriteStamp = ++_conn.writes; }

bool KelDBAccessor::CanPipeline() const { return _conn.CanPipeline(); }

KelDBWritePipeline::KelDBWritePipeline(KelDBAccessor& accessor) : _accessor(accessor)
{
    _accessor._conn.PipelineBegin();
    _accessor._pipelined = true;
}

KelDBWritePipeline::~KelDBWritePipeline()
{
    _accessor._pipelined = false;
    _accessor._conn.PipelineEnd();
}

void KelDBWritePipeline::Guard() { _accessor._conn.PipelineGuard(); }

void KelDBWritePipeline::Undo()
{
    _accessor._pipelined = false;
    _accessor.Run([&] { _accessor._conn.PipelineUndo(); });
}

void KelDBAccessor::Discard()
{
    for (auto& stmt : _stmts) stmt.reset();
    _active.assign(_active.size(), false);
}

std::string KelDBAccessor::KeyCondition(int first) const
{
    std::string text;
    for (std::size_t i = 0; i < _def.key.size(); ++i) {
        if (i) text += " AND ";
        text += _def.columns[static_cast<std::size_t>(_def.key[i])].name;
        text += " = $" + std::to_string(first + static_cast<int>(i));
    }
    return text;
}

std::string KelDBAccessor::Expand(std::string const& pattern) const
{
    std::string cols, order, key;
    for (std::size_t i = 0; i < _def.columns.size(); ++i)
        cols += (i ? ", t." : "t.") + std::string(_def.columns[i].name);
    for (std::size_t i = 0; i < _def.key.size(); ++i) {
        std::string name = _def.columns[static_cast<std::size_t>(_def.key[i])].name;
        order += (i ? ", t." : "t.") + name;
        key += (i ? " AND t." : "t.") + name + " = $" + std::to_string(i + 1);
    }
    std::string const fields[][2] = {{"{table}", _def.name},
                                     {"{cols}", cols},
                                     {"{order}", order},
                                     {"{lock}", _conn.Dialect().lockClause},
                                     {"{key}", key}};
    std::string text = pattern;
    for (auto const& field : fields) {
        for (std::size_t at = text.find(field[0]); at != std::string::npos; at = text.find(field[0], at)) {
            text.replace(at, field[0].size(), field[1]);
            at += field[1].size();
        }
    }
    return text;
}

std::vector<std::string> KelDBAccessor::SchemaSql() const
{
    KelDrvDialect const& dialect = _conn.Dialect();
    std::string table = std::string("CREATE TABLE IF NOT EXISTS ") + _def.name + " (";
    for (KelDBColumn const& c : _def.columns) {
        char const* type = c.type == KelDBColumnType::Oid   ? dialect.oidType
                           : c.type == KelDBColumnType::Int ? dialect.intType
                                                            : dialect.textType;
        table += std::string(c.name) + " " + type + (c.nullable ? "" : " NOT NULL") + ", ";
    }
    table += "PRIMARY KEY (";
    for (std::size_t i = 0; i < _def.key.size(); ++i)
        table += (i ? ", " : "") + std::string(_def.columns[static_cast<std::size_t>(_def.key[i])].name);
    table += ")";
    if (_def.uniqueColumn >= 0)
        table += std::string(", UNIQUE (") + _def.columns[static_cast<std::size_t>(_def.uniqueColumn)].name + ")";
    table += ")";

    // A cursor filters on one column and reads in key order: an index on the column and
    // then the key hands the rows over in that order, with no sort in the query plan.
    std::vector<std::string> sql{table};
    for (int column : _def.indexed) {
        std::string name = _def.columns[static_cast<std::size_t>(column)].name;
        std::string& index = sql.emplace_back("CREATE INDEX IF NOT EXISTS ");
        index.append(_def.name).append("_").append(name).append("_key_ix ON ").append(_def.name);
        index.append(" (").append(name);
        for (int key : _def.key) index.append(", ").append(_def.columns[static_cast<std::size_t>(key)].name);
        index.append(")");
    }
    return sql;
}

namespace {
// A column value for a message: an OID (or any bytes) in hex, a text as it is, cut short.
std::string ColumnValueText(KelDrvStatement const& stmt, int col, KelDBColumnType type)
{
    if (stmt.IsNull(col)) return "NULL";
    if (type == KelDBColumnType::Int) return std::to_string(stmt.ColumnInt32(col));
    std::int32_t length = 0;
    char const* data = stmt.ColumnBytes(col, length);
    std::string bytes(data ? data : "", static_cast<std::size_t>(length));
    if (type != KelDBColumnType::Oid) return bytes.size() > 64 ? bytes.substr(0, 64) + "..." : bytes;
    static char const digits[] = "0123456789ABCDEF";
    std::string hex;
    for (unsigned char b : bytes) hex += std::string{digits[b >> 4], digits[b & 0xF]};
    return hex;
}
}  // namespace

void KelDBRaiseBadRow(KelDBTableDef const& def, KelDrvStatement const& stmt, std::size_t column,
                      std::int32_t lengthOrValue)
{
    KelDBColumn const& c = def.columns[column];
    std::int32_t const length = lengthOrValue;
    std::string why;
    if (c.type == KelDBColumnType::Int)
        why = "a value of " + std::to_string(lengthOrValue) + ", outside " + std::to_string(-c.limit - 1) + " to " +
              std::to_string(c.limit);
    else if (c.type == KelDBColumnType::Oid)
        why = "an OID of " + std::to_string(length) + " bytes, not 16";
    else if (c.type == KelDBColumnType::Time)
        why = "a text of " + std::to_string(length) + " bytes that is not a time";
    else
        why = "a text of " + std::to_string(length) + " bytes, over its limit of " + std::to_string(c.limit);
    std::string message = std::string("table ") + def.name + ", key ";
    for (std::size_t k = 0; k < def.key.size(); ++k) {
        KelDBColumn const& keyColumn = def.columns[static_cast<std::size_t>(def.key[k])];
        if (k) message += ", ";
        message.append(keyColumn.name).append("=");
        message += ColumnValueText(stmt, def.key[k], keyColumn.type);
    }
    message.append(", column ").append(c.name).append(": ").append(why);
    throw KelDBException(KelOrigin(__FILE__, __LINE__, def.accessor), KelDBErrorCategory::BadRow, 0, "", message,
                         stmt.Sql(), def.name);
}

void KelDBAccessor::Raise(KelDBException& e, std::string const& key) const
{
    if (e.Table().empty()) e.SetTable(_def.name);
    e.SetKey(key);
    KelRaise(e, KEL_DB_TRACE_LEVEL, KEL_DB_TRACE_COMPONENT);
}
