#include "objects/kelmtlpc.hpp"

#include <cstring>

void KelAppendStoredParameters(KelString const& text, KelSystemLogRecord::Parameters& parameters)
{
    if (text.IsNull() || text.Length() == 0) return;
    char const* const bytes = text.C_str();
    std::int32_t const length = text.Length();
    for (std::int32_t start = 0;;) {
        void const* found = std::memchr(bytes + start, ';', static_cast<std::size_t>(length - start));
        std::int32_t const stop = found ? static_cast<std::int32_t>(static_cast<char const*>(found) - bytes) : length;
        parameters.Append(KelString(bytes + start, stop - start));
        if (!found) return;
        start = stop + 1;
    }
}

std::string KelMessageParametersProblem(KelSystemLogRecord::Parameters const& parameters)
{
    std::size_t number = 0;
    KelString joined(KelString::createEmpty, 0);
    for (KelString const& parameter : parameters) {
        ++number;
        std::string const which = "message parameter " + std::to_string(number);
        if (parameter.IsNull()) return which + " is null; it would read back as an empty text";
        if (parameter.Str().find(';') != std::string::npos)
            return which + " contains ';', which separates the stored parameters; it would read back split";
        if (number > 1) joined |= ";";
        joined |= parameter;
    }
    // What remains is a lone empty parameter: its text is empty, which reads back as none.
    // Checked by the round trip itself, so any other difference is caught too.
    KelSystemLogRecord::Parameters read;
    KelAppendStoredParameters(joined, read);
    std::size_t const count = read.Size();
    for (std::size_t i = 0; i < count && i < number; ++i)
        if (read[i] != parameters[i]) return "the message parameters would not read back as given";
    if (count != number)
        return number == 1 ? "message parameter 1 is empty and alone; a list of one empty text reads back as no "
                             "parameter"
                           : "the message parameters would not read back as given";
    return std::string();
}
