// KelTomForServerClass<T, R, A, P>: the object cache of one class of server objects T over
// one table, for one transaction. R is the table's row record, A its accessor inside the
// KelDatabase, P the manager's parameter class with nested CreateInpParm and
// MaterializeInpParm. Concrete managers derive from it (usually through
// KelTomForServerClassQry or KelTomForServerOHANClass, tom/keldtqry.hpp) and supply three
// factories: CreateNewServerObject, CreateMaterializedServerObject and CreateTupleObject.
//
// Promises: an object is in at most one live entry, filed under its ID(); materialize calls
// go to the database only on a miss; a reference handed out stays valid until ClearCache
// (entries that leave _dict keep their objects in _deletedDict or _droppedObjects); a read
// for update leaves the row locked for the rest of the database transaction. Save, Delete
// and Drop act at once; Flush writes every changed live entry in ascending key order.
//
// Ownership: the cache owns its entries and the objects it keeps after Drop; on every
// path, including exceptions, whatever no entry took over is freed. The destructor frees
// what ClearCache would. One transaction, one thread at a time; nothing is locked here.
//
// Needs of T: ID(), static IdName(), IsDeleted(), IsDirty(), Refresh(T const&), a virtual
// destructor. Of R: default and copy construction, Key() for the bulk reads. Of A: insert,
// seluni, selupd, updcli, dbadel (and the cursors of the bulk reads).
#pragma once

#include "db/keldb.hpp"
#include "db/keldkrnl.hpp"
#include "kernel/kelkcon.hpp"
#include "kernel/kelkexc.hpp"
#include "kernel/kelkfun.hpp"
#include "kernel/kelktrc.hpp"
#include "tom/keldtom.hpp"
#include "tom/keltinyom.hpp"

#include <cstdint>
#include <exception>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// Counts of one cache, next to the accessor's database calls (DatabaseCalls()).
struct KelTomCacheStatistics {
    std::uint64_t readHits = 0;      // MaterializeForRead answered from the cache
    std::uint64_t readMisses = 0;    // MaterializeForRead that read the row
    std::uint64_t updateHits = 0;    // MaterializeForUpdate answered without a database call
    std::uint64_t updateMisses = 0;  // MaterializeForUpdate that selected the row for update
    std::uint64_t saved = 0;         // entries written by Save
    std::uint64_t flushed = 0;       // entries written by Flush
};

// Raises a not-found exception whose key values are the parts, traced at the given level,
// category 0x2, component 0x8.
template <class... Parts>
[[noreturn]] void KelTomRaiseNotFound(char const* file, unsigned line, std::string const& function, long level,
                                      Parts const&... parts)
{
    KelRaise(KelTOMNotFoundException(KelOrigin(KelString(file), line, KelString(function)), KelComposeText(parts...)),
             level, KelTraceComponent::Rows);
}

// Destroys an entry of a cache whose entries are KelTomDictMember<T, R, A>, giving its
// memory back to the pool of the cache's dictionaries (or to the heap without one).
template <class T, class R, class A>
void KelTomDestroyEntry(KelTomDictionary<T> const& dict, KelAbstractTomDictMember<T>* entry) noexcept
{
    if (!entry) return;
    entry->~KelAbstractTomDictMember<T>();
    if (KelTomBlockPool* pool = dict.Pool())
        pool->Deallocate(entry, sizeof(KelTomDictMember<T, R, A>));
    else
        ::operator delete(entry);
}

// Builds an entry for object and files it under the key the object reports. On an exception
// nothing was taken: the caller still owns object, functor and row.
template <class T, class R, class A>
typename KelTomDictionary<T>::iterator KelTomEnterEntry(
    KelTomDictionary<T>& dict, typename KelTomDictionary<T>::iterator hint, KelTomKey<T> const& key, T* object,
    KelCachedObjectState::Type state, typename KelTomDictMember<T, R, A>::KelDBAccessFunctor* functor, R* row)
{
    using Entry = KelTomDictMember<T, R, A>;
    auto iter = dict.emplace_hint(hint, key, nullptr);
    try {
        KelTomBlockPool* pool = dict.Pool();
        void* block = pool ? pool->Allocate(sizeof(Entry)) : ::operator new(sizeof(Entry));
        iter->second = new (block) Entry(object, state, functor, row);  // the constructor cannot throw
    } catch (...) {
        dict.erase(iter);
        throw;
    }
    return iter;
}

// Where key belongs in dict (one descent, the hint for entering it), and whether it is there.
template <class T>
typename KelTomDictionary<T>::iterator KelTomPlaceOf(KelTomDictionary<T>& dict, KelTomKey<T> const& key, bool& present)
{
    auto iter = dict.lower_bound(key);
    present = iter != dict.end() && !(key < iter->first);
    return iter;
}

