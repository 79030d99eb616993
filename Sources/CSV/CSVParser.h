/*
 * The CSV grammar, as one state machine per row.
 *
 * Input is a sequence of Unicode scalars that may be interrupted: the source
 * yields "nothing" at the end of input and after an error it has recorded
 * (an undecodable byte, a failed read). Each "nothing" is consumed once and
 * acts as the end of input for the row being read; asking again continues
 * after it. A row starts only if its first scalar is there; otherwise the
 * reader returns no row.
 *
 *   state       input                        action                     next
 *   ----------  ---------------------------  -------------------------  ----------
 *   FieldStart  whitespace (trimming only)   skip                       FieldStart
 *   FieldStart  nothing                      field ""                   row ends
 *   FieldStart  "                            start quoted field         Quoted
 *   FieldStart  anything else                keep it, unquoted field    Unquoted
 *   Unquoted    nothing                      emit field                 row ends
 *   Unquoted    CR                           skip one LF if next; emit  row ends
 *   Unquoted    LF                           emit field                 row ends
 *   Unquoted    delimiter                    emit field                 FieldStart
 *   Unquoted    anything else, " included    append                     Unquoted
 *   Quoted      nothing                      emit field                 row ends
 *   Quoted      "                            -                          AfterQuote
 *   Quoted      anything else                append                     Quoted
 *   AfterQuote  whitespace (trimming only)   skip                       AfterQuote
 *   AfterQuote  nothing                      emit field                 row ends
 *   AfterQuote  CR                           skip one LF if next; emit  row ends
 *   AfterQuote  LF                           emit field                 row ends
 *   AfterQuote  delimiter                    emit field                 FieldStart
 *   AfterQuote  "                            append "                   Quoted
 *   AfterQuote  anything else                append " and it            Quoted
 *
 * Tests are made in the order of the lines: line breaks win over a
 * delimiter equal to CR or LF, and a quotation mark opens a quoted field
 * even when it is the delimiter. Trimming removes whitespace around a
 * field: before it, after a closing quote, and at both ends of an unquoted
 * field when it is emitted; never inside quotes. The whitespace set never
 * holds the delimiter, so a tab delimiter is not trimmed away.
 *
 * How this deviates from RFC 4180:
 *   - the delimiter is any one scalar, not only the comma;
 *   - a line ends at CR LF, a lone CR or a lone LF, also inside a row that
 *     began with another; a final line break adds no row, an empty line is a
 *     row with one empty field;
 *   - nothing is ever an error: an unterminated quote runs to the end of
 *     input, a quote inside an unquoted field is text, and text after a
 *     closing quote is kept (the lone quote becomes text and the field goes
 *     on as quoted);
 *   - rows may have different numbers of fields (one more than their
 *     delimiters outside quotes);
 *   - optional trimming of whitespace (U+0009 and the space separators).
 *
 * Two machines implement this table. SimpleRowParser is the table itself,
 * one scalar at a time. RowParser below is the fast one: it reads runs of
 * well-formed UTF-8 and only looks at the few bytes that can change the
 * state (the delimiter, the quotation mark, CR and LF), found 64 bytes at a
 * time as a bit mask. Fields are views: of the input where a field is one
 * piece of it, of a per-row buffer where the field had to be rewritten (a
 * doubled quotation mark, text cut by the end of a stream buffer). The tests
 * hold the two machines to the same results.
 */
#pragma once

#include "CSV/CSVReader.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace csv::detail {

// A source of text for RowParser: runs of whole, well-formed UTF-8 scalars.
class TextSource {
public:
    explicit TextSource(bool stable) : stable_(stable) {}
    virtual ~TextSource() = default;
    // Makes the next non-empty run available in [begin, end). Returns false
    // when the source yields nothing this time (the end, or an error it has
    // reported itself).
    virtual bool fill(const char*& begin, const char*& end) = 0;
    // True: every run stays valid as long as the source lives (text in
    // memory). False: a run is only valid until the next fill (a stream's
    // buffer), so the parser copies what it still needs before refilling.
    bool stable() const { return stable_; }

private:
    bool stable_;
};

// Membership in a set of scalars, fast for ASCII.
class ScalarSet {
public:
    explicit ScalarSet(const Whitespaces& scalars);
    bool contains(char32_t c) const
    {
        if (c < 128)
            return (ascii_[c >> 6] >> (c & 63)) & 1;
        return containsWide(c);
    }
    bool empty() const { return empty_; }

private:
    bool containsWide(char32_t c) const;
    std::array<std::uint64_t, 2> ascii_ {};
    std::vector<char32_t> wide_;
    bool empty_;
};

