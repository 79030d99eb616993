// The fast row parser against the plain state machine, on generated input.

#include "CSVTestSupport.h"

#include "CSV/CSVReader.h"
#include "CSV/MemoryStreams.h"

#include <gtest/gtest.h>

using namespace csvtest;
using csv::CSVReader;

namespace {

// Pieces that stress the grammar: every special scalar, whitespace of both
// kinds, multi-byte text, and ill-formed UTF-8.
const std::vector<std::string> pieces = {
    "a", "b", "xyz", " ", "  ", "\t", "\"", "\"\"", ",", ";", "|", "\r", "\n", "\r\n", "\u00A0", "\u3000",
    "\u00E9", "\u6771", "\U0001F600", "\u00A7", "\uFEFF", "\xFF", "\xC3", "\xE2\x82", "\xED\xA0\x80", "\xF4\x90\x80\x80",
    "\xC0\xAF", "\x80", "hello world, \"quoted\"", "\"a,b\"", "\" x \" ,",
};

// Delimiters: common ones, a tab (also whitespace), multi-byte ones, one
// that shares its lead byte with other text, a quote and line breaks.
const std::vector<char32_t> delimiters = {U',', U';', U'\t', U'|', U'\u00A7', U'\u00E9', U'\U0001F600',
                                          U'\u3000', U'"', U'\n', U' ', U'\xD800'};

std::string generate(std::mt19937& random, std::size_t maxPieces)
{
    std::uniform_int_distribution<std::size_t> count(0, maxPieces);
    std::uniform_int_distribution<std::size_t> pick(0, pieces.size() - 1);
    std::string text;
    for (std::size_t n = count(random); n > 0; --n)
        text += pieces[pick(random)];
    return text;
}

struct Outcome {
    std::optional<csv::CSVError::Kind> constructionError;
    std::optional<CSVReader::Row> header;
    Rows rows;
    bool operator==(const Outcome&) const = default;
};

void PrintTo(const Outcome& o, std::ostream* os)
{
    *os << "error " << (o.constructionError ? csv::CSVError::caseName(*o.constructionError) : "-") << " header "
        << testing::PrintToString(o.header) << " rows " << testing::PrintToString(o.rows);
}

// The rows as nextFields() gives them (copied before the next call).
Rows readAllFields(CSVReader& reader, int patience)
{
    Rows rows;
    for (int nothings = 0; nothings < patience;) {
        if (const auto fields = reader.nextFields()) {
            rows.emplace_back(fields->begin(), fields->end());
            nothings = 0;
        } else {
            ++nothings;
        }
    }
    return rows;
}

template <class Make>
Outcome outcome(Make make, bool views = false)
{
    Outcome o;
    try {
        CSVReader reader = make();
        o.header = reader.headerRow();
        o.rows = views ? readAllFields(reader, 3) : readAll(reader, 3);
    } catch (const csv::CSVError& e) {
        o.constructionError = e.kind();
    }
    return o;
}

// The plain machine over the text's scalars.
Outcome plainOutcome(const std::string& text, const CSVReader::Configuration& configuration)
{
    const std::u32string scalars = decodeLeniently(text);
    return outcome([&] {
        std::size_t i = 0;
        return CSVReader([&scalars, i]() mutable -> std::optional<char32_t> {
            if (i == scalars.size())
                return std::nullopt;
            return scalars[i++];
        }, configuration);
    });
}

std::string describe(const std::string& text)
{
    return testing::PrintToString(text);
}

} // namespace

TEST(FastPath, RepairedTextMatchesTheDecoder)
{
    std::mt19937 random(7);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> length(0, 40);
    for (int round = 0; round < 20000; ++round) {
        std::string bytes;
        for (int n = length(random); n > 0; --n) {
            // Bias towards bytes that start or continue sequences.
            const int b = byte(random);
            bytes.push_back(static_cast<char>(round % 2 ? b : 0x80 | (b & 0x7F)));
        }
        ASSERT_EQ(csv::unicode::repairedUTF8(bytes), utf8(decodeLeniently(bytes))) << describe(bytes);
    }
}

