#include "CSV/CSVParser.h"

#include <algorithm>
#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define CSV_PARSER_AVX2 1
#endif

namespace csv::detail {

using unicode::decodeValid;
using unicode::sequenceLength;

// --- ScalarSet ---

ScalarSet::ScalarSet(const Whitespaces& scalars) : empty_(scalars.empty())
{
    for (const char32_t c : scalars) {
        if (c < 128)
            ascii_[c >> 6] |= std::uint64_t(1) << (c & 63);
        else
            wide_.push_back(c);  // std::set iterates in order: stays sorted
    }
}

bool ScalarSet::containsWide(char32_t c) const
{
    return std::binary_search(wide_.begin(), wide_.end(), c);
}

// --- RowParser ---

namespace {

// A quotation mark that is no piece of the input (it stays where it is, so
// a field may hold a view of it).
constexpr char quoteMark = '"';

} // namespace

// The first byte in [p, e) that may end an unquoted field: CR, LF or the
// delimiter's first byte. Eight bytes at a time: a zero byte in w ^ pattern
// marks the delimiter, a byte below 0x0E marks CR or LF (and a few control
// characters, which the caller just takes as text). The lowest marked byte
// of such a mask is always a true one.
const char* RowParser::findStop(const char* p, const char* e) const
{
    if constexpr (std::endian::native == std::endian::little) {
        constexpr std::uint64_t ones = 0x0101010101010101ULL;
        constexpr std::uint64_t highs = 0x8080808080808080ULL;
        const std::uint64_t delimiter = delimiterPattern_;
        while (e - p >= 8) {
            std::uint64_t w;
            std::memcpy(&w, p, 8);
            const std::uint64_t d = w ^ delimiter;
            const std::uint64_t found = (((d - ones) & ~d) | ((w - ones * 0x0E) & ~w)) & highs;
            if (found)
                return p + (std::countr_zero(found) >> 3);
            p += 8;
        }
    }
    while (p != e && !stops_[static_cast<unsigned char>(*p)])
        ++p;
    return p;
}

// --- the scan of the plain case ---

namespace {

// Bit i set: p[i] is the delimiter, a quotation mark, CR or LF.
inline std::uint64_t specialMask64(const char* p, char delimiter)
{
    std::uint64_t mask = 0;
#if defined(__SSE2__)
    const __m128i d = _mm_set1_epi8(delimiter);
    const __m128i quote = _mm_set1_epi8('"');
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    for (int k = 0; k < 4; ++k) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * k));
        const __m128i hit = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, d), _mm_cmpeq_epi8(v, quote)),
                                         _mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, lf)));
        mask |= std::uint64_t(static_cast<std::uint16_t>(_mm_movemask_epi8(hit))) << (16 * k);
    }
#else
    for (int k = 0; k < 64; ++k) {
        const char c = p[k];
        if (c == delimiter || c == '"' || c == '\r' || c == '\n')
            mask |= std::uint64_t(1) << k;
    }
#endif
    return mask;
}

// The same for the last bytes of a run, fewer than 64.
[[gnu::noinline]] std::uint64_t specialMaskTail(const char* p, const char* e, char delimiter)
{
    const auto left = static_cast<std::size_t>(e - p);
    char padded[64] = {};
    std::memcpy(padded, p, left);
    return specialMask64(padded, delimiter) & ((std::uint64_t(1) << left) - 1);
}

inline std::uint64_t specialMask(const char* p, const char* e, char delimiter)
{
    return e - p >= 64 ? specialMask64(p, delimiter) : specialMaskTail(p, e, delimiter);
}

inline BlockMasks blockMasksPortable(const char* p, char delimiter)
{
    BlockMasks masks {0, 0};
#if defined(__SSE2__)
    const __m128i d = _mm_set1_epi8(delimiter);
    const __m128i quote = _mm_set1_epi8('"');
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    for (int k = 0; k < 4; ++k) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * k));
        const __m128i separator
            = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, d), _mm_cmpeq_epi8(v, cr)), _mm_cmpeq_epi8(v, lf));
        masks.quotes |= std::uint64_t(static_cast<std::uint16_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, quote))))
            << (16 * k);
        masks.separators |= std::uint64_t(static_cast<std::uint16_t>(_mm_movemask_epi8(separator))) << (16 * k);
    }
