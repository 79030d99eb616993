#include "Catalogue/CatalogueTable.h"

#include "Diagnostics/Diagnostics.h"

#include "CSV/CSV.h"
#include "CSV/CSVRowDecoderNumbers.h"
#include "CSV/UnicodeCodecs.h"

#include <QByteArrayView>
#include <QCoreApplication>
#include <QStringDecoder>

#include <algorithm>
#include <memory>
#include <span>
#include <variant>

namespace {

constexpr std::string_view requiredColumns[] = {"id", "url", "title"};

TextEncoding detectEncoding(const QByteArray& bytes)
{
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.constData());
    const auto mark = csv::UnicodeBOM::detect(std::span(data, static_cast<std::size_t>(bytes.size())));
    if (!mark)
        return TextEncoding::utf8;
    if (mark->length == 3)
        return TextEncoding::utf8WithMark;
    if (mark->length == 2)
        return mark->endian == csv::Endian::little ? TextEncoding::utf16LE : TextEncoding::utf16BE;
    return mark->endian == csv::Endian::little ? TextEncoding::utf32LE : TextEncoding::utf32BE;
}

QString encodingName(TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::utf8:
    case TextEncoding::utf8WithMark:
        return QStringLiteral("UTF-8");
    case TextEncoding::utf16LE:
    case TextEncoding::utf16BE:
        return QStringLiteral("UTF-16");
    case TextEncoding::utf32LE:
    case TextEncoding::utf32BE:
        return QStringLiteral("UTF-32");
    }
    return {};
}

// ASCII text (line breaks, the byte-order mark's scalar) in an encoding.
QByteArray encodeAscii(std::string_view text, TextEncoding encoding)
{
    QByteArray out;
    for (const char c : text) {
        const auto unit = static_cast<std::uint8_t>(c);
        switch (encoding) {
        case TextEncoding::utf8:
        case TextEncoding::utf8WithMark:
            out.append(char(unit));
            break;
        case TextEncoding::utf16LE:
            out.append(char(unit)).append('\0');
            break;
        case TextEncoding::utf16BE:
            out.append('\0').append(char(unit));
            break;
        case TextEncoding::utf32LE:
            out.append(char(unit)).append(3, '\0');
            break;
        case TextEncoding::utf32BE:
            out.append(3, '\0').append(char(unit));
            break;
        }
    }
    return out;
}

QByteArray byteOrderMark(TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::utf8:
        return {};
    case TextEncoding::utf8WithMark:
        return QByteArray("\xEF\xBB\xBF");
    case TextEncoding::utf16LE:
        return QByteArray("\xFF\xFE", 2);
    case TextEncoding::utf16BE:
        return QByteArray("\xFE\xFF", 2);
    case TextEncoding::utf32LE:
        return QByteArray("\xFF\xFE\x00\x00", 4);
    case TextEncoding::utf32BE:
        return QByteArray("\x00\x00\xFE\xFF", 4);
    }
    return {};
}

// Scalars of UTF-16 or UTF-32 text through the CSV library's codecs,
// counting every ill-formed sequence (also while the header row is read,
// where the reader itself records nothing).
template <class Codec>
csv::ScalarIterator wideScalars(const QByteArray& bytes, const std::shared_ptr<std::size_t>& errors)
{
    auto stream = std::make_shared<csv::MemoryInputStream>(std::string(bytes.constData(), std::size_t(bytes.size())));
    auto reader = csv::BinaryReader::make(std::move(stream), csv::Endian::unknown, true);
    auto units = [&] {
        if constexpr (Codec::width == 16)
            return reader->makeUInt16Iterator();
        else
            return reader->makeUInt32Iterator();
    }();
    units->errorHandler = [errors](const csv::CSVError&) { ++*errors; };
    auto codec = std::make_shared<Codec>();
    return [units, codec, errors]() -> std::optional<char32_t> {
        const csv::DecodingResult result = codec->decode([&] { return units->next(); });
        if (result.kind == csv::DecodingResult::Kind::scalarValue)
            return result.scalar;
        if (result.kind == csv::DecodingResult::Kind::error)
            ++*errors;
        return std::nullopt;
    };
}

bool isBlank(const CatalogueTable::Row& row)
{
    return std::all_of(row.begin(), row.end(), [](const std::string& field) { return field.empty(); });
}

