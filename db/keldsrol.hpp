// KEL_ROLE: the row record of the role table as its accessor binds it, one public member
// per column with a 16-bit null indicator (-1 null, 0 present) after each nullable
// column. The long description is held through a shared LOB handle.
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

struct KEL_ROLE : KelSmallBlockAllocated {
    using Description = KelLOBAccess<KelString, KelDatabase::Role, KelDBLobLocator>;

    KelBinary _oid;
    KelString _roleName;     // at most 32; the key
    KelString _coordinator;  // at most 32, a user name
    std::int16_t _iCoordinator;
    Description _description;
    std::int16_t _iDescription;
    KelBinary _lockholderOid;  // the person who holds this role locked
    std::int16_t _iLockholderOid;
    KelString _lockholderName;  // at most 32
    std::int16_t _iLockholderName;

    // The one description of the table and this row (db/keldrdef.hpp): columns, members,
    // widths.
    static KelDBRowDef<KEL_ROLE> const& Definition();

    KEL_ROLE();
    KEL_ROLE(KEL_ROLE const&) = default;
    KEL_ROLE& operator=(KEL_ROLE const&) = default;
    ~KEL_ROLE() = default;

    // The role name, the key of the role cache.
    KelString Key() const { return _roleName; }
    void PrintMembers(std::ostream& os) const;
    // Requires the key texts present and every present text within its limit, in column
    // order; the managers check each row they build to write.
    void CheckLimits() const;
};

template <>
struct KelTypeName<KEL_ROLE> {
    static constexpr char const* value = "KEL_ROLE";
};