#else
    for (int k = 0; k < 64; ++k) {
        const char c = p[k];
        masks.quotes |= std::uint64_t(c == '"') << k;
        masks.separators |= std::uint64_t(c == delimiter || c == '\r' || c == '\n') << k;
    }
#endif
    return masks;
}

#ifdef CSV_PARSER_AVX2
__attribute__((target("avx2"))) inline std::uint64_t bitsOf(__m256i low, __m256i high)
{
    return std::uint64_t(static_cast<std::uint32_t>(_mm256_movemask_epi8(low)))
        | std::uint64_t(static_cast<std::uint32_t>(_mm256_movemask_epi8(high))) << 32;
}

__attribute__((target("avx2"))) BlockMasks blockMasksAVX2(const char* p, char delimiter)
{
    const __m256i d = _mm256_set1_epi8(delimiter);
    const __m256i quote = _mm256_set1_epi8('"');
    const __m256i cr = _mm256_set1_epi8('\r');
    const __m256i lf = _mm256_set1_epi8('\n');
    const __m256i low = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
    const __m256i high = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 32));
    const __m256i lowSeparators
        = _mm256_or_si256(_mm256_or_si256(_mm256_cmpeq_epi8(low, d), _mm256_cmpeq_epi8(low, cr)),
                          _mm256_cmpeq_epi8(low, lf));
    const __m256i highSeparators
        = _mm256_or_si256(_mm256_or_si256(_mm256_cmpeq_epi8(high, d), _mm256_cmpeq_epi8(high, cr)),
                          _mm256_cmpeq_epi8(high, lf));
    return {bitsOf(_mm256_cmpeq_epi8(low, quote), _mm256_cmpeq_epi8(high, quote)),
            bitsOf(lowSeparators, highSeparators)};
}
#endif

// Bit i: an odd number of the bits 0..i of x are set.
inline std::uint64_t prefixParity(std::uint64_t x)
{
    x ^= x << 1;
    x ^= x << 2;
    x ^= x << 4;
    x ^= x << 8;
    x ^= x << 16;
    x ^= x << 32;
    return x;
}

} // namespace

RowParser::RowParser(const CSVReader::Configuration& configuration, TextSource& source)
    : source_(source), trimFields_(configuration.trimFields), whitespaces_(configuration.whitespaces)
{
    if (unicode::isScalar(configuration.delimiter)) {
        const std::string bytes = unicode::toUTF8(configuration.delimiter);
        delimiterLength_ = bytes.size();
        std::memcpy(delimiter_, bytes.data(), bytes.size());
        stops_[static_cast<unsigned char>(bytes[0])] = true;
    } else {
        delimiter_[0] = '\r';  // adds no stop of its own
    }
    stops_['\r'] = true;
    stops_['\n'] = true;
    delimiterPattern_ = 0x0101010101010101ULL * static_cast<unsigned char>(delimiter_[0]);
    plain_ = !trimFields_ && delimiterLength_ == 1 && delimiter_[0] != '\r' && delimiter_[0] != '\n'
        && delimiter_[0] != '"';
    for (const char c : {delimiter_[0], '"', '\r', '\n'})
        marks_[static_cast<unsigned char>(c)] = true;
    blockMasks_ = blockMasksPortable;
#ifdef CSV_PARSER_AVX2
    if (__builtin_cpu_supports("avx2"))
        blockMasks_ = blockMasksAVX2;
#endif
}


void RowParser::rescan()
{
    base_ = p_;
    mask_ = specialMask(p_, e_, delimiter_[0]);
}

// Takes the next special byte after the last one taken; e_ when the run
// holds no more.
const char* RowParser::nextSpecial()
{
    while (mask_ == 0) {
        if (e_ - base_ <= 64) {
            base_ = e_;
            return e_;
        }
        base_ += 64;
        mask_ = specialMask(base_, e_, delimiter_[0]);
    }
    const char* s = base_ + std::countr_zero(mask_);
    mask_ &= mask_ - 1;
    return s;
}

// --- fields ---

