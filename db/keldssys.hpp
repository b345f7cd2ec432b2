// KEL_SYSTEM: the row record of the system table as its accessor binds it, one public
// member per column with a 16-bit null indicator (-1 null, 0 present) after each
// nullable column. The long description is held through a shared LOB handle.
//
// A plain value: copies share the handles of their columns. The default constructor
// gives the buffer the accessor fills when it selects: 16-byte OIDs, empty texts with
// room for their limits, every indicator -1 and a null description.
#pragma once

#include "db/keldb.hpp"
#include "db/kellob.hpp"
#include "kernel/kelkbin.hpp"
#include "kernel/kelkblk.hpp"
#include "kernel/kelkfun.hpp"
#include "kernel/kelkstr.hpp"
#include "kernel/kelmsyst.hpp"

#include <cstdint>
#include <iosfwd>

template <class R>
class KelDBRowDef;

struct KEL_SYSTEM : KelSmallBlockAllocated {
    using Description = KelLOBAccess<KelString, KelDatabase::System, KelDBLobLocator>;

    KelBinary _oid;
    KelString _systemName;       // at most 8
    KelString _systemGroupName;  // at most 8
    KelBinary _systemGroupOid;
    std::int16_t _iSystemGroupOid;
    KelString _queueManager;  // at most 32
    std::int16_t _iQueueManager;
    Description _description;
    std::int16_t _iDescription;
    KelBinary _lockholderOid;  // the person who holds this system locked
    std::int16_t _iLockholderOid;
    KelString _lockholderName;  // at most 32
    std::int16_t _iLockholderName;

    // The one description of the table and this row (db/keldrdef.hpp): columns, members,
    // widths.
    static KelDBRowDef<KEL_SYSTEM> const& Definition();

    KEL_SYSTEM();
    KEL_SYSTEM(KEL_SYSTEM const&) = default;
    KEL_SYSTEM& operator=(KEL_SYSTEM const&) = default;
    ~KEL_SYSTEM() = default;

    // The system's name and group, the key of the system cache.
    KelSystemID Key() const { return KelSystemID(_systemName, _systemGroupName); }
    void PrintMembers(std::ostream& os) const;
    // Requires the key texts present and every present text within its limit, in column
    // order; the managers check each row they build to write.
    void CheckLimits() const;
};

template <>
struct KelTypeName<KEL_SYSTEM> {
    static constexpr char const* value = "KEL_SYSTEM";
};