// The quotation marks, and the delimiters, CRs and LFs, of 64 bytes, one
// bit per byte.
struct BlockMasks {
    std::uint64_t quotes;
    std::uint64_t separators;
};

class RowParser {
public:
    RowParser(const CSVReader::Configuration& configuration, TextSource& source);
    // Reads one row. False: no row. The fields stay valid until the next
    // call (and, for views of the input, as long as the input).
    bool readRow();
    std::span<const std::string_view> fields() const { return {fields_.data(), count_}; }

private:
    bool readRowPlain();
    bool readRowBlocks();  // true: the row is complete; false: the walk goes on from p_
    bool walkRow();
    bool readRowGeneral();
    bool readField();  // true: the row ends after it
    bool readUnquoted();
    bool readQuoted();
    bool skipWhitespace();  // false: nothing came
    bool endLine();         // after CR or LF; always true
    bool atDelimiter() const;
    const char* findStop(const char* p, const char* e) const;
    bool refill();
    bool ensure() { return p_ != e_ || refill(); }

    // The scan for the bytes that matter in the plain case: mask_ holds the
    // positions, relative to base_, of the delimiters, quotation marks, CRs
    // and LFs of the 64 bytes from base_ (not past e_) not yet taken.
    const char* nextSpecial();
    void rescan();  // starts the scan at p_

    // Blocks of 64 bytes, for the plain case (see readRowBlocks).
    bool startBlock(const char* base, bool inside, bool afterSeparator);  // false: not plain here
    void unescape(const char* begin, const char* end, const char* base, std::uint64_t marks);

    // The field being built from several pieces.
    void append(const char* begin, const char* end);
    void emit(const char* begin, const char* end);  // the field ends with [begin, end)
    void emitBuilt();
    void push(std::string_view field);
    void keepRow();  // copies the row's views of the current run before it goes
    void trimBuilt();

    TextSource& source_;
    bool trimFields_;
    ScalarSet whitespaces_;
    char delimiter_[4] {};
    std::size_t delimiterLength_ = 0;  // 0: the delimiter is no scalar and never matches
    std::array<bool, 256> stops_ {};   // bytes that may end an unquoted field
    std::uint64_t delimiterPattern_ = 0;
    bool plain_ = false;  // one-byte delimiter that is no line break nor quote, no trimming
    const char* p_ = nullptr;
    const char* e_ = nullptr;
    const char* base_ = nullptr;
    std::uint64_t mask_ = 0;

    // The block from blockBase_, when blockReady_: bits not yet taken of the
    // delimiters, CRs and LFs outside quotes, and of the first marks of
    // doubled quotation marks; whether its end is inside quotes.
    BlockMasks (*blockMasks_)(const char* p, char delimiter);
    std::array<bool, 256> marks_ {};  // the delimiter, the quotation mark, CR and LF
    bool blockReady_ = false;
    const char* blockBase_ = nullptr;
    std::uint64_t blockSeparators_ = 0;
    std::uint64_t blockEscapes_ = 0;
    bool blockInside_ = false;

    // The row: views, and where some of them lie in buffer_ (an offset each,
    // made into a view when the row is complete: buffer_ may move before).
    struct Copied {
        std::size_t field;
        std::size_t offset;
        std::size_t length;
    };
    std::vector<std::string_view> fields_;  // count_ of them are the row's
    std::size_t count_ = 0;
    std::vector<Copied> copied_;
    std::size_t kept_ = 0;  // fields_ below this index are safe from a refill
    std::string buffer_;
    // The field being built: a view while its pieces are adjacent, else
    // copied into built_.
    bool building_ = false;
    bool builtCopied_ = false;
    const char* builtBegin_ = nullptr;
    std::size_t builtLength_ = 0;
    std::string built_;
};

// The table above, literally: one scalar at a time with a one-scalar
// look-back slot. Used for arbitrary scalar iterators and as the reference
// for RowParser.
class SimpleRowParser {
public:
    SimpleRowParser(const CSVReader::Configuration& configuration, ScalarIterator iterator);
    bool readRow(CSVReader::Row& row);

private:
    std::optional<char32_t> take();
    bool readUnquoted(std::u32string& field);
    bool readQuoted(std::u32string& field);
    bool endAtCR();

    const CSVReader::Configuration& configuration_;
    ScalarIterator iterator_;
    std::optional<char32_t> back_;
};

} // namespace csv::detail