// Long texts take the whole-buffer check; a fault anywhere (near where the
// buffer is split for it, or a sequence cut off at the end) must still be
// found at the exact place the decoder finds it.
TEST(FastPath, ValidPrefixOfLongTexts)
{
    const auto reference = [](const std::string& bytes) {
        std::size_t pulled = 0;
        const auto next = [&]() -> std::optional<std::uint8_t> {
            if (pulled == bytes.size())
                return std::nullopt;
            return static_cast<std::uint8_t>(bytes[pulled++]);
        };
        csv::UTF8 codec;
        std::size_t valid = 0;
        while (codec.decode(next).kind == csv::DecodingResult::Kind::scalarValue)
            valid = pulled;
        return valid;
    };
    std::mt19937 random(11);
    // Valid text includes the edges of every sequence length and range.
    const std::vector<std::string> text = {"a", "\u00E9", "\u6771", "\U0001F600", ",", "\n",
                                           "\u0080", "\u07FF", "\u0800", "\uD7FF", "\uE000", "\uFFFF",
                                           "\U00010000", "\U0010FFFF",
                                           std::string(200, 'x')};  // long ASCII runs are skipped in blocks
    // Faults of every kind: stray, truncated, overlong, surrogate, too large.
    const std::vector<std::string> faults = {
        "\xFF", "\x80", "\xBF", "\xC3", "\xE2\x82", "\xED\xA0\x80", "\xED\xBF\xBF", "\xF0\x9F",
        "\xF0\x9F\x98", "\xC0\xAF", "\xC1\xBF", "\xE0\x80\x80", "\xE0\x9F\xBF", "\xF0\x8F\xBF\xBF",
        "\xF4\x90\x80\x80", "\xF5\x80\x80\x80", "\xF8\x88\x80\x80\x80", "\xC3\xA9\xA9",
        "\xF0\x9F\x98\x80\x80"};
    for (int round = 0; round < 1500; ++round) {
        std::string bytes;
        while (bytes.size() < 4096 + random() % 8192)
            bytes += text[random() % text.size()];
        if (round % 3 != 0) {
            std::size_t at = random() % bytes.size();
            if (round % 3 == 1)
                at = bytes.size() / 4 * (1 + random() % 3) - random() % 4;  // near a split
            while (at > 0 && (static_cast<unsigned char>(bytes[at]) & 0xC0) == 0x80)
                --at;
            bytes.insert(at, faults[random() % faults.size()]);
        }
        if (round % 5 == 0)
            bytes.resize(bytes.size() - 1 - random() % 3);  // perhaps cut a sequence
        const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
        ASSERT_EQ(csv::unicode::validPrefixLength(p, bytes.size()), reference(bytes)) << "round " << round;
    }
    // A sequence broken by a long ASCII run and "completed" after it, at
    // every alignment to the blocks the check skips.
    for (std::size_t at = 0; at < 80; ++at) {
        const std::string bytes = std::string(at, 'a') + "\xC3" + std::string(64, 'x') + "\xA9" + std::string(5000, 'b');
        const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
        ASSERT_EQ(csv::unicode::validPrefixLength(p, bytes.size()), at);
    }
}

