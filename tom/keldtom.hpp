// Cache entries of the per-class object caches and the dictionary that holds them.
//
// An entry owns one server object and records how the object came into the transaction
// (KelCachedObjectState). An entry of the concrete type KelTomDictMember<T, R, A> also owns
// what write-back needs: the row record last selected for update or written, and a
// KelDBAccessFunctor that binds the table's accessor to its insert, select and update
// operations. The transitions below check the state and raise KelIntExcInvalidCase for a
// state that does not allow them; nothing is changed then.
//
// Entries belong to one cache (KelTomForServerClass, tom/keldtgen.hpp), which creates,
// moves and destroys them; the dictionary holds raw pointers and destroys nothing.
// One transaction, one thread: nothing here is locked.
#pragma once

#include "kernel/kelkblk.hpp"
#include "kernel/kelkcon.hpp"
#include "kernel/kelkfun.hpp"
#include "kernel/kelktrc.hpp"
#include "tom/keltpool.hpp"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <type_traits>
#include <utility>

struct KelCachedObjectState {
    enum Type : std::int32_t {
        New = 1,                    // created in this transaction; no row yet
        MaterializedForRead = 2,    // read without lock; no row record kept
        MaterializedForUpdate = 4,  // read under a row lock; holds the row and an update functor
        Saved = 8,                  // written back; holds the row written and an update functor
    };
};

// "New", "MaterializedForRead", "MaterializedForUpdate", "Saved", or "invalid".
char const* KelCachedObjectStateName(std::int32_t state);

// The key type of the server-object class T: what T::ID() returns (KelOID, KelString,
// KelSystemID or KelServerID).
template <class T>
using KelTomKey = std::decay_t<decltype(std::declval<T const&>().ID())>;

// Raises KelIntExcInvalidCase carrying the state, traced at level 0 (also under _Xt),
// category 0x2, component 0x10; the origin is the given file, line and full function name.
[[noreturn]] void KelTomRaiseInvalidCase(char const* file, unsigned line, std::string const& function,
                                         std::int32_t state);

// A failed check after which going on would use a missing entry, object or operation: it is
// reported like any check and, whatever the kernel's policy, does not return.
inline void KelTomCheckOrStop(bool holds, KelContractKind kind, char const* text, char const* file, unsigned line)
{
    if (!holds) KelContract::FailHard(kind, text, file, line);
}

// One trace record of the caches: the parts written into a string stream, ended with a NUL.
// Composes nothing when the switch for (level, category, component) is off; never throws
// (a record that cannot be composed is lost).
template <class Function, class... Parts>
void KelTomTrace(char const* file, int line, Function const& function, long level, unsigned long category,
                 unsigned long component, Parts const&... parts)
{
    if (!KelTrace::IsOn(level, category, component)) return;
    try {
        std::ostringstream text;
        ((text << parts), ...);
        text << '\0';
        KelTrace::Trace(file, line, function, level, category, component, text);
    } catch (...) {
        // No memory for the record: the operation goes on.
    }
}

template <class T>
class KelAbstractTomDictMember {
public:
    KelAbstractTomDictMember(T* serverObject, KelCachedObjectState::Type state) noexcept
        : _pServerObject(serverObject), _state(state)
    {
    }
    // Destroys the server object unless ResetServerObject handed it over.
    virtual ~KelAbstractTomDictMember() { delete _pServerObject; }
    KelAbstractTomDictMember(KelAbstractTomDictMember const&) = delete;
    KelAbstractTomDictMember& operator=(KelAbstractTomDictMember const&) = delete;

    virtual KelCachedObjectState::Type State() const { return _state; }
    virtual T* ServerObject() const { return _pServerObject; }
    virtual void MaterializedForRead() = 0;
    virtual void Deleted() = 0;
    virtual void Dropped() = 0;

    // Forgets the server object without destroying it: the caller has taken it over.
    void ResetServerObject() noexcept { _pServerObject = nullptr; }

protected:
    T* _pServerObject;
    KelCachedObjectState::Type _state;
};

template <class T, class R, class A>
class KelTomDictMember : public KelAbstractTomDictMember<T> {
    using super = KelAbstractTomDictMember<T>;

public:
    using Key = KelTomKey<T>;

    // Binds one accessor to pointers to its operations. An insert functor has only the
    // insert operation; an update functor has select (seluni) and update (updcli). Made
    // and freed for every entry: its block is kept for reuse (KelSmallBlocks).
    class KelDBAccessFunctor : public KelSmallBlockAllocated {
    public:
        using InsertOperation = void (A::*)(R const&);
        using SelectOperation = bool (A::*)(Key const&, R&) const;
        using UpdateOperation = bool (A::*)(Key const&, R const&);

        KelDBAccessFunctor(InsertOperation insert, A& accessor) noexcept
            : _insert(insert), _select(nullptr), _update(nullptr), _accessor(accessor)
        {
        }
        KelDBAccessFunctor(SelectOperation select, UpdateOperation update, A& accessor) noexcept
            : _insert(nullptr), _select(select), _update(update), _accessor(accessor)
        {
        }
        KelDBAccessFunctor(KelDBAccessFunctor const&) = delete;
        KelDBAccessFunctor& operator=(KelDBAccessFunctor const&) = delete;

