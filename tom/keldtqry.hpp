// Bulk queries and named-object lookups over the per-class cache (tom/keldtgen.hpp).
//
// KelTomForServerClassQry<T, R, A, P> reads a whole table into the cache, for read (selall)
// or for update (selual), merging each row with what is cached, and appends pointers to
// the cached objects; the cache keeps owning them.
//
// KelTomForServerOHANClass<T, R, A, P> serves the classes whose rows carry an OID, a name
// key and a lock holder (persons, roles, systems, servers). Its bulk reads create objects
// through CreateMaterializedAllServerObject and expect an empty cache when they start; OID,
// Search and Release work on the database more than on the cache. Concrete managers supply
// CreateServerObjectFromTuple, CreateNewServerObject and CreateTupleObject.
// P::CreateInpParm of a named class offers Key(): the key of the object it names (its
// first member). Rows offer Key(), and the lock-holder columns _lockholderOid,
// _iLockholderOid, _lockholderName, _iLockholderName.
//
// A bulk read closes its cursor in every case, also when an exception passes through it;
// the row buffer and functor of the row under way are freed, and entries registered for
// earlier rows stay in the cache. One transaction, one thread at a time.
#pragma once

#include "db/keldsper.hpp"
#include "kernel/kelienti.hpp"
#include "kernel/kelkoid.hpp"
#include "kernel/kelmusid.hpp"
#include "tom/keldtgen.hpp"

#include <memory>
#include <string>
#include <utility>
#include <vector>

// Closes a cursor once: explicitly on the normal path (errors propagate), or quietly when an
// exception leaves the walk.
template <class CloseFunction>
class KelTomCursorGuard {
public:
    explicit KelTomCursorGuard(CloseFunction close) : _close(std::move(close)), _open(true) {}
    ~KelTomCursorGuard()
    {
        if (!_open) return;
        try {
            _close();
        } catch (...) {  // the exception already under way is the one to report
        }
    }
    KelTomCursorGuard(KelTomCursorGuard const&) = delete;
    KelTomCursorGuard& operator=(KelTomCursorGuard const&) = delete;
    void Close()
    {
        _open = false;
        _close();
    }

private:
    CloseFunction _close;
    bool _open;
};

// Walks a cursor: openFetch(row) then fetch(row) until false, each row handed to visit
// (which may take it over by releasing it; a row it leaves is the buffer of the next
// fetch, whose columns overwrite it), then close() once. row is the buffer to start
// with (made when null); the one the last fetch found no row for is left in it.
template <class R, class OpenFetch, class Fetch, class Close, class Visit>
void KelTomWalkCursor(std::unique_ptr<R>& row, OpenFetch&& openFetch, Fetch&& fetch, Close close, Visit&& visit)
{
    KelTomCursorGuard<Close> guard(std::move(close));
    if (!row) row = std::make_unique<R>();
    bool fetched = openFetch(*row);
    while (fetched) {
        visit(row);
        if (!row) row = std::make_unique<R>();
        fetched = fetch(*row);
    }
    guard.Close();
}

// The same with a row buffer of its own.
template <class R, class OpenFetch, class Fetch, class Close, class Visit>
void KelTomWalkCursor(OpenFetch&& openFetch, Fetch&& fetch, Close close, Visit&& visit)
{
    std::unique_ptr<R> row;
    KelTomWalkCursor<R>(row, std::forward<OpenFetch>(openFetch), std::forward<Fetch>(fetch), std::move(close),
                        std::forward<Visit>(visit));
}

template <class T, class R, class A, class P>
class KelTomForServerClassQry : public KelTomForServerClass<T, R, A, P> {
    using Base = KelTomForServerClass<T, R, A, P>;

public:
    using typename Base::MaterializeInpParm;
    using Base::Base;

    // Appends the cached object of every row of the table, in the cursor's order; rows not
    // cached yet are entered MaterializedForRead.
    virtual void MaterializeAllForRead(MaterializeInpParm const& parm, std::vector<T const*>& objects)
    {
        kelkCtrFlow(Name(Op::MaterializeAllForRead));
        ReadAllForRead(Name(Op::MaterializeAllForRead), objects,
                       [this, &parm](R const& row) { return this->CreateMaterializedServerObject(parm, row); });
    }

