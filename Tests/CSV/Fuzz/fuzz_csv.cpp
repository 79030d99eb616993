// One input drives the whole library. Byte 0: the encoding of the stream
// reader (bits 0-2: UTF-8; UTF-16 big, little, unknown; UTF-32 the same),
// header row (bit 3), trimming (bit 4), CR LF for the writer (bit 5). Byte 1:
// the delimiter (low 4 bits) and a small stream buffer (high 4 bits, 1 to 16
// bytes). Byte 2: the date strategy (bits 0-2), custom bool (bit 3) and data
// (bit 4) strategies, the writer's delimiter (bits 5-7). The rest is the text.
//
// Checks: every field is well-formed UTF-8; the string reader, views of
// borrowed text and (for well-formed text) the plain scalar machine agree;
// the stream reader's rows and error depend neither on the buffer size nor on
// strings versus views; what the string reader read is written and read back
// unchanged in the chosen encoding; the row decoder throws only its own
// errors, and its number conversions agree with the C library's.
#include "CSV/BinaryReader.h"
#include "CSV/CSVReader.h"
#include "CSV/CSVRowDecoder.h"
#include "CSV/CSVWriter.h"
#include "CSV/MemoryStreams.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace {

using Rows = std::vector<std::vector<std::string>>;

// Stops with a message; libFuzzer saves the input as a crash.
void check(bool condition, const char* what)
{
    if (condition)
        return;
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}

// The scalars of well-formed UTF-8 text, or nothing when it is ill-formed.
std::optional<std::vector<char32_t>> decodeUTF8(std::string_view text)
{
    std::vector<char32_t> scalars;
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        std::size_t length = byte < 0x80 ? 1 : byte >= 0xC2 && byte <= 0xDF ? 2 : byte >= 0xE0 && byte <= 0xEF ? 3
                                             : byte >= 0xF0 && byte <= 0xF4 ? 4 : 0;
        if (length == 0 || i + length > text.size())
            return std::nullopt;
        char32_t c = length == 1 ? byte : byte & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return std::nullopt;
            c = (c << 6) | (next & 0x3F);
        }
        const char32_t minimum[] = {0, 0, 0x80, 0x800, 0x10000};
        if (c < minimum[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
            return std::nullopt;
        scalars.push_back(c);
        i += length;
    }
    return scalars;
}

void checkFields(const std::vector<std::string>& row)
{
    for (const std::string& field : row)
        check(decodeUTF8(field).has_value(), "field is not UTF-8");
}

// ASCII, whitespace, line breaks, the quotation mark, and scalars of two,
// three and four UTF-8 bytes.
constexpr char32_t delimiters[] = {U',', U';', U'\t', U'|', U' ', U'\n', U'\r', U'"',
                                   U'\u00E9', U'\u3000', U'\u2192', U'\U0001F600', U'a', U'\0', U'\u00A0', U'#'};
// What the writer can round-trip: no quotation mark or line break.
constexpr const char* writerDelimiters[] = {",", ";", "\t", "|", "\u00E9", "\u3000", "\U0001F600", "\u00A0"};

csv::CSVReader streamReader(std::shared_ptr<csv::BinaryReader> binary, int encoding,
                            const csv::CSVReader::Configuration& configuration)
{
    return encoding == 0 ? csv::CSVReader(std::move(binary), csv::UTF8{}, configuration)
         : encoding <= 3 ? csv::CSVReader(std::move(binary), csv::UTF16{}, configuration)
                         : csv::CSVReader(std::move(binary), csv::UTF32{}, configuration);
}

// The string reader's rows (header first), or nothing when it refused the text.
template <class Make>
std::optional<Rows> readString(Make make, bool views = false)
{
    std::optional<csv::CSVReader> made;
    try {
        made.emplace(make());
    } catch (const csv::CSVError& error) {
        check(error.kind() == csv::CSVError::Kind::cannotReadHeaderRow, "unexpected construction error");
        return std::nullopt;
    }
    csv::CSVReader& reader = *made;
    Rows rows;
    if (reader.headerRow())
        rows.push_back(*reader.headerRow());
    for (;;) {
        std::optional<std::vector<std::string>> row;
        if (!views)
            row = reader.next();
        else if (const auto fields = reader.nextFields())
            row.emplace(fields->begin(), fields->end());
        if (!row)
            break;
        checkFields(*row);
        if (!views && reader.headerRow() && !reader.headerRow()->empty()) {
            (void)reader[reader.headerRow()->back()];
            check(!reader["\xFF no such column"], "lookup of a missing column");
        }
        rows.push_back(std::move(*row));
    }
    check(!reader.next() && !reader.currentRow(), "reader restarted after the end");
    return rows;
}

