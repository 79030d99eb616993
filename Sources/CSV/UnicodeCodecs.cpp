#include "CSV/UnicodeCodecs.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define CSV_VALIDATE_AVX2 1
#endif

namespace csv::unicode {

namespace {

// Whole-buffer check with a shift-based DFA: each byte's table entry holds
// the next state for every state, six bits apiece, so one step is a load, a
// shift and a mask with no data-dependent branch. Four independent runs
// over four parts of the buffer keep the processor busy.
enum DfaState : std::uint64_t {
    accept = 0, reject = 6, need1 = 12, need2 = 18, need3 = 24,
    afterE0 = 30, afterED = 36, afterF0 = 42, afterF4 = 48,
};

constexpr std::uint64_t next(std::uint64_t state, unsigned b)
{
    const bool continuation = b >= 0x80 && b <= 0xBF;
    switch (state) {
    case accept:
        if (b < 0x80) return accept;
        if (b >= 0xC2 && b <= 0xDF) return need1;
        if (b == 0xE0) return afterE0;
        if (b == 0xED) return afterED;
        if (b >= 0xE1 && b <= 0xEF) return need2;
        if (b == 0xF0) return afterF0;
        if (b >= 0xF1 && b <= 0xF3) return need3;
        if (b == 0xF4) return afterF4;
        return reject;
    case need1: return continuation ? accept : reject;
    case need2: return continuation ? need1 : reject;
    case need3: return continuation ? need2 : reject;
    case afterE0: return b >= 0xA0 && b <= 0xBF ? need1 : reject;
    case afterED: return b >= 0x80 && b <= 0x9F ? need1 : reject;
    case afterF0: return b >= 0x90 && b <= 0xBF ? need2 : reject;
    case afterF4: return b >= 0x80 && b <= 0x8F ? need2 : reject;
    default: return reject;
    }
}

constexpr std::array<std::uint64_t, 256> dfaTable = [] {
    std::array<std::uint64_t, 256> table {};
    for (unsigned b = 0; b < 256; ++b)
        for (std::uint64_t state = 0; state <= afterF4; state += 6)
            table[b] |= next(state, b) << state;
    return table;
}();

inline std::uint64_t step(std::uint64_t state, unsigned char b)
{
    return (dfaTable[b] >> state) & 63;
}

bool isWellFormed(const unsigned char* p, std::size_t n)
{
    constexpr int parts = 4;
    // Split at starts of sequences (a cut inside a sequence is caught as
    // an error and left to the exact check).
    std::size_t bounds[parts + 1] = {0};
    for (int k = 1; k < parts; ++k) {
        std::size_t b = n * static_cast<std::size_t>(k) / parts;
        for (int back = 0; back < 3 && b > bounds[k - 1] && (p[b] & 0xC0) == 0x80; ++back)
            --b;
        bounds[k] = b;
    }
    bounds[parts] = n;
    std::uint64_t states[parts] = {};
    std::size_t shortest = n;
    for (int k = 0; k < parts; ++k)
        shortest = std::min(shortest, bounds[k + 1] - bounds[k]);
    // 32 bytes of each part at a time: when all of them are plain ASCII
    // between whole sequences no step is needed; otherwise the parts step
    // in lockstep, which keeps them independent of each other.
    constexpr std::size_t block = 32;
    const std::size_t blocks = shortest / block;
    for (std::size_t b = 0; b < blocks; ++b) {
        std::uint64_t high = 0;
        for (int k = 0; k < parts; ++k) {
            high |= states[k];
            for (std::size_t j = 0; j < block; j += 8) {
                std::uint64_t word;
                std::memcpy(&word, p + bounds[k] + b * block + j, 8);
                high |= word & 0x8080808080808080ULL;
            }
        }
        if (high == 0)
            continue;
        for (std::size_t j = 0; j < block; ++j)
            for (int k = 0; k < parts; ++k)
                states[k] = step(states[k], p[bounds[k] + b * block + j]);
    }
    for (int k = 0; k < parts; ++k) {
        for (std::size_t i = bounds[k] + blocks * block; i < bounds[k + 1]; ++i)
            states[k] = step(states[k], p[i]);
        if (states[k] != accept)
            return false;
    }
    return true;
}

#ifdef CSV_VALIDATE_AVX2

/*
 * The same check 32 bytes at a time (Keiser and Lemire, "Validating UTF-8
 * in less than one instruction per byte"). Every fault shows in a pair of
 * neighbouring bytes, except a missing or extra third or fourth byte: three
 * table lookups on the nibbles of each pair flag the first kind, and a
 * continuation byte that is neither the second byte of a sequence nor
 * expected as its third or fourth flags the second. Sequences cut at the
 * end of the blocks are left to the DFA, which checks the tail from the
 * start of the last sequence.
 */
constexpr std::uint8_t tooShort = 1 << 0;   // a lead, then a lead or ASCII
constexpr std::uint8_t tooLong = 1 << 1;    // ASCII, then a continuation
constexpr std::uint8_t overlong3 = 1 << 2;  // E0 80..9F
constexpr std::uint8_t tooLarge = 1 << 3;   // F4 90..BF, F5.. 90..BF
constexpr std::uint8_t surrogate = 1 << 4;  // ED A0..BF
constexpr std::uint8_t overlong2 = 1 << 5;  // C0/C1 continuation
constexpr std::uint8_t tooLarge1000 = 1 << 6;  // F5.. 80..8F
constexpr std::uint8_t overlong4 = 1 << 6;  // F0 80..8F
constexpr std::uint8_t twoConts = 1 << 7;   // continuation, then a continuation
constexpr std::uint8_t carry = tooShort | tooLong | twoConts;

constexpr std::uint8_t byte1High[16] = {
    tooLong, tooLong, tooLong, tooLong, tooLong, tooLong, tooLong, tooLong,
    twoConts, twoConts, twoConts, twoConts,
    tooShort | overlong2,
    tooShort,
    tooShort | overlong3 | surrogate,
    tooShort | tooLarge | tooLarge1000 | overlong4,
};
constexpr std::uint8_t byte1Low[16] = {
    carry | overlong3 | overlong2 | overlong4,
    carry | overlong2,
    carry,
    carry,
    carry | tooLarge,
    carry | tooLarge | tooLarge1000,
    carry | tooLarge | tooLarge1000,
    carry | tooLarge | tooLarge1000,
    carry | tooLarge | tooLarge1000,
    carry | tooLarge | tooLarge1000,
    carry | tooLarge | tooLarge1000,
    carry | tooLarge | tooLarge1000,
    carry | tooLarge | tooLarge1000,
    carry | tooLarge | tooLarge1000 | surrogate,
    carry | tooLarge | tooLarge1000,
    carry | tooLarge | tooLarge1000,
};
constexpr std::uint8_t byte2High[16] = {
    tooShort, tooShort, tooShort, tooShort, tooShort, tooShort, tooShort, tooShort,
    tooLong | overlong2 | twoConts | overlong3 | tooLarge1000 | overlong4,
    tooLong | overlong2 | twoConts | overlong3 | tooLarge,
    tooLong | overlong2 | twoConts | surrogate | tooLarge,
    tooLong | overlong2 | twoConts | surrogate | tooLarge,
    tooShort, tooShort, tooShort, tooShort,
};

__attribute__((target("avx2"))) inline __m256i table(const std::uint8_t (&values)[16])
{
    return _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(values)));
}