// Enters a new object in state New with its insert functor. A key already in dict raises
// KelTOMNotUniqueException ("Key=" and the key) and enters nothing; the caller keeps both.
template <class T, class R, class A>
void RegisterNewServerObject(KelTomDictionary<T>& dict, T* object,
                             typename KelTomDictMember<T, R, A>::KelDBAccessFunctor* insertFunctor,
                             typename KelTomDictionary<T>::iterator& out)
{
    KelTomKey<T> const key = object->ID();
    bool present;
    auto place = KelTomPlaceOf(dict, key, present);
    if (present)
        KelRaise(
            KelTOMNotUniqueException(KelOrigin(KelString(__FILE__), __LINE__, KelString("RegisterNewServerObject")),
                                     KelComposeText("Key=", key)),
            KelTraceLevel::Flow, KelTraceComponent::Cache);
    out = KelTomEnterEntry<T, R, A>(dict, place, key, object, KelCachedObjectState::New, insertFunctor,
                                    static_cast<R*>(nullptr));
}

// Enters an object just read, in state MaterializedForRead without functor or row record.
// REQUIRES: the object's key is not in dict (checked; does not return if it is).
template <class T, class R, class A>
void RegisterMaterializedForRead(KelTomDictionary<T>& dict, T* object, typename KelTomDictionary<T>::iterator& out)
{
    KelTomKey<T> const key = object->ID();
    bool present;
    auto place = KelTomPlaceOf(dict, key, present);
    auto iter = present ? place : dict.end();
    KelTomCheckOrStop(iter == dict.end(), KelContractKind::Assert, "iter == dict.end()", __FILE__, __LINE__);
    out = KelTomEnterEntry<T, R, A>(dict, place, key, object, KelCachedObjectState::MaterializedForRead, nullptr,
                                    static_cast<R*>(nullptr));
}

// Enters an object read for update, in state MaterializedForUpdate with the selected row
// and the update functor. REQUIRES: the object's key is not in dict (as above).
template <class T, class R, class A>
void RegisterMaterializedForUpdate(KelTomDictionary<T>& dict, T* object, R* row,
                                   typename KelTomDictMember<T, R, A>::KelDBAccessFunctor* updateFunctor,
                                   typename KelTomDictionary<T>::iterator& out)
{
    KelTomKey<T> const key = object->ID();
    bool present;
    auto place = KelTomPlaceOf(dict, key, present);
    auto iter = present ? place : dict.end();
    KelTomCheckOrStop(iter == dict.end(), KelContractKind::Assert, "iter == dict.end()", __FILE__, __LINE__);
    out = KelTomEnterEntry<T, R, A>(dict, place, key, object, KelCachedObjectState::MaterializedForUpdate,
                                    updateFunctor, row);
}

template <class T, class R, class A, class P>
class KelTomForServerClass {
public:
    using Key = KelTomKey<T>;
    using Dictionary = KelTomDictionary<T>;
    using iterator = typename Dictionary::iterator;
    using DictMember = KelTomDictMember<T, R, A>;
    using KelDBAccessFunctor = typename DictMember::KelDBAccessFunctor;
    using CreateInpParm = typename P::CreateInpParm;
    using MaterializeInpParm = typename P::MaterializeInpParm;

    KelTomForServerClass(KelTinyObjectManager& tom, KelDatabase& db)
        : _dict(&_pool), _deletedDict(&_pool), _tom(tom), _db(db)
    {
    }
    virtual ~KelTomForServerClass() { DestroyAll(); }
    KelTomForServerClass(KelTomForServerClass const&) = delete;
    KelTomForServerClass& operator=(KelTomForServerClass const&) = delete;

    // A new object from parm, entered in state New. KelTOMNotUniqueException if its key is
    // cached already (the cache is unchanged).
    virtual T& Create(CreateInpParm const& parm)
    {
        kelkCtrFlow(Name(Op::Create));
        iterator iter;
        T* pServerObject = CreateImpl(parm, iter);
        kelkEnsure((*iter).second->State() == KelCachedObjectState::New);
        kelkEnsure(pServerObject != 0);
        return *pServerObject;
    }

    virtual T* CreateImpl(CreateInpParm const& parm, iterator& it)
    {
        std::unique_ptr<T> object(CreateNewServerObject(parm));
        KelTomCheckOrStop(object != nullptr, KelContractKind::Ensure, "pServerObject != 0", __FILE__, __LINE__);
        std::unique_ptr<KelDBAccessFunctor> functor = KelDBAccessFunctor::ForInsert(Accessor());
        RegisterNewServerObject<T, R, A>(_dict, object.get(), functor.get(), it);
        (void)object.release();
        (void)functor.release();
        return it->second->ServerObject();
    }

