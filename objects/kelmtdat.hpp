// KelDataRep<Rep> and KelDataHandle<Rep>: the mechanics that the staff and topology data
// objects (persons, roles, domains, servers, systems and the systems' base levels) share.
//
// What every such object promises: it is a handle, and copies and assignments share its
// Rep, so that handles that share a Rep are one object. Each member may be null and has a
// null flag (true: null) that must equal the member's IsNull(); assignment checks it.
// Setters store a value, set its flag from the value and mark the object dirty until
// MarkClean() (its manager calls that after a write). Not thread-safe.
//
// How, one level of an object at a time: A level's Rep derives from
// KelDataRep<Rep> (the reference count first, the dirty flag) and names the source file
// of its class in `static KelCheckSite const site`; the class holds the level as
// `KelDataHandle<Rep> _pRep`. The handle shares its Rep between copies, drops its
// reference when destroyed (the Rep goes with its last one), and offers the steps of
// assignment, the invariant check and the setters as KelSharedRep (objects/kelmtrep.hpp)
// describes them; every failed check names the class's own file. The class keeps its
// members, accessors, invariant texts and keyword text. Not thread-safe.
#pragma once

#include "objects/kelmtrep.hpp"

#include <cstdint>

template <class Rep>
struct KelDataRep {
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
