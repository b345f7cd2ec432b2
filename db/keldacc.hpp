// KelDBAccessor: what every table accessor of KelDatabase shares. It knows its table's
// layout (KelDBTableDef), builds its SQL from that layout once, prepares each statement
// on first use and keeps it for the life of the database, counts its calls, and raises
// a failed statement's KelDBException with the table and the key of the row filled in.
// The statements themselves (db/keldrv.hpp) stay inside the library: this header only
// names them, so that the managers' headers can name the accessors.
//
// An accessor lives inside its KelDatabase and uses that database's connection; it is
// used by one thread at a time.
#pragma once

#include "db/keldbexc.hpp"
#include "kernel/kelkbin.hpp"
#include "kernel/kelkstr.hpp"
#include "kernel/kelktim.hpp"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

class KelOID;
class KelDrvConnection;
class KelDrvStatement;
class KelSystemID;
class KelServerID;

// Database calls of one accessor by operation. seluni, selupd, insert, updcli and dbadel
// count exactly those operations; open counts every cursor's OpenFetch, fetch every
// Fetch; other counts the remaining single calls (seluniOID, seluidOID, seluniByName,
// selupdLckhldrUpdate). Close is not a database call.
struct KelDBCallCounts {
    std::uint64_t seluni = 0;
    std::uint64_t selupd = 0;
    std::uint64_t insert = 0;
    std::uint64_t updcli = 0;
    std::uint64_t dbadel = 0;
    std::uint64_t open = 0;
    std::uint64_t fetch = 0;
    std::uint64_t other = 0;
    std::uint64_t Total() const { return seluni + selupd + insert + updcli + dbadel + open + fetch + other; }
};

// Time: a timestamp text (stored as a text column).
enum class KelDBColumnType { Oid, Text, Int, Time };

struct KelDBColumn {
    char const* name;
    KelDBColumnType type;
    bool nullable;
    // Text: the most bytes a value may hold. Int: the largest value, whose negative less
    // one is the smallest (32767 for a 16-bit member). 0: no limit of its own.
    std::int32_t limit = 0;
};

// The layout of one table. Columns are in the member order of the table's row record.
struct KelDBTableDef {
    char const* name = nullptr;
    // The accessor's class name, for exception origins ("KelDatabase::Person").
    char const* accessor = nullptr;
    std::vector<KelDBColumn> columns;
    // Primary key columns, in the order in which the accessor's key binds them.
    std::vector<int> key;
    // A further column that must be unique (the OID of a named row), or -1.
    int uniqueColumn = -1;
    // Columns that a cursor filters on; each gets an index.
    std::vector<int> indexed;
};

// Binding a key or a cursor argument; each returns the number of parameters it bound,
// starting at `pos`.
int KelDBBind(KelDrvStatement& stmt, int pos, KelOID const& key);
int KelDBBind(KelDrvStatement& stmt, int pos, KelBinary const& key);
int KelDBBind(KelDrvStatement& stmt, int pos, KelString const& key);
int KelDBBind(KelDrvStatement& stmt, int pos, KelSystemID const& key);
int KelDBBind(KelDrvStatement& stmt, int pos, KelServerID const& key);

// Value columns with their null indicators: -1 binds NULL, any other indicator the value;
// reading sets the indicator to -1 for NULL (and leaves the value) or to 0.
void KelDBBindText(KelDrvStatement& stmt, int pos, KelString const& value, std::int16_t indicator = 0);
void KelDBBindOid(KelDrvStatement& stmt, int pos, KelBinary const& value, std::int16_t indicator = 0);
void KelDBBindInt(KelDrvStatement& stmt, int pos, std::int32_t value, std::int16_t indicator = 0);
void KelDBReadText(KelDrvStatement const& stmt, int col, KelString& value, std::int16_t& indicator);
void KelDBReadText(KelDrvStatement const& stmt, int col, KelString& value);
void KelDBReadOid(KelDrvStatement const& stmt, int col, KelBinary& value, std::int16_t& indicator);
void KelDBReadOid(KelDrvStatement const& stmt, int col, KelBinary& value);
void KelDBReadInt(KelDrvStatement const& stmt, int col, std::int32_t& value, std::int16_t& indicator);
void KelDBReadInt(KelDrvStatement const& stmt, int col, std::int32_t& value);
void KelDBReadInt(KelDrvStatement const& stmt, int col, std::int16_t& value);

// The check of a fetched row, made column by column as the row is read (KelDBRowDef::Read):
// a value that is not null must be an OID of 16 bytes, a time that parses, a text within its
// limit or a number within its limit. For numbers `length` is the value. Inline: it runs
// for most columns of every row read.
inline bool KelDBColumnHolds(KelDBColumn const& c, char const* data, std::int32_t length)
{
    switch (c.type) {
    case KelDBColumnType::Oid: return length == 16;
    case KelDBColumnType::Time: return KelTimeStamp::IsVsqString(data, length);
    case KelDBColumnType::Text: return c.limit <= 0 || length <= c.limit;
    case KelDBColumnType::Int: break;
    }
    return c.limit == 0 || (length <= c.limit && length >= -c.limit - 1);
}
// Throws the KelDBException of category BadRow for column `column` of the current row of
// stmt, which broke its check: it names the table, the row's key and the column.
[[noreturn]] void KelDBRaiseBadRow(KelDBTableDef const& def, KelDrvStatement const& stmt, std::size_t column,
                                   std::int32_t lengthOrValue);

