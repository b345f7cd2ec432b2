// KelDBRowDef<R>: the one description of a table and its row record R. Each column is
// written once, as a KelDBField: its SQL name, type and nullability, the row member that
// holds it (a member pointer) with its name and its indicator, and its width. From that
// list come the accessor's SQL and schema (through KelDBTableDef), the reading and binding
// of a row, the default buffer, the printed form and the width checks.
//
// The width checks are the kernel's contract checks with the texts they always had
// ("_userId.Length() <= 32", "_iUserId == null ? true : _userId.Length() <= 32"), reported
// from the row's own source file: first every required OID and text that must not be
// null, then every width, in column order. Staff and topology rows check their texts only
// and test indicators with "< 0"; log and state rows check OIDs too and test "== null".
//
// Internal to the library: the row headers name KelDBRowDef, only db/ sources include it.
#pragma once

#include "db/keldacc.hpp"
#include "db/keldrv.hpp"
#include "db/kellob.hpp"
#include "kernel/kelkcon.hpp"

#include <cctype>
#include <cstdint>
#include <ostream>
#include <string>
#include <type_traits>
#include <vector>

// A long text held through a LOB access handle: a null handle or indicator -1 binds NULL.
template <class Lob>
void KelDBBindLob(KelDrvStatement& stmt, int pos, Lob const& lob, std::int16_t indicator)
{
    if (indicator == -1 || lob.IsNull())
        stmt.BindNull(pos);
    else
        stmt.BindText(pos, lob.Value());
}

// NULL gives a null handle and indicator -1; a value gives a handle holding the text and
// `locator`, which records where the text came from.
template <class Lob, class Locator>
void KelDBReadLob(KelDrvStatement const& stmt, int col, Lob& lob, std::int16_t& indicator, Locator const& locator)
{
    if (stmt.IsNull(col)) {
        lob = Lob();
        indicator = -1;
        return;
    }
    lob = Lob(stmt.ColumnText(col), locator);
    indicator = 0;
}

// A default OID column: 16 zero bytes.
inline KelBinary KelEmptyOid() { return KelBinary(KelBinary::createEmpty, 16); }
// A default text column: empty, not null, with room for limit characters.
inline KelString KelEmptyText(std::int32_t limit) { return KelString(KelString::createEmpty, limit); }

// The long-text handle of a row (R::Description), or KelDBNoLob for a row without one.
struct KelDBNoLob {};
template <class R, class = void>
struct KelDBLobOf {
    using type = KelDBNoLob;
};
template <class R>
struct KelDBLobOf<R, std::void_t<typename R::Description>> {
    using type = typename R::Description;
};

// The C++ type of a column's member.
enum class KelDBMemberKind : std::uint8_t { Oid, Text, Int32, Int16, Lob };

// One column of R: exactly the value member of its kind is set.
template <class R>
struct KelDBField {
    using Lob = typename KelDBLobOf<R>::type;

    KelDBColumn column;
    KelDBMemberKind kind;
    // The member's name: its label in prints and its name in the check texts.
    char const* member;
    // OIDs and texts: the most bytes the row holds; the default buffer has that room.
    std::int32_t width = 0;
    KelBinary R::*oid = nullptr;
    KelString R::*text = nullptr;
    std::int32_t R::*int32 = nullptr;
    std::int16_t R::*int16 = nullptr;
    Lob R::*lob = nullptr;
    // Set exactly for nullable columns.
    std::int16_t R::*indicator = nullptr;
    // Whether a value read has a check to pass (KelDBColumnHolds); set by KelDBRowDef.
    bool checked = false;

    // A stored text longer than the width is a bad row (KelDBRowDef::Read): for the
    // texts that become identifiers, which would refuse it.
    KelDBField LimitOnRead() const
    {
        KelDBField f = *this;
        f.column.limit = width;
        return f;
    }
};

template <class R>
KelDBField<R> KelDBOid(char const* name, char const* member, KelBinary R::*value, std::int16_t R::*indicator = nullptr)
{
    KelDBField<R> f{{name, KelDBColumnType::Oid, indicator != nullptr}, KelDBMemberKind::Oid, member, 16};
    f.oid = value;
    f.indicator = indicator;
    return f;
}

