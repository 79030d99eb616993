#include "CSV/UnicodeCodecs.h"

#include <cstring>

namespace csv::unicode {

namespace {

// Length of the well-formed sequence at p (within n bytes), 0 if it is
// ill-formed or cut off.
inline int wellFormedLength(const unsigned char* p, std::size_t n)
{
    const int length = sequenceLength(p[0]);
    if (length == 0 || static_cast<std::size_t>(length) > n)
        return 0;
    if (length == 1)
        return 1;
    if (p[1] < secondByteMin(p[0]) || p[1] > secondByteMax(p[0]))
        return 0;
    for (int i = 2; i < length; ++i)
        if ((p[i] & 0xC0) != 0x80)
            return 0;
    return length;
}

} // namespace

std::size_t validPrefixLength(const unsigned char* p, std::size_t n)
{
    std::size_t i = 0;
    while (i < n) {
        // Plain ASCII goes eight bytes at a time.
        while (i + 8 <= n) {
            std::uint64_t word;
            std::memcpy(&word, p + i, 8);
            if (word & 0x8080808080808080ULL)
                break;
            i += 8;
        }
        if (i >= n)
            break;
        if (p[i] < 0x80) {
            ++i;
            continue;
        }
        const int length = wellFormedLength(p + i, n - i);
        if (length == 0)
            break;
        i += static_cast<std::size_t>(length);
    }
    return i;
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