    // The cached object with key, whatever its entry's state; on a miss the row read with
    // seluni (KelTOMNotFoundException if there is none or its object reports IsDeleted()).
    virtual T const& MaterializeForRead(MaterializeInpParm const& parm, Key const& key)
    {
        kelkCtrFlow(Name(Op::MaterializeForRead));
        iterator it = _dict.find(key);
        T const* pServerObject;
        if (it != _dict.end()) {
            KelTomTrace(__FILE__, __LINE__, "MaterializeForRead", KelTraceLevel::Flow, KelTraceCategory::Flow,
                        KelTraceComponent::Cache, "");
            ++_statistics.readHits;
            pServerObject = it->second->ServerObject();
        } else {
            KelTomTrace(__FILE__, __LINE__, "MaterializeForRead", KelTraceLevel::Flow, KelTraceCategory::Flow,
                        KelTraceComponent::Cache, "");
            ++_statistics.readMisses;
            pServerObject = MaterializeForReadImpl(parm, key, it);
        }
        KelTomCheckOrStop(pServerObject != 0, KelContractKind::Ensure, "pServerObject != 0", __FILE__, __LINE__);
        return *pServerObject;
    }

    virtual T const* MaterializeForReadImpl(MaterializeInpParm const& parm, Key const& key, iterator& it)
    {
        std::unique_ptr<T> object(MaterializeForReadImpl2(parm, key));
        if (object && object->IsDeleted()) object.reset();  // a row whose object counts as deleted is not found
        if (!object)
            KelTomRaiseNotFound(__FILE__, __LINE__, Name(Op::MaterializeForReadImpl), KelTraceLevel::Flow, T::IdName(),
                                key);
        RegisterMaterializedForRead<T, R, A>(_dict, object.get(), it);
        (void)object.release();
        return it->second->ServerObject();
    }

    // Reads the row with seluni and returns a new object owned by the caller, entered
    // nowhere; null (after a trace of the key) if there is no row.
    virtual T* MaterializeForReadImpl2(MaterializeInpParm const& parm, Key const& key)
    {
        // One row buffer serves every read of the cache: its texts keep their room.
        if (!_readRow) _readRow = std::make_unique<R>();
        R& row = *_readRow;
        if (Accessor().seluni(key, row)) return CreateMaterializedServerObject(parm, row);
        KelTomTrace(__FILE__, __LINE__, Name(Op::MaterializeForReadImpl2), KelTraceLevel::Flow, KelTraceCategory::Flow,
                    KelTraceComponent::Cache, T::IdName(), key);
        return nullptr;
    }

    // The object with key, its row locked: a miss selects the row with selupd
    // (KelTOMNotFoundException if none); a read entry is upgraded in place, or on Oracle
    // dropped and read again as a new object; other entries are returned as they are.
    virtual T& MaterializeForUpdate(MaterializeInpParm const& parm, Key const& key)
    {
        kelkCtrFlow(Name(Op::MaterializeForUpdate));
        if (KelGetRtDbType() == KelDBType::Oracle) {
            KelTomTrace(__FILE__, __LINE__, "MaterializeForUpdate", KelTraceLevel::Flow, KelTraceCategory::Flow,
                        KelTraceComponent::Cache, "Oracle DB: check whether Object exists");
            iterator it = _dict.findNotDeleted(key);
            if (it != _dict.end() && it->second->State() == KelCachedObjectState::MaterializedForRead) {
                KelTomTrace(__FILE__, __LINE__, "MaterializeForUpdate", KelTraceLevel::Flow, KelTraceCategory::Flow,
                            KelTraceComponent::Cache, "Object in cache will be dropped");
                Drop(*it->second->ServerObject());
            }
        }
        iterator iter = _dict.findNotDeleted(key);
        T* pServerObject;
        if (iter == _dict.end()) {
            KelTomTrace(__FILE__, __LINE__, "MaterializeForUpdate", KelTraceLevel::Flow, KelTraceCategory::Flow,
                        KelTraceComponent::Cache, "");
            ++_statistics.updateMisses;
            pServerObject = MaterializeForUpdateImpl2(parm, key, iter);
        } else {
            KelTomTrace(__FILE__, __LINE__, "MaterializeForUpdate", KelTraceLevel::Flow, KelTraceCategory::Flow,
                        KelTraceComponent::Cache, "");
            pServerObject = iter->second->ServerObject();
            if (iter->second->State() == KelCachedObjectState::MaterializedForRead) {
                ++_statistics.updateMisses;
                pServerObject = MaterializeForUpdateImpl1(key, iter);
            } else {
                ++_statistics.updateHits;
            }
        }
        kelkEnsure((*iter).second->State() != KelCachedObjectState::MaterializedForRead);
        KelTomCheckOrStop(pServerObject != 0, KelContractKind::Ensure, "pServerObject != 0", __FILE__, __LINE__);
        return *pServerObject;
    }

