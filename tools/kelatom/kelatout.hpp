// Output of the command-line tool: aligned tables for people, JSON for scripts. Every
// command builds its result as JSON; the table form is derived from it.
#pragma once

#include <nlohmann/json.hpp>

#include <iosfwd>
#include <string>
#include <vector>

class KelString;
class KelOID;
class KelTimeStamp;

namespace kelatom {

using Json = nlohmann::ordered_json;

// Texts for JSON: a null KelString or timestamp becomes null.
Json ToJson(KelString const& text);
Json ToJson(KelTimeStamp const& time, bool isNull);
std::string Hex(KelOID const& oid);

// JSON text indented by two, with bytes that are not UTF-8 replaced (U+FFFD).
std::string Dump(Json const& value);
// Prints rows (an array of flat objects) as a table with the given columns, each header
// padded to its widest value; an empty array prints "(none)".
void PrintTable(std::ostream& os, Json const& rows, std::vector<std::string> const& columns);
// One value as a table cell: strings as Printable gives them, null as "-", others in
// JSON form.
std::string Cell(Json const& value);
// Text safe for a terminal: control characters (C0, DEL, C1; line breaks too unless
// kept) and bytes that are not well-formed UTF-8 are written as \xNN, one per byte; all
// else as it is.
std::string Printable(std::string const& text, bool keepLineBreaks = false);

}  // namespace kelatom