void RowParser::append(const char* begin, const char* end)
{
    if (begin == end)
        return;
    const auto length = static_cast<std::size_t>(end - begin);
    if (!building_) {
        building_ = true;
        builtCopied_ = false;
        builtBegin_ = begin;
        builtLength_ = length;
        return;
    }
    if (!builtCopied_) {
        // Adjacent pieces of memory that stays put are one view.
        if (builtBegin_ + builtLength_ == begin) {
            builtLength_ += length;
            return;
        }
        built_.assign(builtBegin_, builtLength_);
        builtCopied_ = true;
    }
    built_.append(begin, length);
}

void RowParser::push(std::string_view field)
{
    if (count_ == fields_.size())
        fields_.resize(2 * fields_.size() + 16);
    fields_[count_++] = field;
}

void RowParser::emit(const char* begin, const char* end)
{
    if (!building_) {
        push(std::string_view(begin, static_cast<std::size_t>(end - begin)));
        return;
    }
    append(begin, end);
    emitBuilt();
}

void RowParser::emitBuilt()
{
    if (!building_) {
        push({});
        return;
    }
    building_ = false;
    if (!builtCopied_) {
        push(std::string_view(builtBegin_, builtLength_));
        return;
    }
    copied_.push_back({count_, buffer_.size(), built_.size()});
    buffer_.append(built_);
    push({});
}

void RowParser::keepRow()
{
    // Entries of copied_ for fields from kept_ on are its sorted tail.
    const std::size_t copiedBefore = copied_.size();
    std::size_t next = 0;
    while (next < copiedBefore && copied_[next].field < kept_)
        ++next;
    for (std::size_t i = kept_; i < count_; ++i) {
        if (next < copiedBefore && copied_[next].field == i) {
            ++next;
            continue;
        }
        if (!fields_[i].empty()) {
            copied_.push_back({i, buffer_.size(), fields_[i].size()});
            buffer_.append(fields_[i]);
        }
        fields_[i] = {};
    }
    kept_ = count_;
    if (building_ && !builtCopied_) {
        built_.assign(builtBegin_, builtLength_);
        builtCopied_ = true;
    }
}

void RowParser::trimBuilt()
{
    if (!building_ || whitespaces_.empty())
        return;
    const auto* data = reinterpret_cast<const unsigned char*>(builtCopied_ ? built_.data() : builtBegin_);
    const std::size_t size = builtCopied_ ? built_.size() : builtLength_;
    std::size_t end = size;
    while (end > 0) {
        std::size_t start = end - 1;
        while (start > 0 && (data[start] & 0xC0) == 0x80)
            --start;
        if (!whitespaces_.contains(decodeValid(data + start, static_cast<int>(end - start))))
            break;
        end = start;
    }
    std::size_t begin = 0;
    while (begin < end) {
        const int length = sequenceLength(data[begin]);
        if (!whitespaces_.contains(decodeValid(data + begin, length)))
            break;
        begin += static_cast<std::size_t>(length);
    }
    if (builtCopied_) {
        built_.resize(end);
        built_.erase(0, begin);
    } else {
        builtBegin_ += begin;
        builtLength_ = end - begin;
    }
}

// --- rows ---

bool RowParser::refill()
{
    if (!source_.stable())
        keepRow();
    const char* begin = nullptr;
    const char* end = nullptr;
    do {
        if (!source_.fill(begin, end))
            return false;
    } while (begin == end);  // the parser reads *p_ whenever p_ != e_
    p_ = begin;
    e_ = end;
    blockReady_ = false;
    if (plain_)
        rescan();
    return true;
}

bool RowParser::readRow()
{
    count_ = 0;
    copied_.clear();
    buffer_.clear();
    kept_ = 0;
    building_ = false;
    if (!ensure())
        return false;
    if (plain_)
        readRowPlain();
    else
        readRowGeneral();
    for (const Copied& c : copied_)
        fields_[c.field] = std::string_view(buffer_.data() + c.offset, c.length);
    return true;
}

bool RowParser::readRowPlain()
{
    if (readRowBlocks())
        return true;
    // The walk starts a field with a scalar at p_.
    if (p_ == e_ && !refill()) {
        push({});  // an empty last field
        return true;
    }
    rescan();
    return walkRow();
}