struct StreamOutcome {
    std::optional<csv::CSVError::Kind> constructionError;
    std::vector<std::optional<std::vector<std::string>>> rows;   // nothing marks an end
    std::optional<csv::CSVError::Kind> error;
    bool operator==(const StreamOutcome&) const = default;
};

StreamOutcome readStream(const std::string& bytes, int encoding, const csv::CSVReader::Configuration& configuration,
                         std::size_t bufferSize, bool views)
{
    static constexpr csv::Endian endians[] = {csv::Endian::big, csv::Endian::little, csv::Endian::unknown};
    StreamOutcome outcome;
    try {
        const csv::Endian endian = encoding == 0 ? csv::Endian::unknown : endians[(encoding - 1) % 3];
        auto binary = csv::BinaryReader::make(std::make_shared<csv::MemoryInputStream>(bytes), endian, true,
                                              bufferSize);
        csv::CSVReader reader = streamReader(binary, encoding, configuration);
        if (reader.headerRow())
            outcome.rows.push_back(reader.headerRow());
        // An error ends a row early and the next call reads on, so keep
        // asking; every call consumes input, so size + 2 calls reach the end.
        for (std::size_t calls = 0; calls < bytes.size() + 2; ++calls) {
            std::optional<std::vector<std::string>> row;
            if (!views)
                row = reader.next();
            else if (const auto fields = reader.nextFields())
                row.emplace(fields->begin(), fields->end());
            if (row)
                checkFields(*row);
            if (!row && !outcome.rows.empty() && !outcome.rows.back())
                continue;   // repeated ends count once
            outcome.rows.push_back(row);
        }
        if (reader.error())
            outcome.error = reader.error()->kind();
    } catch (const csv::CSVError& error) {
        outcome.constructionError = error.kind();
    }
    return outcome;
}

void roundTrip(const Rows& rows, int encoding, const char* delimiter, bool crlf)
{
    const csv::Endian endian = encoding == 2 || encoding == 5 ? csv::Endian::little : csv::Endian::big;
    const auto newline = crlf ? csv::CSVWriter::Newline::crlf : csv::CSVWriter::Newline::lf;
    auto output = std::make_shared<csv::MemoryOutputStream>();
    {
        std::optional<csv::CSVWriter> writer;
        if (encoding == 0)
            writer.emplace(output, csv::UTF8{}, delimiter, newline);
        else if (encoding <= 3)
            writer.emplace(output, csv::UTF16{}, endian, delimiter, newline);
        else
            writer.emplace(output, csv::UTF32{}, endian, delimiter, newline);
        for (const auto& row : rows)
            writer->writeRow(row);
    }
    const csv::CSVReader::Configuration configuration(false, false, decodeUTF8(delimiter)->front());
    auto binary = csv::BinaryReader::make(std::make_shared<csv::MemoryInputStream>(output->data()),
                                          encoding == 0 ? csv::Endian::unknown : endian, true);
    csv::CSVReader reader = streamReader(binary, encoding, configuration);
    Rows read;
    while (const auto& row = reader.next())
        read.push_back(*row);
    check(!reader.error(), "reading what the writer wrote failed");
    check(read == rows, "rows read back differ from the rows written");
}

struct Inner {
    double x;
    CSV_INT_CODING_KEYS(Keys, x, y)
    static Inner decode(csv::Decoder& decoder)
    {
        auto c = decoder.container<Keys>();
        (void)c.allKeys();
        (void)c.decodeIfPresent<float>(Keys::y);
        return {c.decode<double>(Keys::x)};
    }
};

