#include "CSV/CSVRowDecoder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <stdexcept>

namespace {

using csv::CSVReader;
using csv::CSVRowDecoder;
using csv::DecodingError;
using Kind = csv::DecodingError::Kind;

struct Station {
    std::int64_t id;
    std::string url, image, genre, title;

    CSV_CODING_KEYS(CodingKeys, id, url, image, genre, title)

    static Station decode(csv::Decoder& decoder)
    {
        auto c = decoder.container<CodingKeys>();
        return {c.decode<std::int64_t>(CodingKeys::id), c.decode<std::string>(CodingKeys::url),
                c.decode<std::string>(CodingKeys::image), c.decode<std::string>(CodingKeys::genre),
                c.decode<std::string>(CodingKeys::title)};
    }
};

// A record reading one field of type T from column "v".
template <class T>
struct One {
    T v;
    CSV_CODING_KEYS(Keys, v)
    static One decode(csv::Decoder& decoder) { return {decoder.container<Keys>().template decode<T>(Keys::v)}; }
};

// The reader positioned on the first row after the header.
CSVReader readerOn(std::string text, bool hasHeaderRow = true)
{
    CSVReader reader(std::move(text), hasHeaderRow);
    reader.next();
    return reader;
}

template <class T>
T decodeValue(const std::string& field, const CSVRowDecoder& decoder = CSVRowDecoder())
{
    return decoder.decode<One<T>>(readerOn("v\n\"" + field + "\"\n")).v;
}

// The error `attempt` throws, which it must.
template <class Attempt>
DecodingError failure(Attempt attempt)
{
    try {
        attempt();
    } catch (const DecodingError& error) {
        return error;
    }
    ADD_FAILURE() << "no DecodingError";
    return DecodingError::dataCorrupted({});
}

template <class T>
DecodingError decodeError(const std::string& field, const CSVRowDecoder& decoder = CSVRowDecoder())
{
    return failure([&] { decodeValue<T>(field, decoder); });
}

template <class T>
DecodingError rowError(const char* text, bool hasHeaderRow = true)
{
    return failure([&] { CSVRowDecoder().decode<T>(readerOn(text, hasHeaderRow)); });
}

std::vector<std::string> pathOf(const DecodingError& error)
{
    std::vector<std::string> names;
    for (const auto& key : error.codingPath())
        names.push_back(key.stringValue);
    return names;
}

// Each text fails to decode as a T in column "v", with `message` ("{}" stands
// for the text).
template <class T>
void expectRefused(const std::vector<std::string>& texts, Kind kind, const std::string& message,
                   const CSVRowDecoder& decoder = {})
{
    for (const std::string& text : texts) {
        const DecodingError error = decodeError<T>(text, decoder);
        std::string expected = message;
        if (const auto at = expected.find("{}"); at != std::string::npos)
            expected.replace(at, 2, text);
        EXPECT_EQ(error.kind(), kind) << text;
        EXPECT_EQ(error.what(), expected);
        EXPECT_EQ(pathOf(error), std::vector<std::string>{"v"}) << text;
    }
}

// Records of the tests below (key tables cannot live in function-local types).
struct Record {
    std::optional<std::string> title, name;
    bool titleNil;
    CSV_CODING_KEYS(Keys, id, title, name)
    static Record decode(csv::Decoder& decoder)
    {
        auto c = decoder.container<Keys>();
        EXPECT_TRUE(c.contains(Keys::title));
        EXPECT_FALSE(c.contains(Keys::name));
        return {c.decodeIfPresent<std::string>(Keys::title), c.decodeIfPresent<std::string>(Keys::name),
                c.decodeNil(Keys::title)};
    }
};

struct Pair {
    std::string first, second;
    CSV_INT_CODING_KEYS(Keys, a, b)
    static Pair decode(csv::Decoder& decoder)
    {
        auto c = decoder.container<Keys>();
        return {c.decode<std::string>(Keys::a), c.decode<std::string>(Keys::b)};
    }
};

struct Nested {
    int which;
    CSV_CODING_KEYS(Keys, v)
    static Nested decode(csv::Decoder& decoder)
    {
        auto c = decoder.container<Keys>();
        const int which = std::any_cast<int>(decoder.userInfo().at("which"));
        if (which == 0)
            c.nestedContainer<Keys>(Keys::v);
        if (which == 1)
            c.nestedUnkeyedContainer(Keys::v);
        if (which == 2)
            c.superDecoder();
        if (which == 3)
            c.superDecoder(Keys::v);
        decoder.unkeyedContainer();
    }
};

struct TwoFlags {
    bool a, b;
    CSV_CODING_KEYS(Keys, a, b)
    static TwoFlags decode(csv::Decoder& decoder)
    {
        auto c = decoder.container<Keys>();
        return {c.decode<bool>(Keys::a), c.decode<bool>(Keys::b)};
    }
};

TEST(CSVRowDecoder, DecodesStationWhateverTheColumnOrder)
{
    for (const char* text : {"id,url,image,genre,title\n7,http://s/a,http://s/a.png,Jazz,\"Blue, Note\"\n",
                             "title,genre,extra,image,url,id\n\"Blue, Note\",Jazz,x,http://s/a.png,http://s/a,7\n",
                             "genre,id,title,id,url,image\nJazz,7,\"Blue, Note\",99,http://s/a,http://s/a.png\n"}) {
        const Station s = CSVRowDecoder().decode<Station>(readerOn(text));
        EXPECT_EQ(s.id, 7) << text;
        EXPECT_EQ(s.url, "http://s/a");
        EXPECT_EQ(s.image, "http://s/a.png");
        EXPECT_EQ(s.genre, "Jazz");
        EXPECT_EQ(s.title, "Blue, Note");
    }
}

TEST(CSVRowDecoder, ReportsTheFirstFailingFieldInDeclarationOrder)
{
    const DecodingError error = rowError<Station>("title,id,genre\nx,abc\n");
    EXPECT_EQ(error.kind(), Kind::typeMismatch);
    EXPECT_EQ(error.type(), "Int64");
    EXPECT_STREQ(error.what(), "Expected to decode Int64 but found abc instead.");
    EXPECT_EQ(pathOf(error), std::vector<std::string>{"id"});
}

TEST(CSVRowDecoder, MissingAndEmptyFields)
{
    // An empty field and a field beyond the row's end behave the same.
    for (const char* text : {"id,title\n1,\n", "id,title\n1\n"}) {
        const Record r = CSVRowDecoder().decode<Record>(readerOn(text));
        EXPECT_FALSE(r.title) << text;
        EXPECT_FALSE(r.name);
        EXPECT_TRUE(r.titleNil);
    }
    for (const char* text : {"id,url,image,genre,title\n1,u,i,g,\n", "id,url,image,genre,title\n1,u,i,g\n"}) {
        const DecodingError error = rowError<Station>(text);
        EXPECT_EQ(error.kind(), Kind::valueNotFound) << text;
        EXPECT_EQ(error.type(), "String");
        EXPECT_STREQ(error.what(), "Expected String value but found null instead.");
        EXPECT_EQ(pathOf(error), std::vector<std::string>{"title"});
    }
}

TEST(CSVRowDecoder, KeyNotFound)
{
    for (const char* text : {"id,url,image,genre\n1,u,i,g\n", "id,url,image,genre,name\n1,u,i,g,n\n"}) {
        const DecodingError error = rowError<Station>(text);
        EXPECT_EQ(error.kind(), Kind::keyNotFound) << text;
        ASSERT_TRUE(error.key());
        EXPECT_EQ(error.key()->stringValue, "title");
        EXPECT_STREQ(error.what(),
                     "No value associated with key CodingKeys(stringValue: \"title\", intValue: nil) (\"title\").");
        EXPECT_TRUE(error.codingPath().empty());
    }
}

TEST(CSVRowDecoder, IntegerKeysSelectColumnsByPositionWithOrWithoutHeader)
{
    const Pair withHeader = CSVRowDecoder().decode<Pair>(readerOn("b,a\nx,y\n"));
    EXPECT_EQ(withHeader.first, "x");
    const Pair noHeader = CSVRowDecoder().decode<Pair>(readerOn("x,y\n", false));
    EXPECT_EQ(noHeader.second, "y");
    EXPECT_STREQ(rowError<Pair>("x\n", false).what(),
                 "No value associated with key Keys(stringValue: \"b\", intValue: 1) (\"b\").");
    // Without a header every name is missing.
    EXPECT_THROW(CSVRowDecoder().decode<Station>(readerOn("1,u,i,g,t\n", false)), DecodingError);

    struct Dynamic {
        std::vector<std::string> names;
        std::string third;
        static Dynamic decode(csv::Decoder& decoder)
        {
            auto c = decoder.container<csv::ColumnKey>();
            Dynamic d{{}, c.decode<std::string>(2)};
            for (const auto& key : c.allKeys())
                d.names.push_back(key.name);
            return d;
        }
    };
    const Dynamic d = CSVRowDecoder().decode<Dynamic>(readerOn("p,q,r\n1,2,3\n"));
    EXPECT_EQ(d.names, (std::vector<std::string>{"p", "q", "r"}));
    EXPECT_EQ(d.third, "3");
    const Dynamic headerless = CSVRowDecoder().decode<Dynamic>(readerOn("1,2,3\n", false));
    EXPECT_TRUE(headerless.names.empty());
    EXPECT_EQ(headerless.third, "3");
}

TEST(CSVRowDecoder, AllKeysInHeaderOrderAndDuplicateHeadersUseTheFirstColumn)
{
    struct Keys2 {
        std::vector<Station::CodingKeys> keys;
        std::string id;
        static Keys2 decode(csv::Decoder& decoder)
        {
            auto c = decoder.container<Station::CodingKeys>();
            return {c.allKeys(), c.decode<std::string>(Station::CodingKeys::id)};
        }
    };
    const auto r = CSVRowDecoder().decode<Keys2>(readerOn("title,x,id,id\nt,x,first,second\n"));
    using K = Station::CodingKeys;
    EXPECT_EQ(r.keys, (std::vector<K>{K::title, K::id, K::id}));
    EXPECT_EQ(r.id, "first");
}

template <class T>
void expectIntegerLimits()
{
    using L = std::numeric_limits<T>;
    const std::string name = csv::typeName<T>();
    EXPECT_EQ(decodeValue<T>(std::to_string(L::max())), L::max()) << name;
    EXPECT_EQ(decodeValue<T>(std::to_string(L::min())), L::min()) << name;
    EXPECT_EQ(decodeValue<T>("+7"), T(7)) << name;
    EXPECT_EQ(decodeValue<T>("-0"), T(0)) << name;
    EXPECT_EQ(decodeValue<T>("007"), T(7)) << name;
    // One past each end, and texts that are not plain decimal integers.
    std::string above = std::to_string(L::max());
    above.back() = static_cast<char>(above.back() + 1);   // no max ends in 9
    std::vector<std::string> bad = {above, "abc", " 1", "1 ", "1.0", "+", "-", "+-1", "0x10", "1e2", "١"};
    if constexpr (std::is_signed_v<T>) {
        std::string below = std::to_string(L::min());
        below.back() = static_cast<char>(below.back() + 1);
        bad.push_back(below);
    } else {
        bad.push_back("-1");
    }
    expectRefused<T>(bad, Kind::typeMismatch, "Expected to decode " + name + " but found {} instead.");
}

template <class... T>
void expectIntegerLimitsOf()
{
    (expectIntegerLimits<T>(), ...);
}

TEST(CSVRowDecoder, IntegersOfEveryWidthAreStrictDecimalWithinRange)
{
    expectIntegerLimitsOf<std::int8_t, std::int16_t, std::int32_t, std::int64_t, csv::Int, std::uint8_t,
                          std::uint16_t, std::uint32_t, std::uint64_t, csv::UInt>();
    EXPECT_EQ(decodeError<std::uint8_t>("300").type(), "UInt8");
    EXPECT_STREQ(decodeError<csv::Int>("abc").what(), "Expected to decode Int but found abc instead.");
    EXPECT_EQ(decodeValue<std::uint64_t>("00000000000000000000018446744073709551615"), 18446744073709551615u);
    // Spaces fail unless the reader trims them.
    CSVReader trimmed("v\n 1 \n", true, true);
    trimmed.next();
    EXPECT_EQ(CSVRowDecoder().decode<One<int>>(trimmed).v, 1);
}

TEST(CSVRowDecoder, FloatingPointIsTheWholeTextAsTheNearestValue)
{
    EXPECT_EQ(decodeValue<double>("1.5"), 1.5);
    EXPECT_EQ(decodeValue<double>("+.5"), 0.5);
    EXPECT_EQ(decodeValue<double>("5."), 5.0);
    EXPECT_EQ(decodeValue<double>("-2.5E-3"), -0.0025);
    EXPECT_EQ(decodeValue<double>("1e+3"), 1000.0);
    EXPECT_EQ(decodeValue<float>("0.1"), 0.1f);
    EXPECT_EQ(decodeValue<double>("0.1"), 0.1);
    EXPECT_EQ(decodeValue<double>("1e-400"), 0.0);
    EXPECT_TRUE(std::signbit(decodeValue<double>("-1e-400")));
    EXPECT_EQ(decodeValue<double>("0.000000000000000000000000000000000000000000000000000001e-300"), 0.0);
    EXPECT_EQ(decodeValue<double>("4.9e-324"), std::numeric_limits<double>::denorm_min());
    expectRefused<double>({"1e400", "1000000000000000000000000000000000000000e300", "inf", "-infinity", "nan",
                           "0x1p3", " 1", "1 ", "1e", "e5", ".", "1,5", "--1", "1.2.3"},
                          Kind::typeMismatch, "Expected to decode Double but found {} instead.");
    EXPECT_EQ(decodeError<float>("3.5e38").type(), "Float");
    EXPECT_EQ(decodeValue<float>("1e-50"), 0.0f);
}

TEST(CSVRowDecoder, BoolStrategies)
{
    EXPECT_TRUE(decodeValue<bool>("true"));
    EXPECT_FALSE(decodeValue<bool>("false"));
    expectRefused<bool>({"True", "1", "yes", "true "}, Kind::typeMismatch,
                        "Expected to decode Bool but found {} instead.");

    CSVRowDecoder decoder;
    decoder.boolDecodingStrategy = csv::BoolDecodingStrategy::custom([](const std::string& text) {
        if (text == "yes" || text == "no")
            return text == "yes";
        throw std::invalid_argument("not yes or no: " + text);
    });
    EXPECT_TRUE(decodeValue<bool>("yes", decoder));
    try {
        decodeValue<bool>("true", decoder);
        FAIL();
    } catch (const std::invalid_argument& error) {   // the function's own error, unchanged
        EXPECT_STREQ(error.what(), "not yes or no: true");
    }
}

TEST(CSVRowDecoder, DateStrategies)
{
    using csv::Date;
    using S = csv::DateDecodingStrategy;
    CSVRowDecoder decoder;
    EXPECT_EQ(decodeValue<Date>("0", decoder).timeIntervalSince1970(), 978307200.0);
    EXPECT_EQ(decodeError<Date>("yesterday", decoder).type(), "Double");

    decoder.dateDecodingStrategy = S::secondsSince1970();
    EXPECT_EQ(decodeValue<Date>("1500", decoder).timeIntervalSince1970(), 1500.0);
    decoder.dateDecodingStrategy = S::millisecondsSince1970();
    EXPECT_EQ(decodeValue<Date>("1500", decoder).timeIntervalSince1970(), 1.5);
    EXPECT_EQ(decodeValue<Date>("1500", decoder).timePoint(),
              std::chrono::system_clock::time_point(std::chrono::milliseconds(1500)));
    EXPECT_EQ(decodeError<Date>("1.5.0", decoder).what(), std::string("Expected to decode Double but found 1.5.0 instead."));

    decoder.dateDecodingStrategy = S::iso8601();
    EXPECT_EQ(decodeValue<Date>("2020-01-02T03:04:05Z", decoder).timeIntervalSince1970(), 1577934245.0);
    EXPECT_EQ(decodeValue<Date>("2020-01-02T04:34:05+01:30", decoder).timeIntervalSince1970(), 1577934245.0);
    EXPECT_EQ(decodeValue<Date>("2020-01-01T23:04:05-04:00", decoder).timeIntervalSince1970(), 1577934245.0);
    EXPECT_EQ(decodeValue<Date>("2024-02-29T00:00:00Z", decoder).timeIntervalSince1970(), 1709164800.0);
    EXPECT_EQ(decodeValue<Date>("1969-12-31T23:59:59Z", decoder).timeIntervalSince1970(), -1.0);
    expectRefused<Date>({"2020-01-02", "2020-01-02T03:04:05", "2020-01-02T03:04:05.123Z", "2020-01-02 03:04:05Z",
                         "2023-02-29T00:00:00Z", "2020-13-01T00:00:00Z", "2020-01-02T24:00:00Z",
                         "2020-01-02T03:04:05+0100", "2020-01-02T03:04:05z", "20-01-02T03:04:05Z",
                         "2020-01-02T03:04:05Z "},
                        Kind::dataCorrupted, "Expected date string to be ISO8601-formatted.", decoder);

    decoder.dateDecodingStrategy = S::formatted([](const std::string& text) -> std::optional<Date> {
        if (text.size() == 8 && text.starts_with("day "))
            return Date{86400.0 * std::stoi(text.substr(4))};
        return std::nullopt;
    });
    EXPECT_EQ(decodeValue<Date>("day 0002", decoder).timeIntervalSinceReferenceDate, 172800.0);
    EXPECT_STREQ(decodeError<Date>("day 2", decoder).what(), "Date string does not match format expected by formatter.");

    decoder.dateDecodingStrategy = S::custom([](const std::string& text) -> Date {
        if (text == "epoch")
            return Date::fromTimeIntervalSince1970(0);
        throw std::runtime_error("unknown date");
    });
    EXPECT_EQ(decodeValue<Date>("epoch", decoder).timeIntervalSince1970(), 0.0);
    EXPECT_THROW(decodeValue<Date>("now", decoder), std::runtime_error);
}

TEST(CSVRowDecoder, DataStrategies)
{
    using csv::Data;
    const auto bytes = [](std::string text) { return Data{std::vector<std::uint8_t>(text.begin(), text.end())}; };
    EXPECT_EQ(decodeValue<Data>("aGk="), bytes("hi"));
    EXPECT_EQ(decodeValue<Data>("aGVsbG8gd29ybGQ="), bytes("hello world"));
    EXPECT_EQ(decodeValue<Data>("+/8A"), (Data{{0xfb, 0xff, 0x00}}));
    expectRefused<Data>({"aGk", "aG\nk=", "aGk=\n", "aG k=", "a===", "aGk=aGk=", "=aGk", "aGk*", "-_8A"},
                        Kind::dataCorrupted, "Encountered Data is not valid Base64.");
    CSVRowDecoder decoder;
    decoder.dataDecodingStrategy = csv::DataDecodingStrategy::custom([&](const std::string& text) { return bytes(text); });
    EXPECT_EQ(decodeValue<Data>("raw!", decoder), bytes("raw!"));
}

TEST(CSVRowDecoder, URLsAndDecimals)
{
    for (const char* text : {"https://radio.example:8443/live/stream.mp3?format=aac&x=%20#top", "http://[::1]:8000/a",
                             "logo.png", "../a/b?c", "//cdn.example/x", "mailto:user@example.org", "urn:isbn:0451450523"}) {
        EXPECT_EQ(decodeValue<csv::URL>(text).string(), text);
    }
    EXPECT_EQ(decodeValue<csv::URL>("HTTPS://x/").scheme(), "HTTPS");
    expectRefused<csv::URL>({"http://exa mple.com/", "http://x/%zz", "http://x/%4", "1http://x", ":x",
                             "http://x:80a/", "http://[::1/", "a#b#c", "http://x/ä", "http://x/<tag>", "http://x/a\\b"},
                            Kind::dataCorrupted, "Invalid URL string.");

    EXPECT_EQ(decodeValue<csv::Decimal>("+12.50").text(), "12.50");
    EXPECT_EQ(decodeValue<csv::Decimal>("-1e-3").toDouble(), -0.001);
    EXPECT_EQ(decodeValue<csv::Decimal>("123456789012345678901234567890.000001").text(),
              "123456789012345678901234567890.000001");
    expectRefused<csv::Decimal>({"12abc", "1,5", "abc", "nan", " 1", "."}, Kind::dataCorrupted,
                                "Invalid Decimal string.");
}

// A nested type reading its enclosing key's column.
struct Celsius {
    double degrees;
    static Celsius decode(csv::Decoder& decoder)
    {
        auto& single = decoder.singleValueContainer();
        EXPECT_FALSE(single.decodeNil());
        return {single.decode<double>()};
    }
};

// A nested type reading further columns of the same row.
struct Position {
    double lat, lon;
    CSV_CODING_KEYS(Keys, lat, lon)
    static Position decode(csv::Decoder& decoder)
    {
        auto c = decoder.container<Keys>();
        return {c.decode<double>(Keys::lat), c.decode<double>(Keys::lon)};
    }
};

struct Reading {
    std::string name;
    Celsius temperature;
    Position position;
    std::optional<Position> backup;
    CSV_CODING_KEYS(Keys, name, temperature, position, backup)
    static Reading decode(csv::Decoder& decoder)
    {
        auto c = decoder.container<Keys>();
        return {c.decode<std::string>(Keys::name), c.decode<Celsius>(Keys::temperature),
                c.decode<Position>(Keys::position), c.decodeIfPresent<Position>(Keys::backup)};
    }
};

TEST(CSVRowDecoder, NestedRecordsReadTheSameRow)
{
    const Reading r = CSVRowDecoder().decode<Reading>(readerOn("lon,name,position,temperature,lat\n2.5,x,here,-3.5,48\n"));
    EXPECT_EQ(r.temperature.degrees, -3.5);
    EXPECT_EQ(r.position.lat, 48.0);
    EXPECT_EQ(r.position.lon, 2.5);
    EXPECT_FALSE(r.backup);

    const auto errorOf = [](const char* text) { return rowError<Reading>(text); };
    DecodingError error = errorOf("name,temperature,position,lat,lon\nx,1,here,north,2\n");
    EXPECT_EQ(pathOf(error), (std::vector<std::string>{"position", "lat"}));
    EXPECT_STREQ(error.what(), "Expected to decode Double but found north instead.");

    error = errorOf("name,temperature,position,lat\nx,1,here,4\n");
    EXPECT_EQ(error.kind(), Kind::keyNotFound);
    EXPECT_EQ(pathOf(error), std::vector<std::string>{"position"});

    error = errorOf("name,temperature,position,lat,lon\nx,warm,here,1,2\n");
    EXPECT_EQ(pathOf(error), std::vector<std::string>{"temperature"});
    EXPECT_STREQ(error.what(), "Expected to decode Double but found warm instead.");

    // An empty field is never converted, not even into a nested record.
    error = errorOf("name,temperature,position,lat,lon\nx,1,,1,2\n");
    EXPECT_EQ(error.kind(), Kind::valueNotFound);
    EXPECT_STREQ(error.what(), "Expected Position value but found null instead.");
}

TEST(CSVRowDecoder, RefusesArraysAndNestedContainers)
{
    DecodingError error = failure([] { decodeValue<std::vector<int>>("1"); });
    EXPECT_EQ(error.kind(), Kind::valueNotFound);
    EXPECT_EQ(error.type(), "UnkeyedDecodingContainer");
    EXPECT_STREQ(error.what(), "Cannot get unkeyed decoding container -- found null value instead.");
    EXPECT_EQ(pathOf(error), std::vector<std::string>{"v"});

    const char* messages[] = {"nestedContainer(...) CSV does not support nested values",
                              "nestedUnkeyedContainer(...) CSV does not support nested values",
                              "CSV does not support nested values", "CSV does not support nested values",
                              "Cannot get unkeyed decoding container -- found null value instead."};
    for (int which = 0; which < 5; ++which) {
        CSVRowDecoder decoder;
        decoder.userInfo["which"] = which;
        error = failure([&] { decoder.decode<Nested>(readerOn("v\n1\n")); });
        EXPECT_EQ(error.kind(), which < 4 ? Kind::dataCorrupted : Kind::valueNotFound);
        EXPECT_STREQ(error.what(), messages[which]);
        EXPECT_TRUE(error.codingPath().empty());
    }
}

TEST(CSVRowDecoder, SettingsAreSnapshotAtTheStartOfADecode)
{
    CSVRowDecoder decoder;
    decoder.boolDecodingStrategy = csv::BoolDecodingStrategy::custom([&decoder](const std::string& text) {
        decoder.boolDecodingStrategy = csv::BoolDecodingStrategy::default_();
        return text == "Y";
    });
    const TwoFlags flags = decoder.decode<TwoFlags>(readerOn("a,b\nY,Y\n"));
    EXPECT_TRUE(flags.a);
    EXPECT_TRUE(flags.b);   // still the custom function
    EXPECT_THROW(decoder.decode<TwoFlags>(readerOn("a,b\nY,Y\n")), DecodingError);
}

TEST(CSVRowDecoderDeathTest, SingleValueAtTheTopLevelStops)
{
    struct Bare {
        static Bare decode(csv::Decoder& decoder)
        {
            decoder.singleValueContainer().decode<std::string>();
            return {};
        }
    };
    EXPECT_DEATH(CSVRowDecoder().decode<Bare>(readerOn("a\n1\n")), "single value container");
}

} // namespace