template <class R>
KelDBField<R> KelDBText(char const* name, char const* member, std::int32_t width, KelString R::*value,
                        std::int16_t R::*indicator = nullptr)
{
    KelDBField<R> f{{name, KelDBColumnType::Text, indicator != nullptr}, KelDBMemberKind::Text, member, width};
    f.text = value;
    f.indicator = indicator;
    return f;
}

// A timestamp text of 26 characters.
template <class R>
KelDBField<R> KelDBTime(char const* name, char const* member, KelString R::*value, std::int16_t R::*indicator = nullptr)
{
    KelDBField<R> f = KelDBText(name, member, 26, value, indicator);
    f.column.type = KelDBColumnType::Time;
    return f;
}

template <class R>
KelDBField<R> KelDBInt(char const* name, char const* member, std::int32_t R::*value,
                       std::int16_t R::*indicator = nullptr)
{
    KelDBField<R> f{{name, KelDBColumnType::Int, indicator != nullptr}, KelDBMemberKind::Int32, member};
    f.int32 = value;
    f.indicator = indicator;
    return f;
}

// A number held in 16 bits, never null; its limit is the largest such number.
template <class R>
KelDBField<R> KelDBInt(char const* name, char const* member, std::int16_t R::*value)
{
    KelDBField<R> f{{name, KelDBColumnType::Int, false, 32767}, KelDBMemberKind::Int16, member};
    f.int16 = value;
    return f;
}

// A long text held through the row's LOB handle, always nullable; its locator names the
// table and the row's OID, the first column.
template <class R>
KelDBField<R> KelDBLongText(char const* name, char const* member, typename R::Description R::*value,
                            std::int16_t R::*indicator)
{
    KelDBField<R> f{{name, KelDBColumnType::Text, true}, KelDBMemberKind::Lob, member};
    f.lob = value;
    f.indicator = indicator;
    return f;
}

// How a row's width checks read: staff and topology rows, or log and state rows.
enum class KelDBCheckStyle { Texts, TextsAndOids };

template <class R>
class KelDBRowDef : public KelDBTableDef {
public:
    // `key`, `unique` (or null) and `indexed` name columns; `file` and `line` are where
    // the width checks report from (the row's source).
    KelDBRowDef(char const* table, char const* accessor, std::vector<KelDBField<R>> fields,
                std::vector<char const*> const& key, char const* unique, std::vector<char const*> const& indexed,
                KelDBCheckStyle style, char const* file, unsigned line);

    // The buffer the accessors fill: OIDs of 16 zero bytes, empty texts with room for
    // their width, numbers 0, null long texts, every indicator -1.
    void Clear(R& row) const;
    // "this=" and the address, then "member=value" per column; a nullable column whose
    // indicator is exactly -1 prints its bare label.
    void Print(std::ostream& os, R const& row) const;
    void CheckWidths(R const& row) const;

    // The current result row into `row`, columns in order from 0, each checked as it is read
    // (KelDBColumnHolds); a bad row throws a KelDBException of category BadRow naming the
    // table, the row's key and the column (KelDBRaiseBadRow).
    void Read(KelDrvStatement const& stmt, R& row, KelString const& tableText) const;
    // Column `column` of `row` to parameter `pos`; an indicator of -1 binds NULL.
    void Bind(KelDrvStatement& stmt, int pos, R const& row, int column) const;

private:
    int Index(char const* name) const;
    bool Holds(std::size_t check, R const& row) const;

    std::vector<KelDBField<R>> _fields;
    // Per check: the field and whether it is the not-null check; the texts alike.
    std::vector<std::pair<std::size_t, bool>> _checks;
    std::vector<std::string> _checkTexts;
    KelDBCheckStyle _style;
    char const* _file;
    unsigned _line;
};