        // {insert: A::insert}.
        static std::unique_ptr<KelDBAccessFunctor> ForInsert(A& accessor)
        {
            return std::make_unique<KelDBAccessFunctor>(&A::insert, accessor);
        }
        // {select: A::seluni, update: A::updcli}.
        static std::unique_ptr<KelDBAccessFunctor> ForUpdate(A& accessor)
        {
            return std::make_unique<KelDBAccessFunctor>(&A::seluni, &A::updcli, accessor);
        }

        // From now on selects and updates through the same accessor: an entry's functor once
        // the entry has been written, so that a write needs no functor of its own.
        void BindForUpdate() noexcept
        {
            _insert = nullptr;
            _select = &A::seluni;
            _update = &A::updcli;
        }

        bool CanInsert() const { return _insert != nullptr; }
        bool CanSelect() const { return _select != nullptr; }
        bool CanUpdate() const { return _update != nullptr; }
        A& Accessor() const { return _accessor; }

        // REQUIRES: the operation is bound.
        void Insert(R const& row) const { (_accessor.*_insert)(row); }
        bool Select(Key const& key, R& row) const { return (_accessor.*_select)(key, row); }
        bool Update(Key const& key, R const& row) const { return (_accessor.*_update)(key, row); }

    private:
        InsertOperation _insert;
        SelectOperation _select;
        UpdateOperation _update;
        A& _accessor;
    };

    // Takes ownership of all three pointers; functor and row may be null.
    KelTomDictMember(T* serverObject, KelCachedObjectState::Type state, KelDBAccessFunctor* functor, R* row) noexcept
        : super(serverObject, state), _pFunctor(functor), _pRow(row)
    {
    }
    // The row record, then the functor; the base destroys the server object.
    ~KelTomDictMember() override
    {
        delete _pRow;
        delete _pFunctor;
    }

    KelDBAccessFunctor const* Functor() const { return _pFunctor; }
    R const* Row() const { return _pRow; }

    // Allowed in every valid state; changes nothing.
    void MaterializedForRead() override
    {
        if (!IsValid(super::_state))
            KelTomRaiseInvalidCase(__FILE__, __LINE__, Name(Op::MaterializedForRead), super::_state);
    }

    // From MaterializedForRead: takes row and functor and becomes MaterializedForUpdate.
    // From New, MaterializedForUpdate and Saved: no change, nothing taken (the caller still
    // owns both). Any other state: KelIntExcInvalidCase, nothing taken.
    void MaterializedForUpdate(R* row, KelDBAccessFunctor* functor)
    {
        switch (super::_state) {
        case KelCachedObjectState::MaterializedForRead:
            delete _pRow;
            delete _pFunctor;
            _pRow = row;
            _pFunctor = functor;
            super::_state = KelCachedObjectState::MaterializedForUpdate;
            return;
        case KelCachedObjectState::New:
        case KelCachedObjectState::MaterializedForUpdate:
        case KelCachedObjectState::Saved: return;
        }
        KelTomRaiseInvalidCase(__FILE__, __LINE__, Name(Op::MaterializedForUpdate), super::_state);
    }

    // From New, MaterializedForUpdate and Saved: frees the row record and functor held,
    // takes the given ones and becomes Saved. Otherwise KelIntExcInvalidCase, nothing taken.
    // REQUIRES: row and functor are not the ones the entry holds.
    void Saved(R* row, KelDBAccessFunctor* functor)
    {
        switch (super::_state) {
        case KelCachedObjectState::New:
        case KelCachedObjectState::MaterializedForUpdate:
        case KelCachedObjectState::Saved:
            delete _pRow;
            delete _pFunctor;
            _pRow = row;
            _pFunctor = functor;
            super::_state = KelCachedObjectState::Saved;
            return;
        case KelCachedObjectState::MaterializedForRead: break;
        }
        KelTomRaiseInvalidCase(__FILE__, __LINE__, Name(Op::Saved), super::_state);
    }

    // As Saved(row, functor), but the entry keeps the functor it holds, bound to select and
    // update from now on (nothing to free or allocate per write).
    void Saved(R* row)
    {
        switch (super::_state) {
        case KelCachedObjectState::New:
        case KelCachedObjectState::MaterializedForUpdate:
        case KelCachedObjectState::Saved:
            delete _pRow;
            _pRow = row;
            if (_pFunctor) _pFunctor->BindForUpdate();
            super::_state = KelCachedObjectState::Saved;
            return;
        case KelCachedObjectState::MaterializedForRead: break;
        }
        KelTomRaiseInvalidCase(__FILE__, __LINE__, Name(Op::Saved), super::_state);
    }

    // Not supported: the cache moves deleted entries instead. Fails the assertion "false";
    // if the kernel lets it go on, an invalid state still raises.
    void Deleted() override
    {
        kelkAssert(false);
        if (!IsValid(super::_state)) KelTomRaiseInvalidCase(__FILE__, __LINE__, Name(Op::Deleted), super::_state);
    }

