#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace csv {

// What one decode step produced.
struct DecodingResult {
    enum class Kind { scalarValue, emptyInput, error };
    Kind kind;
    char32_t scalar = 0;

    static DecodingResult value(char32_t c) { return {Kind::scalarValue, c}; }
    static DecodingResult empty() { return {Kind::emptyInput, 0}; }
    static DecodingResult failure() { return {Kind::error, 0}; }
};

// The codecs pull code units through a callable returning
// std::optional<CodeUnit> (nothing = end of input). An ill-formed sequence
// consumes its maximal subpart; the unit that proved it ill-formed is kept
// for the next call, so no well-formed text is ever lost.

struct UTF8 {
    using CodeUnit = std::uint8_t;
    static constexpr int width = 8;

    template <class Next>
    DecodingResult decode(Next&& next);
    bool hasPendingUnit() const { return hasPending_; }

private:
    // A plain pair rather than std::optional: GCC's -O3 flow analysis takes
    // an optional's payload for uninitialised here.
    CodeUnit pending_ = 0;
    bool hasPending_ = false;
};

struct UTF16 {
    using CodeUnit = std::uint16_t;
    static constexpr int width = 16;

    template <class Next>
    DecodingResult decode(Next&& next);
    bool hasPendingUnit() const { return hasPending_; }

private:
    // A plain pair rather than std::optional: GCC's -O3 flow analysis takes
    // an optional's payload for uninitialised here.
    CodeUnit pending_ = 0;
    bool hasPending_ = false;
};

struct UTF32 {
    using CodeUnit = std::uint32_t;
    static constexpr int width = 32;

    template <class Next>
    DecodingResult decode(Next&& next);
    bool hasPendingUnit() const { return false; }
};

namespace unicode {

inline constexpr char32_t replacementCharacter = 0xFFFD;

constexpr bool isScalar(char32_t c) { return c < 0xD800 || (c > 0xDFFF && c <= 0x10FFFF); }

// Appends the UTF-8 form of c (U+FFFD for a value that is no scalar).
inline void appendUTF8(std::string& out, char32_t c)
{
    if (!isScalar(c))
        c = replacementCharacter;
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        const char b[2] = {static_cast<char>(0xC0 | (c >> 6)), static_cast<char>(0x80 | (c & 0x3F))};
        out.append(b, 2);
    } else if (c < 0x10000) {
        const char b[3] = {static_cast<char>(0xE0 | (c >> 12)), static_cast<char>(0x80 | ((c >> 6) & 0x3F)),
                           static_cast<char>(0x80 | (c & 0x3F))};
        out.append(b, 3);
    } else {
        const char b[4] = {static_cast<char>(0xF0 | (c >> 18)), static_cast<char>(0x80 | ((c >> 12) & 0x3F)),
                           static_cast<char>(0x80 | ((c >> 6) & 0x3F)), static_cast<char>(0x80 | (c & 0x3F))};
        out.append(b, 4);
    }
}

inline std::string toUTF8(char32_t c)
{
    std::string s;
    appendUTF8(s, c);
    return s;
}

// Length of the UTF-8 sequence a lead byte starts, 0 for a byte that starts none.
constexpr int sequenceLength(std::uint8_t lead)
{
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 0;
}

// The allowed range of the second byte after a lead byte (later bytes are
// always 80..BF). This is what rules out overlong forms, surrogates and
// values above U+10FFFF.
constexpr std::uint8_t secondByteMin(std::uint8_t lead)
{
    return lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
}
constexpr std::uint8_t secondByteMax(std::uint8_t lead)
{
    return lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
}

// Decodes the well-formed sequence starting at p (the caller knows it is one).
inline char32_t decodeValid(const unsigned char* p, int length)
{
    switch (length) {
    case 1: return p[0];
    case 2: return (char32_t(p[0] & 0x1F) << 6) | (p[1] & 0x3F);
    case 3: return (char32_t(p[0] & 0x0F) << 12) | (char32_t(p[1] & 0x3F) << 6) | (p[2] & 0x3F);
    default:
        return (char32_t(p[0] & 0x07) << 18) | (char32_t(p[1] & 0x3F) << 12) | (char32_t(p[2] & 0x3F) << 6)
            | (p[3] & 0x3F);
    }
}

// Length of the longest prefix of [p, p+n) made of complete, well-formed
// UTF-8 sequences. Stops before an ill-formed or truncated sequence.
std::size_t validPrefixLength(const unsigned char* p, std::size_t n);

// Length of the maximal ill-formed subpart at the start of [p, p+n), which
// must not begin with a well-formed sequence: what one U+FFFD replaces.
std::size_t illFormedLength(const unsigned char* p, std::size_t n);

// The text with every maximal ill-formed subpart replaced by U+FFFD (the
// text itself when it is already well-formed).
std::string repairedUTF8(std::string text);

} // namespace unicode

// --- codec bodies ---

template <class Next>
DecodingResult UTF8::decode(Next&& next)
{
    const std::optional<CodeUnit> first = hasPending_ ? std::optional<CodeUnit>(pending_) : next();
    hasPending_ = false;
    if (!first)
        return DecodingResult::empty();
    const CodeUnit lead = *first;
    const int length = unicode::sequenceLength(lead);
    if (length == 1)
        return DecodingResult::value(lead);
    if (length == 0)
        return DecodingResult::failure();
    unsigned char bytes[4] = {lead, 0, 0, 0};
    for (int i = 1; i < length; ++i) {
        const std::optional<CodeUnit> unit = next();
        if (!unit)
            return DecodingResult::failure();  // truncated at the end
        const CodeUnit lo = i == 1 ? unicode::secondByteMin(lead) : 0x80;
        const CodeUnit hi = i == 1 ? unicode::secondByteMax(lead) : 0xBF;
        if (*unit < lo || *unit > hi) {
            pending_ = *unit;  // not part of the bad subpart: decode it next time
            hasPending_ = true;
            return DecodingResult::failure();
        }
        bytes[i] = *unit;
    }
    return DecodingResult::value(unicode::decodeValid(bytes, length));
}

template <class Next>
DecodingResult UTF16::decode(Next&& next)
{
    const std::optional<CodeUnit> first = hasPending_ ? std::optional<CodeUnit>(pending_) : next();
    hasPending_ = false;
    if (!first)
        return DecodingResult::empty();
    const CodeUnit u = *first;
    if (u < 0xD800 || u > 0xDFFF)
        return DecodingResult::value(u);
    if (u >= 0xDC00)
        return DecodingResult::failure();  // lone low surrogate
    const std::optional<CodeUnit> second = next();
    if (!second)
        return DecodingResult::failure();
    if (*second < 0xDC00 || *second > 0xDFFF) {
        pending_ = *second;
        hasPending_ = true;
        return DecodingResult::failure();
    }
    return DecodingResult::value(0x10000 + ((char32_t(u) - 0xD800) << 10) + (char32_t(*second) - 0xDC00));
}

template <class Next>
DecodingResult UTF32::decode(Next&& next)
{
    const std::optional<CodeUnit> unit = next();
    if (!unit)
        return DecodingResult::empty();
    if (!unicode::isScalar(*unit))
        return DecodingResult::failure();
    return DecodingResult::value(*unit);
}

} // namespace csv
