#include "CSV/CSVURL.h"

namespace csv {

namespace {

bool isAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isHex(char c) { return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

// unreserved, sub-delims, ':' and '@': what a path segment, query or
// fragment may hold besides '/', '?' and percent escapes.
bool isPathChar(char c)
{
    if (isAlpha(c) || isDigit(c))
        return true;
    switch (c) {
    case '-': case '.': case '_': case '~':
    case '!': case '$': case '&': case '\'': case '(': case ')':
    case '*': case '+': case ',': case ';': case '=':
    case ':': case '@':
        return true;
    default:
        return false;
    }
}

// Checks text made of `allowed` characters and well-formed percent escapes.
template <class Allowed>
bool isEncoded(std::string_view text, Allowed allowed)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%') {
            if (i + 2 >= text.size() || !isHex(text[i + 1]) || !isHex(text[i + 2]))
                return false;
            i += 2;
        } else if (!allowed(text[i])) {
            return false;
        }
    }
    return true;
}

bool isAuthority(std::string_view authority)
{
    if (const auto at = authority.rfind('@'); at != std::string_view::npos) {
        if (!isEncoded(authority.substr(0, at), [](char c) { return isPathChar(c) && c != '@'; }))
            return false;
        authority.remove_prefix(at + 1);
    }
    std::string_view host = authority;
    std::string_view port;
    if (!authority.empty() && authority.front() == '[') {
        const auto close = authority.find(']');
        if (close == std::string_view::npos)
            return false;
        host = authority.substr(1, close - 1);
        const std::string_view rest = authority.substr(close + 1);
        if (!rest.empty()) {
            if (rest.front() != ':')
                return false;
            port = rest.substr(1);
        }
        if (host.empty())
            return false;
        for (char c : host) {   // IPv6 or IPvFuture literal
            if (!isPathChar(c) || c == '@')
                return false;
        }
    } else {
        if (const auto colon = authority.rfind(':'); colon != std::string_view::npos) {
            host = authority.substr(0, colon);
            port = authority.substr(colon + 1);
        }
        if (!isEncoded(host, [](char c) { return isPathChar(c) && c != ':' && c != '@'; }))
            return false;
    }
    for (char c : port) {
        if (!isDigit(c))
            return false;
    }
    return true;
}

} // namespace

std::optional<URL> URL::parse(std::string_view text)
{
    if (text.empty())
        return std::nullopt;

    std::string_view rest = text;
    std::size_t schemeLength = 0;
    const auto schemeEnd = rest.find_first_of(":/?#");
    if (schemeEnd != std::string_view::npos && rest[schemeEnd] == ':') {
        // Before the first '/', '?' or '#', a colon ends the scheme; a
        // relative reference cannot have one there.
        if (schemeEnd == 0 || !isAlpha(rest[0]))
            return std::nullopt;
        for (std::size_t i = 1; i < schemeEnd; ++i) {
            const char c = rest[i];
            if (!isAlpha(c) && !isDigit(c) && c != '+' && c != '-' && c != '.')
                return std::nullopt;
        }
        schemeLength = schemeEnd;
        rest.remove_prefix(schemeEnd + 1);
    }

    if (rest.starts_with("//")) {
        rest.remove_prefix(2);
        const auto authorityEnd = rest.find_first_of("/?#");
        if (!isAuthority(rest.substr(0, authorityEnd)))
            return std::nullopt;
        rest.remove_prefix(authorityEnd == std::string_view::npos ? rest.size() : authorityEnd);
    }

    std::string_view fragment;
    if (const auto hash = rest.find('#'); hash != std::string_view::npos) {
        fragment = rest.substr(hash + 1);
        rest = rest.substr(0, hash);
    }
    const auto pathOrQuery = [](char c) { return isPathChar(c) || c == '/' || c == '?'; };
    if (!isEncoded(rest, pathOrQuery) || !isEncoded(fragment, pathOrQuery))
        return std::nullopt;
    return URL(std::string(text), schemeLength);
}

} // namespace csv
