#include "CSVTestSupport.h"

#include "CSV/CSVReader.h"
#include "CSV/MemoryStreams.h"

#include <gtest/gtest.h>

using namespace csvtest;
using csv::CSVError;
using csv::CSVReader;

// The grammar on strings: one row per case (text, trim, delimiter, rows).
TEST(CSVReader, Grammar)
{
    const struct {
        const char* text;
        bool trim;
        char32_t delimiter;
        Rows rows;
    } cases[] = {
        {"a,b\nc,d\n", false, U',', {{"a", "b"}, {"c", "d"}}},
        {"a,b", false, U',', {{"a", "b"}}},
        {"a\r\nb", false, U',', {{"a"}, {"b"}}},
        {"a\rb", false, U',', {{"a"}, {"b"}}},
        {"a\n\rb", false, U',', {{"a"}, {""}, {"b"}}},
        {"a\n\nb", false, U',', {{"a"}, {""}, {"b"}}},
        {"a,b,", false, U',', {{"a", "b", ""}}},
        {",,", false, U',', {{"", "", ""}}},
        {"", false, U',', {}},
        {"a,b\nc", false, U',', {{"a", "b"}, {"c"}}},
        {"\"a,b\",c", false, U',', {{"a,b", "c"}}},
        {"\"say \"\"hi\"\"\"", false, U',', {{"say \"hi\""}}},
        {"\"a\nb\",c", false, U',', {{"a\nb", "c"}}},
        {"ab\"c,d", false, U',', {{"ab\"c", "d"}}},
        {"\"abc", false, U',', {{"abc"}}},
        // Text after a closing quote is kept, the quote with it.
        {"\"ab\"cd,e\"f\ng\"", false, U',', {{"ab\"cd,e\"f\ng"}}},
        {" \"a\" ,b", false, U',', {{" \"a\" ", "b"}}},
        {" \"a\" ,b", true, U',', {{"a", "b"}}},
        {"  a  ,  b  ", true, U',', {{"a", "b"}}},
        {"x\n   \ny", true, U',', {{"x"}, {""}, {"y"}}},
        // The delimiter is never trimmed, even when it is whitespace.
        {"a\t\tb", true, U'\t', {{"a", "", "b"}}},
        {"\u3000a b\u00A0,\" c \"", true, U',', {{"a b", " c "}}},
        // Each ill-formed subpart is one U+FFFD; the rest of the text is kept.
        {"a\xFF,b\xE2\x82,c\xED\xA0\x80", false, U',', {{"a\uFFFD", "b\uFFFD", "c\uFFFD\uFFFD\uFFFD"}}},
        {"a\u00A7b\u00A7\u00E9", false, U'\u00A7', {{"a", "b", "\u00E9"}}},
        {"a\U0001F600\"b\U0001F600c\"", false, U'\U0001F600', {{"a", "b\U0001F600c"}}},
        // A delimiter equal to LF acts as a line break; a quote delimiter
        // still opens quoted fields.
        {"a\nb", false, U'\n', {{"a"}, {"b"}}},
        {"a\"\"b\"c", false, U'"', {{"a", "b\"c"}}},
    };
    for (const auto& c : cases) {
        CSVReader reader(c.text, false, c.trim, c.delimiter);
        EXPECT_EQ(readAll(reader), c.rows) << testing::PrintToString(std::string(c.text));
    }
}

TEST(CSVReader, HeaderLookups)
{
    CSVReader reader("id,name,id\n1,x,2\n7", true);
    ASSERT_TRUE(reader.headerRow());
    EXPECT_EQ(*reader.headerRow(), (CSVReader::Row {"id", "name", "id"}));
    EXPECT_FALSE(reader.currentRow());
    ASSERT_TRUE(reader.next());
    EXPECT_EQ(reader["id"], "1");
    EXPECT_EQ(reader["name"], "x");
    EXPECT_EQ(reader["nope"], std::nullopt);
    ASSERT_TRUE(reader.next());
    EXPECT_EQ(reader["name"], "");
    EXPECT_FALSE(reader.next());
    EXPECT_FALSE(reader.currentRow());
    EXPECT_FALSE(reader.next());
}

