// Helpers shared by the row records: the default column values the accessors fill
// when they select, and the printed form of PrintMembers.
//
// Printed form: a line end before each item, "this=" and the row's address in
// lower-case hexadecimal, then "label=value" per value column. A nullable column whose
// indicator is exactly -1 prints its bare label; any other indicator (-2 included)
// counts as present. OIDs print as hexadecimal text, null handles as "<null>", numbers
// in decimal.
#pragma once

#include "kernel/kelkbin.hpp"
#include "kernel/kelkstr.hpp"

#include <cstdint>
#include <ostream>

// A default OID column: 16 zero bytes.
inline KelBinary KelEmptyOid() { return KelBinary(KelBinary::createEmpty, 16); }
// A default text column: empty, not null, with room for limit characters.
inline KelString KelEmptyText(std::int32_t limit) { return KelString(KelString::createEmpty, limit); }

// Line end, "this=", the address in hexadecimal; the stream is back in decimal after it.
inline void KelPrintRowAddress(std::ostream& os, void const* row)
{
    os << std::endl << "this=" << std::hex << reinterpret_cast<unsigned long>(row) << std::dec;
}

// A column without an indicator: line end, label, value.
template <class V>
void KelPrintColumn(std::ostream& os, char const* label, V const& value)
{
    os << std::endl << label << value;
}

// A nullable column: the bare label when its indicator is -1.
template <class V>
void KelPrintColumn(std::ostream& os, char const* label, V const& value, std::int16_t indicator)
{
    os << std::endl << label;
    if (indicator != -1) os << value;
}