    // Upgrades the read entry at it: selupd (the row must exist), then the entry takes the
    // row and an update functor. The object keeps the values it was read with.
    virtual T* MaterializeForUpdateImpl1(Key const& key, iterator& it)
    {
        auto row = std::make_unique<R>();
        bool const found = Accessor().selupd(key, *row);
        kelkAssert(found);
        std::unique_ptr<KelDBAccessFunctor> functor = KelDBAccessFunctor::ForUpdate(Accessor());
        DictMember* pDictMember = dynamic_cast<DictMember*>(it->second);
        KelTomCheckOrStop(pDictMember != 0, KelContractKind::Assert, "pDictMember != 0", __FILE__, __LINE__);
        bool const takes = pDictMember->State() == KelCachedObjectState::MaterializedForRead;
        pDictMember->MaterializedForUpdate(row.get(), functor.get());
        if (takes) {
            (void)row.release();
            (void)functor.release();
        }
        return pDictMember->ServerObject();
    }

    virtual T* MaterializeForUpdateImpl2(MaterializeInpParm const& parm, Key const& key, iterator& it)
    {
        auto row = std::make_unique<R>();
        if (!Accessor().selupd(key, *row))
            KelTomRaiseNotFound(__FILE__, __LINE__, Name(Op::MaterializeForUpdateImpl2), KelTraceLevel::Flow,
                                T::IdName(), key);
        std::unique_ptr<T> object(CreateMaterializedServerObject(parm, *row));
        KelTomCheckOrStop(object != nullptr, KelContractKind::Ensure, "pServerObject != 0", __FILE__, __LINE__);
        std::unique_ptr<KelDBAccessFunctor> functor = KelDBAccessFunctor::ForUpdate(Accessor());
        RegisterMaterializedForUpdate<T, R, A>(_dict, object.get(), row.get(), functor.get(), it);
        (void)object.release();
        (void)row.release();
        (void)functor.release();
        return it->second->ServerObject();
    }

    // Writes object's entry at once (insert when New, else update) and leaves it Saved.
    virtual void Save(T const& object)
    {
        kelkCtrFlow(Name(Op::Save));
        Dictionary& dict = _dict;
        iterator iter = dict.find(object.ID());
        KelTomCheckOrStop(iter != dict.end(), KelContractKind::Assert, "iter != dict.end()", __FILE__, __LINE__);
        kelkEnsure((*iter).second->State() != KelCachedObjectState::MaterializedForRead);
        SaveImpl(iter);
        kelkEnsure((*iter).second->State() == KelCachedObjectState::Saved);
        ++_statistics.saved;
    }

    // Writes the entry at it with a row built by CreateTupleObject; the entry's functor
    // selects and updates from then on. The entry stays in _dict. On an exception the entry
    // keeps its state, functor and row record, and the new row is freed.
    virtual void SaveImpl(iterator& it)
    {
        PendingWrite write = BuildWrite(it);
        if (write.insert)
            SaveNewObject(_dict, it, write.row);
        else
            SaveExistingObject(_dict, it, write.row);
    }

    // Deletes the row with key at once (KelTOMNotFoundException if there is none, the cache
    // unchanged) and moves a cached entry, unchanged, to _deletedDict.
    virtual void Delete(Key const& key)
    {
        kelkCtrFlow(Name(Op::Delete));
        if (!Accessor().dbadel(key))
            KelTomRaiseNotFound(__FILE__, __LINE__, Name(Op::Delete), KelTraceLevel::Flow, T::IdName(), key);
        iterator const found = _dict.find(key);
        if (found == _dict.end()) return;
        Key const objectKey = found->second->ServerObject()->ID();
        iterator iter = _dict.find(objectKey);
        KelTomCheckOrStop(iter != _dict.end(), KelContractKind::Assert, "iter != _dict.end()", __FILE__, __LINE__);
        MoveToDeletedDict(_dict, _deletedDict, _droppedObjects, iter);
    }

    // Forgets object's entry without any database call; the object stays alive in
    // _droppedObjects, its changes are never written.
    virtual void Drop(T const& object)
    {
        kelkCtrFlow(Name(Op::Drop));
        Dictionary& dict = _dict;
        iterator iter = dict.find(object.ID());
        KelTomCheckOrStop(iter != dict.end(), KelContractKind::Assert, "iter != dict.end()", __FILE__, __LINE__);
        _droppedObjects.push_back(iter->second->ServerObject());
        iter->second->ResetServerObject();
        KelTomDestroyEntry<T, R, A>(dict, iter->second);
        dict.erase(iter);
    }

    virtual T* CreateNewServerObject(CreateInpParm const& parm) = 0;
    virtual T* CreateMaterializedServerObject(MaterializeInpParm const& parm, R const& row) = 0;
    virtual R* CreateTupleObject(T const& object) = 0;

