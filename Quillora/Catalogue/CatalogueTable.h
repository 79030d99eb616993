// A catalogue as text: every row and column of the CSV as it was read, and
// the stations its rows carry.
//
// One reader for every source: a downloaded catalogue, My stations and any
// other local file. The text may be UTF-8 (with or without a byte-order
// mark) or UTF-16 / UTF-32 with a mark; text that does not decode is refused
// as a whole rather than read with replacement characters, so a rewrite can
// never lose what could not be read. The table keeps the rows that carry no
// station and the columns it does not know (a "uuid", notes), so writing it
// back loses nothing the user wrote; it also remembers the encoding, the
// delimiter, the line breaks and the final line break, which a rewrite
// keeps.
//
// The delimiter is whichever of comma, semicolon and tab the header row
// holds most of: spreadsheet programs in many European locales save "CSV"
// with semicolons, and "Unicode text" with tabs. Header names are matched
// without regard to case or surrounding spaces ("URL", " Title ").
//
// Pure values, no Qt objects: safe on any thread.
#pragma once

#include "Catalogue/Station.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct SkippedRow {
    // The row as a spreadsheet program numbers it: the header is row 1, the
    // first station row 2. (Without line breaks inside quoted fields this is
    // also the line of the file.)
    int row = 0;
    QString reason; // e.g. `the id "x" is not a whole number`
};

enum class TextEncoding { utf8, utf8WithMark, utf16LE, utf16BE, utf32LE, utf32BE };

class CatalogueTable {
public:
    using Row = std::vector<std::string>; // fields as UTF-8

    // Nothing larger is a catalogue: thousands of stations fit in a
    // fraction of it.
    static constexpr qint64 maxBytes = 16 * 1024 * 1024;

    struct Parsed;
    // Reads a whole catalogue text.
    static Parsed parse(const QByteArray& bytes);
    // Every row of a CSV text, the first too, read with the same encoding
    // and delimiter detection (for files that are not catalogues: playlists
    // of other programs); nothing, with the problem, when it is not text.
    static std::optional<std::vector<Row>> readRows(const QByteArray& bytes, QString* problem = nullptr);

    Row header;
    std::vector<Row> rows; // every data row, in file order, stations or not
    TextEncoding encoding = TextEncoding::utf8;
    char delimiter = ','; // ',', ';' or '\t'
    bool crlf = false;
    bool finalLineBreak = true;

    // Derived by parse(): the stations in row order, and the rows that carry
    // none (rows whose fields are all empty are neither).
    QList<Station> stations;
    QList<SkippedRow> skipped;

    // The first header column with this name (ASCII case and surrounding
    // spaces aside).
    std::optional<std::size_t> column(std::string_view name) const;
    // The column, added at the end of the header when missing.
    std::size_t ensureColumn(std::string_view name);
    // The row's field (empty when the row is shorter), and setting it
    // (the row grows when it is shorter).
    static std::string field(const Row& row, std::size_t column);
    static void setField(Row& row, std::size_t column, std::string value);

    // The id of a row, when its id field is a whole number.
    std::optional<qint64> rowId(const Row& row) const;

    // The text, written with the CSV writer in the table's own encoding
    // (with its byte-order mark, if it had one) and line breaks.
    QByteArray serialize() const;

    // Prints one line per skipped row, at most `limit` of them, then one
    // line with the count of the rest.
    static void printSkipped(const QString& source, const QList<SkippedRow>& skipped, int limit = 100);
};

struct CatalogueTable::Parsed {
    // Present when the text is a table with the station columns, even when
    // none of its rows carries a station (that table can still be edited).
    std::optional<CatalogueTable> table;
    // Why the text is not a usable station list ("not UTF-8 text", "a web
    // page", "no id, url or title column", "none of its 3 rows is a
    // station"); empty when it is one.
    QString problem;

    bool isStationList() const { return table.has_value() && problem.isEmpty(); }
};
