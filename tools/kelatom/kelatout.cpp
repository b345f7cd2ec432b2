#include "tools/kelatom/kelatout.hpp"

#include "kernel/kelkoid.hpp"
#include "kernel/kelkstr.hpp"
#include "kernel/kelktim.hpp"

#include <algorithm>
#include <ostream>
#include <sstream>

namespace kelatom {

Json ToJson(KelString const& text) { return text.IsNull() ? Json(nullptr) : Json(text.Str()); }

Json ToJson(KelTimeStamp const& time, bool isNull)
{
    return isNull || time.IsNull() ? Json(nullptr) : Json(time.AsVsqString().Str());
}

std::string Hex(KelOID const& oid)
{
    std::ostringstream os;
    os << oid;
    return os.str();
}

std::string Dump(Json const& value)
{
    // Stored texts may hold any bytes: those that are not UTF-8 become U+FFFD, so the
    // output is always valid JSON and printing never fails on data.
    return value.dump(2, ' ', false, Json::error_handler_t::replace);
}

std::string Cell(Json const& value)
{
    if (value.is_null()) return "-";
    if (value.is_string()) return value.get<std::string>();
    if (value.is_array()) {
        std::string out;
        for (auto const& v : value) out += (out.empty() ? "" : ";") + Cell(v);
        return out;
    }
    return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

void PrintTable(std::ostream& os, Json const& rows, std::vector<std::string> const& columns)
{
    if (rows.empty()) {
        os << "(none)\n";
        return;
    }
    std::vector<std::size_t> width(columns.size());
    for (std::size_t c = 0; c < columns.size(); ++c) {
        width[c] = columns[c].size();
        for (auto const& row : rows) width[c] = std::max(width[c], Cell(row.value(columns[c], Json())).size());
    }
    auto line = [&](auto const& cellOf) {
        std::string text;
        for (std::size_t c = 0; c < columns.size(); ++c) {
            std::string cell = cellOf(c);
            text += cell;
            if (c + 1 < columns.size()) text += std::string(width[c] - cell.size() + 2, ' ');
        }
        os << text << '\n';
    };
    line([&](std::size_t c) { return columns[c]; });
    line([&](std::size_t c) { return std::string(width[c], '-'); });
    for (auto const& row : rows) line([&](std::size_t c) { return Cell(row.value(columns[c], Json())); });
}

}  // namespace kelatom