template <class R>
// cppcheck-suppress passedByValue ; taken by value to be moved into the member
KelDBRowDef<R>::KelDBRowDef(char const* table, char const* accessor, std::vector<KelDBField<R>> fields,
                            std::vector<char const*> const& key, char const* unique,
                            std::vector<char const*> const& indexed, KelDBCheckStyle style, char const* file,
                            unsigned line)
    : KelDBTableDef{table, accessor, {}, {}, -1, {}},
      _fields(std::move(fields)),
      _style(style),
      _file(file),
      _line(line)
{
    for (KelDBField<R>& f : _fields) {
        columns.push_back(f.column);
        f.checked =
            f.column.limit != 0 || f.column.type == KelDBColumnType::Oid || f.column.type == KelDBColumnType::Time;
    }
    for (char const* k : key) this->key.push_back(Index(k));
    if (unique) uniqueColumn = Index(unique);
    for (char const* i : indexed) this->indexed.push_back(Index(i));

    bool const oids = style == KelDBCheckStyle::TextsAndOids;
    auto checked = [&](KelDBField<R> const& f) { return f.text || (oids && f.oid); };
    for (std::size_t i = 0; i < _fields.size(); ++i) {
        if (!checked(_fields[i]) || _fields[i].indicator) continue;
        _checks.emplace_back(i, true);
        _checkTexts.push_back(std::string(_fields[i].member) + ".IsNull() != true");
    }
    for (std::size_t i = 0; i < _fields.size(); ++i) {
        KelDBField<R> const& f = _fields[i];
        if (!checked(f)) continue;
        std::string text = std::string(f.member) + ".Length() <= " + std::to_string(f.width);
        if (f.indicator) {
            // "_userId" has the indicator "_iUserId".
            std::string const member = f.member;
            std::string condition = "_i";
            condition += static_cast<char>(std::toupper(member[1]));
            condition.append(member, 2, std::string::npos).append(oids ? " == null" : " < 0").append(" ? true : ");
            text.insert(0, condition);
        }
        _checks.emplace_back(i, false);
        _checkTexts.push_back(text);
    }
}

template <class R>
int KelDBRowDef<R>::Index(char const* name) const
{
    for (std::size_t i = 0; i < _fields.size(); ++i)
        if (std::string(_fields[i].column.name) == name) return static_cast<int>(i);
    kelkAssert(!"a column of the table");
    return -1;
}

template <class R>
void KelDBRowDef<R>::Clear(R& row) const
{
    for (KelDBField<R> const& f : _fields) {
        switch (f.kind) {
        case KelDBMemberKind::Oid: row.*f.oid = KelEmptyOid(); break;
        case KelDBMemberKind::Text: row.*f.text = KelEmptyText(f.width); break;
        case KelDBMemberKind::Int32: row.*f.int32 = 0; break;
        case KelDBMemberKind::Int16: row.*f.int16 = 0; break;
        case KelDBMemberKind::Lob: break;  // a default handle is null
        }
        if (f.indicator) row.*f.indicator = -1;
    }
}

template <class R>
void KelDBRowDef<R>::Print(std::ostream& os, R const& row) const
{
    // The address in lower-case hexadecimal; the stream is back in decimal after it.
    os << std::endl << "this=" << std::hex << reinterpret_cast<unsigned long>(&row) << std::dec;
    for (KelDBField<R> const& f : _fields) {
        os << std::endl << f.member << '=';
        if (f.indicator && row.*f.indicator == -1) continue;
        if (f.oid) os << row.*f.oid;
        if (f.text) os << row.*f.text;
        if (f.int32) os << row.*f.int32;
        if (f.int16) os << row.*f.int16;
        if constexpr (!std::is_same_v<typename KelDBField<R>::Lob, KelDBNoLob>)
            if (f.lob) os << row.*f.lob;
    }
}

template <class R>
bool KelDBRowDef<R>::Holds(std::size_t check, R const& row) const
{
    KelDBField<R> const& f = _fields[_checks[check].first];
    if (_checks[check].second) return f.oid ? (row.*f.oid).IsNull() != true : (row.*f.text).IsNull() != true;
    if (f.indicator && (_style == KelDBCheckStyle::TextsAndOids ? row.*f.indicator == -1 : row.*f.indicator < 0))
        return true;
    return (f.oid ? (row.*f.oid).Length() : (row.*f.text).Length()) <= f.width;
}