/*
 * Blocks: the plain case 64 bytes at a time, with few branches per field.
 *
 * In well-formed CSV every quotation mark either opens a quoted field (it
 * comes first in the field) or closes one (a delimiter, CR, LF or another
 * quotation mark follows it; "" inside quotes is a close and an open). Then
 * the parity of the quotation marks up to a byte says whether the byte is
 * inside quotes, the separators are the delimiters, CRs and LFs outside
 * quotes, and a field that starts with a quotation mark ends with one.
 * Each block is checked for exactly that before it is used: a quotation mark
 * inside an unquoted field or text after a closing one (which the table
 * reads otherwise) sends the rest of the row to the walk below, which
 * follows the table byte by byte. So does a field that runs past the end of
 * the run.
 */
bool RowParser::startBlock(const char* base, bool inside, bool startsField)
{
    const char delimiter = delimiter_[0];
    const std::ptrdiff_t left = e_ - base;
    BlockMasks masks;
    if (left >= 64) {
        masks = blockMasks_(base, delimiter);
    } else {
        char padded[64] = {};
        std::memcpy(padded, base, static_cast<std::size_t>(left));
        masks = blockMasks_(padded, delimiter);
        const std::uint64_t valid = (std::uint64_t(1) << left) - 1;
        masks.quotes &= valid;
        masks.separators &= valid;
    }
    const std::uint64_t quotes = masks.quotes;
    // Bit i: byte i is inside quotes, or opens them.
    const std::uint64_t parity = prefixParity(quotes) ^ (std::uint64_t(0) - inside);
    const std::uint64_t opening = quotes & parity;
    const std::uint64_t closing = quotes & ~parity;
    const std::uint64_t marks = quotes | masks.separators;
    const bool known = left > 64;  // the byte after the block is in the run
    const unsigned char next = known ? static_cast<unsigned char>(base[64]) : 0;
    const std::uint64_t before = (marks << 1) | (startsField || marks_[static_cast<unsigned char>(base[-1])]);
    const std::uint64_t after = (marks >> 1) | (std::uint64_t(known && marks_[next]) << 63);
    if (((opening & ~before) | (closing & ~after)) != 0)
        return false;
    blockBase_ = base;
    blockSeparators_ = masks.separators & ~parity;
    blockEscapes_ = closing & ((quotes >> 1) | (std::uint64_t(known && next == '"') << 63));
    blockInside_ = parity >> 63;
    blockReady_ = true;
    return true;
}

// A quoted field's text in [begin, end), each doubled quotation mark once
// (checked before: each mark inside is followed by its double), copied a
// run at a time. marks: the first marks of the doubles as bits from base,
// when the field lies in one block; otherwise 0 and they are searched for.
void RowParser::unescape(const char* begin, const char* end, const char* base, std::uint64_t marks)
{
    const std::size_t offset = buffer_.size();
    if (marks != 0) {
        for (; marks != 0; marks &= marks - 1) {
            const char* mark = base + std::countr_zero(marks);
            buffer_.append(begin, mark + 1);
            begin = mark + 2;
        }
    } else {
        while (const void* found = std::memchr(begin, '"', static_cast<std::size_t>(end - begin))) {
            const char* mark = static_cast<const char*>(found);
            buffer_.append(begin, mark + 1);
            begin = mark + 2;
        }
    }
    buffer_.append(begin, end);
    copied_.push_back({count_, offset, buffer_.size() - offset});
    push({});
}