    // The same over the selual cursor; every returned object's entry is MaterializedForUpdate,
    // New or Saved.
    virtual void MaterializeAllForUpdate(MaterializeInpParm const& parm, std::vector<T*>& objects)
    {
        kelkCtrFlow(Name(Op::MaterializeAllForUpdate));
        ReadAllForUpdate(Name(Op::MaterializeAllForUpdate), objects,
                         [this, &parm](R const& row) { return this->CreateMaterializedServerObject(parm, row); });
    }

protected:
    template <class Make>
    void ReadAllForRead(std::string const& function, std::vector<T const*>& objects, Make make)
    {
        A& accessor = this->Accessor();
        KelTomWalkCursor<R>(
            this->RowBuffer(), [&accessor](R& row) { return accessor.selallOpenFetch(row); },
            [&accessor](R& row) { return accessor.selallFetch(row); }, [&accessor] { accessor.selallClose(); },
            [&](std::unique_ptr<R>& row) { objects.push_back(this->MergeRowForRead(function, *row, make)); });
    }

    template <class Make>
    void ReadAllForUpdate(std::string const& function, std::vector<T*>& objects, Make make)
    {
        A& accessor = this->Accessor();
        KelTomWalkCursor<R>(
            this->RowBuffer(), [&accessor](R& row) { return accessor.selualOpenFetch(row); },
            [&accessor](R& row) { return accessor.selualFetch(row); }, [&accessor] { accessor.selualClose(); },
            [&](std::unique_ptr<R>& row) { objects.push_back(this->MergeRowForUpdate(function, row, make)); });
    }

private:
    enum class Op { MaterializeAllForRead, MaterializeAllForUpdate };

    static std::string const& Name(Op op)
    {
        using Names = KelTemplateName<T, R, A, P>;
        static std::string const names[] = {
            Names::Of("KelTomForServerClassQry", "MaterializeAllForRead"),
            Names::Of("KelTomForServerClassQry", "MaterializeAllForUpdate"),
        };
        return names[static_cast<int>(op)];
    }
};

template <class T, class R, class A, class P>
class KelTomForServerOHANClass : public KelTomForServerClassQry<T, R, A, P> {
    using Base = KelTomForServerClassQry<T, R, A, P>;

public:
    using typename Base::CreateInpParm;
    using typename Base::Key;
    using typename Base::MaterializeInpParm;
    using Base::Base;

    // CreateServerObjectFromTuple(row); parm is not used.
    T* CreateMaterializedServerObject(MaterializeInpParm const& parm, R const& row) override
    {
        kelkCtrFlow(Name(Op::CreateMaterializedServerObject));
        (void)parm;
        return CreateServerObjectFromTuple(row);
    }

    // As the base's, with new objects from CreateMaterializedAllServerObject; parm is not used.
    // REQUIRES: no live entry except those of rows already cached is in the way (see there).
    void MaterializeAllForRead(MaterializeInpParm const& parm, std::vector<T const*>& objects) override
    {
        kelkCtrFlow(Name(Op::MaterializeAllForRead));
        (void)parm;
        unsigned int count = 0;
        this->ReadAllForRead(Name(Op::MaterializeAllForRead), objects,
                             [this, &count](R const& row) { return CreateMaterializedAllServerObject(row, ++count); });
    }

    void MaterializeAllForUpdate(MaterializeInpParm const& parm, std::vector<T*>& objects) override
    {
        kelkCtrFlow(Name(Op::MaterializeAllForUpdate));
        (void)parm;
        unsigned int count = 0;
        this->ReadAllForUpdate(Name(Op::MaterializeAllForUpdate), objects, [this, &count](R const& row) {
            return CreateMaterializedAllServerObject(row, ++count);
        });
    }

    // The OID of the object parm names: the cached object's, else the row's (seluniOID).
    // Creates no entry. KelTOMNotFoundException ("<IdName> <key> not found") if there is no row.
    virtual KelOID OID(CreateInpParm const& parm) const
    {
        kelkCtrFlow(Name(Op::OID));
        Key const& key = parm.Key();
        auto const iter = this->_dict.findNotDeleted(key);
        if (iter != this->_dict.end()) return iter->second->ServerObject()->OID();
        R row;
        if (!this->Accessor().seluniOID(key, row))
            KelTomRaiseNotFound(__FILE__, __LINE__, Name(Op::OID), 2, T::IdName(), " ", key, " not found");
        return KelOID(row._oid);
    }