class KelDBAccessor {
public:
    virtual ~KelDBAccessor();
    KelDBAccessor(KelDBAccessor const&) = delete;
    KelDBAccessor& operator=(KelDBAccessor const&) = delete;

    KelDBCallCounts const& Stats() const { return _counts; }
    void ResetStats() { _counts = KelDBCallCounts(); }
    char const* TableName() const { return _def.name; }
    KelString const& TableText() const { return _tableText; }
    KelDBTableDef const& Definition() const { return _def; }

    // The connection's write count when this accessor last wrote a row (0: never), and
    // that row's key as text; a transaction that is lost while COMMIT is in flight names
    // the row it wrote last, so that the caller can look whether it is there.
    std::uint64_t LastWriteStamp() const { return _lastWriteStamp; }
    virtual std::string LastWrittenKey() const = 0;

    // Whether the connection can send writes as one pipeline (KelDBWritePipeline), and
    // whether one is open for this accessor.
    bool CanPipeline() const;
    bool Pipelined() const { return _pipelined; }

    // CREATE TABLE and CREATE INDEX statements, each safe to run again.
    std::vector<std::string> SchemaSql() const;
    // Finalizes the prepared statements; the next use prepares them again.
    void Discard();

protected:
    KelDBAccessor(KelDrvConnection& conn, KelDBTableDef const& def);

    // Registers a statement and returns its id. In `pattern`, {table} is the table name,
    // {cols} the columns of alias t in member order, {order} its key columns of alias t,
    // {lock} the locking clause of the database, {key} "k1 = $1 AND ..." on t.
    std::size_t AddStatement(std::string const& pattern);
    // The statement, prepared on its first use.
    KelDrvStatement& Stmt(std::size_t id) const;
    // Whether the statement is an open cursor with rows left; a statement that has been
    // reset would run again on its next step, so a finished cursor must not step.
    bool IsActive(std::size_t id) const { return _active[id]; }
    void SetActive(std::size_t id, bool active) const { _active[id] = active; }
    // Ends the current use of the statement without preparing it.
    void ResetIfPrepared(std::size_t id) const;
    void StampWrite();
    // Key condition without alias, parameters from $first.
    std::string KeyCondition(int first) const;

    // Completes a failed statement's exception with table and key and raises it.
    [[noreturn]] void Raise(KelDBException& e, std::string const& key) const;
    template <class Key>
    static std::string KeyText(Key const& key)
    {
        std::ostringstream text;
        text << key;
        return text.str();
    }

    // Runs `body`; a KelDBException leaving it is raised with the table and the key
    // text that `keyText` gives (called only then).
    template <class KeyTextFn, class Body>
    auto RunKeyed(KeyTextFn&& keyText, Body&& body) const -> decltype(body())
    {
        try {
            return body();
        } catch (KelDBException& e) {
            std::string key;
            try {
                key = keyText();
            } catch (...) {
                // A key that cannot be printed must not hide the database's error.
            }
            Raise(e, key);
        }
    }
    template <class Key, class Body>
    auto Run(Key const& key, Body&& body) const -> decltype(body())
    {
        return RunKeyed([&] { return KeyText(key); }, body);
    }
    template <class Body>
    auto Run(Body&& body) const -> decltype(body())
    {
        return RunKeyed([] { return std::string(); }, body);
    }

    KelDrvConnection& _conn;
    mutable KelDBCallCounts _counts;

private:
    friend class KelDBWritePipeline;
    bool _pipelined = false;

    std::string Expand(std::string const& pattern) const;

    KelDBTableDef const& _def;
    KelString _tableText;
    std::uint64_t _lastWriteStamp = 0;
    std::vector<std::string> _sql;
    // Whether each statement locks the rows it reads.
    std::vector<bool> _locks;
    mutable std::vector<std::unique_ptr<KelDrvStatement>> _stmts;
    mutable std::vector<bool> _active;
};

// While it lives, the accessor's insert and updcli send their statements as one pipeline
// of the connection instead of waiting for each: insert returns at once, updcli returns
// true, and takeInsert / takeUpdcli (db/keldtab.hpp) take the results in the order sent.
// Leaving the scope skips the results not taken; the server skipped the writes after a
// failed one. REQUIRES: CanPipeline(); the accessor runs nothing else meanwhile.
class KelDBWritePipeline {
public:
    explicit KelDBWritePipeline(KelDBAccessor& accessor);
    ~KelDBWritePipeline();
    // Marks the point to which Undo goes back.
    void Guard();
    // Ends the pipeline and takes back every write sent after Guard; the accessor writes
    // one by one again. Raises a KelDBException if the database cannot.
    void Undo();
    KelDBWritePipeline(KelDBWritePipeline const&) = delete;
    KelDBWritePipeline& operator=(KelDBWritePipeline const&) = delete;

private:
    KelDBAccessor& _accessor;
};
