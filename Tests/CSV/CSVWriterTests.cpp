#include "CSVTestSupport.h"

#include "CSV/CSVReader.h"
#include "CSV/CSVWriter.h"
#include "CSV/MemoryStreams.h"

#include <gtest/gtest.h>

using namespace csvtest;
using csv::CSVError;
using csv::CSVWriter;

namespace {

std::string written(const Rows& rows, std::string delimiter = ",", CSVWriter::Newline newline = CSVWriter::Newline::lf)
{
    auto stream = std::make_shared<csv::MemoryOutputStream>();
    CSVWriter writer(stream, std::move(delimiter), newline);
    for (const auto& row : rows)
        writer.writeRow(row);
    return stream->data();
}

} // namespace

TEST(CSVWriter, SeparatorsAndQuoting)
{
    EXPECT_EQ(written({{"a", "b"}, {"c", "d"}}), "a,b\nc,d");
    EXPECT_EQ(written({{"a", "b"}, {"c", "d"}}, ",", CSVWriter::Newline::crlf), "a,b\r\nc,d");
    EXPECT_EQ(written({{"say \"hi\""}}), "\"say \"\"hi\"\"\"");
    // A comma is only quoted as the delimiter, as spreadsheet programs do.
    EXPECT_EQ(written({{"1,5"}}, ";"), "1,5");
    EXPECT_EQ(written({{"x", ""}, {}, {"y"}}), "x,\ny");
    EXPECT_EQ(written({{"\u00E9", "\U0001F600"}}, "\u00A7"), "\u00E9\u00A7\U0001F600");
}

TEST(CSVWriter, QuotesWhatWouldOtherwiseReadBackDifferently)
{
    // The delimiter, CR and LF split fields and rows unless quoted.
    EXPECT_EQ(written({{"1;5", "a"}}, ";"), "\"1;5\";a");
    EXPECT_EQ(written({{"a\nb", "c\rd"}}), "\"a\nb\",\"c\rd\"");
    EXPECT_EQ(written({{"x\ty"}}, "\t"), "\"x\ty\"");
    // A lone empty field would be an empty line, lost at the end.
    EXPECT_EQ(written({{"a"}, {""}}), "a\n\"\"");
    EXPECT_EQ(written({{""}}), "\"\"");
    EXPECT_EQ(written({{"", ""}}), ",");
    // Output must not begin like a byte-order mark.
    EXPECT_EQ(written({{"\uFEFFid", "x"}}), "\"\uFEFFid\",x");
}

TEST(CSVWriter, FieldsAndRowsByHand)
{
    auto stream = std::make_shared<csv::MemoryOutputStream>();
    CSVWriter writer(stream);
    writer.writeRow({"a", "b"}, [](std::size_t i) { return i == 1; });
    writer.beginNewRow();
    writer.writeField("c");
    writer.writeField("d", true);
    writer.writeField("e");  // continues the row
    EXPECT_EQ(stream->data(), "a,\"b\"\nc,\"d\",e");
}

TEST(CSVWriter, EncodingsAndByteOrders)
{
    const auto bytes = [](auto make) {
        auto stream = std::make_shared<csv::MemoryOutputStream>();
        {
            CSVWriter writer = make(stream);
            writer.writeRow({"A", "\U0001F600"});
        }
        return stream->data();
    };
    using S = std::shared_ptr<csv::MemoryOutputStream>;
    EXPECT_EQ(bytes([](S s) { return CSVWriter(s, csv::UTF16 {}); }),
              std::string("\0A\0,\xD8\x3D\xDE\x00", 8));
    EXPECT_EQ(bytes([](S s) { return CSVWriter(s, csv::UTF16 {}, csv::Endian::little); }),
              std::string("A\0,\0\x3D\xD8\x00\xDE", 8));
    EXPECT_EQ(bytes([](S s) { return CSVWriter(s, csv::UTF16 {}, csv::Endian::unknown); }),
              std::string("A\0,\0\x3D\xD8\x00\xDE", 8));
    EXPECT_EQ(bytes([](S s) { return CSVWriter(s, csv::UTF32 {}, csv::Endian::big); }),
              std::string("\0\0\0A\0\0\0,\0\x01\xF6\x00", 12));
    EXPECT_EQ(bytes([](S s) { return CSVWriter(s, csv::UTF32 {}, csv::Endian::little); }),
              std::string("A\0\0\0,\0\0\0\x00\xF6\x01\0", 12));
    EXPECT_EQ(bytes([](S s) { return CSVWriter(s, csv::UTF8 {}); }), "A,\U0001F600");
    // Ill-formed input text is written as U+FFFD, in every encoding.
    auto stream = std::make_shared<csv::MemoryOutputStream>();
    CSVWriter(stream, csv::UTF16 {}).writeField("a\xFF");
    EXPECT_EQ(stream->data(), std::string("\0a\xFF\xFD", 4));
}

