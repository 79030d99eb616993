#include "CSV/UnicodeCodecs.h"

#include <bit>
#include <cstring>

namespace csv::unicode {

std::size_t validPrefixLength(const unsigned char* p, std::size_t n)
{
    std::size_t i = 0;
    for (;;) {
        // A run of ASCII: eight bytes at a time, then up to the first byte
        // with its high bit set.
        while (n - i >= 8) {
            std::uint64_t word;
            std::memcpy(&word, p + i, 8);
            const std::uint64_t high = word & 0x8080808080808080ULL;
            if (high == 0) {
                i += 8;
                continue;
            }
            if constexpr (std::endian::native == std::endian::little)
                i += static_cast<std::size_t>(std::countr_zero(high) >> 3);
            break;
        }
        while (i < n && p[i] < 0x80)
            ++i;
        // A run of multi-byte sequences (text in most scripts but Latin).
        while (i < n && p[i] >= 0x80) {
            const unsigned char lead = p[i];
            const std::size_t left = n - i;
            // Continuation bytes are 80..BF, i.e. below -64 as signed bytes.
            const auto continuation = [&](std::size_t k) { return static_cast<signed char>(p[i + k]) < -64; };
            if (lead < 0xE0) {
                if (lead < 0xC2 || left < 2 || !continuation(1))
                    return i;
                i += 2;
            } else if (lead < 0xF0) {
                if (left < 3 || p[i + 1] < secondByteMin(lead) || p[i + 1] > secondByteMax(lead)
                    || !continuation(2))
                    return i;
                i += 3;
            } else {
                if (lead > 0xF4 || left < 4 || p[i + 1] < secondByteMin(lead) || p[i + 1] > secondByteMax(lead)
                    || !continuation(2) || !continuation(3))
                    return i;
                i += 4;
            }
        }
        if (i >= n)
            return i;
    }
}

std::string repairedUTF8(std::string text)
{
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    std::size_t valid = validPrefixLength(p, n);
    if (valid == n)
        return text;
    std::string out;
    out.reserve(n + n / 8);
    std::size_t i = 0;
    for (;;) {
        out.append(text, i, valid - i);
        i = valid;
        if (i >= n)
            break;
        // Consume one maximal ill-formed subpart with the codec's rules.
        const unsigned char lead = p[i++];
        const int length = sequenceLength(lead);
        if (length > 1) {
            for (int k = 1; k < length && i < n; ++k) {
                const unsigned char lo = k == 1 ? secondByteMin(lead) : 0x80;
                const unsigned char hi = k == 1 ? secondByteMax(lead) : 0xBF;
                if (p[i] < lo || p[i] > hi)
                    break;
                ++i;
            }
        }
        appendUTF8(out, replacementCharacter);
        valid = i + validPrefixLength(p + i, n - i);
    }
    return out;
}

} // namespace csv::unicode