// The bytes of input shifted by n places, the gap filled from the end of previous.
template <int n>
__attribute__((target("avx2"))) inline __m256i previous(__m256i input, __m256i prior)
{
    return _mm256_alignr_epi8(input, _mm256_permute2x128_si256(prior, input, 0x21), 16 - n);
}

__attribute__((target("avx2"))) bool isWellFormedAVX2(const unsigned char* p, std::size_t n)
{
    const __m256i high1 = table(byte1High);
    const __m256i low1 = table(byte1Low);
    const __m256i high2 = table(byte2High);
    const __m256i nibble = _mm256_set1_epi8(0x0F);
    const __m256i highBits = _mm256_set1_epi8(static_cast<char>(0x80));
    const __m256i zero = _mm256_setzero_si256();
    // A lead byte among the last three that needs more bytes than are left.
    const __m256i incompleteLimit = _mm256_setr_epi8(
        -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1,
        -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1,
        static_cast<char>(0xF0 - 1), static_cast<char>(0xE0 - 1), static_cast<char>(0xC0 - 1));

    __m256i error = zero;
    __m256i prior = zero;
    __m256i incomplete = zero;
    std::size_t i = 0;
    for (; n - i >= 32; i += 32) {
        const __m256i input = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + i));
        if (_mm256_testz_si256(input, highBits)) {
            error = _mm256_or_si256(error, incomplete);
            incomplete = zero;
            prior = input;
            continue;
        }
        const __m256i prev1 = previous<1>(input, prior);
        const __m256i a = _mm256_shuffle_epi8(high1, _mm256_and_si256(_mm256_srli_epi16(prev1, 4), nibble));
        const __m256i b = _mm256_shuffle_epi8(low1, _mm256_and_si256(prev1, nibble));
        const __m256i c = _mm256_shuffle_epi8(high2, _mm256_and_si256(_mm256_srli_epi16(input, 4), nibble));
        const __m256i special = _mm256_and_si256(_mm256_and_si256(a, b), c);
        const __m256i third = _mm256_subs_epu8(previous<2>(input, prior), _mm256_set1_epi8(0xE0 - 0x80));
        const __m256i fourth = _mm256_subs_epu8(previous<3>(input, prior), _mm256_set1_epi8(0xF0 - 0x80));
        const __m256i expected = _mm256_and_si256(_mm256_or_si256(third, fourth), highBits);
        error = _mm256_or_si256(error, _mm256_xor_si256(expected, special));
        incomplete = _mm256_subs_epu8(input, incompleteLimit);
        prior = input;
    }
    if (!_mm256_testz_si256(error, error))
        return false;
    // The rest from the start of the sequence holding the last bytes checked.
    std::size_t j = i >= 3 ? i - 3 : 0;
    for (int back = 0; j > 0 && (p[j] & 0xC0) == 0x80; ++back, --j)
        if (back == 3)
            return false;  // four continuation bytes in a row
    std::uint64_t state = accept;
    for (; j < n; ++j)
        state = step(state, p[j]);
    return state == accept;
}