bool RowParser::readRowBlocks()
{
    const char delimiter = delimiter_[0];
    const char* fieldStart = p_;
    if (!blockReady_ && !startBlock(fieldStart, false, true))
        return false;
    const char* e = e_;
    const char* base = blockBase_;
    std::uint64_t separators = blockSeparators_;
    // Doubled quotation marks not yet passed; bit 0 also stands for ones of
    // the current field in earlier blocks (it is below any separator).
    std::uint64_t escapes = blockEscapes_;
    std::string_view* out = fields_.data() + count_;
    std::string_view* outEnd = fields_.data() + fields_.size();
    const auto stop = [&] {
        p_ = fieldStart;
        count_ = static_cast<std::size_t>(out - fields_.data());
        blockReady_ = false;
        return false;
    };

    for (;;) {
        while (separators == 0) {
            if (e - base <= 64)
                return stop();  // the field runs past the end of the run: the walk takes it
            const bool escaped = escapes != 0;
            if (!startBlock(base + 64, blockInside_, false))
                return stop();
            base = blockBase_;
            separators = blockSeparators_;
            escapes = blockEscapes_ | escaped;
            if (fieldStart > base)  // the LF of a CR LF at the end of the last block
                separators &= ~((std::uint64_t(1) << (fieldStart - base)) - 1);
        }
        const std::uint64_t upTo = separators ^ (separators - 1);  // bits up to the separator's
        const char* s = base + std::countr_zero(separators);
        separators &= separators - 1;
        // Checked: a field that starts with a quotation mark ends with one.
        const bool quoted = *fieldStart == '"';
        const char* begin = fieldStart + quoted;
        const char* end = s - quoted;
        if ((escapes & upTo) != 0) {
            count_ = static_cast<std::size_t>(out - fields_.data());
            // Where the field began in an earlier block its marks are gone.
            unescape(begin, end, base, fieldStart >= base ? escapes & upTo : 0);
            out = fields_.data() + count_;
            outEnd = fields_.data() + fields_.size();
            escapes &= ~upTo;
        } else {
            if (out == outEnd) {
                const std::size_t count = static_cast<std::size_t>(out - fields_.data());
                fields_.resize(2 * count + 16);
                out = fields_.data() + count;
                outEnd = fields_.data() + fields_.size();
            }
            *out++ = std::string_view(begin, static_cast<std::size_t>(end - begin));
        }
        const char c = *s;
        fieldStart = s + 1;
        if (c == delimiter)
            continue;

        // The row ends.
        count_ = static_cast<std::size_t>(out - fields_.data());
        if (c == '\r') {
            if (fieldStart == e) {
                // An LF that belongs to the CR would come with the next run.
                p_ = fieldStart;
                blockReady_ = false;
                if (ensure() && *p_ == '\n')
                    ++p_;
                return true;
            }
            if (*fieldStart == '\n') {
                ++fieldStart;
                separators &= separators - 1;  // checked: the LF is the next separator
            }
        }
        p_ = fieldStart;
        blockBase_ = base;
        blockSeparators_ = separators;
        blockEscapes_ = escapes;
        return true;
    }
}

