#include "tools/kelatom/kelatout.hpp"

#include "kernel/kelkoid.hpp"
#include "kernel/kelkstr.hpp"
#include "kernel/kelktim.hpp"

#include <algorithm>
#include <cstdint>
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

namespace {
// The length of the well-formed UTF-8 sequence at text[i] (no overlong form, no
// surrogate, at most U+10FFFF) and its code point; 0 when the bytes there are not one.
std::size_t Utf8Sequence(std::string const& text, std::size_t i, std::uint32_t& code)
{
    auto const byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    unsigned char const lead = byte(i);
    std::size_t const length = lead < 0x80                    ? 1
                               : lead >= 0xC2 && lead <= 0xDF ? 2
                               : lead >= 0xE0 && lead <= 0xEF ? 3
                               : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                              : 0;
    if (length == 0 || i + length > text.size()) return 0;
    code = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
        code = (code << 6) | (byte(i + k) & 0x3F);
    }
    std::uint32_t const least[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < least[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
    return length;
}
}  // namespace

std::string Printable(std::string const& text, bool keepLineBreaks)
{
    static char const digits[] = "0123456789abcdef";
    std::string out;
    auto escape = [&](unsigned char b) { out += std::string{'\\', 'x', digits[b >> 4], digits[b & 0xF]}; };
    for (std::size_t i = 0; i < text.size();) {
        std::uint32_t code = 0;
        std::size_t const length = Utf8Sequence(text, i, code);
        bool const control =
            (code < 0x20 && !(keepLineBreaks && code == '\n')) || code == 0x7F || (code >= 0x80 && code <= 0x9F);
        if (length == 0) {
            escape(static_cast<unsigned char>(text[i++]));
        } else if (control) {
            for (std::size_t k = 0; k < length; ++k) escape(static_cast<unsigned char>(text[i + k]));
            i += length;
        } else {
            out.append(text, i, length);
            i += length;
        }
    }
    return out;
}

std::string Cell(Json const& value)
{
    if (value.is_null()) return "-";
    if (value.is_string()) return Printable(value.get<std::string>());
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
