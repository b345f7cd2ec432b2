// Member definitions of KelDBTable and KelDBNamedTable; included by the accessor
// sources, each of which instantiates the templates for its own row and key.
#pragma once

#include "db/keldrdef.hpp"
#include "db/keldrv.hpp"
#include "db/keldtab.hpp"
#include "kernel/kelkexc.hpp"

#include <algorithm>

template <class R, class Key>
KelDBTable<R, Key>::KelDBTable(KelDrvConnection& conn, KelDBRowDef<R> const& def) : KelDBAccessor(conn, def), _rows(def)
{
    std::string names, values, sets;
    int pos = 0;
    for (std::size_t i = 0; i < def.columns.size(); ++i) {
        names += (i ? ", " : "") + std::string(def.columns[i].name);
        values += (i ? ", $" : "$") + std::to_string(i + 1);
        if (std::find(def.key.begin(), def.key.end(), static_cast<int>(i)) != def.key.end()) continue;
        sets += (pos ? ", " : "") + std::string(def.columns[i].name) + " = $" + std::to_string(pos + 1);
        ++pos;
    }
    _selUni = AddStatement("SELECT {cols} FROM {table} t WHERE {key}");
    _selUpd = AddStatement("SELECT {cols} FROM {table} t WHERE {key}{lock}");
    _insert = AddStatement("INSERT INTO {table} (" + names + ") VALUES (" + values + ")");
    _updCli = AddStatement("UPDATE {table} SET " + sets + " WHERE " + KeyCondition(pos + 1));
    _dbaDel = AddStatement("DELETE FROM {table} WHERE " + KeyCondition(1));
    _selAll = AddStatement("SELECT {cols} FROM {table} t ORDER BY {order}");
    _selUal = AddStatement("SELECT {cols} FROM {table} t ORDER BY {order}{lock}");
}

template <class R, class Key>
bool KelDBTable<R, Key>::ReadNext(KelDrvStatement& stmt, R& row) const
{
    if (!stmt.Step()) return false;
    _rows.Read(stmt, row, TableText());
    return true;
}

template <class R, class Key>
template <class Arg>
bool KelDBTable<R, Key>::SelectOne(std::size_t id, Arg const& arg, R& row) const
{
    return this->Run(arg, [&] {
        KelDrvStatement& stmt = Stmt(id);
        KelDrvUse use(stmt);
        KelDBBind(stmt, 1, arg);
        return ReadNext(stmt, row);
    });
}

template <class R, class Key>
template <class Arg>
bool KelDBTable<R, Key>::CursorOpen(std::size_t id, Arg const& arg, R& row) const
{
    ++_counts.open;
    return this->Run(arg, [&] {
        KelDrvStatement& stmt = Stmt(id);
        stmt.Reset();
        SetActive(id, true);
        return CursorNext(
            id, stmt, [&] { KelDBBind(stmt, 1, arg); }, row);
    });
}

template <class R, class Key>
bool KelDBTable<R, Key>::CursorOpen(std::size_t id, R& row) const
{
    ++_counts.open;
    return this->Run([&] {
        KelDrvStatement& stmt = Stmt(id);
        stmt.Reset();
        SetActive(id, true);
        return CursorNext(
            id, stmt, [] {}, row);
    });
}

template <class R, class Key>
bool KelDBTable<R, Key>::CursorFetch(std::size_t id, R& row) const
{
    ++_counts.fetch;
    if (!IsActive(id)) return false;
    return this->Run([&] {
        return CursorNext(
            id, Stmt(id), [] {}, row);
    });
}

template <class R, class Key>
template <class Bind>
bool KelDBTable<R, Key>::CursorNext(std::size_t id, KelDrvStatement& stmt, Bind&& bind, R& row) const
{
    try {
        bind();
        if (ReadNext(stmt, row)) return true;
    } catch (...) {
        SetActive(id, false);
        stmt.Reset();
        throw;
    }
    // Finished: release the results now; Close has nothing left to do.
    SetActive(id, false);
    stmt.Reset();
    return false;
}

template <class R, class Key>
void KelDBTable<R, Key>::CursorClose(std::size_t id) const
{
    SetActive(id, false);
    ResetIfPrepared(id);
}

template <class R, class Key>
bool KelDBTable<R, Key>::seluni(Key const& key, R& row) const
{
    ++_counts.seluni;
    return SelectOne(_selUni, key, row);
}

template <class R, class Key>
bool KelDBTable<R, Key>::selupd(Key const& key, R& row)
{
    ++_counts.selupd;
    return SelectOne(_selUpd, key, row);
}

template <class R, class Key>
bool KelDBTable<R, Key>::updcli(Key const& key, R const& row)
{
    if (!Pipelined()) {
        ++_counts.updcli;
        NoteWrite(key);
    }
    return this->Run(key, [&] {
        KelDrvStatement& stmt = Stmt(_updCli);
        KelDrvUse use(stmt);
        KelDBTableDef const& def = Definition();
        int pos = 1;
        for (std::size_t i = 0; i < def.columns.size(); ++i)
            if (std::find(def.key.begin(), def.key.end(), static_cast<int>(i)) == def.key.end())
                _rows.Bind(stmt, pos++, row, static_cast<int>(i));
        KelDBBind(stmt, pos, key);
        if (Pipelined()) {
            stmt.Send();
            return true;
        }
        stmt.Step();
        return stmt.Changes() > 0;
    });
}

