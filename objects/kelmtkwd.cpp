#include "objects/kelmtkwd.hpp"

void KelKeywordWriter::Start(char const* keyword)
{
    _os << '\n';
    for (int i = 0; i < _level; ++i) _os << "  ";
    _os << keyword << '=';
}
