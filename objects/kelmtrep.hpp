// KelSharedRep<Rep>: the steps of sharing one Rep between handles, which KelDataHandle
// (objects/kelmtdat.hpp) takes for the data objects and the log records. A Rep's first
// member is the reference count `std::uint32_t _count` (1 when made) and it declares
// `static void Deallocate(Rep*&)` (destroys and frees whatever the count). Copies and
// assignments share the Rep, which is destroyed with its last handle, so handles that
// share a Rep are one object.
//
// A failed check names the handle's own source file: the handle passes its file and
// line as a KelCheckSite. The condition texts are those of the handles' contracts.
// Stateless; not thread-safe (the counts are plain), like the objects it serves.
#pragma once

#include "kernel/kelkcon.hpp"

#include <cstdint>

// Where a check stands in the handle's source: its __FILE__ and __LINE__.
struct KelCheckSite {
    char const* file;
    unsigned line;
};

template <class Rep>
struct KelSharedRep {
    // A new Rep (count 1) holding value, with its null flag from the value's nullness.
    template <class T>
    static Rep* New(T Rep::*member, bool Rep::*isNull, T const& value)
    {
        Rep* rep = new Rep;
        rep->*member = value;
        rep->*isNull = value.IsNull();
        return rep;
    }

    // The Rep; a released handle fails "_pRep != 0" without going on.
    static Rep& Get(Rep* rep, KelCheckSite site)
    {
        if (rep == 0) KelContract::FailHard(KelContractKind::Require, "_pRep != 0", site.file, site.line);
        return *rep;
    }

    // One more handle on rep (a copy constructor's share).
    static Rep* Share(Rep& rep)
    {
        ++rep._count;
        return &rep;
    }

    // Requires "_pRep != 0" (and goes on under the report-and-continue policy).
    static void Require(Rep const* rep, KelCheckSite site)
    {
        if (rep == 0) KelContract::Fail(KelContractKind::Require, "_pRep != 0", site.file, site.line);
    }

    // The sharing step of assignment: unless self, releases pRep, takes other (requiring
    // "_pRep != 0" of it) and counts the new handle.
    static void Take(Rep*& pRep, Rep* other, bool self, KelCheckSite site)
    {
        if (self) return;
        if (pRep) Release(pRep, site);
        pRep = other;
        Require(pRep, site);
        if (pRep) ++pRep->_count;
    }

    // Assignment of a handle without base levels: requires "_pRep != 0", then Take.
    static void Assign(Rep*& pRep, Rep* other, bool self, KelCheckSite site)
    {
        Require(pRep, site);
        Take(pRep, other, self, site);
    }

    // Requires "_pRep != 0"; drops the handle's reference (the Rep goes through
    // Rep::Deallocate with its last one); pRep becomes null.
    static void Release(Rep*& pRep, KelCheckSite site)
    {
        Require(pRep, site);
        if (pRep && --pRep->_count == 0) Rep::Deallocate(pRep);
        pRep = nullptr;
    }

    // The number of handles sharing rep; 0 for a released handle.
    static std::uint32_t Count(Rep const* rep) { return rep ? rep->_count : 0; }

    // Reports failed, the text of a violated invariant condition, if there is one.
    static void Check(char const* failed, KelCheckSite site)
    {
        if (failed) KelContract::Fail(KelContractKind::Invariant, failed, site.file, site.line);
    }

    // A setter: stores value, sets its null flag from the value and marks r dirty.
    template <class T>
    static void Set(Rep& r, T Rep::*member, bool Rep::*isNull, T const& value)
    {
        r.*member = value;
        r.*isNull = value.IsNull();
        r._dirty = true;
    }

    // A null flag's setter: stores the flag and marks r dirty.
    static void SetNull(Rep& r, bool Rep::*isNull, bool value)
    {
        r.*isNull = value;
        r._dirty = true;
    }
};
