// The handle mechanics that the staff and topology data objects (persons, roles, domains,
// servers, systems and the systems' base levels) and the two log records share.
//
// What every such object promises: it is a handle, and copies and assignments share its
// Rep, so that handles that share a Rep are one object. Each member may be null and has a
// null flag (true: null) that must equal the member's IsNull(); assignment checks it.
// A data object's setters store a value, set its flag from the value and mark the object
// dirty until MarkClean() (its manager calls that after a write). Not thread-safe.
//
// How, one level of an object at a time: a level's state is a Rep that derives from
// KelDataRep<Rep> (the reference count first, the dirty flag) and names the source file
// of its class in `static KelCheckSite const site`. KelDataHandle<Rep> shares a Rep
// between copies, drops its reference when destroyed (the Rep goes with its last one),
// and offers the steps of assignment, the invariant check and the setters as
// KelSharedRep (objects/kelmtrep.hpp) describes them; every failed check names the
// class's own file. KelDataPart<Class, Rep> holds a level's handle and gives the class
// the handle count, assignment, the setters' mechanics and Required (the read of a
// member that must not be null). A data object's root level derives from
// KelDataObject<Class, Rep> (its Rep also has `bool _deleted`), which adds the caches'
// interface; a level over the data object Base derives from KelDataLevel<Class, Base,
// Rep>. The class keeps its members, accessors, invariant texts and keyword text.
#pragma once

#include "kernel/kelkblk.hpp"
#include "objects/kelmtrep.hpp"

#include <cstdint>
#include <iosfwd>

// A Rep's block is kept for reuse when it is freed (KelSmallBlocks): the caches make and
// free objects by the thousand.
template <class Rep>
struct KelDataRep : KelSmallBlockAllocated {
    std::uint32_t _count = 1;
    bool _dirty = false;

    static void Deallocate(Rep*& rep)
    {
        delete rep;
        rep = nullptr;
    }
};

template <class Rep>
class KelDataHandle {
    using Shared = KelSharedRep<Rep>;

public:
    // A fresh Rep, every member null.
    KelDataHandle() : _rep(new Rep) {}
    // A fresh Rep holding value (a key), its null flag from the value.
    template <class T>
    KelDataHandle(T Rep::*member, bool Rep::*isNull, T const& value) : _rep(Shared::New(member, isNull, value))
    {
    }
    // Shares other's Rep; a released other fails "_pRep != 0".
    KelDataHandle(KelDataHandle const& other) : _rep(Shared::Share(other.Get())) {}
    ~KelDataHandle()
    {
        if (_rep) Release();
    }
    KelDataHandle& operator=(KelDataHandle const&) = delete;

    // The Rep; fails "_pRep != 0" (without going on) for a released handle.
    Rep& Get() const { return Shared::Get(_rep, Rep::site); }
    // Drops this handle's reference; the handle is released afterwards.
    void Release() { Shared::Release(_rep, Rep::site); }
    // Drops this handle's reference (if it holds one) and takes a fresh Rep.
    void Renew()
    {
        if (_rep) Release();
        _rep = new Rep;
    }
    std::uint32_t Count() const { return Shared::Count(_rep); }

    // Assignment of a level without base levels: requires "_pRep != 0", then shares
    // other's Rep (nothing for self-assignment).
    void Assign(KelDataHandle const& other, bool self) { Shared::Assign(_rep, other._rep, self, Rep::site); }
    // The steps of a derived level's assignment, around its base level's: Require first,
    // Take after.
    void Require() const { Shared::Require(_rep, Rep::site); }
    void Take(KelDataHandle const& other, bool self) { Shared::Take(_rep, other._rep, self, Rep::site); }
    // Reports `failed`, the text of a violated invariant condition, if there is one.
    void Check(char const* failed) const { Shared::Check(failed, Rep::site); }

    // A setter: stores value, its null flag from the value, and marks the level dirty.
    template <class T>
    void Set(T Rep::*member, bool Rep::*isNull, T const& value)
    {
        Shared::Set(Get(), member, isNull, value);
    }
    void SetNull(bool Rep::*isNull, bool value) { Shared::SetNull(Get(), isNull, value); }

private:
    Rep* _rep;
};

// One level's handle and what a level does with it: the base of the two below, and of
// the log records (objects/kelmtadm.hpp), which have a single level.
template <class Derived, class Rep>
class KelDataPart {
public:
    // The number of handles sharing this level's Rep.
    std::uint32_t RefCount() const { return _pRep.Count(); }

protected:
    KelDataPart() = default;
    template <class T>
    KelDataPart(T Rep::*member, bool Rep::*isNull, T const& value) : _pRep(member, isNull, value)
    {
    }
    // Shares other's Rep.
    KelDataPart(KelDataPart const& other) = default;
    // Shares other's Rep (self-assignment changes nothing), then checks the invariant.
    // The class's own copy constructor and assignment are the implicit ones, which call these.
    KelDataPart& operator=(KelDataPart const& other)
    {
        Assign(static_cast<Derived const&>(other), &other == this);
        return *this;
    }
    ~KelDataPart() = default;

