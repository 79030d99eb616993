#include "CSVTestSupport.h"

#include "CSV/BinaryReader.h"
#include "CSV/MemoryStreams.h"
#include "CSV/UnicodeBOM.h"
#include "CSV/UnicodeIterator.h"

#include <gtest/gtest.h>

using namespace csvtest;
using csv::BinaryReader;
using csv::CSVError;
using csv::Endian;

namespace {

std::optional<CSVError::Kind> constructionError(std::string data, Endian endian)
{
    return errorKind([&] { BinaryReader::make(bytes(std::move(data)), endian, true); });
}

// Everything an iterator yields, with the errors it reported.
template <class Iterator>
auto drain(Iterator& iterator, std::vector<CSVError::Kind>& errors)
{
    iterator.errorHandler = [&errors](const CSVError& e) { errors.push_back(e.kind()); };
    std::vector<std::uint32_t> units;
    while (const auto unit = iterator.next())
        units.push_back(*unit);
    return units;
}

} // namespace

TEST(UnicodeBOM, DetectionOrder)
{
    using csv::UnicodeBOM::detect;
    using Detected = csv::UnicodeBOM::Detected;
    const auto of = [](std::string s) { return detect({reinterpret_cast<const std::uint8_t*>(s.data()), s.size()}); };
    EXPECT_EQ(of(std::string("\0\0\xFE\xFF", 4)), (Detected {Endian::big, 4}));
    EXPECT_EQ(of(std::string("\xFF\xFE\0\0", 4)), (Detected {Endian::little, 4}));
    EXPECT_EQ(of("\xEF\xBB\xBF" "a"), (Detected {Endian::unknown, 3}));
    EXPECT_EQ(of("\xFE\xFF"), (Detected {Endian::big, 2}));
    EXPECT_EQ(of("\xFF\xFE" "a"), (Detected {Endian::little, 2}));
    EXPECT_EQ(of("\xFF"), std::nullopt);
    EXPECT_EQ(of("abc"), std::nullopt);
}

TEST(BinaryReader, ByteOrderMarks)
{
    {
        auto reader = BinaryReader::make(bytes("\xEF\xBB\xBF" "a"), Endian::unknown, true);
        EXPECT_EQ(reader->readUInt8(), 'a');
        EXPECT_FALSE(reader->hasBytesAvailable());
    }
    {
        // The UTF-32 LE mark wins over UTF-16 LE followed by U+0000.
        auto reader = BinaryReader::make(bytes(std::string("\xFF\xFE\0\0A\0", 6)), Endian::unknown, true);
        EXPECT_EQ(reader->endian(), Endian::little);
        EXPECT_EQ(reader->readUInt16(), 'A');
    }
    EXPECT_EQ(constructionError("\xFE\xFF", Endian::little), CSVError::Kind::stringEndianMismatch);
    EXPECT_EQ(constructionError("\xEF\xBB\xBF", Endian::big), CSVError::Kind::stringEndianMismatch);
    EXPECT_EQ(BinaryReader::make(bytes("\xFE\xFF"), Endian::unknown, true)->endian(), Endian::big);
    EXPECT_EQ(constructionError("", Endian::unknown), std::nullopt);
    // With a one-byte buffer the first read sees one byte: no mark.
    auto reader = BinaryReader::make(bytes("\xEF\xBB\xBF"), Endian::unknown, true, 1);
    std::vector<CSVError::Kind> errors;
    auto iterator = reader->makeUInt8Iterator();
    EXPECT_EQ(drain(*iterator, errors), (std::vector<std::uint32_t> {0xEF, 0xBB, 0xBF}));
    EXPECT_TRUE(errors.empty());
}

TEST(BinaryReader, CodeUnitsAndTheirErrors)
{
    EXPECT_EQ(BinaryReader::make(bytes(std::string("\0A", 2)), Endian::big, true)->readUInt16(), 0x0041);
    EXPECT_EQ(BinaryReader::make(bytes(std::string("\0A", 2)), Endian::little, true)->readUInt16(), 0x4100);
    EXPECT_EQ(BinaryReader::make(bytes("\x01\x02\x03\x04"), Endian::big, true)->readUInt32(), 0x01020304u);
    EXPECT_EQ(BinaryReader::make(bytes("\x01\x02\x03\x04"), Endian::little, true)->readUInt32(), 0x04030201u);

    std::vector<CSVError::Kind> errors;
    auto odd = BinaryReader::make(bytes(std::string("a\0b", 3)), Endian::little, true)->makeUInt16Iterator();
    EXPECT_EQ(drain(*odd, errors), (std::vector<std::uint32_t> {'a'}));
    EXPECT_EQ(errors, (std::vector {CSVError::Kind::stringEncodingMismatch}));

    auto unknown = BinaryReader::make(bytes("ab"), Endian::unknown, true);
    EXPECT_EQ(errorKind([&] { unknown->readUInt16(); }), CSVError::Kind::stringEndianMismatch);
    EXPECT_FALSE(unknown->hasBytesAvailable());  // the unit's bytes are consumed
}

