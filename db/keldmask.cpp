#include "db/keldmask.hpp"

#include <algorithm>
#include <cctype>
#include <vector>

namespace {

int HexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Percent-decoding where it is well formed; other bytes stay as they are.
std::string PercentDecoded(std::string const& text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && HexDigit(text[i + 1]) >= 0 && HexDigit(text[i + 2]) >= 0) {
            out += static_cast<char>(HexDigit(text[i + 1]) * 16 + HexDigit(text[i + 2]));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

void AddSecret(std::vector<std::string>& secrets, std::string const& secret)
{
    if (secret.empty()) return;
    secrets.push_back(secret);
    std::string const decoded = PercentDecoded(secret);
    if (decoded != secret && !decoded.empty()) secrets.push_back(decoded);
}

// The password of every "scheme://user:PASSWORD@" in text. The user information ends at
// the last "@" before the query, or else at the last "@" of the URL: a password may
// hold a raw "@", "/" or "?", and masking too much is harmless.
void UrlPasswords(std::string const& text, std::vector<std::string>& secrets)
{
    for (std::size_t scheme = text.find("://"); scheme != std::string::npos; scheme = text.find("://", scheme + 3)) {
        std::size_t const begin = scheme + 3;
        std::size_t end = begin;
        while (end < text.size() && !std::isspace(static_cast<unsigned char>(text[end])) && text[end] != '"' &&
               text.compare(end, 3, "://") != 0)
            ++end;
        std::string const url = text.substr(begin, end - begin);
        std::size_t at = url.rfind('@', url.find('?'));
        if (at == std::string::npos) at = url.rfind('@');
        if (at == std::string::npos) continue;
        std::size_t const colon = url.find(':');
        if (colon == std::string::npos || colon >= at) continue;
        AddSecret(secrets, url.substr(colon + 1, at - colon - 1));
    }
}

// The value of every "password=" (a conninfo setting or a URL query parameter); a quoted
// conninfo value counts as written and as unquoted.
void SettingPasswords(std::string const& text, std::vector<std::string>& secrets)
{
    static std::string const keyword = "password";
    for (std::size_t at = text.find(keyword); at != std::string::npos; at = text.find(keyword, at + 1)) {
        if (at > 0 && (std::isalnum(static_cast<unsigned char>(text[at - 1])) || text[at - 1] == '_')) continue;
        std::size_t i = at + keyword.size();
        while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
        if (i >= text.size() || text[i] != '=') continue;
        ++i;
        while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
        if (i < text.size() && text[i] == '\'') {
            std::string unquoted;
            std::size_t j = i + 1;
            for (; j < text.size() && text[j] != '\''; ++j) {
                if (text[j] == '\\' && j + 1 < text.size()) ++j;
                unquoted += text[j];
            }
            AddSecret(secrets, text.substr(i + 1, j - i - 1));
            AddSecret(secrets, unquoted);
        } else {
            std::size_t j = i;
            while (j < text.size() && !std::isspace(static_cast<unsigned char>(text[j])) && text[j] != '&' &&
                   text[j] != '\'' && text[j] != '"')
                ++j;
            AddSecret(secrets, text.substr(i, j - i));
        }
    }
}

}  // namespace

std::string KelDBMaskPasswords(std::string const& text, std::string const& name)
{
    std::vector<std::string> secrets;
    for (std::string const* source : {&name, &text}) {
        UrlPasswords(*source, secrets);
        SettingPasswords(*source, secrets);
    }
    // Longest first, so that a password that holds another is masked whole.
    std::sort(secrets.begin(), secrets.end(),
              [](std::string const& a, std::string const& b) { return a.size() > b.size(); });
    std::string out = text;
    for (std::string const& secret : secrets) {
        for (std::size_t at = out.find(secret); at != std::string::npos; at = out.find(secret, at)) {
            out.replace(at, secret.size(), KEL_DB_PASSWORD_MASK);
            at += std::string(KEL_DB_PASSWORD_MASK).size();
        }
    }
    return out;
}