bool looksLikeHtml(const QByteArray& bytes, TextEncoding encoding)
{
    if (encoding != TextEncoding::utf8 && encoding != TextEncoding::utf8WithMark)
        return false;
    const QByteArray start = bytes.left(512).trimmed().toLower();
    return start.startsWith("<!doctype") || start.startsWith("<html") || start.startsWith("<?xml")
        || start.startsWith("<head") || start.startsWith("<body");
}

} // namespace

namespace {

// The reader over the whole text in its encoding, with the header row read;
// nothing, with the problem, when the text holds no row at all or does not
// decode.
std::optional<csv::CSVReader> openReader(const QByteArray& bytes, const CatalogueTable& table, bool hasHeaderRow,
                                         const std::shared_ptr<std::size_t>& errors, QString* problem)
{
    const csv::CSVReader::Configuration configuration(hasHeaderRow, false, char32_t(table.delimiter));
    std::optional<csv::CSVReader> reader;
    try {
        switch (table.encoding) {
        case TextEncoding::utf8:
        case TextEncoding::utf8WithMark: {
            const QByteArrayView text = QByteArrayView(bytes).sliced(table.encoding == TextEncoding::utf8 ? 0 : 3);
            // The reader would quietly read broken UTF-8 as U+FFFD.
            if (!text.isValidUtf8()) {
                *problem = QStringLiteral("not UTF-8 text");
                return std::nullopt;
            }
            reader.emplace(std::string(text.data(), std::size_t(text.size())), hasHeaderRow, false,
                           char32_t(table.delimiter));
            break;
        }
        case TextEncoding::utf16LE:
        case TextEncoding::utf16BE:
            reader.emplace(wideScalars<csv::UTF16>(bytes, errors), configuration);
            break;
        case TextEncoding::utf32LE:
        case TextEncoding::utf32BE:
            reader.emplace(wideScalars<csv::UTF32>(bytes, errors), configuration);
            break;
        }
    } catch (const csv::CSVError&) {
        // No header row: the text holds no row at all.
        *problem = *errors > 0 ? QCoreApplication::translate("CatalogueTable", "not %1 text").arg(encodingName(table.encoding))
                               : QStringLiteral("empty");
        return std::nullopt;
    }
    return reader;
}

// Of comma, semicolon and tab, the one the first line holds most of outside
// quotes; a comma when it holds none (a single column).
char detectDelimiter(const QByteArray& bytes, TextEncoding encoding)
{
    QStringConverter::Encoding converter = QStringConverter::Utf8;
    switch (encoding) {
    case TextEncoding::utf8:
    case TextEncoding::utf8WithMark:
        break;
    case TextEncoding::utf16LE:
        converter = QStringConverter::Utf16LE;
        break;
    case TextEncoding::utf16BE:
        converter = QStringConverter::Utf16BE;
        break;
    case TextEncoding::utf32LE:
        converter = QStringConverter::Utf32LE;
        break;
    case TextEncoding::utf32BE:
        converter = QStringConverter::Utf32BE;
        break;
    }
    // A header row is short; a few kilobytes hold it.
    QStringDecoder decoder(converter);
    const QString start = decoder(bytes.left(16 * 1024));
    int comma = 0;
    int semicolon = 0;
    int tab = 0;
    bool quoted = false;
    for (const QChar c : start) {
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        else if (quoted)
            continue;
        else if (c == QLatin1Char('\n') || c == QLatin1Char('\r'))
            break;
        else if (c == QLatin1Char(','))
            ++comma;
        else if (c == QLatin1Char(';'))
            ++semicolon;
        else if (c == QLatin1Char('\t'))
            ++tab;
    }
    if (semicolon > comma && semicolon >= tab)
        return ';';
    if (tab > comma && tab > semicolon)
        return '\t';
    return ',';
}

std::string normalizedName(std::string_view name)
{
    const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!name.empty() && isSpace(name.front()))
        name.remove_prefix(1);
    while (!name.empty() && isSpace(name.back()))
        name.remove_suffix(1);
    std::string lower(name);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; });
    return lower;
}

struct StationColumns {
    std::size_t id = 0;
    std::size_t url = 0;
    std::size_t title = 0;
    std::optional<std::size_t> image;
    std::optional<std::size_t> genre;
    std::optional<std::size_t> uuid;
};