TEST(CSVReader, EmptyInputHasNoHeaderRow)
{
    try {
        CSVReader reader("", true);
        FAIL() << "no error";
    } catch (const CSVError& error) {
        EXPECT_EQ(error.kind(), CSVError::Kind::cannotReadHeaderRow);
        EXPECT_STREQ(error.what(), "cannotReadHeaderRow");
    }
}

TEST(CSVReader, StreamWithInvalidByteEndsTheRowAndGoesOn)
{
    CSVReader reader(bytes("a,b\xFF" "c\n"));
    EXPECT_EQ(reader.next(), (CSVReader::Row {"a", "b"}));
    ASSERT_TRUE(reader.error());
    EXPECT_EQ(reader.error()->kind(), CSVError::Kind::unicodeDecoding);
    EXPECT_EQ(reader.next(), (CSVReader::Row {"c"}));
    EXPECT_FALSE(reader.next());
}

TEST(CSVReader, LeadingByteOrderMarkIsTextInAString)
{
    // The header name keeps it.
    CSVReader reader("\uFEFFid\n1", true);
    EXPECT_EQ((*reader.headerRow())[0], "\uFEFFid");
    ASSERT_TRUE(reader.next());
    EXPECT_EQ(reader["id"], std::nullopt);
}

TEST(CSVReader, StreamEncodingsAndMarks)
{
    {
        CSVReader reader(bytes("\xEF\xBB\xBFid,name\n1,x\n"), true);
        ASSERT_TRUE(reader.next());
        EXPECT_EQ(reader["id"], "1");
    }
    {
        CSVReader reader(bytes(std::string("\0a\0,\0b\0\n\0c", 11)), csv::UTF16 {});
        EXPECT_EQ(readAll(reader), (Rows {{"a", "b"}, {"c"}}));
    }
    {
        CSVReader reader(bytes(std::string("\xFF\xFE\0\0a\0\0\0", 8)), csv::UTF32 {}, csv::Endian::unknown);
        EXPECT_EQ(readAll(reader), (Rows {{"a"}}));
    }
    {
        // No byte order and no mark: nothing can be read.
        CSVReader reader(bytes(std::string("a\0", 2)), csv::UTF16 {}, csv::Endian::unknown);
        EXPECT_FALSE(reader.next());
        ASSERT_TRUE(reader.error());
        EXPECT_EQ(reader.error()->kind(), CSVError::Kind::stringEndianMismatch);
    }
    EXPECT_EQ(errorKind([] { CSVReader(bytes(std::string("a\0", 2)), csv::UTF16 {}, csv::Endian::unknown, true); }),
              CSVError::Kind::cannotReadHeaderRow);
}

TEST(CSVReader, ErrorsWhileReadingTheHeaderAreNotRecorded)
{
    CSVReader reader(bytes("id,na\xFFme\nx,y"), true);
    EXPECT_EQ(*reader.headerRow(), (CSVReader::Row {"id", "na"}));
    EXPECT_FALSE(reader.error());
    EXPECT_EQ(reader.next(), (CSVReader::Row {"me"}));
    EXPECT_EQ(reader.next(), (CSVReader::Row {"x", "y"}));
    EXPECT_FALSE(reader.error());
}

TEST(CSVReader, ErrorAtTheStartOfARowEndsTheInputForOneCall)
{
    CSVReader reader(bytes("a\n\xFF" "b\n\xFF"));
    EXPECT_EQ(reader.next(), (CSVReader::Row {"a"}));
    EXPECT_EQ(reader.errorCount(), 0u);
    EXPECT_FALSE(reader.next());
    EXPECT_EQ(reader.error()->kind(), CSVError::Kind::unicodeDecoding);
    EXPECT_EQ(reader.errorCount(), 1u);
    EXPECT_EQ(reader.next(), (CSVReader::Row {"b"}));
    EXPECT_FALSE(reader.next());
    EXPECT_EQ(reader.errorCount(), 2u);
    EXPECT_FALSE(reader.next());  // the end, not an error
    EXPECT_EQ(reader.errorCount(), 2u);
}