template <class R>
void KelDBRowDef<R>::CheckWidths(R const& row) const
{
    for (std::size_t i = 0; i < _checks.size(); ++i)
        if (!Holds(i, row)) KelContract::Fail(KelContractKind::Require, _checkTexts[i].c_str(), _file, _line);
}

template <class R>
void KelDBRowDef<R>::Read(KelDrvStatement const& stmt, R& row, KelString const& tableText) const
{
    // One pass: each column is asked once, in one driver call, for its value or null, checked
    // (KelDBColumnHolds) and stored. A bad row throws at its first bad column, in column
    // order; the columns before it have been stored by then.
    for (std::size_t i = 0; i < _fields.size(); ++i) {
        KelDBField<R> const& f = _fields[i];
        int const col = static_cast<int>(i);
        switch (f.kind) {
        case KelDBMemberKind::Oid:
        case KelDBMemberKind::Text: {
            KelBinary& value = f.oid ? row.*f.oid : static_cast<KelBinary&>(row.*f.text);
            char const* data = nullptr;
            std::int32_t length = 0;
            bool const isSet = stmt.ColumnBytesIfSet(col, data, length);
            if (f.indicator) row.*f.indicator = isSet ? std::int16_t(0) : std::int16_t(-1);
            if (!isSet) {
                // A nullable column keeps its buffer; the indicator says null.
                if (!f.indicator) value = KelBinary();
                break;
            }
            if (f.checked && !KelDBColumnHolds(f.column, data, length)) KelDBRaiseBadRow(*this, stmt, i, length);
            value.Fill(data, length);
            break;
        }
        case KelDBMemberKind::Int32:
        case KelDBMemberKind::Int16: {
            std::int32_t value = 0;
            bool const isSet = stmt.ColumnInt32IfSet(col, value);
            if (f.indicator) row.*f.indicator = isSet ? std::int16_t(0) : std::int16_t(-1);
            if (!isSet) {
                // A nullable number keeps its value; the indicator says null.
                if (f.int32 && !f.indicator) row.*f.int32 = 0;
                if (f.int16) row.*f.int16 = 0;
                break;
            }
            if (f.checked && !KelDBColumnHolds(f.column, nullptr, value)) KelDBRaiseBadRow(*this, stmt, i, value);
            if (f.int32)
                row.*f.int32 = value;
            else
                row.*f.int16 = static_cast<std::int16_t>(value);
            break;
        }
        case KelDBMemberKind::Lob:
            if constexpr (!std::is_same_v<typename KelDBField<R>::Lob, KelDBNoLob>)
                KelDBReadLob(stmt, col, row.*f.lob, row.*f.indicator, KelDBLobLocator(tableText, row.*_fields[0].oid));
            break;
        }
    }
}

template <class R>
void KelDBRowDef<R>::Bind(KelDrvStatement& stmt, int pos, R const& row, int column) const
{
    KelDBField<R> const& f = _fields[static_cast<std::size_t>(column)];
    std::int16_t const indicator = f.indicator ? row.*f.indicator : std::int16_t(0);
    switch (f.kind) {
    case KelDBMemberKind::Oid: KelDBBindOid(stmt, pos, row.*f.oid, indicator); break;
    case KelDBMemberKind::Text: KelDBBindText(stmt, pos, row.*f.text, indicator); break;
    case KelDBMemberKind::Int32: KelDBBindInt(stmt, pos, row.*f.int32, indicator); break;
    case KelDBMemberKind::Int16: KelDBBindInt(stmt, pos, row.*f.int16, indicator); break;
    case KelDBMemberKind::Lob:
        if constexpr (!std::is_same_v<typename KelDBField<R>::Lob, KelDBNoLob>)
            KelDBBindLob(stmt, pos, row.*f.lob, indicator);
        break;
    }
}