TEST(CSVWriter, StreamFailures)
{
    auto closed = std::make_shared<csv::MemoryOutputStream>();
    closed->open();
    closed->close();
    EXPECT_EQ(errorKind([&] { CSVWriter writer(closed); }), CSVError::Kind::cannotOpenFile);

    auto full = std::make_shared<csv::MemoryOutputStream>(5);
    CSVWriter writer(full);
    writer.writeRow({"abc"});
    EXPECT_EQ(errorKind([&] { writer.writeRow({"def"}); }), CSVError::Kind::cannotWriteStream);
    EXPECT_EQ(full->data(), "abc\nd");  // what was written stays written
}

TEST(CSVWriter, ClosesTheStreamWhenDone)
{
    auto stream = std::make_shared<csv::MemoryOutputStream>();
    {
        CSVWriter writer(stream);
        EXPECT_EQ(stream->streamStatus(), csv::StreamStatus::open);
    }
    EXPECT_EQ(stream->streamStatus(), csv::StreamStatus::closed);
}

// Any list of non-empty rows, written and read back with the same
// delimiter, comes back unchanged: in every encoding and byte order.
TEST(CSVWriter, RowsReadBackAsWritten)
{
    const std::vector<std::string> pieces = {"a", "Zz", " ", "\t", "\"", ",", ";", "|", "\r", "\n", "\r\n",
                                             "\u00E9", "\u6771", "\U0001F600", "\u00A7", "\uFEFF", "\uFFFE",
                                             std::string(1, '\0'), "\u00A0", ""};
    const std::vector<std::string> delimiters = {",", ";", "\t", "|", " ", "\u00A7", "\U0001F600", "\u3000"};
    struct Encoding {
        int width;
        csv::Endian endian;
    };
    const Encoding encodings[] = {{8, csv::Endian::unknown}, {16, csv::Endian::big}, {16, csv::Endian::little},
                                  {32, csv::Endian::big}, {32, csv::Endian::little}};

    std::mt19937 random(1234);
    const auto below = [&](std::size_t n) { return static_cast<std::size_t>(random() % n); };
    for (int round = 0; round < 3000; ++round) {
        Rows rows(1 + below(4));
        for (auto& row : rows) {
            row.resize(1 + below(4));
            for (auto& field : row)
                for (std::size_t n = below(5); n > 0; --n)
                    field += pieces[below(pieces.size())];
        }
        const std::string delimiter = delimiters[round % delimiters.size()];
        const char32_t scalar = csvtest::decodeLeniently(delimiter)[0];
        const Encoding encoding = encodings[(round / 8) % 5];
        const auto newline = round % 3 ? CSVWriter::Newline::lf : CSVWriter::Newline::crlf;

        auto out = std::make_shared<csv::MemoryOutputStream>();
        {
            std::optional<CSVWriter> writer;
            if (encoding.width == 8)
                writer.emplace(out, csv::UTF8 {}, delimiter, newline);
            else if (encoding.width == 16)
                writer.emplace(out, csv::UTF16 {}, encoding.endian, delimiter, newline);
            else
                writer.emplace(out, csv::UTF32 {}, encoding.endian, delimiter, newline);
            for (const auto& row : rows)
                writer->writeRow(row);
        }

        // Read back declaring the byte order, and letting a mark decide.
        for (const csv::Endian declared : {encoding.endian, csv::Endian::unknown}) {
            if (encoding.width != 8 && declared == csv::Endian::unknown)
                continue;
            auto in = std::make_shared<csv::MemoryInputStream>(out->data());
            const auto binary = csv::BinaryReader::make(in, declared, true, 1 + below(64));
            const csv::CSVReader::Configuration configuration(false, false, scalar);
            std::optional<csv::CSVReader> reader;
            if (encoding.width == 8)
                reader.emplace(binary, csv::UTF8 {}, configuration);
            else if (encoding.width == 16)
                reader.emplace(binary, csv::UTF16 {}, configuration);
            else
                reader.emplace(binary, csv::UTF32 {}, configuration);
            ASSERT_EQ(readAll(*reader), rows) << "round " << round << " delimiter " << delimiter;
            ASSERT_FALSE(reader->error());
        }
        if (encoding.width == 8) {
            csv::CSVReader reader(out->data(), false, false, scalar);
            ASSERT_EQ(readAll(reader), rows) << "round " << round;
        }
    }
}
