// The row decoder over arbitrary rows. Byte 0 picks the strategies; the
// rest is CSV text with a header row. Every row is decoded as a record of
// every field type, and every column is converted to every type through
// run-time keys. Only DecodingError (and the custom strategies' own errors)
// may come out. The strict number conversions are checked against the C
// library's on the way.
#include "CSV/CSVRowDecoder.h"
#include "FuzzSupport.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace {

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
    fuzz::check(parsed.has_value() == plain && (!parsed || *parsed == expected), "integer conversion");

    if (!csv::detail::isDecimalLiteral(text)) {
        fuzz::check(!csv::detail::parseDouble(text), "double from a non-literal");
        return;
    }
    errno = 0;
    const double reference = std::strtod(text.c_str(), nullptr);
    const auto value = csv::detail::parseDouble(text);
    if (value)
        fuzz::check(std::memcmp(&*value, &reference, sizeof reference) == 0, "double differs from strtod");
    else
        fuzz::check(std::isinf(reference), "double refused without overflow");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    using DateStrategy = csv::DateDecodingStrategy;
    csv::CSVRowDecoder decoder;
    const int dateKind = data[0] % 6;
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
    if (data[0] & 8)
        decoder.boolDecodingStrategy = csv::BoolDecodingStrategy::custom([](const std::string& text) {
            if (text == "x")
                throw std::runtime_error("x");
            return text == "y";
        });
    if (data[0] & 16)
        decoder.dataDecodingStrategy = csv::DataDecodingStrategy::custom(
            [](const std::string& text) { return csv::Data{{text.begin(), text.end()}}; });

    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    std::optional<csv::CSVReader> reader;
    try {
        reader.emplace(text, true, (data[0] & 32) != 0);
    } catch (const csv::CSVError&) {
        return 0;
    }
    while (const auto& row = reader->next()) {
        for (const std::string& field : *row)
            checkNumbers(field);
        try {
            (void)decoder.decode<Everything>(*reader);
        } catch (const csv::DecodingError& error) {
            fuzz::check(error.what()[0] != '\0', "decoding error without a message");
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
    return 0;
}