// A data row as a station, or why it is none (the first failing field in
// the order id, url, title).
std::variant<Station, QString> decodeStation(const CatalogueTable::Row& row, const StationColumns& columns)
{
    const auto text = [&](std::optional<std::size_t> column) {
        return column ? QString::fromStdString(CatalogueTable::field(row, *column)) : QString();
    };
    const std::string id = CatalogueTable::field(row, columns.id);
    if (id.empty())
        return QCoreApplication::translate("CatalogueTable", "the id is empty");
    const std::optional<std::int64_t> number = csv::detail::parseInteger<std::int64_t>(id);
    if (!number)
        return QCoreApplication::translate("CatalogueTable", "the id \"%1\" is not a whole number").arg(QString::fromStdString(id).left(40));
    Station station{*number, text(columns.url), text(columns.image), text(columns.genre), text(columns.title)};
    if (station.url.isEmpty())
        return QCoreApplication::translate("CatalogueTable", "the url is empty");
    if (station.title.isEmpty())
        return QCoreApplication::translate("CatalogueTable", "the title is empty");
    station.uuid = text(columns.uuid).trimmed();
    return station;
}

} // namespace

CatalogueTable::Parsed CatalogueTable::parse(const QByteArray& bytes)
{
    Parsed parsed;
    if (bytes.size() > maxBytes) {
        parsed.problem = QCoreApplication::translate("CatalogueTable", "larger than %1 MB").arg(maxBytes / (1024 * 1024));
        return parsed;
    }
    CatalogueTable table;
    table.encoding = detectEncoding(bytes);
    table.delimiter = detectDelimiter(bytes, table.encoding);
    const QByteArray lf = encodeAscii("\n", table.encoding);
    table.crlf = bytes.contains(encodeAscii("\r\n", table.encoding));
    table.finalLineBreak = bytes.endsWith(lf);

    auto errors = std::make_shared<std::size_t>(0);
    std::optional<csv::CSVReader> reader = openReader(bytes, table, true, errors, &parsed.problem);
    if (!reader)
        return parsed;

    table.header = *reader->headerRow();
    QStringList missing;
    for (const std::string_view name : requiredColumns) {
        if (!table.column(name))
            missing.append(QString::fromUtf8(name.data(), qsizetype(name.size())));
    }
    if (!missing.isEmpty()) {
        parsed.problem = looksLikeHtml(bytes, table.encoding)
            ? QCoreApplication::translate("CatalogueTable", "a web page")
            : QCoreApplication::translate("CatalogueTable", "no %1 column in its first row")
                  .arg(missing.size() == 1 ? missing.first()
                                           : missing.mid(0, missing.size() - 1).join(QStringLiteral(", "))
                               + QCoreApplication::translate("CatalogueTable", " or ") + missing.last());
        return parsed;
    }

    const StationColumns columns{*table.column("id"), *table.column("url"),   *table.column("title"),
                                 table.column("image"), table.column("genre"), table.column("uuid")};
    int stationRows = 0;
    try {
        while (const auto& row = reader->next()) {
            table.rows.push_back(*row);
            if (isBlank(*row))
                continue;
            ++stationRows;
            std::variant<Station, QString> decoded = decodeStation(*row, columns);
            if (auto* station = std::get_if<Station>(&decoded))
                table.stations.append(std::move(*station));
            else
                table.skipped.append(SkippedRow{int(table.rows.size()) + 1, std::get<QString>(decoded)});
        }
    } catch (const std::exception& error) {
        // Never let bad input take the process down.
        parsed.problem = QString::fromUtf8(error.what());
        return parsed;
    }
    if (*errors > 0) {
        parsed.problem = QCoreApplication::translate("CatalogueTable", "not %1 text").arg(encodingName(table.encoding));
        return parsed;
    }
    if (stationRows > 0 && table.stations.isEmpty())
        parsed.problem = stationRows == 1 ? QCoreApplication::translate("CatalogueTable", "its one row is not a station")
                                          : QCoreApplication::translate("CatalogueTable", "none of its %1 rows is a station").arg(stationRows);
    parsed.table = std::move(table);
    return parsed;
}

