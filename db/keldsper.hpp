// KEL_PERSON: the row record of the person table as its accessor binds it, one public
// member per column with a 16-bit null indicator (-1 null, 0 present) after each
// nullable column. The long description is held through a shared LOB handle.
//
// A plain value: copies share the handles of their columns. The default constructor
// gives the buffer the accessor fills when it selects: a 16-byte OID, empty texts with
// room for their limits, every indicator -1 and a null description.
#pragma once

#include "db/keldb.hpp"
#include "db/kellob.hpp"
#include "kernel/kelkbin.hpp"
#include "kernel/kelkblk.hpp"
#include "kernel/kelkfun.hpp"
#include "kernel/kelkstr.hpp"

#include <cstdint>
#include <iosfwd>

template <class R>
class KelDBRowDef;

struct KEL_PERSON : KelSmallBlockAllocated {
    using Description = KelLOBAccess<KelString, KelDatabase::Person, KelDBLobLocator>;

    KelBinary _oid;
    KelString _userId;       // at most 32; the key
    KelString _systemGroup;  // at most 8
    std::int16_t _iSystemGroup;
    KelString _firstName;  // at most 32
    std::int16_t _iFirstName;
    KelString _lastName;  // at most 32
    std::int16_t _iLastName;
    Description _description;
    std::int16_t _iDescription;
    KelBinary _lockholderOid;  // the person who holds this person locked
    std::int16_t _iLockholderOid;
    KelString _lockholderName;  // at most 32
    std::int16_t _iLockholderName;

    // The one description of the table and this row (db/keldrdef.hpp): columns, members,
    // widths.
    static KelDBRowDef<KEL_PERSON> const& Definition();

    KEL_PERSON();
    KEL_PERSON(KEL_PERSON const&) = default;
    KEL_PERSON& operator=(KEL_PERSON const&) = default;
    ~KEL_PERSON() = default;

    // The user name, the key of the person cache.
    KelString Key() const { return _userId; }
    void PrintMembers(std::ostream& os) const;
    // Requires the key texts present and every present text within its limit, in column
    // order; the managers check each row they build to write.
    void CheckLimits() const;
};

template <>
struct KelTypeName<KEL_PERSON> {
    static constexpr char const* value = "KEL_PERSON";
};
