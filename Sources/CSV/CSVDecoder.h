#pragma once

#include <concepts>
#include <cstdint>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "CSV/CSVCodingKey.h"
#include "CSV/CSVData.h"
#include "CSV/CSVDate.h"
#include "CSV/CSVDecimal.h"
#include "CSV/CSVDecodingError.h"
#include "CSV/CSVReader.h"
#include "CSV/CSVRowDecoderNumbers.h"
#include "CSV/CSVRowDecoderStrategies.h"
#include "CSV/CSVURL.h"

namespace csv {

class Decoder;
template <CodingKeyType Key>
class CSVKeyedDecodingContainer;

// A record type describes its own decoding with a static member
//
//     static Station decode(csv::Decoder& decoder);
//
// that asks the decoder for a keyed container and decodes field by field.
template <class T>
concept Decodable = requires(Decoder& decoder) {
    { T::decode(decoder) } -> std::same_as<T>;
};

// Stands for the container of an array; CSV fields never hold one, so the
// decoder refuses to make it.
struct UnkeyedDecodingContainer {};

// What the decoder snapshots of CSVRowDecoder's settings for one decode.
struct DecoderOptions {
    BoolDecodingStrategy boolDecodingStrategy;
    DateDecodingStrategy dateDecodingStrategy;
    DataDecodingStrategy dataDecodingStrategy;
    UserInfo userInfo;
};

namespace detail {
template <class T>
concept Sequence = !std::same_as<T, std::string> && requires(const T& sequence) {
    typename T::value_type;
    sequence.begin();
    sequence.end();
};
} // namespace detail

// The decoder one CSVRowDecoder::decode call hands to the record type: it
// reads the reader's current row and converts field texts. It also serves as
// the single-value container of a nested type, reading the column of the
// last key on the coding path.
class Decoder {
public:
    Decoder(const CSVReader& reader, DecoderOptions options) : reader_(reader), options_(std::move(options)) {}
    Decoder(const Decoder&) = delete;
    Decoder& operator=(const Decoder&) = delete;

    const std::vector<CodingKey>& codingPath() const { return codingPath_; }
    const UserInfo& userInfo() const { return options_.userInfo; }

    template <CodingKeyType Key>
    CSVKeyedDecodingContainer<Key> container();
    [[noreturn]] UnkeyedDecodingContainer unkeyedContainer();
    Decoder& singleValueContainer() { return *this; }

    // Single-value container operations; valid while a keyed decode is
    // decoding a nested type (the coding path ends in its key).
    bool decodeNil() const { return singleValue().empty(); }
    template <class T>
    T decode();

private:
    template <CodingKeyType Key>
    friend class CSVKeyedDecodingContainer;

    bool contains(const CodingKey& key) const;
    // The field of a key that contains() accepted.
    std::string value(const CodingKey& key) const;
    // The field of a key, or keyNotFound.
    std::string lookup(const CodingKey& key) const;
    std::string singleValue() const;

    // Keyed decode: the key is on the coding path while the text converts.
    template <class T>
    T decodeField(CodingKey key, const std::string& text);

    // The conversion table: nothing for an empty text, the value otherwise,
    // or typeMismatch / dataCorrupted when the text does not convert.
    template <class T>
    std::optional<T> unbox(const std::string& text);
    std::optional<bool> unboxBool(const std::string& text);
    std::optional<double> unboxDouble(const std::string& text);
    std::optional<float> unboxFloat(const std::string& text);
    std::optional<Date> unboxDate(const std::string& text);
    std::optional<Data> unboxData(const std::string& text);
    std::optional<URL> unboxURL(const std::string& text);
    std::optional<Decimal> unboxDecimal(const std::string& text);

    [[noreturn]] void throwTypeMismatch(std::string type, const std::string& text) const;
    [[noreturn]] void throwDataCorrupted(std::string message) const;
    [[noreturn]] void throwNested(std::string message) const { throwDataCorrupted(std::move(message)); }

    // Keeps a key on the coding path for the duration of a field's decode.
    class PathEntry {
    public:
        PathEntry(std::vector<CodingKey>& path, CodingKey key) : path_(path) { path_.push_back(std::move(key)); }
        ~PathEntry() { path_.pop_back(); }
        PathEntry(const PathEntry&) = delete;
        PathEntry& operator=(const PathEntry&) = delete;

    private:
        std::vector<CodingKey>& path_;
    };

    const CSVReader& reader_;
    const DecoderOptions options_;
    std::vector<CodingKey> codingPath_;
};

template <class T>
T Decoder::decode()
{
    const std::string text = singleValue();
    if (auto value = unbox<T>(text))
        return std::move(*value);
    throw DecodingError::valueNotFound(
        typeName<T>(), {codingPath_, "Expected " + typeName<T>() + " but found null value instead.", nullptr});
}

template <class T>
T Decoder::decodeField(CodingKey key, const std::string& text)
{
    PathEntry entry(codingPath_, std::move(key));
    if (auto value = unbox<T>(text))
        return std::move(*value);
    throw DecodingError::valueNotFound(
        typeName<T>(), {codingPath_, "Expected " + typeName<T>() + " value but found null instead.", nullptr});
}

template <class T>
std::optional<T> Decoder::unbox(const std::string& text)
{
    if (text.empty())
        return std::nullopt;
    if constexpr (std::is_same_v<T, std::string>) {
        return text;
    } else if constexpr (std::is_same_v<T, bool>) {
        return unboxBool(text);
    } else if constexpr (std::is_same_v<T, double>) {
        return unboxDouble(text);
    } else if constexpr (std::is_same_v<T, float>) {
        return unboxFloat(text);
    } else if constexpr (std::is_integral_v<T> && !std::is_same_v<T, char> && !std::is_same_v<T, wchar_t>
                         && !std::is_same_v<T, char8_t> && !std::is_same_v<T, char16_t>
                         && !std::is_same_v<T, char32_t>) {
        if (auto value = detail::parseInteger<T>(text))
            return value;
        throwTypeMismatch(typeName<T>(), text);
    } else if constexpr (std::is_same_v<T, Date>) {
        return unboxDate(text);
    } else if constexpr (std::is_same_v<T, Data>) {
        return unboxData(text);
    } else if constexpr (std::is_same_v<T, URL>) {
        return unboxURL(text);
    } else if constexpr (std::is_same_v<T, Decimal>) {
        return unboxDecimal(text);
    } else if constexpr (Decodable<T>) {
        return T::decode(*this);
    } else if constexpr (detail::Sequence<T>) {
        unkeyedContainer();
    } else {
        static_assert(Decodable<T>, "not decodable: give the type a static T decode(csv::Decoder&), "
                                    "or use decodeIfPresent for optional fields");
    }
}

} // namespace csv