struct Scalar {
    std::string text;
    static Scalar decode(csv::Decoder& decoder)
    {
        auto& single = decoder.singleValueContainer();
        return {single.decodeNil() ? std::string() : single.decode<std::string>()};
    }
};

struct Everything {
    CSV_CODING_KEYS(Keys, id, url, image, genre, title, flag, date, data, link, amount, i8, u16, i32, u64, f, inner,
                    scalar, list)
    static Everything decode(csv::Decoder& decoder)
    {
        auto c = decoder.container<Keys>();
        (void)c.allKeys();
        (void)c.decodeIfPresent<std::int64_t>(Keys::id);
        (void)c.decodeIfPresent<std::string>(Keys::url);
        (void)c.decodeIfPresent<bool>(Keys::flag);
        (void)c.decodeIfPresent<csv::Date>(Keys::date);
        (void)c.decodeIfPresent<csv::Data>(Keys::data);
        (void)c.decodeIfPresent<csv::URL>(Keys::link);
        (void)c.decodeIfPresent<csv::Decimal>(Keys::amount);
        (void)c.decodeIfPresent<std::int8_t>(Keys::i8);
        (void)c.decodeIfPresent<std::uint16_t>(Keys::u16);
        (void)c.decodeIfPresent<std::int32_t>(Keys::i32);
        (void)c.decodeIfPresent<std::uint64_t>(Keys::u64);
        (void)c.decodeIfPresent<float>(Keys::f);
        (void)c.decodeIfPresent<Inner>(Keys::inner);
        (void)c.decodeIfPresent<Scalar>(Keys::scalar);
        (void)c.decodeIfPresent<std::vector<int>>(Keys::list);
        if (c.contains(Keys::genre))
            (void)c.decodeNil(Keys::genre);
        (void)c.decode<std::string>(Keys::title);
        return {};
    }
};

// Every column by position (one past the end too), each as one type picked
// by its position and the row's width: exceptions are slow under the
// sanitizers, so not every type on every column.
struct Columns {
    static Columns decode(csv::Decoder& decoder)
    {
        auto c = decoder.container<csv::ColumnKey>();
        int columns = 0;
        while (columns < 16 && c.contains(columns))
            ++columns;
        for (int i = 0; i <= columns; ++i) {
            try {
                switch ((i + columns) % 7) {
                case 0: (void)c.decodeIfPresent<bool>(i); break;
                case 1: (void)c.decodeIfPresent<double>(i); break;
                case 2: (void)c.decodeIfPresent<csv::Date>(i); break;
                case 3: (void)c.decodeIfPresent<csv::Data>(i); break;
                case 4: (void)c.decodeIfPresent<std::int16_t>(i); break;
                case 5: (void)c.decodeIfPresent<csv::UInt>(i); break;
                default: (void)c.decodeIfPresent<Inner>(i); break;
                }
            } catch (const csv::DecodingError&) {
            }
        }
        return {};
    }
};

// The decoder's integers agree with from_chars, its doubles with strtod.
void checkNumbers(const std::string& text)
{
    std::string_view digits = text;
    if (digits.starts_with('+') && !digits.starts_with("+-"))
        digits.remove_prefix(1);
    std::int64_t expected = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), expected);
    const bool plain = !digits.empty() && ec == std::errc() && end == digits.data() + digits.size();
    const auto parsed = csv::detail::parseInteger<std::int64_t>(text);
    check(parsed.has_value() == plain && (!parsed || *parsed == expected), "integer conversion");

    if (!csv::detail::isDecimalLiteral(text)) {
        check(!csv::detail::parseDouble(text), "double from a non-literal");
        return;
    }
    errno = 0;
    const double reference = std::strtod(text.c_str(), nullptr);
    const auto value = csv::detail::parseDouble(text);
    if (value)
        check(std::memcmp(&*value, &reference, sizeof reference) == 0, "double differs from strtod");
    else
        check(std::isinf(reference), "double refused without overflow");
}

