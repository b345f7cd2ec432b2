// KelString: a KelBinary holding text, always followed by a NUL in memory. Null differs
// from empty. Equality and order compare the bytes (case-sensitive, shorter prefix
// first; a null string orders before every other). Appending (operator|=) copies the
// representation when it is shared, so other handles never see the change.
#pragma once

#include "kernel/kelkbin.hpp"

#include <iosfwd>
#include <sstream>
#include <string>

class KelString : public KelBinary {
public:
    KelString() = default;
    // Text of len bytes, or up to the NUL when len is -1; a null pointer gives null.
    KelString(char const* text, std::int32_t len = -1, int = 1);
    KelString(std::string const& text);
    // An empty, non-null string with room for n characters.
    KelString(CreateEmpty, std::int32_t n);

    // REQUIRES: !IsNull(); when the failed check goes on, a null string is 0 long.
    std::int32_t Length() const;
    // REQUIRES: !IsNull().
    char const* C_str() const;
    // The text, or "" for a null string.
    std::string Str() const;

    KelString& operator|=(KelString const& other);
    KelString& operator|=(char const* text);

    // The text written into a string stream.
    static KelString FromBuffer(std::ostringstream const& buffer);

    friend bool operator==(KelString const& a, KelString const& b);
    friend bool operator!=(KelString const& a, KelString const& b) { return !(a == b); }
    friend bool operator<(KelString const& a, KelString const& b);

    // Splits a delimited list. With both flags true: an empty or null list yields no
    // token; otherwise every token in order, empty ones included ("a;;b" gives a, "", b).
    class Tokenizer {
    public:
        Tokenizer(KelString const& list, char const* delimiter, bool keepEmpty = true, bool trailing = true);
        ~Tokenizer();
        Tokenizer(Tokenizer const&) = delete;
        Tokenizer& operator=(Tokenizer const&) = delete;
        void SetList(KelString const& list);
        // The next token; a null string when none is left.
        KelString Next();

    private:
        KelString* _list;
        char _delimiter;
        [[maybe_unused]] char _zero;  // the zero byte that ends a one-character delimiter
        bool _keepEmpty;
        bool _trailing;
        std::int32_t _pos;
        bool _done;
    };

private:
    void Append(char const* text, std::int32_t n);
};

// Null prints "<null>", otherwise the text.
std::ostream& operator<<(std::ostream& os, KelString const& s);