std::optional<std::vector<CatalogueTable::Row>> CatalogueTable::readRows(const QByteArray& bytes, QString* problem)
{
    QString ignored;
    QString& why = problem ? *problem : ignored;
    if (bytes.size() > maxBytes) {
        why = QCoreApplication::translate("CatalogueTable", "larger than %1 MB").arg(maxBytes / (1024 * 1024));
        return std::nullopt;
    }
    CatalogueTable table;
    table.encoding = detectEncoding(bytes);
    table.delimiter = detectDelimiter(bytes, table.encoding);
    auto errors = std::make_shared<std::size_t>(0);
    std::optional<csv::CSVReader> reader = openReader(bytes, table, false, errors, &why);
    if (!reader)
        return std::nullopt;
    std::vector<Row> rows;
    try {
        while (const auto& row = reader->next())
            rows.push_back(*row);
    } catch (const std::exception& error) {
        why = QString::fromUtf8(error.what());
        return std::nullopt;
    }
    if (*errors > 0) {
        why = QCoreApplication::translate("CatalogueTable", "not %1 text").arg(encodingName(table.encoding));
        return std::nullopt;
    }
    if (rows.empty()) {
        why = QStringLiteral("empty");
        return std::nullopt;
    }
    return rows;
}

std::optional<std::size_t> CatalogueTable::column(std::string_view name) const
{
    const std::string wanted = normalizedName(name);
    const auto found = std::find_if(header.begin(), header.end(),
                                    [&](const std::string& column) { return normalizedName(column) == wanted; });
    if (found == header.end())
        return std::nullopt;
    return std::size_t(found - header.begin());
}

std::size_t CatalogueTable::ensureColumn(std::string_view name)
{
    if (const auto existing = column(name))
        return *existing;
    header.emplace_back(name);
    return header.size() - 1;
}

std::string CatalogueTable::field(const Row& row, std::size_t column)
{
    return column < row.size() ? row[column] : std::string();
}

void CatalogueTable::setField(Row& row, std::size_t column, std::string value)
{
    if (row.size() <= column)
        row.resize(column + 1);
    row[column] = std::move(value);
}

std::optional<qint64> CatalogueTable::rowId(const Row& row) const
{
    const auto idColumn = column("id");
    if (!idColumn)
        return std::nullopt;
    return csv::detail::parseInteger<std::int64_t>(field(row, *idColumn));
}

QByteArray CatalogueTable::serialize() const
{
    auto stream = std::make_shared<csv::MemoryOutputStream>();
    stream->open();
    const QByteArray mark = byteOrderMark(encoding);
    stream->write(reinterpret_cast<const std::uint8_t*>(mark.constData()), std::size_t(mark.size()));
    {
        const auto newline = crlf ? csv::CSVWriter::Newline::crlf : csv::CSVWriter::Newline::lf;
        const std::string comma(1, delimiter);
        std::unique_ptr<csv::CSVWriter> writer;
        switch (encoding) {
        case TextEncoding::utf8:
        case TextEncoding::utf8WithMark:
            writer = std::make_unique<csv::CSVWriter>(stream, comma, newline);
            break;
        case TextEncoding::utf16LE:
        case TextEncoding::utf16BE:
            writer = std::make_unique<csv::CSVWriter>(
                stream, csv::UTF16{}, encoding == TextEncoding::utf16LE ? csv::Endian::little : csv::Endian::big,
                comma, newline);
            break;
        case TextEncoding::utf32LE:
        case TextEncoding::utf32BE:
            writer = std::make_unique<csv::CSVWriter>(
                stream, csv::UTF32{}, encoding == TextEncoding::utf32LE ? csv::Endian::little : csv::Endian::big,
                comma, newline);
            break;
        }
        writer->writeRow(header);
        for (const Row& row : rows)
            writer->writeRow(row);
        // The writer ends without a line break; spreadsheet programs and
        // editors end with one, and so did the file if it was theirs.
        if (finalLineBreak) {
            const QByteArray lineBreak = encodeAscii(crlf ? "\r\n" : "\n", encoding);
            stream->write(reinterpret_cast<const std::uint8_t*>(lineBreak.constData()), std::size_t(lineBreak.size()));
        }
    }
    return QByteArray(stream->data().data(), qsizetype(stream->data().size()));
}

void CatalogueTable::printSkipped(const QString& source, const QList<SkippedRow>& skipped, int limit)
{
    for (int i = 0; i < skipped.size() && i < limit; ++i)
        printLine(QCoreApplication::translate("CatalogueTable", "Skipped row %1 of %2: %3").arg(skipped[i].row).arg(source, skipped[i].reason));
    if (skipped.size() > limit)
        printLine(QCoreApplication::translate("CatalogueTable", "Skipped %n more rows of %1", nullptr, int(skipped.size() - limit)).arg(source));
}
