#include "CSV/CSVReader.h"
#include "CSV/MemoryStreams.h"

#include <gtest/gtest.h>

using csv::CSVError;
using csv::CSVReader;
using Rows = std::vector<CSVReader::Row>;

namespace {

Rows readAll(CSVReader& reader)
{
    Rows rows;
    while (const auto& row = reader.next())
        rows.push_back(*row);
    return rows;
}

Rows readString(std::string text, bool trim = false, char32_t delimiter = U',')
{
    CSVReader reader(std::move(text), false, trim, delimiter);
    return readAll(reader);
}

std::shared_ptr<csv::MemoryInputStream> bytes(std::string data)
{
    return std::make_shared<csv::MemoryInputStream>(std::move(data));
}

} // namespace

TEST(CSVReader, RowsAndLineBreaks)
{
    EXPECT_EQ(readString("a,b\nc,d\n"), (Rows {{"a", "b"}, {"c", "d"}}));
    EXPECT_EQ(readString("a,b"), (Rows {{"a", "b"}}));
    for (const char* text : {"a\r\nb", "a\rb", "a\nb"})
        EXPECT_EQ(readString(text), (Rows {{"a"}, {"b"}})) << text;
    EXPECT_EQ(readString("a\n\rb"), (Rows {{"a"}, {""}, {"b"}}));
    EXPECT_EQ(readString("a\n\nb"), (Rows {{"a"}, {""}, {"b"}}));
    EXPECT_EQ(readString("a,b,"), (Rows {{"a", "b", ""}}));
    EXPECT_EQ(readString(",,"), (Rows {{"", "", ""}}));
    EXPECT_EQ(readString(""), Rows {});
    EXPECT_EQ(readString("a,b\nc"), (Rows {{"a", "b"}, {"c"}}));
}

TEST(CSVReader, Quotes)
{
    EXPECT_EQ(readString("\"a,b\",c"), (Rows {{"a,b", "c"}}));
    EXPECT_EQ(readString("\"say \"\"hi\"\"\""), (Rows {{"say \"hi\""}}));
    EXPECT_EQ(readString("\"a\nb\",c"), (Rows {{"a\nb", "c"}}));
    EXPECT_EQ(readString("ab\"c,d"), (Rows {{"ab\"c", "d"}}));
    EXPECT_EQ(readString("\"abc"), (Rows {{"abc"}}));
    // Text after a closing quote is kept, the quote with it.
    EXPECT_EQ(readString("\"ab\"cd,e\"f\ng\""), (Rows {{"ab\"cd,e\"f\ng"}}));
}

TEST(CSVReader, Trimming)
{
    EXPECT_EQ(readString(" \"a\" ,b"), (Rows {{" \"a\" ", "b"}}));
    EXPECT_EQ(readString(" \"a\" ,b", true), (Rows {{"a", "b"}}));
    EXPECT_EQ(readString("  a  ,  b  ", true), (Rows {{"a", "b"}}));
    EXPECT_EQ(readString("x\n   \ny", true), (Rows {{"x"}, {""}, {"y"}}));
    EXPECT_EQ(readString("a\t\tb", true, U'\t'), (Rows {{"a", "", "b"}}));
    EXPECT_EQ(readString("\u3000a b\u00A0,\" c \"", true), (Rows {{"a b", " c "}}));
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