    // Writes, in ascending key order, every live entry whose object IsDirty() and that is not
    // MaterializedForRead. Entries stay in _dict, Saved; their objects stay dirty.
    // Where the database pipelines (PostgreSQL), the writes go out without a round trip each
    // and the entries change state as their results come back, in the same order: a failed
    // write leaves the entries before it Saved and those after it as they were, as if each
    // had been written alone.
    void Flush()
    {
        kelkCtrFlow(Name(Op::Flush));
        unsigned long count = 0;
        if (Accessor().CanPipeline() && FlushesSeveral()) {
            count = FlushPipelined();
        } else {
            for (iterator it = _dict.begin(); it != _dict.end(); ++it) {
                if (!Flushes(*it->second)) continue;
                SaveImpl(it);
                ++count;
                ++_statistics.flushed;
            }
        }
        KelTomTrace(__FILE__, __LINE__, Name(Op::Flush), KelTraceLevel::Detail, KelTraceCategory::Count,
                    KelTraceComponent::Cache, "#flushed objects=", count);
    }

    // Re-reads every entry that has a row (all but New) with seluni and refreshes its object,
    // unsaved changes included; entries whose rows are gone move to _deletedDict.
    void Refresh()
    {
        kelkCtrFlow(Name(Op::Refresh));
        unsigned long count = 0;
        std::vector<T*> vanished;
        for (auto const& element : _dict) {
            KelCachedObjectState::Type const state = element.second->State();
            if (state != KelCachedObjectState::MaterializedForRead &&
                state != KelCachedObjectState::MaterializedForUpdate && state != KelCachedObjectState::Saved)
                continue;
            T* object = element.second->ServerObject();
            std::unique_ptr<T> fresh(MaterializeForReadImpl2(MaterializeInpParm(), object->ID()));
            if (fresh) {
                object->Refresh(*fresh);
                ++count;
            } else {
                vanished.push_back(object);
            }
        }
        Dictionary& dict = _dict;
        for (T* object : vanished) {
            iterator iter = dict.find(object->ID());
            KelTomCheckOrStop(iter != dict.end(), KelContractKind::Assert, "iter != dict.end()", __FILE__, __LINE__);
            MoveToDeletedDict(_dict, _deletedDict, _droppedObjects, iter);
        }
        KelTomTrace(__FILE__, __LINE__, Name(Op::Refresh), KelTraceLevel::Detail, KelTraceCategory::Count,
                    KelTraceComponent::Cache, "#refreshed objects=", count);
    }

    // Destroys every entry and kept object; writes nothing.
    void ClearCache()
    {
        kelkCtrFlow(Name(Op::ClearCache));
        DestroyAll();
    }

    // True if the object of any live entry IsDirty(), whatever the entry's state.
    bool ContainsDirtyObjects() const
    {
        kelkCtrFlow(Name(Op::ContainsDirtyObjects));
        for (auto const& element : _dict)
            if (element.second->ServerObject()->IsDirty()) return true;
        return false;
    }

    // True unless a live entry's object is not deleted or is dirty.
    bool IsCacheEmpty() const
    {
        for (auto const& element : _dict) {
            T const* object = element.second->ServerObject();
            if (!object->IsDeleted() || object->IsDirty()) return false;
        }
        return true;
    }

    KelTomCacheStatistics const& Statistics() const { return _statistics; }
    void ResetStatistics() { _statistics = KelTomCacheStatistics(); }
    // The table accessor's call counts.
    decltype(auto) DatabaseCalls() const { return Accessor().Stats(); }

    Dictionary const& LiveEntries() const { return _dict; }
    Dictionary const& DeletedEntries() const { return _deletedDict; }
    std::vector<T*> const& DroppedObjects() const { return _droppedObjects; }
    KelTinyObjectManager& ObjectManager() const { return _tom; }
    KelDatabase& Database() const { return _db; }

protected:
    // The table's accessor inside the transaction's database.
    A& Accessor() const { return _db.accessorObject(static_cast<A const*>(nullptr)); }

    // Moves the entry at it, unchanged, from dict to deletedDict. An older entry under the
    // same key there is destroyed, its object kept in droppedObjects.
    static void MoveToDeletedDict(Dictionary& dict, Dictionary& deletedDict, std::vector<T*>& droppedObjects,
                                  iterator& it)
    {
        Key const key = it->second->ServerObject()->ID();
        iterator older = deletedDict.find(key);
        if (older != deletedDict.end()) {
            droppedObjects.push_back(older->second->ServerObject());
            older->second->ResetServerObject();
            KelTomDestroyEntry<T, R, A>(deletedDict, older->second);
            deletedDict.erase(older);
        }
        deletedDict.emplace(key, it->second);
        dict.erase(it);
    }

