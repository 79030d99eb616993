#pragma once

#include "CSV/BinaryReader.h"
#include "CSV/CSVConstants.h"
#include "CSV/CSVError.h"
#include "CSV/Endian.h"
#include "CSV/InputStream.h"
#include "CSV/UnicodeCodecs.h"

#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace csv {

using Whitespaces = std::set<char32_t>;
// Any source of scalars: nothing means the end (or an error the source has
// reported elsewhere); asking again after nothing may yield more.
using ScalarIterator = std::function<std::optional<char32_t>()>;

// Parses CSV text into rows of string fields (UTF-8), one row per next().
// Malformed text never fails; see CSVParser.h for the exact grammar.
//
// The string reader takes its text as UTF-8. A std::string may hold bytes
// that are not UTF-8: each maximal ill-formed subpart is read as U+FFFD, as
// the platform's string decoding does, so the reader never fails on it.
class CSVReader {
public:
    using Row = std::vector<std::string>;
    // A row as views of its fields (see nextFields()).
    using Fields = std::span<const std::string_view>;
    // Marks the constructor that reads the caller's text without copying it.
    struct Borrowed {
        explicit Borrowed() = default;
    };
    static constexpr Borrowed borrowed {};

    static constexpr bool defaultHasHeaderRow = false;
    static constexpr bool defaultTrimFields = false;
    static constexpr char32_t defaultDelimiter = U',';
    // U+0009 and the space separators (general category Zs); no line breaks.
    static const Whitespaces& defaultWhitespaces();

    struct Configuration {
        bool hasHeaderRow;
        bool trimFields;
        char32_t delimiter;
        Whitespaces whitespaces;  // never holds the delimiter

        explicit Configuration(bool hasHeaderRow = defaultHasHeaderRow, bool trimFields = defaultTrimFields,
                               char32_t delimiter = defaultDelimiter,
                               Whitespaces whitespaces = defaultWhitespaces());
    };

    // Reads the text's scalars; a leading U+FEFF is an ordinary character.
    explicit CSVReader(std::string text, bool hasHeaderRow = defaultHasHeaderRow,
                       bool trimFields = defaultTrimFields, char32_t delimiter = defaultDelimiter,
                       Whitespaces whitespaces = defaultWhitespaces());
    // The same over text the caller owns: no copy is made, so the text must
    // stay alive and unchanged as long as the reader (a memory-mapped file,
    // say).
    CSVReader(Borrowed, std::string_view text, bool hasHeaderRow = defaultHasHeaderRow,
              bool trimFields = defaultTrimFields, char32_t delimiter = defaultDelimiter,
              Whitespaces whitespaces = defaultWhitespaces());
    // Reads a stream as UTF-8 (a UTF-8 byte-order mark is skipped).
    explicit CSVReader(std::shared_ptr<InputStream> stream, bool hasHeaderRow = defaultHasHeaderRow,
                       bool trimFields = defaultTrimFields, char32_t delimiter = defaultDelimiter,
                       Whitespaces whitespaces = defaultWhitespaces());
    CSVReader(std::shared_ptr<InputStream> stream, UTF8 codec, bool hasHeaderRow = defaultHasHeaderRow,
              bool trimFields = defaultTrimFields, char32_t delimiter = defaultDelimiter,
              Whitespaces whitespaces = defaultWhitespaces());
    CSVReader(std::shared_ptr<InputStream> stream, UTF16 codec, Endian endian = Endian::big,
              bool hasHeaderRow = defaultHasHeaderRow, bool trimFields = defaultTrimFields,
              char32_t delimiter = defaultDelimiter, Whitespaces whitespaces = defaultWhitespaces());
    CSVReader(std::shared_ptr<InputStream> stream, UTF32 codec, Endian endian = Endian::big,
              bool hasHeaderRow = defaultHasHeaderRow, bool trimFields = defaultTrimFields,
              char32_t delimiter = defaultDelimiter, Whitespaces whitespaces = defaultWhitespaces());
    // Over a reader that is already set up (e.g. with its own buffer size).
    CSVReader(std::shared_ptr<BinaryReader> reader, UTF8 codec, Configuration configuration);
    CSVReader(std::shared_ptr<BinaryReader> reader, UTF16 codec, Configuration configuration);
    CSVReader(std::shared_ptr<BinaryReader> reader, UTF32 codec, Configuration configuration);
    // Over any scalar source, one scalar at a time with the plain state
    // machine. Scalars that are not valid (surrogates, > U+10FFFF) are read
    // as U+FFFD.
    CSVReader(ScalarIterator iterator, Configuration configuration);

    CSVReader(CSVReader&&) noexcept;
    CSVReader& operator=(CSVReader&&) noexcept;
    ~CSVReader();

    // Reads the next row; clears currentRow() and returns nothing when the
    // input is exhausted (or an error ended it: see error()).
    const std::optional<Row>& next();
    // Reads the next row like next(), without making a string of each
    // field: the views stay valid until the next call of next() or
    // nextFields() (a field that is a piece of borrowed text as long as the
    // text). Nothing at the end, as next(). currentRow() then holds no row.
    std::optional<Fields> nextFields();
    const std::optional<Row>& currentRow() const;
    const std::optional<Row>& headerRow() const;
    // The last error that ended the input early; never cleared.
    const std::optional<CSVError>& error() const;
    // How many errors have been recorded: tells whether the nothing that
    // next() just returned came from an error (after a decoding error
    // reading goes on) or from the end.
    std::size_t errorCount() const;
    const Configuration& configuration() const;

    // The current row's field in the first header column named key; "" when
    // the row is shorter; nothing for an unknown key. Only for readers with
    // a header row, after next() returned a row: anything else stops the
    // program.
    std::optional<std::string> operator[](std::string_view key) const;

    // Range-for over the remaining rows.
    class RowIterator {
    public:
        using value_type = Row;
        using difference_type = std::ptrdiff_t;
        RowIterator() = default;
        explicit RowIterator(CSVReader* reader) : reader_(reader) { advance(); }
        const Row& operator*() const { return *reader_->currentRow(); }
        const Row* operator->() const { return &*reader_->currentRow(); }
        RowIterator& operator++()
        {
            advance();
            return *this;
        }
        void operator++(int) { advance(); }
        bool operator==(std::default_sentinel_t) const { return reader_ == nullptr; }

    private:
        void advance()
        {
            if (!reader_->next())
                reader_ = nullptr;
        }
        CSVReader* reader_ = nullptr;
    };
    RowIterator begin() { return RowIterator(this); }
    std::default_sentinel_t end() { return {}; }

    struct State;

private:
    explicit CSVReader(std::unique_ptr<State> state);
    std::unique_ptr<State> state_;
};

} // namespace csv
