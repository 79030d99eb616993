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
 * well-formed UTF-8 and, inside a field, only looks for the few bytes that
 * can end it (CR, LF and the delimiter's first byte unquoted, the quotation
 * mark quoted), copying everything between with one append. The tests hold
 * the two to the same results.
 */
#pragma once

#include "CSV/CSVReader.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace csv::detail {

// A source of text for RowParser: runs of whole, well-formed UTF-8 scalars.
class TextSource {
public:
    virtual ~TextSource() = default;
    // Makes the next non-empty run available in [begin, end); it stays valid
    // until the next call. Returns false when the source yields nothing this
    // time (the end, or an error it has reported itself).
    virtual bool fill(const char*& begin, const char*& end) = 0;
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

class RowParser {
public:
    RowParser(const CSVReader::Configuration& configuration, TextSource& source);
    // Reads one row into row (reusing its strings). False: no row.
    bool readRow(CSVReader::Row& row);

private:
    bool readField(std::string& field);  // true: the row ends after it
    bool readUnquoted(std::string& field);
    bool readQuoted(std::string& field);
    bool skipWhitespace();  // false: nothing came
    bool endLine();         // after CR or LF; always true
    bool atDelimiter() const;
    const char* findStop(const char* p, const char* e) const;
    void trim(std::string& field) const;
    bool refill();
    bool ensure() { return p_ != e_ || refill(); }

    TextSource& source_;
    bool trimFields_;
    ScalarSet whitespaces_;
    char delimiter_[4] {};
    std::size_t delimiterLength_ = 0;  // 0: the delimiter is no scalar and never matches
    std::array<bool, 256> stops_ {};   // bytes that may end an unquoted field
    std::uint64_t delimiterPattern_ = 0;
    bool plainDelimiter_ = false;  // one byte, no line break, no trimming
    const char* p_ = nullptr;
    const char* e_ = nullptr;
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
