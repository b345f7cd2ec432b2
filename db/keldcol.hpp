// Conversions between nullable row columns (a value and a 16-bit indicator: -1 null,
// 0 present) and object members (a value whose own IsNull() tells). Reading treats every
// negative indicator as null; writing stores exactly -1 or 0. Shared by the managers
// that turn rows into objects and back.
#pragma once

#include "kernel/kelkoid.hpp"
#include "kernel/kelkstr.hpp"
#include "kernel/kelmusid.hpp"

#include <cstdint>

inline std::int16_t KelIndicator(bool isNull) { return isNull ? std::int16_t(-1) : std::int16_t(0); }

inline KelString KelColumnText(KelString const& value, std::int16_t indicator)
{
    return indicator < 0 ? KelString() : value;
}

inline KelOID KelColumnOid(KelBinary const& value, std::int16_t indicator)
{
    return indicator < 0 ? KelOID() : KelOID(value);
}

template <class Lob>
KelString KelColumnLob(Lob const& lob, std::int16_t indicator)
{
    return indicator < 0 || lob.IsNull() ? KelString() : lob.Value();
}

inline void KelSetColumn(KelString& column, std::int16_t& indicator, KelString const& value)
{
    column = value;
    indicator = KelIndicator(value.IsNull());
}

inline void KelSetColumn(KelBinary& column, std::int16_t& indicator, KelOID const& value)
{
    indicator = KelIndicator(value.IsNull());
    column = value.IsNull() ? KelBinary(KelBinary::createEmpty, 16) : value.AsBinary();
}

template <class Lob>
void KelSetLobColumn(Lob& column, std::int16_t& indicator, KelString const& value)
{
    column = value.IsNull() ? Lob() : Lob(value);
    indicator = KelIndicator(value.IsNull());
}

// The lock-holder columns (OID and name) of a staff or topology row, read into an object
// and written from one. The holder's system group is not stored with the row.
template <class Object, class Row>
void KelReadLockholder(Object& object, Row const& row)
{
    object.SetLockholderOID(KelColumnOid(row._lockholderOid, row._iLockholderOid));
    KelString name = KelColumnText(row._lockholderName, row._iLockholderName);
    object.SetLockholder(name.IsNull() ? KelUserID() : KelUserID(name, KelString()));
}

template <class Row, class Object>
void KelWriteLockholder(Row& row, Object const& object)
{
    KelSetColumn(row._lockholderOid, row._iLockholderOid,
                 object.LockholderOIDIsNull() ? KelOID() : object.LockholderOID());
    KelSetColumn(row._lockholderName, row._iLockholderName,
                 object.LockholderIsNull() ? KelString() : object.Lockholder().Name());
}
