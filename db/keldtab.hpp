// KelDBTable<R, Key>: the operations that every table accessor offers, on rows R named
// by keys of type Key; KelDBNamedTable adds what the tables of persons, roles, systems
// and servers offer (OID lookup by name, lock-holder cursors and the lock-holder update).
// The row's description (KelDBRowDef, db/keldrdef.hpp) says how a row is read from and
// bound to its columns.
//
// A bool result is true when a row was read, updated or deleted. A cursor family
// xOpenFetch / xFetch / xClose reads rows in primary-key order; Close ends it in every
// case, also after a false OpenFetch, and an exception ends it too. Reads that lock
// (selupd, selual, selupdLckhldr) hold their row locks until the transaction ends.
// Every failure raises KelDBException naming the table and the key.
//
// The member definitions are in db/keldtabi.hpp; each accessor instantiates its own.
#pragma once

#include "db/keldacc.hpp"

#include <cstddef>

template <class R>
class KelDBRowDef;

template <class R, class Key>
class KelDBTable : public KelDBAccessor {
public:
    bool seluni(Key const& key, R& row) const;
    bool selupd(Key const& key, R& row);
    bool updcli(Key const& key, R const& row);
    void insert(R const& row);
    bool dbadel(Key const& key);
    // The results of insert and updcli sent in a KelDBWritePipeline, in the order sent;
    // counted and raised as insert and updcli count and raise.
    void takeInsert(R const& row);
    bool takeUpdcli(Key const& key);

    bool selallOpenFetch(R& row) const;
    bool selallFetch(R& row) const;
    void selallClose() const;
    bool selualOpenFetch(R& row);
    bool selualFetch(R& row);
    void selualClose();

protected:
    KelDBTable(KelDrvConnection& conn, KelDBRowDef<R> const& def);

    // One row by the statement's parameters, bound from `arg`.
    template <class Arg>
    bool SelectOne(std::size_t id, Arg const& arg, R& row) const;
    // A cursor over the statement's rows, with parameters bound from `arg`.
    template <class Arg>
    bool CursorOpen(std::size_t id, Arg const& arg, R& row) const;
    bool CursorOpen(std::size_t id, R& row) const;
    bool CursorFetch(std::size_t id, R& row) const;
    void CursorClose(std::size_t id) const;

    std::size_t _selUni, _selUpd, _insert, _updCli, _dbaDel, _selAll, _selUal;

    // Remembers the key of a row about to be written, and when.
    void NoteWrite(Key const& key)
    {
        _lastWritten = key;
        StampWrite();
    }
    std::string LastWrittenKey() const override { return KeyText(_lastWritten); }

private:
    KelDBRowDef<R> const& _rows;
    Key _lastWritten;

    bool ReadNext(KelDrvStatement& stmt, R& row) const;
    // Binds, steps and reads one row of an open cursor; ends the cursor when no row is
    // left or the step fails.
    template <class Bind>
    bool CursorNext(std::size_t id, KelDrvStatement& stmt, Bind&& bind, R& row) const;
};

template <class R, class Key>
class KelDBNamedTable : public KelDBTable<R, Key> {
public:
    // The row named by `key`, with its OID.
    bool seluniOID(Key const& key, R& row) const;

    bool selectLckhldrOpenFetch(KelString const& lockholderName, R& row) const;
    bool selectLckhldrFetch(R& row) const;
    void selectLckhldrClose() const;

    // Reads the row named by `key` for update; Close ends the read, the lock stays.
    bool selupdLckhldrOpenFetch(Key const& key, R& row);
    void selupdLckhldrClose();
    // Writes the lock-holder columns of the row named by row.Key(): the lock-holder OID of
    // `row`, and its name unless the OID is null. Raises KelTOMNotUniqueException when
    // more than one row changed.
    void selupdLckhldrUpdate(R const& row);

protected:
    KelDBNamedTable(KelDrvConnection& conn, KelDBRowDef<R> const& def);

    std::size_t _selLckhldr, _updLckhldr;
};