template <class R, class Key>
void KelDBTable<R, Key>::insert(R const& row)
{
    if (!Pipelined()) {
        ++_counts.insert;
        NoteWrite(row.Key());
    }
    this->RunKeyed([&] { return KeyText(row.Key()); },
                   [&] {
                       KelDrvStatement& stmt = Stmt(_insert);
                       KelDrvUse use(stmt);
                       int const count = static_cast<int>(Definition().columns.size());
                       for (int i = 0; i < count; ++i) _rows.Bind(stmt, i + 1, row, i);
                       if (Pipelined())
                           stmt.Send();
                       else
                           stmt.Step();
                   });
}

template <class R, class Key>
void KelDBTable<R, Key>::takeInsert(R const& row)
{
    ++_counts.insert;
    NoteWrite(row.Key());
    this->RunKeyed([&] { return KeyText(row.Key()); }, [&] { _conn.PipelineResult(); });
}

template <class R, class Key>
bool KelDBTable<R, Key>::takeUpdcli(Key const& key)
{
    ++_counts.updcli;
    NoteWrite(key);
    return this->Run(key, [&] { return _conn.PipelineResult() > 0; });
}

template <class R, class Key>
bool KelDBTable<R, Key>::dbadel(Key const& key)
{
    ++_counts.dbadel;
    NoteWrite(key);
    return this->Run(key, [&] {
        KelDrvStatement& stmt = Stmt(_dbaDel);
        KelDrvUse use(stmt);
        KelDBBind(stmt, 1, key);
        stmt.Step();
        return stmt.Changes() > 0;
    });
}

template <class R, class Key>
bool KelDBTable<R, Key>::selallOpenFetch(R& row) const
{
    return CursorOpen(_selAll, row);
}

template <class R, class Key>
bool KelDBTable<R, Key>::selallFetch(R& row) const
{
    return CursorFetch(_selAll, row);
}

template <class R, class Key>
void KelDBTable<R, Key>::selallClose() const
{
    CursorClose(_selAll);
}

template <class R, class Key>
bool KelDBTable<R, Key>::selualOpenFetch(R& row)
{
    return CursorOpen(_selUal, row);
}

template <class R, class Key>
bool KelDBTable<R, Key>::selualFetch(R& row)
{
    return CursorFetch(_selUal, row);
}

template <class R, class Key>
void KelDBTable<R, Key>::selualClose()
{
    CursorClose(_selUal);
}

template <class R, class Key>
KelDBNamedTable<R, Key>::KelDBNamedTable(KelDrvConnection& conn, KelDBRowDef<R> const& def)
    : KelDBTable<R, Key>(conn, def)
{
    _selLckhldr = this->AddStatement("SELECT {cols} FROM {table} t WHERE t.lockholder_name = $1 ORDER BY {order}");
    _updLckhldr = this->AddStatement("UPDATE {table} SET lockholder_oid = $1, lockholder_name = $2 WHERE " +
                                     this->KeyCondition(3));
}

template <class R, class Key>
bool KelDBNamedTable<R, Key>::seluniOID(Key const& key, R& row) const
{
    ++this->_counts.other;
    return this->SelectOne(this->_selUni, key, row);
}

template <class R, class Key>
bool KelDBNamedTable<R, Key>::selectLckhldrOpenFetch(KelString const& lockholderName, R& row) const
{
    return this->CursorOpen(_selLckhldr, lockholderName, row);
}

template <class R, class Key>
bool KelDBNamedTable<R, Key>::selectLckhldrFetch(R& row) const
{
    return this->CursorFetch(_selLckhldr, row);
}

template <class R, class Key>
void KelDBNamedTable<R, Key>::selectLckhldrClose() const
{
    this->CursorClose(_selLckhldr);
}

template <class R, class Key>
bool KelDBNamedTable<R, Key>::selupdLckhldrOpenFetch(Key const& key, R& row)
{
    return this->CursorOpen(this->_selUpd, key, row);
}

template <class R, class Key>
void KelDBNamedTable<R, Key>::selupdLckhldrClose()
{
    this->CursorClose(this->_selUpd);
}

template <class R, class Key>
void KelDBNamedTable<R, Key>::selupdLckhldrUpdate(R const& row)
{
    ++this->_counts.other;
    Key const key = row.Key();
    this->NoteWrite(key);
    std::int64_t changed = this->Run(key, [&] {
        KelDrvStatement& stmt = this->Stmt(_updLckhldr);
        KelDrvUse use(stmt);
        bool const held = row._iLockholderOid != -1;
        KelDBBindOid(stmt, 1, row._lockholderOid, row._iLockholderOid);
        KelDBBindText(stmt, 2, row._lockholderName, held ? row._iLockholderName : std::int16_t(-1));
        KelDBBind(stmt, 3, key);
        stmt.Step();
        return stmt.Changes();
    });
    if (changed > 1)
        KelRaise(KelTOMNotUniqueException(
                     KelOrigin(__FILE__, __LINE__, std::string(this->Definition().accessor) + "::selupdLckhldrUpdate"),
                     KelComposeText(key)),
                 3, 0x10);
}
