// KEL_DOMAIN: the row record of the domain table as its accessor binds it: the OID, the
// domain name and the long description, held through a shared LOB handle, with its
// 16-bit null indicator (-1 null, 0 present).
//
// A plain value: copies share the handles of their columns. The default constructor
// gives the buffer the accessor fills when it selects: a 16-byte OID, an empty name with
// room for 32 characters, indicator -1 and a null description.
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

struct KEL_DOMAIN : KelSmallBlockAllocated {
    using Description = KelLOBAccess<KelString, KelDatabase::Domain, KelDBLobLocator>;

    KelBinary _oid;
    KelString _domainName;  // at most 32; the key
    Description _description;
    std::int16_t _iDescription;

    // The one description of the table and this row (db/keldrdef.hpp): columns, members,
    // widths.
    static KelDBRowDef<KEL_DOMAIN> const& Definition();

    KEL_DOMAIN();
    KEL_DOMAIN(KEL_DOMAIN const&) = default;
    KEL_DOMAIN& operator=(KEL_DOMAIN const&) = default;
    ~KEL_DOMAIN() = default;

    // The domain name, the key of the domain cache.
    KelString Key() const { return _domainName; }
    void PrintMembers(std::ostream& os) const;
    // Requires the key texts present and every present text within its limit, in column
    // order; the managers check each row they build to write.
    void CheckLimits() const;
};

template <>
struct KelTypeName<KEL_DOMAIN> {
    static constexpr char const* value = "KEL_DOMAIN";
};