// The table for a one-byte delimiter without trimming, special byte by
// special byte: everything between them is text that is only ever viewed.
// The scan's state lives in locals here (members would be reloaded around
// every store of a field); it goes back to the members around each call
// that uses them, which only the rare cases make.
bool RowParser::walkRow()
{
    const char delimiter = delimiter_[0];
    const char* p = p_;
    const char* e = e_;
    const char* base = base_;
    std::uint64_t mask = mask_;
    std::size_t count = count_;
    std::string_view* fields = fields_.data();
    bool building = false;  // the field has pieces in the members' builder

    const auto save = [&] {
        p_ = p;
        base_ = base;
        mask_ = mask;
        count_ = count;
    };
    const auto load = [&] {
        p = p_;
        e = e_;
        base = base_;
        mask = mask_;
        count = count_;
        fields = fields_.data();
    };
    const auto next = [&]() -> const char* {
        while (mask == 0) {
            if (e - base <= 64) {
                base = e;
                return e;
            }
            base += 64;
            mask = specialMask(base, e, delimiter);
        }
        const char* s = base + std::countr_zero(mask);
        mask &= mask - 1;
        return s;
    };
    // The field ends with [begin, end).
    const auto finish = [&](const char* begin, const char* end) {
        if (!building && count < fields_.size()) {
            fields[count++] = std::string_view(begin, static_cast<std::size_t>(end - begin));
            return;
        }
        save();
        emit(begin, end);
        load();
        building = false;
    };
    // More of the field, then the next run; false: there is none.
    const auto carry = [&](const char* begin) {
        save();
        append(begin, e);
        p_ = e;
        const bool more = refill();
        if (!more)
            emitBuilt();
        load();
        building = true;
        return more;
    };
    // A delimiter was taken: the next field needs a scalar.
    const auto nextField = [&] {
        if (p != e)
            return true;
        save();
        const bool more = refill();
        if (!more)
            push({});  // an empty last field
        load();
        return more;
    };

    for (;;) {
        // FieldStart, with a byte at p.
        const char* begin = p;
        const char* s = next();
        if (s != begin || *s != '"') {
            // Unquoted; a quotation mark in it is text.
            for (;;) {
                if (s == e) {
                    if (!carry(begin))
                        break;
                    begin = p;
                    s = next();
                    continue;
                }
                const char c = *s;
                if (c == delimiter) {
                    finish(begin, s);
                    p = s + 1;
                    if (!nextField())
                        break;
                    goto fieldStart;
                }
                if (c == '\n' || c == '\r') {
                    finish(begin, s);
                    p = s + 1;
                    if (c == '\r')
                        goto afterCR;
                    break;
                }
                s = next();
            }
            save();
            return true;
        }

        // Quoted.
        begin = s + 1;
        p = begin;
        for (;;) {
            s = next();
            if (s == e) {
                if (!carry(begin)) {
                    save();
                    return true;  // unterminated: the field runs to the end
                }
                begin = p;
                continue;
            }
            if (*s != '"')
                continue;
            if (e - s > 1) {
                const char c = s[1];
                if (c == delimiter || c == '\n' || c == '\r') {
                    finish(begin, s);
                    next();
                    p = s + 2;
                    if (c == '\n') {
                        save();
                        return true;
                    }
                    if (c == '\r')
                        goto afterCR;
                    if (!nextField()) {
                        save();
                        return true;
                    }
                    goto fieldStart;
                }
                if (c == '"') {
                    // A doubled quotation mark: keep the first.
                    save();
                    append(begin, s + 1);
                    load();
                    building = true;
                    next();
                    begin = s + 2;
                }
                // Otherwise a lone quotation mark: it and what follows it
                // are text of the quoted field.
                continue;
            }
            // The quotation mark ends the run: what follows decides.
            save();
            append(begin, s);
            p_ = e;
            if (!refill()) {
                emitBuilt();
                return true;
            }
            const char c = *p_;
            if (c == '\n' || c == '\r') {
                emitBuilt();
                endLine();
                rescan();
                return true;
            }
            if (c == delimiter) {
                emitBuilt();
                ++p_;
                rescan();
                if (p_ == e_ && !refill()) {
                    push({});
                    return true;
                }
                load();
                building = false;
                goto fieldStart;
            }
            append(&quoteMark, &quoteMark + 1);
            if (c == '"')
                ++p_;
            rescan();
            load();
            building = true;
            begin = p;  // a lone quotation mark keeps what follows
        }
    fieldStart:;
    }

afterCR:
    // One LF that follows belongs to the CR.
    save();
    if (ensure() && *p_ == '\n') {
        nextSpecial();
        ++p_;
    }
    return true;
}

bool RowParser::readRowGeneral()
{
    for (;;) {
        const bool rowEnds = readField();
        emitBuilt();
        if (rowEnds)
            return true;
    }
}

bool RowParser::skipWhitespace()
{
    for (;;) {
        if (!ensure())
            return false;
        const auto* u = reinterpret_cast<const unsigned char*>(p_);
        const int length = sequenceLength(*u);
        if (!whitespaces_.contains(decodeValid(u, length)))
            return true;
        p_ += length;
    }
}

bool RowParser::atDelimiter() const
{
    if (delimiterLength_ == 1)
        return *p_ == delimiter_[0];
    return delimiterLength_ != 0 && static_cast<std::size_t>(e_ - p_) >= delimiterLength_
        && std::memcmp(p_, delimiter_, delimiterLength_) == 0;
}

bool RowParser::endLine()
{
    if (*p_++ == '\r' && ensure() && *p_ == '\n')
        ++p_;
    return true;
}

bool RowParser::readField()
{
    if (trimFields_ ? !skipWhitespace() : !ensure())
        return true;  // an empty last field
    if (*p_ == '"') {
        ++p_;
        return readQuoted();
    }
    return readUnquoted();
}