    // Not supported: the cache destroys dropped entries instead. Fails the assertion
    // "false"; if the kernel lets it go on, Saved and invalid states raise.
    void Dropped() override
    {
        kelkAssert(false);
        switch (super::_state) {
        case KelCachedObjectState::New:
        case KelCachedObjectState::MaterializedForRead:
        case KelCachedObjectState::MaterializedForUpdate: return;
        case KelCachedObjectState::Saved: break;
        }
        KelTomRaiseInvalidCase(__FILE__, __LINE__, Name(Op::Dropped), super::_state);
    }

    // Inserts row through the held functor. Meant for state New only.
    void Insert(R const& row)
    {
        bool const callable = _pFunctor != nullptr && _pFunctor->CanInsert();
        if (!(super::_state == KelCachedObjectState::New)) {
            if (callable)
                kelkAssert(super::_state == KelCachedObjectState::New);
            else  // nothing to call: going on is impossible
                KelContract::FailHard(KelContractKind::Assert, "super::_state == KelCachedObjectState::New", __FILE__,
                                      __LINE__);
        }
        if (!callable) KelContract::FailHard(KelContractKind::Assert, "_pFunctor != 0", __FILE__, __LINE__);
        _pFunctor->Insert(row);
    }

    // Updates the row with key through the held functor; the accessor's result. Meant for
    // states MaterializedForUpdate and Saved only.
    bool Update(Key const& key, R const& row)
    {
        bool const callable = _pFunctor != nullptr && _pFunctor->CanUpdate();
        if (!(super::_state == KelCachedObjectState::MaterializedForUpdate ||
              super::_state == KelCachedObjectState::Saved)) {
            if (callable)
                kelkAssert(super::_state == KelCachedObjectState::MaterializedForUpdate ||
                           super::_state == KelCachedObjectState::Saved);
            else
                KelContract::FailHard(KelContractKind::Assert,
                                      "super::_state == KelCachedObjectState::MaterializedForUpdate || "
                                      "super::_state == KelCachedObjectState::Saved",
                                      __FILE__, __LINE__);
        }
        if (!callable) KelContract::FailHard(KelContractKind::Assert, "_pFunctor != 0", __FILE__, __LINE__);
        return _pFunctor->Update(key, row);
    }

private:
    enum class Op { MaterializedForRead, MaterializedForUpdate, Saved, Deleted, Dropped };

    static bool IsValid(std::int32_t state)
    {
        return state == KelCachedObjectState::New || state == KelCachedObjectState::MaterializedForRead ||
               state == KelCachedObjectState::MaterializedForUpdate || state == KelCachedObjectState::Saved;
    }

    // "KelTomDictMember<class T,class R,class A>::<operation>", composed once per instantiation.
    static std::string const& Name(Op op)
    {
        using Names = KelTemplateName<T, R, A>;
        static std::string const names[] = {
            Names::Of("KelTomDictMember", "MaterializedForRead"),
            Names::Of("KelTomDictMember", "MaterializedForUpdate"),
            Names::Of("KelTomDictMember", "Saved"),
            Names::Of("KelTomDictMember", "Deleted"),
            Names::Of("KelTomDictMember", "Dropped"),
        };
        return names[static_cast<int>(op)];
    }

    KelDBAccessFunctor* _pFunctor;
    R* _pRow;
};

// The entries of one cache by key, in the key's order. Holds raw pointers; the cache that
// owns the dictionary destroys the entries.
template <class T>
class KelTomDictionary
    : public std::map<KelTomKey<T>, KelAbstractTomDictMember<T>*, std::less<KelTomKey<T>>,
                      KelTomPoolAllocator<std::pair<KelTomKey<T> const, KelAbstractTomDictMember<T>*>>> {
    using Base = std::map<KelTomKey<T>, KelAbstractTomDictMember<T>*, std::less<KelTomKey<T>>,
                          KelTomPoolAllocator<std::pair<KelTomKey<T> const, KelAbstractTomDictMember<T>*>>>;

public:
    using Key = KelTomKey<T>;
    using typename Base::const_iterator;
    using typename Base::iterator;

    KelTomDictionary() = default;
    // Nodes, and the entries the cache files here, come from pool.
    explicit KelTomDictionary(KelTomBlockPool* pool) : Base(std::less<Key>(), typename Base::allocator_type(pool)) {}
    KelTomBlockPool* Pool() const { return this->get_allocator().Pool(); }

    // Like find, but an entry whose object reports IsDeleted() counts as absent.
    iterator findNotDeleted(Key const& key)
    {
        iterator it = this->find(key);
        return it != this->end() && IsDeleted(*it) ? this->end() : it;
    }
    const_iterator findNotDeleted(Key const& key) const
    {
        const_iterator it = this->find(key);
        return it != this->end() && IsDeleted(*it) ? this->end() : it;
    }

    // Whether an element's object reports IsDeleted() (findNotDeleted counts it as absent).
    static bool IsDeleted(typename Base::value_type const& element)
    {
        T const* object = element.second->ServerObject();
        return object != nullptr && object->IsDeleted();
    }
};
