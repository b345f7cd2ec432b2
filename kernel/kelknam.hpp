// Named trace switches and run-time database types: the levels, categories and
// components that the library's trace records use, and the type codes that the database
// kernel reports. The numbers are the trace's and the caches' interface and do not
// change; a name stands for exactly one of them.
//
// KelTraceNames turns the lower-case names into their numbers (for options such as
// `kelatom --trace level=flow,components=cache+rows`); it knows every name below.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace KelTraceLevel {
constexpr long Always = 0;    // the identification string, raise of an invalid case
constexpr long Database = 1;  // raise of a database error
constexpr long Lookup = 2;    // raise of a not-found exception of an OID lookup
constexpr long Flow = 3;      // control flow of the caches, raise of their exceptions
constexpr long Detail = 9;    // counts and row and object dumps
}  // namespace KelTraceLevel

namespace KelTraceCategory {
constexpr unsigned long Flow = 0x1;
constexpr unsigned long Raise = 0x2;
constexpr unsigned long Count = 0x20;
constexpr unsigned long Ident = 0x40;
constexpr unsigned long Dump = 0x400;
}  // namespace KelTraceCategory

namespace KelTraceComponent {
constexpr unsigned long Kernel = 0x1;
constexpr unsigned long Database = 0x4;
constexpr unsigned long Rows = 0x8;    // rows of the managers, lookups that find nothing
constexpr unsigned long Cache = 0x10;  // the object caches
}  // namespace KelTraceComponent

struct KelDBType {
    enum Type : std::int32_t {
        None = 0,
        Oracle = 111,
        SQLite = 140,
        PostgreSQL = 150,
    };
};

namespace KelTraceNames {
// The number of a level name ("always", "database", "lookup", "flow", "detail").
std::optional<long> Level(std::string const& name);
// The mask of a category name ("flow", "raise", "count", "ident", "dump").
std::optional<unsigned long> Category(std::string const& name);
// The mask of a component name ("kernel", "database", "rows", "cache").
std::optional<unsigned long> Component(std::string const& name);
}  // namespace KelTraceNames