bool RowParser::readUnquoted()
{
    bool rowEnds;
    for (;;) {
        if (!ensure()) {
            rowEnds = true;
            break;
        }
        // Take the run of bytes that cannot end the field in one go.
        const char* q = findStop(p_, e_);
        append(p_, q);
        p_ = q;
        if (p_ == e_)
            continue;
        if (*p_ == '\r' || *p_ == '\n') {
            rowEnds = endLine();
            break;
        }
        if (atDelimiter()) {
            p_ += delimiterLength_;
            rowEnds = false;
            break;
        }
        // The lead byte of another scalar that shares the delimiter's lead
        // byte; its continuation bytes never stop the scan.
        append(p_, p_ + 1);
        ++p_;
    }
    if (trimFields_)
        trimBuilt();
    return rowEnds;
}

bool RowParser::readQuoted()
{
    for (;;) {
        if (!ensure())
            return true;  // unterminated: the field runs to the end
        const void* quote = std::memchr(p_, '"', static_cast<std::size_t>(e_ - p_));
        if (!quote) {
            append(p_, e_);
            p_ = e_;
            continue;
        }
        const char* q = static_cast<const char*>(quote);
        append(p_, q);
        p_ = q + 1;

        // After a quotation mark.
        if (trimFields_ ? !skipWhitespace() : !ensure())
            return true;
        if (*p_ == '\r' || *p_ == '\n')
            return endLine();
        if (atDelimiter()) {
            p_ += delimiterLength_;
            return false;
        }
        append(&quoteMark, &quoteMark + 1);
        if (*p_ == '"') {
            ++p_;
            continue;
        }
        // A lone quote is text; keep what follows it too.
        const int length = sequenceLength(static_cast<unsigned char>(*p_));
        append(p_, p_ + length);
        p_ += length;
    }
}

// --- SimpleRowParser ---

SimpleRowParser::SimpleRowParser(const CSVReader::Configuration& configuration, ScalarIterator iterator)
    : configuration_(configuration), iterator_(std::move(iterator))
{
}

std::optional<char32_t> SimpleRowParser::take()
{
    if (back_) {
        const char32_t c = *back_;
        back_.reset();
        return c;
    }
    std::optional<char32_t> c = iterator_();
    if (c && !unicode::isScalar(*c))
        c = unicode::replacementCharacter;
    return c;
}

bool SimpleRowParser::endAtCR()
{
    const std::optional<char32_t> c = take();
    if (c && *c != LF)
        back_ = c;
    return true;
}

bool SimpleRowParser::readRow(CSVReader::Row& row)
{
    std::optional<char32_t> c = take();
    if (!c)
        return false;
    const auto& ws = configuration_.whitespaces;
    row.clear();
    for (;;) {
        std::u32string field;
        bool rowEnds;
        if (configuration_.trimFields)
            while (c && ws.contains(*c))
                c = take();
        if (!c) {
            rowEnds = true;
        } else if (*c == DQUOTE) {
            rowEnds = readQuoted(field);
        } else {
            back_ = c;
            rowEnds = readUnquoted(field);
            if (configuration_.trimFields) {
                while (!field.empty() && ws.contains(field.back()))
                    field.pop_back();
                std::size_t n = 0;
                while (n < field.size() && ws.contains(field[n]))
                    ++n;
                field.erase(0, n);
            }
        }
        std::string text;
        for (const char32_t s : field)
            unicode::appendUTF8(text, s);
        row.push_back(std::move(text));
        if (rowEnds)
            return true;
        c = take();
    }
}

bool SimpleRowParser::readUnquoted(std::u32string& field)
{
    for (;;) {
        const std::optional<char32_t> c = take();
        if (!c)
            return true;
        if (*c == CR)
            return endAtCR();
        if (*c == LF)
            return true;
        if (*c == configuration_.delimiter)
            return false;
        field.push_back(*c);
    }
}

bool SimpleRowParser::readQuoted(std::u32string& field)
{
    for (;;) {
        std::optional<char32_t> c = take();
        if (!c)
            return true;
        if (*c != DQUOTE) {
            field.push_back(*c);
            continue;
        }
        // After a quotation mark.
        c = take();
        if (configuration_.trimFields)
            while (c && configuration_.whitespaces.contains(*c))
                c = take();
        if (!c)
            return true;
        if (*c == CR)
            return endAtCR();
        if (*c == LF)
            return true;
        if (*c == configuration_.delimiter)
            return false;
        field.push_back(DQUOTE);
        if (*c != DQUOTE)
            field.push_back(*c);
    }
}

} // namespace csv::detail
