#pragma once

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Helpers shared by the CSV fuzz targets.
namespace fuzz {

// Stops with a message; libFuzzer saves the input as a crash.
[[noreturn]] inline void fail(const char* what)
{
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}

inline void check(bool condition, const char* what)
{
    if (!condition)
        fail(what);
}

// The scalars of well-formed UTF-8 text, or nothing when it is ill-formed.
inline std::optional<std::vector<char32_t>> decodeUTF8(std::string_view text)
{
    std::vector<char32_t> scalars;
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        std::size_t length = byte < 0x80 ? 1 : byte >= 0xC2 && byte <= 0xDF ? 2 : byte >= 0xE0 && byte <= 0xEF ? 3
                                             : byte >= 0xF0 && byte <= 0xF4 ? 4 : 0;
        if (length == 0 || i + length > text.size())
            return std::nullopt;
        char32_t c = length == 1 ? byte : byte & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return std::nullopt;
            c = (c << 6) | (next & 0x3F);
        }
        const char32_t minimum[] = {0, 0, 0x80, 0x800, 0x10000};
        if (c < minimum[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
            return std::nullopt;
        scalars.push_back(c);
        i += length;
    }
    return scalars;
}

inline bool isUTF8(std::string_view text) { return decodeUTF8(text).has_value(); }

// The text with every byte that is not part of well-formed UTF-8 replaced
// by '?'.
inline std::string wellFormed(std::string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        for (std::size_t length = 4; length >= 1; --length) {
            if (i + length <= text.size() && isUTF8(text.substr(i, length))) {
                out.append(text.substr(i, length));
                i += length;
                break;
            }
            if (length == 1) {
                out.push_back('?');
                ++i;
            }
        }
    }
    return out;
}

// Delimiters worth trying: ASCII, whitespace, line breaks, the quotation
// mark, and scalars of two, three and four UTF-8 bytes.
inline constexpr char32_t delimiters[] = {U',', U';', U'\t', U'|', U' ', U'\n', U'\r', U'"',
                                          U'\u00E9', U'\u3000', U'\u2192', U'\U0001F600', U'a', U'\0', U'\u00A0', U'#'};

} // namespace fuzz