    // Drops this handle's reference; the Rep is destroyed with its last one.
    void Release() { _pRep.Release(); }
    Rep& R() const { return _pRep.Get(); }
    template <class T>
    void Set(T Rep::*member, bool Rep::*isNull, T const& value)
    {
        _pRep.Set(member, isNull, value);
    }
    void SetNull(bool Rep::*isNull, bool value) { _pRep.SetNull(isNull, value); }
    // The value of a member that its accessor requires not to be null: a null one fails
    // `condition` (reported from the class's own file) and is returned all the same.
    template <class T>
    T const& Required(T Rep::*member, bool Rep::*isNull, char const* condition) const
    {
        Rep const& r = R();
        if (r.*isNull) KelContract::Fail(KelContractKind::Require, condition, Rep::site.file, Rep::site.line);
        return r.*member;
    }
    // Assignment of a root level (self: other is this object): shares other's Rep
    // (self-assignment changes nothing), then checks the invariant.
    void Assign(Derived const& other, bool self)
    {
        _pRep.Assign(HandleOf(other), self);
        CheckSelf();
    }
    // Reports Derived's violated invariant condition, if there is one.
    void CheckSelf() { _pRep.Check(static_cast<Derived&>(*this)._assert_invariant()); }
    static KelDataHandle<Rep> const& HandleOf(Derived const& other)
    {
        return static_cast<KelDataPart const&>(other)._pRep;
    }

    KelDataHandle<Rep> _pRep;
};

// The root level of the data object Derived, whose state is Rep.
template <class Derived, class Rep>
class KelDataObject : public KelDataPart<Derived, Rep> {
    using Part = KelDataPart<Derived, Rep>;

public:
    // The objects' blocks are kept for reuse (KelSmallBlocks), freed with the object's own size.
    static void* operator new(std::size_t bytes) { return KelSmallBlocks::Allocate(bytes); }
    static void operator delete(void* block, std::size_t bytes) noexcept { KelSmallBlocks::Free(block, bytes); }

    // Drops this handle's reference; the Rep is destroyed with its last one.
    virtual ~KelDataObject() = default;

    // Every member as "keyword=value" lines indented by level (null members as "<null>").
    virtual void StreamKeywordDelimited(std::ostream& os, int level) const = 0;
    // The object has been written: no change is pending any more.
    virtual void MarkClean() { Part::R()._dirty = false; }
    // Marks the object deleted (or not); the caches then treat it as absent.
    virtual void MarkDeleted(bool deleted = true) { Part::R()._deleted = deleted; }
    virtual bool IsDeleted() const { return Part::R()._deleted; }
    virtual bool IsDirty() const { return Part::R()._dirty; }

protected:
    KelDataObject() = default;
    template <class T>
    KelDataObject(T Rep::*member, bool Rep::*isNull, T const& value) : Part(member, isNull, value)
    {
    }
    KelDataObject(KelDataObject const& other) = default;
    KelDataObject& operator=(KelDataObject const& other) = default;
};

// A level of the data object Derived over its base level Base, whose own state is Rep.
// It is dirty while it or Base is; MarkClean() cleans Base first, then itself.
template <class Derived, class Base, class Rep>
class KelDataLevel : public Base, public KelDataPart<Derived, Rep> {
    using Part = KelDataPart<Derived, Rep>;

public:
    void MarkClean() override
    {
        Base::MarkClean();
        R()._dirty = false;
    }
    bool IsDirty() const override { return R()._dirty || Base::IsDirty(); }
    using Part::RefCount;

protected:
    KelDataLevel() = default;
    template <class T>
    KelDataLevel(T Rep::*member, bool Rep::*isNull, T const& value) : Base(), Part(member, isNull, value)
    {
    }
    KelDataLevel(KelDataLevel const& other) = default;
    // Requires "_pRep != 0", assigns the Base part, then shares other's Rep
    // (self-assignment changes nothing) and checks this level's invariant.
    KelDataLevel& operator=(KelDataLevel const& other)
    {
        Assign(static_cast<Derived const&>(other), &other == this);
        return *this;
    }

    void Assign(Derived const& other, bool self)
    {
        _pRep.Require();
        Base::operator=(other);
        _pRep.Take(Part::HandleOf(other), self);
        Part::CheckSelf();
    }

    using Part::_pRep;
    using Part::R;
    using Part::Release;
    using Part::Set;
    using Part::Required;
    using Part::SetNull;
};