namespace {

// Encodes scalars as code units of a codec, with some ill-formed units and
// perhaps a byte-order mark and a cut-off last unit.
std::string encode(const std::u32string& scalars, int width, bool big, std::mt19937& random)
{
    std::string out;
    const auto put = [&](std::uint32_t unit) {
        const int bytes = width / 8;
        for (int k = 0; k < bytes; ++k) {
            const int shift = big ? 8 * (bytes - 1 - k) : 8 * k;
            out.push_back(static_cast<char>((unit >> shift) & 0xFF));
        }
    };
    std::uniform_int_distribution<int> dice(0, 99);
    for (const char32_t c : scalars) {
        if (dice(random) < 3)
            put(width == 16 ? (dice(random) < 50 ? 0xD800 : 0xDC00) : (dice(random) < 50 ? 0xDFFF : 0x110000));
        if (width == 16 && c >= 0x10000) {
            put(0xD800 + ((c - 0x10000) >> 10));
            put(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            put(c);
        }
    }
    if (dice(random) < 10 && !out.empty())
        out.pop_back();
    return out;
}

// Every row a reader gives until three nothings in a row, each with the
// error recorded by then.
template <class Next, class Error>
void drain(Outcome& outcome, std::vector<std::optional<csv::CSVError>>& errors, Next next, Error error)
{
    for (int nothings = 0; nothings < 3;) {
        const std::optional<CSVReader::Row> row = next();
        errors.push_back(error());
        if (row) {
            outcome.rows.push_back(*row);
            nothings = 0;
        } else {
            ++nothings;
        }
    }
}

// Both readers over the same bytes, in reads of `chunk` bytes from a stream
// that may fail after `failAt` bytes: the same rows and the same errors.
template <class Codec>
void compareStreams(const std::string& bytes, csv::Endian endian, std::size_t bufferSize, std::size_t chunk,
                    const CSVReader::Configuration& configuration, bool views = false,
                    std::optional<std::size_t> failAt = std::nullopt, std::optional<std::error_code> error = {})
{
    const auto binary = [&] {
        return csv::BinaryReader::make(std::make_shared<ChunkyInputStream>(bytes, chunk, failAt, error), endian,
                                       true, bufferSize);
    };
    Outcome fast, plain;
    std::vector<std::optional<csv::CSVError>> fastErrors, plainErrors;
    try {
        CSVReader reader(binary(), Codec {}, configuration);
        fast.header = reader.headerRow();
        drain(fast, fastErrors, [&]() -> std::optional<CSVReader::Row> {
            if (!views)
                return reader.next();
            if (const auto fields = reader.nextFields())
                return CSVReader::Row(fields->begin(), fields->end());
            return std::nullopt;
        }, [&] { return reader.error(); });
    } catch (const csv::CSVError& e) {
        fast.constructionError = e.kind();
    }
    try {
        ReferenceStreamReader<Codec> reference(binary(), configuration);
        plain.header = reference.reader->headerRow();
        drain(plain, plainErrors, [&] { return reference.reader->next(); }, [&] { return reference.error; });
    } catch (const csv::CSVError& e) {
        plain.constructionError = e.kind();
    }
    ASSERT_EQ(fast, plain) << describe(bytes) << " buffer " << bufferSize << " chunk " << chunk;
    ASSERT_EQ(fastErrors, plainErrors) << describe(bytes) << " buffer " << bufferSize << " chunk " << chunk;
}

const std::size_t bufferSizes[] = {1, 2, 3, 4, 5, 7, 16, 65535};

} // namespace

// Now and then the stream fails part way, with or without saying why.
TEST(FastPath, UTF8StreamReaderMatchesThePlainMachine)
{
    std::mt19937 random(42);
    for (int round = 0; round < 3000; ++round) {
        std::string bytes = generate(random, round % 50 == 0 ? 3000 : 20);
        if (round % 7 == 0)
            bytes = "\xEF\xBB\xBF" + bytes;
        const CSVReader::Configuration configuration(round % 6 == 0, round % 2 == 1,
                                                     delimiters[round % delimiters.size()]);
        const std::size_t chunk = round % 50 == 0 ? 5000 + round : 1 + round % 5;
        std::optional<std::size_t> failAt;
        if (round % 5 == 3)
            failAt = bytes.empty() ? 0 : random() % bytes.size();
        const auto error = round % 10 == 3 ? std::optional(std::make_error_code(std::errc::io_error)) : std::nullopt;
        compareStreams<csv::UTF8>(bytes, csv::Endian::unknown, bufferSizes[round % 8], chunk, configuration,
                                  round % 4 == 1, failAt, error);
        if (HasFatalFailure())
            return;
    }
}

TEST(FastPath, UTF16AndUTF32StreamReadersMatchThePlainMachine)
{
    std::mt19937 random(4242);
    const csv::Endian endians[] = {csv::Endian::big, csv::Endian::little, csv::Endian::unknown};
    for (int round = 0; round < 3000; ++round) {
        const std::u32string scalars = decodeLeniently(generate(random, 16));
        const csv::Endian declared = endians[round % 3];
        const bool big = (round / 3) % 2 == 0;
        const CSVReader::Configuration configuration(round % 6 == 0, round % 2 == 1,
                                                     delimiters[round % delimiters.size()]);
        const std::size_t bufferSize = bufferSizes[(round / 2) % 8];
        const std::size_t chunk = 1 + round % 6;

        std::string bytes16 = encode(scalars, 16, big, random);
        std::string bytes32 = encode(scalars, 32, big, random);
        if (round % 4 == 0) {  // a byte-order mark, right or wrong
            bytes16 = (big ? "\xFE\xFF" : "\xFF\xFE") + bytes16;
            bytes32 = (big ? std::string("\0\0\xFE\xFF", 4) : std::string("\xFF\xFE\0\0", 4)) + bytes32;
        }
        compareStreams<csv::UTF16>(bytes16, declared, bufferSize, chunk, configuration);
        if (HasFatalFailure())
            return;
        compareStreams<csv::UTF32>(bytes32, declared, bufferSize, chunk, configuration);
        if (HasFatalFailure())
            return;
    }
}

namespace {

// Text shaped like real CSV: quoted fields holding delimiters, line breaks
// and doubled quotation marks, CR LF, multi-byte text, fields of every
// length, so that the 64-byte blocks read most of it and every kind of byte
// falls on the edges of the blocks and of a stream's buffer. Now and then a
// quotation mark out of place (inside an unquoted field, text after a
// closing one, an unterminated field) or an ill-formed byte, which the
// blocks leave to the walk.
std::string generateCSV(std::mt19937& random, std::size_t rows, char delimiter)
{
    static const std::vector<std::string> words = {"a",  "bc", "radio", "\u00E9t\u00E9", "\u6771", "\U0001F600",
                                                   "x y", "1234567", std::string(40, 'z'), std::string(70, 'w')};
    std::uniform_int_distribution<int> dice(0, 99);
    const auto word = [&] { return words[random() % words.size()]; };
    const std::string d(1, delimiter);
    std::string text;
    for (std::size_t row = 0; row < rows; ++row) {
        const int fields = 1 + dice(random) % 12;
        for (int f = 0; f < fields; ++f) {
            if (f > 0)
                text += d;
            const int kind = dice(random);
            if (kind < 10) {
                // empty
            } else if (kind < 55) {
                text += word();
            } else if (kind < 95) {
                std::string inside = word();
                const char* extras[] = {"", ",", ";", "\t", "|", "\n", "\r\n", "\r", "\"\"", "\"\"\"\""};
                for (int n = dice(random) % 4; n > 0; --n)
                    inside += extras[random() % std::size(extras)] + word();
                text += "\"" + inside + "\"";
            } else {
                const char* faults[] = {"a\"b", "\"a\"b", "\"a\" ", "\xFF", "\xE2\x82", "\"\"\"", "b\"\""};
                text += faults[random() % std::size(faults)];
            }
        }
        const char* ends[] = {"\n", "\n", "\r\n", "\r\n", "\r"};
        if (row + 1 < rows || dice(random) < 50)
            text += ends[random() % std::size(ends)];
    }
    return text;
}

} // namespace

// The string reader, owning or borrowing its text, on pieces of every kind
// with any delimiter and trimming (now and then 60 000 of them), and on
// text shaped like CSV, which also goes through the stream reader with
// buffers of every size up to a few blocks.
TEST(FastPath, StringAndBlockReadersMatchThePlainMachine)
{
    std::mt19937 random(64);
    const char csvDelimiters[] = {',', ';', '\t', '|'};
    for (int round = 0; round < 5500; ++round) {
        const bool shaped = round % 4 == 0;
        const char32_t delimiter = shaped ? csvDelimiters[round / 4 % 4] : delimiters[round % delimiters.size()];
        const std::string text = shaped ? generateCSV(random, 1 + round % 40, static_cast<char>(delimiter))
                                        : generate(random, round % 1000 == 1 ? 60000 : 24);
        const CSVReader::Configuration configuration(round % 7 == 0, !shaped && round % 2 == 1, delimiter);
        const bool header = configuration.hasHeaderRow, trim = configuration.trimFields;
        const Outcome plain = plainOutcome(text, configuration);
        ASSERT_EQ(outcome([&] { return CSVReader(text, header, trim, delimiter); }), plain)
            << describe(text) << " trim " << trim << " delimiter U+" << std::hex << std::uint32_t(delimiter);
        ASSERT_EQ(outcome([&] { return CSVReader(CSVReader::borrowed, text, header, trim, delimiter); }, true), plain)
            << describe(text) << " trim " << trim << " delimiter U+" << std::hex << std::uint32_t(delimiter);
        if (!shaped)
            continue;
        const std::size_t bufferSize = round % 40 == 0 ? csv::BinaryReader::defaultBufferSize : 4 + round % 200;
        compareStreams<csv::UTF8>(text, csv::Endian::unknown, bufferSize, 1 + random() % 300, configuration,
                                  round % 8 == 0);
        if (HasFatalFailure())
            return;
    }
}

// The string reader over borrowed text hands out pieces of that text: no
// field is copied unless it has to be rewritten.
TEST(FastPath, BorrowedTextIsViewedNotCopied)
{
    std::string text;
    for (int row = 0; row < 50; ++row)
        text += "plain,\"quoted, with a comma\",\"two\r\nlines\",\"say \"\"hi\"\"\",,\u00E9\u6771" + std::string(row, 'x')
            + (row % 2 ? "\r\n" : "\n");
    CSVReader reader(CSVReader::borrowed, text);
    const auto inText = [&](std::string_view field) {
        return field.data() >= text.data() && field.data() + field.size() <= text.data() + text.size();
    };
    int rows = 0;
    while (const auto fields = reader.nextFields()) {
        ASSERT_EQ(fields->size(), 6u);
        EXPECT_EQ((*fields)[0], "plain");
        EXPECT_EQ((*fields)[1], "quoted, with a comma");
        EXPECT_EQ((*fields)[2], "two\r\nlines");
        EXPECT_EQ((*fields)[3], "say \"hi\"");
        EXPECT_EQ((*fields)[4], "");
        EXPECT_EQ((*fields)[5], "\u00E9\u6771" + std::string(rows, 'x'));
        for (const std::size_t i : {0, 1, 2, 5})
            EXPECT_TRUE(inText((*fields)[i])) << "row " << rows << " field " << i;
        EXPECT_FALSE(inText((*fields)[3]));  // rewritten: its quotation marks were doubled
        EXPECT_FALSE(reader.currentRow());
        ++rows;
    }
    EXPECT_EQ(rows, 50);
}

// The reader never looks past the end of borrowed text, wherever the end
// falls in a block: each text lies in a heap block of exactly its size
// (AddressSanitizer reports any read beyond it), ending in every kind of
// byte the blocks look at.
TEST(FastPath, BorrowedTextIsNotReadPastItsEnd)
{
    const std::vector<std::string> endings = {"x", "\"q\"", "\"q\"\"\"", ",", "\n", "\r", "\"open"};
    for (std::size_t size = 1; size < 200; ++size) {
        for (const std::string& ending : endings) {
            std::string text;
            while (text.size() + ending.size() < size)
                text += text.size() % 7 == 0 ? "\"a,\"\"b\"" : "cd,";
            text = (text + ending).substr(0, std::max(size, ending.size()));
            const auto exact = std::make_unique<char[]>(text.size());
            std::memcpy(exact.get(), text.data(), text.size());
            const CSVReader::Configuration configuration(false, false, U',');
            const Outcome viewed
                = outcome([&] { return CSVReader(CSVReader::borrowed, {exact.get(), text.size()}); }, true);
            ASSERT_EQ(viewed, plainOutcome(text, configuration)) << describe(text);
        }
    }
}