#endif

bool wellFormed(const unsigned char* p, std::size_t n)
{
#ifdef CSV_VALIDATE_AVX2
    static const bool avx2 = __builtin_cpu_supports("avx2");
    if (avx2)
        return isWellFormedAVX2(p, n);
#endif
    return isWellFormed(p, n);
}

} // namespace

std::size_t validPrefixLength(const unsigned char* p, std::size_t n)
{
    // Large inputs are nearly always well-formed, but for a sequence cut off
    // at the end (a stream buffer): check them fast, and find the exact
    // place of a fault only when there is one.
    if (n >= 4096) {
        std::size_t whole = n;
        std::size_t k = n - 1;
        while (k > n - 4 && (p[k] & 0xC0) == 0x80)
            --k;
        if (static_cast<std::size_t>(sequenceLength(p[k])) > n - k)
            whole = k;
        if (wellFormed(p, whole))
            return whole;
    }
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

std::size_t illFormedLength(const unsigned char* p, std::size_t n)
{
    const unsigned char lead = p[0];
    const int length = sequenceLength(lead);
    std::size_t i = 1;
    for (int k = 1; k < length && i < n; ++k) {
        const unsigned char lo = k == 1 ? secondByteMin(lead) : 0x80;
        const unsigned char hi = k == 1 ? secondByteMax(lead) : 0xBF;
        if (p[i] < lo || p[i] > hi)
            break;
        ++i;
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
        i += illFormedLength(p + i, n - i);
        appendUTF8(out, replacementCharacter);
        valid = i + validPrefixLength(p + i, n - i);
    }
    return out;
}

} // namespace csv::unicode
