// KEL_SERVER: the row record of the server table as its accessor binds it, one public
// member per column with a 16-bit null indicator (-1 null, 0 present) after each
// nullable column. The long description is held through a shared LOB handle.
//
// A plain value: copies share the handles of their columns. The default constructor
// gives the buffer the accessor fills when it selects: 16-byte OIDs, kind 0, empty texts
// with room for their limits, every indicator -1 and a null description.
#pragma once

#include "db/keldb.hpp"
#include "db/kellob.hpp"
#include "kernel/kelkbin.hpp"
#include "kernel/kelkblk.hpp"
#include "kernel/kelkfun.hpp"
#include "kernel/kelkstr.hpp"
#include "kernel/kelmsvid.hpp"

#include <cstdint>
#include <iosfwd>

template <class R>
class KelDBRowDef;

struct KEL_SERVER : KelSmallBlockAllocated {
    using Description = KelLOBAccess<KelString, KelDatabase::Server, KelDBLobLocator>;

    KelBinary _oid;
    std::int32_t _kind;          // KelSvrKind::Type
    KelString _serverName;       // at most 8
    KelString _systemName;       // at most 8
    KelString _systemGroupName;  // at most 8
    KelBinary _systemOid;
    std::int16_t _iSystemOid;
    Description _description;
    std::int16_t _iDescription;
    KelBinary _lockholderOid;  // the person who holds this server locked
    std::int16_t _iLockholderOid;
    KelString _lockholderName;  // at most 32
    std::int16_t _iLockholderName;

    // The one description of the table and this row (db/keldrdef.hpp): columns, members,
    // widths.
    static KelDBRowDef<KEL_SERVER> const& Definition();

    KEL_SERVER();
    KEL_SERVER(KEL_SERVER const&) = default;
    KEL_SERVER& operator=(KEL_SERVER const&) = default;
    ~KEL_SERVER() = default;

    // Kind, name, system and group, the key of the server cache.
    KelServerID Key() const { return KelServerID(_kind, _serverName, _systemName, _systemGroupName); }
    void PrintMembers(std::ostream& os) const;
    // Requires the key texts present and every present text within its limit, in column
    // order; the managers check each row they build to write.
    void CheckLimits() const;
};

template <>
struct KelTypeName<KEL_SERVER> {
    static constexpr char const* value = "KEL_SERVER";
};
