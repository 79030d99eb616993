#pragma once

#include <optional>
#include <string>
#include <vector>

#include "CSV/CSVDecoder.h"

namespace csv {

// The keyed view of the current row: a key selects a column by its name in
// the header row, or by position for a key that has an integer value.
template <CodingKeyType Key>
class CSVKeyedDecodingContainer {
public:
    explicit CSVKeyedDecodingContainer(Decoder& decoder) : decoder_(&decoder) {}

    const std::vector<CodingKey>& codingPath() const { return decoder_->codingPath(); }

    // The header names the key type knows, in header order.
    std::vector<Key> allKeys() const
    {
        std::vector<Key> keys;
        if (const auto& header = decoder_->reader_.headerRow()) {
            for (const std::string& name : *header) {
                if (auto key = CodingKeyTraits<Key>::fromString(name))
                    keys.push_back(std::move(*key));
            }
        }
        return keys;
    }

    bool contains(const Key& key) const { return decoder_->contains(makeCodingKey(key)); }

    // Whether the field is empty; keyNotFound when there is no such field.
    bool decodeNil(const Key& key) const { return decoder_->lookup(makeCodingKey(key)).empty(); }

    template <class T>
    T decode(const Key& key)
    {
        CodingKey codingKey = makeCodingKey(key);
        const std::string text = decoder_->lookup(codingKey);
        return decoder_->template decodeField<T>(std::move(codingKey), text);
    }

    // Nothing for a missing or empty field; otherwise as decode.
    template <class T>
    std::optional<T> decodeIfPresent(const Key& key)
    {
        CodingKey codingKey = makeCodingKey(key);
        if (!decoder_->contains(codingKey))
            return std::nullopt;
        const std::string text = decoder_->value(codingKey);
        if (text.empty())
            return std::nullopt;
        return decoder_->template decodeField<T>(std::move(codingKey), text);
    }

    template <CodingKeyType NestedKey>
    [[noreturn]] CSVKeyedDecodingContainer<NestedKey> nestedContainer(const Key&)
    {
        decoder_->throwNested("nestedContainer(...) CSV does not support nested values");
    }
    [[noreturn]] UnkeyedDecodingContainer nestedUnkeyedContainer(const Key&)
    {
        decoder_->throwNested("nestedUnkeyedContainer(...) CSV does not support nested values");
    }
    [[noreturn]] Decoder& superDecoder() { decoder_->throwNested("CSV does not support nested values"); }
    [[noreturn]] Decoder& superDecoder(const Key&) { decoder_->throwNested("CSV does not support nested values"); }

private:
    Decoder* decoder_;
};

template <CodingKeyType Key>
CSVKeyedDecodingContainer<Key> Decoder::container()
{
    return CSVKeyedDecodingContainer<Key>(*this);
}

} // namespace csv