TEST(CSVReader, AnyScalarIterator)
{
    std::u32string text = U"x, y\n\"\U0001F600\"";
    text.push_back(0xD800);  // not a scalar: read as U+FFFD
    std::size_t i = 0;
    CSVReader reader(
        [&]() -> std::optional<char32_t> {
            if (i == text.size())
                return std::nullopt;
            return text[i++];
        },
        CSVReader::Configuration(false, true));
    EXPECT_EQ(readAll(reader), (Rows {{"x", "y"}, {"\U0001F600\"\uFFFD"}}));
}

TEST(CSVReader, MovesAndIterates)
{
    CSVReader first("h\n1\n2\n3", true);
    CSVReader reader = std::move(first);
    EXPECT_EQ(reader.next(), (CSVReader::Row {"1"}));
    Rows rest;
    for (const auto& row : reader)
        rest.push_back(row);
    EXPECT_EQ(rest, (Rows {{"2"}, {"3"}}));
    EXPECT_EQ(*reader.headerRow(), (CSVReader::Row {"h"}));
}

TEST(CSVReaderDeathTest, LookupsNeedAHeaderAndARow)
{
    EXPECT_DEATH(
        {
            CSVReader reader("a,b");
            reader.next();
            (void)reader["a"];
        },
        "^CSVReader.headerRow must not be nil\n");
    EXPECT_DEATH(
        {
            CSVReader reader("a,b\n1,2", true);
            (void)reader["a"];
        },
        "^CSVReader.currentRow must not be nil\n");
    // An unknown key is answered before the row is looked at.
    CSVReader reader("a,b", true);
    EXPECT_EQ(reader["x"], std::nullopt);
}

// nextFields() reads the same rows as next() from every kind of source, and
// the two can take turns; a row of views leaves no current row behind.
TEST(CSVReader, FieldsAndRowsTakeTurns)
{
    const std::string text = "id,name\n1,\"a, \"\"b\"\"\"\n2,\xC3\xA9\r\n\n3,\"x\ny\"";
    const Rows expected {{"1", "a, \"b\""}, {"2", "\u00E9"}, {""}, {"3", "x\ny"}};
    std::size_t position = 0;
    const std::u32string scalars = decodeLeniently(text);
    std::vector<CSVReader> readers;
    readers.emplace_back(text, true);
    readers.emplace_back(CSVReader::borrowed, text, true);
    readers.emplace_back(bytes(text), true);
    readers.emplace_back(csv::BinaryReader::make(bytes(text), csv::Endian::unknown, true, 3), csv::UTF8 {},
                         CSVReader::Configuration(true));
    readers.emplace_back(
        [&]() -> std::optional<char32_t> {
            if (position == scalars.size())
                return std::nullopt;
            return scalars[position++];
        },
        CSVReader::Configuration(true));
    for (std::size_t r = 0; r < readers.size(); ++r) {
        CSVReader& reader = readers[r];
        EXPECT_EQ(reader.headerRow(), (CSVReader::Row {"id", "name"})) << r;
        Rows rows;
        for (std::size_t i = 0;; ++i) {
            if (i % 2 == 0) {
                const auto fields = reader.nextFields();
                EXPECT_FALSE(reader.currentRow()) << r;
                if (!fields)
                    break;
                rows.emplace_back(fields->begin(), fields->end());
            } else {
                const auto& row = reader.next();
                if (!row)
                    break;
                EXPECT_EQ(reader["name"], row->size() > 1 ? (*row)[1] : "") << r;
                rows.push_back(*row);
            }
        }
        EXPECT_EQ(rows, expected) << r;
        EXPECT_FALSE(reader.nextFields()) << r;
        EXPECT_FALSE(reader.error()) << r;
    }
}