    // One row of a bulk read for read (tom/keldtqry.hpp): the cached object with the row's
    // key whatever its entry's state (the row is not used), or a new one from make(row),
    // entered MaterializedForRead. function names the bulk read in the trace.
    template <class Make>
    T* MergeRowForRead(std::string const& function, R const& row, Make&& make)
    {
        Key const key = row.Key();
        bool present;
        iterator iter = KelTomPlaceOf(_dict, key, present);
        T* pServerObject;
        if (present && !Dictionary::IsDeleted(*iter)) {
            KelTomTrace(__FILE__, __LINE__, function, KelTraceLevel::Flow, KelTraceCategory::Flow,
                        KelTraceComponent::Cache, "");
            pServerObject = iter->second->ServerObject();
        } else {
            KelTomTrace(__FILE__, __LINE__, function, KelTraceLevel::Flow, KelTraceCategory::Flow,
                        KelTraceComponent::Cache, "");
            std::unique_ptr<T> object(make(row));
            KelTomCheckOrStop(object != nullptr, KelContractKind::Ensure, "pServerObject != 0", __FILE__, __LINE__);
            if (EntersAt(present, *object, key))
                iter =
                    KelTomEnterEntry<T, R, A>(_dict, iter, key, object.get(), KelCachedObjectState::MaterializedForRead,
                                              nullptr, static_cast<R*>(nullptr));
            else
                RegisterMaterializedForRead<T, R, A>(_dict, object.get(), iter);
            pServerObject = object.release();
        }
        KelTomCheckOrStop(pServerObject != 0, KelContractKind::Ensure, "pServerObject != 0", __FILE__, __LINE__);
        return pServerObject;
    }

    // One row of a bulk read for update: a cached read entry takes a copy of the row and an
    // update functor and becomes MaterializedForUpdate (its object keeps its values); New,
    // MaterializedForUpdate and Saved entries stay as they are; a miss enters a new object
    // from make(row) MaterializedForUpdate with a copy of the row. row stays the caller's
    // buffer: the copy shares its texts, and the next fetch into it replaces only the texts
    // that differ (a new default row would make one block per text and OID to be filled).
    template <class Make>
    T* MergeRowForUpdate(std::string const& function, std::unique_ptr<R>& row, Make&& make)
    {
        iterator iter;
        return MergeRowForUpdate(function, row, std::forward<Make>(make), iter);
    }

    // The same, leaving iter at the row's entry.
    template <class Make>
    T* MergeRowForUpdate(std::string const& function, std::unique_ptr<R>& row, Make&& make, iterator& iter)
    {
        Key const key = row->Key();
        bool present;
        iter = KelTomPlaceOf(_dict, key, present);
        T* pServerObject;
        if (present && !Dictionary::IsDeleted(*iter)) {
            KelTomTrace(__FILE__, __LINE__, function, KelTraceLevel::Flow, KelTraceCategory::Flow,
                        KelTraceComponent::Cache, "");
            pServerObject = iter->second->ServerObject();
            DictMember* pDictMember = dynamic_cast<DictMember*>(iter->second);
            KelTomCheckOrStop(pDictMember != 0, KelContractKind::Assert, "pDictMember != 0", __FILE__, __LINE__);
            if (pDictMember->State() == KelCachedObjectState::MaterializedForRead) {
                auto copy = std::make_unique<R>(*row);
                std::unique_ptr<KelDBAccessFunctor> functor = KelDBAccessFunctor::ForUpdate(Accessor());
                pDictMember->MaterializedForUpdate(copy.get(), functor.get());
                (void)copy.release();
                (void)functor.release();
            }
        } else {
            KelTomTrace(__FILE__, __LINE__, function, KelTraceLevel::Flow, KelTraceCategory::Flow,
                        KelTraceComponent::Cache, "");
            std::unique_ptr<T> object(make(*row));
            KelTomCheckOrStop(object != nullptr, KelContractKind::Ensure, "pServerObject != 0", __FILE__, __LINE__);
            auto copy = std::make_unique<R>(*row);
            std::unique_ptr<KelDBAccessFunctor> functor = KelDBAccessFunctor::ForUpdate(Accessor());
            if (EntersAt(present, *object, key))
                iter =
                    KelTomEnterEntry<T, R, A>(_dict, iter, key, object.get(),
                                              KelCachedObjectState::MaterializedForUpdate, functor.get(), copy.get());
            else
                RegisterMaterializedForUpdate<T, R, A>(_dict, object.get(), copy.get(), functor.get(), iter);
            pServerObject = object.release();
            (void)copy.release();
            (void)functor.release();
        }
        kelkEnsure((*iter).second->State() != KelCachedObjectState::MaterializedForRead);
        KelTomCheckOrStop(pServerObject != 0, KelContractKind::Ensure, "pServerObject != 0", __FILE__, __LINE__);
        return pServerObject;
    }