    // Clears the lock holder of the object parm names when user holds it. Writes the row
    // directly, so no live object of the class may be cached. Raises, changing nothing:
    // not found, not locked, lock holder not found, locked by another user.
    virtual void Release(CreateInpParm const& parm, KelUserID const& user)
    {
        kelkCtrFlow(Name(Op::Release));
        this->AssertCacheEmpty();
        Key const& key = parm.Key();
        A& accessor = this->Accessor();
        R row;
        bool found;
        {
            KelTomCursorGuard guard([&accessor] { accessor.selupdLckhldrClose(); });
            found = accessor.selupdLckhldrOpenFetch(key, row);
            guard.Close();
        }
        std::string const& function = Name(Op::Release);
        if (!found) KelTomRaiseNotFound(__FILE__, __LINE__, function, 3, T::IdName(), " ", key, " not found");
        if (row._iLockholderOid < 0)
            KelRaise(KelTOMNotLockedException(Origin(__LINE__, function),
                                              KelComposeText(T::IdName(), " ", key, " not locked by ", user)),
                     KelTraceLevel::Flow, KelTraceComponent::Rows);
        KEL_PERSON person;
        if (!this->_db.person().seluidOID(row._lockholderOid, person)) {
            KelString const name = row._iLockholderName < 0 ? KelString() : row._lockholderName;
            KelRaise(KelTOMLockholderNotFoundException(Origin(__LINE__, function),
                                                       KelComposeText("Lockholder ", name, " not found")),
                     KelTraceLevel::Flow, KelTraceComponent::Rows);
        }
        KelUserID const holder(person._userId, person._iSystemGroup < 0 ? KelString() : person._systemGroup);
        if (!(holder == user))
            KelRaise(KelTOMNotLockedByThisException(
                         Origin(__LINE__, function),
                         KelComposeText(T::IdName(), " ", key, " not locked by ", user, " but by ", holder), holder),
                     KelTraceLevel::Flow, KelTraceComponent::Rows);
        row._iLockholderOid = -1;
        try {
            accessor.selupdLckhldrUpdate(row);
        } catch (KelTOMNotUniqueException const&) {
            this->ReportMismatch();
        }
    }

    // Appends one entity per row that lockHolder holds locked; the cache is not involved.
    virtual void Search(std::vector<KelEntity>& entities, KelUserID const& lockHolder, KelEntityType::Type type) const
    {
        kelkCtrFlow(Name(Op::Search));
        A& accessor = this->Accessor();
        KelString const& name = lockHolder.Name();
        KelTomWalkCursor<R>(
            [&accessor, &name](R& row) { return accessor.selectLckhldrOpenFetch(name, row); },
            [&accessor](R& row) { return accessor.selectLckhldrFetch(row); },
            [&accessor] { accessor.selectLckhldrClose(); },
            [&entities, type](std::unique_ptr<R>& row) { entities.push_back(KelEntity(row->Key(), type)); });
    }

    // A new object for the count-th row that a bulk read creates (count from 1).
    virtual T* CreateMaterializedAllServerObject(R const& row, unsigned int count)
    {
        kelkCtrFlow(Name(Op::CreateMaterializedAllServerObject));
        this->AssertBulkCount(count);
        return CreateServerObjectFromTuple(row);
    }

    // A new object built from row, owned by the caller; ID() equals row.Key().
    virtual T* CreateServerObjectFromTuple(R const& row) = 0;

private:
    enum class Op {
        CreateMaterializedServerObject,
        MaterializeAllForRead,
        MaterializeAllForUpdate,
        OID,
        Release,
        Search,
        CreateMaterializedAllServerObject,
    };

    static std::string const& Name(Op op)
    {
        static std::vector<std::string> const names = [] {
            std::vector<std::string> v;
            for (char const* operation :
                 {"CreateMaterializedServerObject", "MaterializeAllForRead", "MaterializeAllForUpdate", "OID",
                  "Release", "Search", "CreateMaterializedAllServerObject"})
                v.push_back(KelTemplateName<T, R, A, P>::Of("KelTomForServerOHANClass", operation));
            return v;
        }();
        return names[static_cast<std::size_t>(op)];
    }

    static KelOrigin Origin(unsigned line, std::string const& function)
    {
        return KelOrigin(KelString(__FILE__), line, KelString(function));
    }
};
