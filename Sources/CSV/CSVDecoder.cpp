#include "CSV/CSVDecoder.h"

#include <cstdio>
#include <cstdlib>

namespace csv {

UnkeyedDecodingContainer Decoder::unkeyedContainer()
{
    throw DecodingError::valueNotFound(
        "UnkeyedDecodingContainer",
        {codingPath_, "Cannot get unkeyed decoding container -- found null value instead.", nullptr});
}

bool Decoder::contains(const CodingKey& key) const
{
    const auto& row = reader_.currentRow();
    if (!row)
        return false;
    if (key.intValue)
        return *key.intValue >= 0 && static_cast<std::size_t>(*key.intValue) < row->size();
    const auto& header = reader_.headerRow();
    if (!header)
        return false;
    for (const std::string& name : *header) {
        if (name == key.stringValue)
            return true;
    }
    return false;
}

std::string Decoder::value(const CodingKey& key) const
{
    if (key.intValue)
        return (*reader_.currentRow())[static_cast<std::size_t>(*key.intValue)];
    return reader_[key.stringValue].value_or(std::string());
}

std::string Decoder::lookup(const CodingKey& key) const
{
    if (!contains(key)) {
        throw DecodingError::keyNotFound(
            key, {codingPath_,
                  "No value associated with key " + key.description() + " (\"" + key.stringValue + "\").", nullptr});
    }
    return value(key);
}

std::string Decoder::singleValue() const
{
    if (codingPath_.empty()) {
        // Only a nested type has a column of its own to read.
        std::fputs("A single value container can only be read while decoding a keyed field\n", stderr);
        std::abort();
    }
    return value(codingPath_.back());
}

void Decoder::throwTypeMismatch(std::string type, const std::string& text) const
{
    std::string message = "Expected to decode " + type + " but found " + text + " instead.";
    throw DecodingError::typeMismatch(std::move(type), {codingPath_, std::move(message), nullptr});
}

void Decoder::throwDataCorrupted(std::string message) const
{
    throw DecodingError::dataCorrupted({codingPath_, std::move(message), nullptr});
}

std::optional<bool> Decoder::unboxBool(const std::string& text)
{
    if (options_.boolDecodingStrategy.kind() == BoolDecodingStrategy::Kind::custom)
        return options_.boolDecodingStrategy.function()(text);
    if (text == "true")
        return true;
    if (text == "false")
        return false;
    throwTypeMismatch("Bool", text);
}

std::optional<double> Decoder::unboxDouble(const std::string& text)
{
    if (auto value = detail::parseDouble(text))
        return value;
    throwTypeMismatch("Double", text);
}

std::optional<float> Decoder::unboxFloat(const std::string& text)
{
    if (auto value = detail::parseFloat(text))
        return value;
    throwTypeMismatch("Float", text);
}

std::optional<Date> Decoder::unboxDate(const std::string& text)
{
    const DateDecodingStrategy& strategy = options_.dateDecodingStrategy;
    switch (strategy.kind()) {
    case DateDecodingStrategy::Kind::deferredToDate:
        return Date{*unboxDouble(text)};
    case DateDecodingStrategy::Kind::secondsSince1970:
        return Date::fromTimeIntervalSince1970(*unboxDouble(text));
    case DateDecodingStrategy::Kind::millisecondsSince1970:
        return Date::fromTimeIntervalSince1970(*unboxDouble(text) / 1000.0);
    case DateDecodingStrategy::Kind::iso8601:
        if (auto date = Date::parseISO8601(text))
            return date;
        throwDataCorrupted("Expected date string to be ISO8601-formatted.");
    case DateDecodingStrategy::Kind::formatted:
        if (auto date = strategy.formatter()(text))
            return date;
        throwDataCorrupted("Date string does not match format expected by formatter.");
    case DateDecodingStrategy::Kind::custom:
        return strategy.function()(text);
    }
    return std::nullopt;
}

std::optional<Data> Decoder::unboxData(const std::string& text)
{
    if (options_.dataDecodingStrategy.kind() == DataDecodingStrategy::Kind::custom)
        return options_.dataDecodingStrategy.function()(text);
    if (auto data = Data::fromBase64(text))
        return data;
    throwDataCorrupted("Encountered Data is not valid Base64.");
}

std::optional<URL> Decoder::unboxURL(const std::string& text)
{
    if (auto url = URL::parse(text))
        return url;
    throwDataCorrupted("Invalid URL string.");
}

std::optional<Decimal> Decoder::unboxDecimal(const std::string& text)
{
    if (auto decimal = Decimal::parse(text))
        return decimal;
    throwDataCorrupted("Invalid Decimal string.");
}

} // namespace csv