    // Checks of the named-object caches (tom/keldtqry.hpp), reported from this file.
    // Before the count-th object of a bulk read is created, the dictionary holds exactly
    // the count - 1 objects created before it.
    void AssertBulkCount(unsigned int count) const { kelkAssert((this->_dict).size() == count - 1); }
    void AssertCacheEmpty() const { kelkAssert(this->IsCacheEmpty()); }
    // The lock-holder update touched more than one row.
    static void ReportMismatch() { kelkCheck(KelContractKind::Assert, false, "\"incomprehensible mismatch\" == 0"); }

    // Inserts the New entry at it and hands row to it.
    void SaveNewObject(Dictionary& dict, iterator& it, std::unique_ptr<R>& row)
    {
        (void)dict;
        DictMember* pDictMember = InsertEntry(it, *row);
        SavedEntry(pDictMember, true, row);
    }

    // Updates the entry at it through the functor it holds and hands row to it.
    // KelIntExcInvalidCase unless the entry is MaterializedForUpdate or Saved.
    void SaveExistingObject(Dictionary& dict, iterator& it, std::unique_ptr<R>& row)
    {
        (void)dict;
        bool updated;
        DictMember* pDictMember = UpdateEntry(it, *row, updated);
        SavedEntry(pDictMember, updated, row);
    }

    // The cache's row buffer, for the cursor walks of its bulk reads as well: a walk leaves its
    // last, unfetched row here for the next read instead of freeing it.
    std::unique_ptr<R>& RowBuffer() { return _readRow; }

    Dictionary _dict;
    Dictionary _deletedDict;
    std::vector<T*> _droppedObjects;
    KelTinyObjectManager& _tom;
    KelDatabase& _db;

private:
    // One write of Save or Flush: the row built from the entry's object, which the entry
    // takes once written, and whether it is an insert (the entry is New).
    struct PendingWrite {
        std::unique_ptr<R> row;
        bool insert;
        DictMember* entry;
    };

    // Whether a new object for a row goes in at the place its key's descent found: the key
    // is not there and the object reports it as its own. Otherwise it is entered by the
    // object's key, with that entering's checks.
    static bool EntersAt(bool present, T const& object, Key const& key)
    {
        if (present) return false;
        Key const id = object.ID();
        return !(id < key) && !(key < id);
    }

    // Whether Flush writes the entry.
    static bool Flushes(KelAbstractTomDictMember<T> const& entry)
    {
        return entry.ServerObject()->IsDirty() && entry.State() != KelCachedObjectState::MaterializedForRead;
    }

    // Whether Flush writes more than one entry: a single write gains nothing from a pipeline.
    bool FlushesSeveral() const
    {
        int found = 0;
        for (auto const& element : _dict)
            if (Flushes(*element.second) && ++found > 1) return true;
        return false;
    }

    PendingWrite BuildWrite(iterator& it)
    {
        std::unique_ptr<R> row(CreateTupleObject(*it->second->ServerObject()));
        KelTomCheckOrStop(row != nullptr, KelContractKind::Ensure, "pTuple != 0", __FILE__, __LINE__);
        bool const insert = it->second->State() == KelCachedObjectState::New;
        return PendingWrite{std::move(row), insert, nullptr};
    }

    // Inserts row through the New entry at it (in a pipeline: sends the insert).
    DictMember* InsertEntry(iterator& it, R const& row)
    {
        DictMember* pDictMember = dynamic_cast<DictMember*>(it->second);
        KelTomCheckOrStop(pDictMember != 0, KelContractKind::Assert, "pDictMember != 0", __FILE__, __LINE__);
        pDictMember->Insert(row);
        return pDictMember;
    }

    // Updates the row of the entry at it (in a pipeline: sends the update; updated is then
    // true). KelIntExcInvalidCase unless the entry is MaterializedForUpdate or Saved.
    DictMember* UpdateEntry(iterator& it, R const& row, bool& updated)
    {
        KelCachedObjectState::Type const state = it->second->State();
        if (state != KelCachedObjectState::MaterializedForUpdate && state != KelCachedObjectState::Saved)
            KelTomRaiseInvalidCase(__FILE__, __LINE__, "SaveExistingObject", state);
        KelTomTrace(__FILE__, __LINE__, "SaveExistingObject", KelTraceLevel::Flow, KelTraceCategory::Flow,
                    KelTraceComponent::Cache, "");
        DictMember* pDictMember = dynamic_cast<DictMember*>(it->second);
        KelTomCheckOrStop(pDictMember != 0, KelContractKind::Assert, "pDictMember != 0", __FILE__, __LINE__);
        {
            // The entry's update is given a copy of the row, which is freed right after.
            R const copy(row);  // NOLINT(performance-unnecessary-copy-initialization)
            updated = pDictMember->Update(pDictMember->ServerObject()->ID(), copy);
        }
        return pDictMember;
    }