TEST(BinaryReader, StreamFailures)
{
    // Says bytes are available, then delivers none.
    auto liar = std::make_shared<ChunkyInputStream>("", 1, 0);
    EXPECT_EQ(constructionError("", Endian::unknown), std::nullopt);
    EXPECT_EQ(errorKind([&] { BinaryReader::make(liar, Endian::unknown, true); }), CSVError::Kind::cannotReadFile);

    std::vector<CSVError::Kind> errors;
    auto later = std::make_shared<ChunkyInputStream>("abcdef", 2, 2, std::make_error_code(std::errc::io_error));
    auto reader = BinaryReader::make(later, Endian::unknown, true, 2);
    auto units = reader->makeUInt8Iterator();
    units->errorHandler = [&](const CSVError& e) {
        errors.push_back(e.kind());
        EXPECT_EQ(e.streamError(), std::make_error_code(std::errc::io_error));
    };
    EXPECT_EQ(units->next(), 'a');
    EXPECT_EQ(units->next(), 'b');
    EXPECT_EQ(units->next(), std::nullopt);
    EXPECT_EQ(errors, (std::vector {CSVError::Kind::streamErrorHasOccurred}));

    auto closed = bytes("x");
    closed->open();
    closed->close();
    EXPECT_EQ(errorKind([&] { BinaryReader::make(closed, Endian::unknown, true); }), CSVError::Kind::cannotOpenFile);
}

TEST(BinaryReader, ClosesTheStreamOnlyWhenBuiltToDoSo)
{
    auto stream = bytes("abc");
    {
        auto reader = BinaryReader::make(stream, Endian::unknown, true);
        auto iterator = reader->makeUInt8Iterator();
        reader.reset();  // the iterator keeps it alive
        EXPECT_NE(stream->streamStatus(), csv::StreamStatus::closed);
        EXPECT_EQ(iterator->next(), 'a');
    }
    EXPECT_EQ(stream->streamStatus(), csv::StreamStatus::closed);

    auto kept = bytes("abc");
    BinaryReader::make(kept, Endian::unknown, false);
    EXPECT_NE(kept->streamStatus(), csv::StreamStatus::closed);

    // A failed construction leaves the stream as it was: open.
    auto failed = bytes("\xFE\xFF");
    EXPECT_THROW(BinaryReader::make(failed, Endian::little, true), CSVError);
    EXPECT_NE(failed->streamStatus(), csv::StreamStatus::closed);
}

namespace {

template <class Codec>
std::u32string decodeUnits(const std::vector<typename Codec::CodeUnit>& units, int& errors)
{
    struct Units {
        const std::vector<typename Codec::CodeUnit>* units;
        std::size_t i = 0;
        std::optional<typename Codec::CodeUnit> next()
        {
            if (i == units->size())
                return std::nullopt;
            return (*units)[i++];
        }
    };
    csv::UnicodeIterator<Units, Codec> iterator(Units {&units});
    iterator.errorHandler = [&errors](const CSVError& e) {
        EXPECT_EQ(e.kind(), CSVError::Kind::unicodeDecoding);
        ++errors;
    };
    std::u32string out;
    // Nothing after an error means "ask again"; nothing without one, the end.
    for (;;) {
        const int before = errors;
        if (const auto c = iterator.next())
            out.push_back(*c);
        else if (errors == before)
            return out;
    }
}

} // namespace

TEST(UnicodeIterator, UTF8MaximalSubparts)
{
    // The Unicode standard's example: each maximal subpart is one error and
    // the byte that ends it is decoded afresh.
    int errors = 0;
    const std::vector<std::uint8_t> input = {0x61, 0xF1, 0x80, 0x80, 0xE1, 0x80, 0xC2, 0x62,
                                             0x80, 0x63, 0x80, 0xBF, 0x64};
    EXPECT_EQ(decodeUnits<csv::UTF8>(input, errors), U"abcd");
    EXPECT_EQ(errors, 6);

    // Overlong forms, surrogates and values above U+10FFFF are ill-formed.
    for (const auto& bad : std::vector<std::vector<std::uint8_t>> {
             {0xC0, 0xAF}, {0xE0, 0x80, 0xAF}, {0xED, 0xA0, 0x80}, {0xF4, 0x90, 0x80, 0x80}, {0xF5}, {0xE2, 0x82}}) {
        errors = 0;
        EXPECT_EQ(decodeUnits<csv::UTF8>(bad, errors), U"");
        EXPECT_GE(errors, 1);
    }
    errors = 0;
    EXPECT_EQ(decodeUnits<csv::UTF8>({0xE2, 0x82, 0xAC, 0xF0, 0x9F, 0x98, 0x80}, errors), U"\u20AC\U0001F600");
    EXPECT_EQ(errors, 0);
}

TEST(UnicodeIterator, UTF16AndUTF32)
{
    int errors = 0;
    EXPECT_EQ(decodeUnits<csv::UTF16>({0x41, 0xD83D, 0xDE00, 0xDC00, 0xD800, 0x42, 0xD800}, errors),
              U"A\U0001F600B");
    EXPECT_EQ(errors, 3);  // lone low, high before B (B kept), high at the end
    errors = 0;
    EXPECT_EQ(decodeUnits<csv::UTF32>({0x41, 0xD800, 0x110000, 0x1F600}, errors), U"A\U0001F600");
    EXPECT_EQ(errors, 2);
}
