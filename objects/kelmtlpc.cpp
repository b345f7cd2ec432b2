#include "objects/kelmtlpc.hpp"

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
    std::size_t read = 0;
    auto given = parameters.begin();
    KelString::Tokenizer tokens(joined, ";", true, true);
    for (KelString token = tokens.Next(); !token.IsNull(); token = tokens.Next(), ++read)
        if (read >= number || token != *given++) return "the message parameters would not read back as given";
    if (read != number)
        return number == 1 ? "message parameter 1 is empty and alone; a list of one empty text reads back as no "
                             "parameter"
                           : "the message parameters would not read back as given";
    return std::string();
}