    // The entry written: an update must have found its row; it takes the row and keeps its
    // functor, which updates from now on.
    static void SavedEntry(DictMember* pDictMember, bool updated, std::unique_ptr<R>& row)
    {
        kelkAssert(updated);
        pDictMember->Saved(row.get());
        (void)row.release();
    }

    // Flush over one pipeline: each write is built and sent in key order, then the results
    // are taken in that order, each entry changing state as its own comes back. An
    // exception while building or sending is raised once the writes before it have their
    // results (theirs first, if one failed). The first write after an update is guarded
    // by a savepoint: an update that finds no row may raise, and then the writes after it
    // must not have happened.
    unsigned long FlushPipelined()
    {
        A& accessor = Accessor();
        std::vector<PendingWrite> writes;
        KelDBWritePipeline pipeline(accessor);
        std::size_t guarded = 0;  // the index of the first write after the savepoint; 0: none
        std::exception_ptr stopped;
        try {
            bool updates = false;
            for (iterator it = _dict.begin(); it != _dict.end(); ++it) {
                if (!Flushes(*it->second)) continue;
                PendingWrite write = BuildWrite(it);
                if (updates && !guarded) {
                    pipeline.Guard();
                    guarded = writes.size();
                }
                updates = updates || !write.insert;
                bool updated;
                write.entry = write.insert ? InsertEntry(it, *write.row) : UpdateEntry(it, *write.row, updated);
                writes.push_back(std::move(write));
            }
        } catch (...) {
            stopped = std::current_exception();
        }
        unsigned long count = 0;
        for (std::size_t i = 0; i < writes.size(); ++i) {
            PendingWrite& write = writes[i];
            bool updated = true;
            if (write.insert)
                accessor.takeInsert(*write.row);
            else
                updated = accessor.takeUpdcli(write.entry->ServerObject()->ID());
            try {
                SavedEntry(write.entry, updated, write.row);
            } catch (...) {
                // An update that found no row raised: the writes after it went through
                // already and must not have. Back to the savepoint, then the writes after
                // it and before this one again, one by one.
                if (guarded && i + 1 < writes.size()) {
                    pipeline.Undo();
                    for (std::size_t j = guarded; j < i; ++j) {
                        DictMember const& entry = *writes[j].entry;
                        if (writes[j].insert)
                            accessor.insert(*entry.Row());
                        else
                            accessor.updcli(entry.ServerObject()->ID(), *entry.Row());
                    }
                }
                throw;
            }
            ++count;
            ++_statistics.flushed;
        }
        if (stopped) std::rethrow_exception(stopped);
        return count;
    }

    enum class Op {
        Create,
        MaterializeForRead,
        MaterializeForReadImpl,
        MaterializeForReadImpl2,
        MaterializeForUpdate,
        MaterializeForUpdateImpl2,
        Save,
        Delete,
        Drop,
        Flush,
        Refresh,
        ClearCache,
        ContainsDirtyObjects,
    };

    // "KelTomForServerClass<class T,class R,class A,class P>::<operation>", composed once.
    static std::string const& Name(Op op)
    {
        static std::vector<std::string> const names = [] {
            std::vector<std::string> v;
            for (char const* operation :
                 {"Create", "MaterializeForRead", "MaterializeForReadImpl", "MaterializeForReadImpl2",
                  "MaterializeForUpdate", "MaterializeForUpdateImpl2", "Save", "Delete", "Drop", "Flush", "Refresh",
                  "ClearCache", "ContainsDirtyObjects"})
                v.push_back(KelTemplateName<T, R, A, P>::Of("KelTomForServerClass", operation));
            return v;
        }();
        return names[static_cast<std::size_t>(op)];
    }

    void DestroyAll() noexcept
    {
        // Most of the nine caches held nothing in a small transaction: skip the walks.
        if (_dict.empty() && _deletedDict.empty() && _droppedObjects.empty()) {
            _pool.Reset();
            return;
        }
        for (auto& element : _dict) KelTomDestroyEntry<T, R, A>(_dict, element.second);
        _dict.clear();
        for (auto& element : _deletedDict) KelTomDestroyEntry<T, R, A>(_deletedDict, element.second);
        _deletedDict.clear();
        for (T* object : _droppedObjects) delete object;
        _droppedObjects.clear();
        _pool.Reset();
    }

    KelTomCacheStatistics _statistics;
    // The buffer of the reads by key (MaterializeForReadImpl2); no entry ever holds it.
    std::unique_ptr<R> _readRow;
    // The memory of both dictionaries' nodes and entries. Declared last, it goes first; the
    // destructor has emptied the dictionaries by then.
    KelTomBlockPool _pool;
};