csv::CSVRowDecoder decoderFor(std::uint8_t settings)
{
    using DateStrategy = csv::DateDecodingStrategy;
    csv::CSVRowDecoder decoder;
    const int dateKind = (settings & 7) % 6;
    decoder.dateDecodingStrategy = dateKind == 0 ? DateStrategy::deferredToDate()
                                 : dateKind == 1 ? DateStrategy::secondsSince1970()
                                 : dateKind == 2 ? DateStrategy::millisecondsSince1970()
                                 : dateKind == 3 ? DateStrategy::iso8601()
                                 : dateKind == 4 ? DateStrategy::formatted([](const std::string& text) {
                                       return text.size() % 2 ? std::optional<csv::Date>() : csv::Date{1.0};
                                   })
                                                 : DateStrategy::custom([](const std::string& text) {
                                                       if (text.size() % 2)
                                                           throw std::runtime_error("odd");
                                                       return csv::Date{};
                                                   });
    if (settings & 8)
        decoder.boolDecodingStrategy = csv::BoolDecodingStrategy::custom([](const std::string& text) {
            if (text == "x")
                throw std::runtime_error("x");
            return text == "y";
        });
    if (settings & 16)
        decoder.dataDecodingStrategy = csv::DataDecodingStrategy::custom(
            [](const std::string& text) { return csv::Data{{text.begin(), text.end()}}; });
    return decoder;
}

// Only DecodingError (and the custom strategies' own errors) may come out.
void decodeRows(const std::string& text, bool trim, char32_t delimiter, std::uint8_t settings)
{
    const csv::CSVRowDecoder decoder = decoderFor(settings);
    std::optional<csv::CSVReader> reader;
    try {
        reader.emplace(text, true, trim, delimiter);
    } catch (const csv::CSVError&) {
        return;
    }
    while (const auto& row = reader->next()) {
        for (const std::string& field : *row)
            checkNumbers(field);
        try {
            (void)decoder.decode<Everything>(*reader);
        } catch (const csv::DecodingError& error) {
            check(error.what()[0] != '\0', "decoding error without a message");
            for (const csv::CodingKey& key : error.codingPath())
                (void)key.description();
        } catch (const std::runtime_error&) {
            // a custom strategy's own error
        }
        try {
            (void)decoder.decode<Columns>(*reader);
        } catch (const std::runtime_error&) {
        }
        if (const auto date = csv::Date::parseISO8601(row->front()))
            (void)date->timePoint();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 3)
        return 0;
    const int encoding = data[0] % 8 % 7;
    const bool header = data[0] & 8;
    const bool trim = data[0] & 16;
    const char32_t delimiter = delimiters[data[1] & 15];
    const std::size_t smallBuffer = 1 + (data[1] >> 4);
    const std::string text(reinterpret_cast<const char*>(data + 3), size - 3);

    const auto fast = readString([&] { return csv::CSVReader(text, header, trim, delimiter); });
    const auto viewed = readString(
        [&] { return csv::CSVReader(csv::CSVReader::borrowed, text, header, trim, delimiter); }, true);
    check(viewed == fast, "views of borrowed text and strings disagree");
    if (const auto scalars = decodeUTF8(text)) {
        std::size_t position = 0;
        const auto plain = readString([&] {
            return csv::CSVReader([&]() -> std::optional<char32_t> {
                if (position < scalars->size())
                    return (*scalars)[position++];
                return std::nullopt;
            }, csv::CSVReader::Configuration(header, trim, delimiter));
        });
        check(fast == plain, "string reader and scalar state machine disagree");
    }

    const csv::CSVReader::Configuration configuration(header, trim, delimiter);
    const StreamOutcome pieces = readStream(text, encoding, configuration, smallBuffer, false);
    check(readStream(text, encoding, configuration, smallBuffer, true) == pieces, "views and strings disagree");
    // A byte-order mark is only recognised in the first buffer, so it needs
    // room for the longest mark.
    if (smallBuffer >= 4)
        check(readStream(text, encoding, configuration, csv::BinaryReader::defaultBufferSize, false) == pieces,
              "rows depend on the buffer size");

    if (fast)
        roundTrip(*fast, encoding, writerDelimiters[data[2] >> 5], data[0] & 32);
    decodeRows(text, trim, delimiter, data[2]);
    return 0;
}
