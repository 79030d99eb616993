#pragma once

#include <concepts>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "CSV/CSVTypeName.h"

namespace csv {

// A key as coding paths and errors record it, whatever the record's key type
// was: its column name, its column position if it has one, and the name of
// its type.
struct CodingKey {
    std::string stringValue;
    std::optional<int> intValue;
    std::string typeName;

    // CodingKeys(stringValue: "id", intValue: nil)
    std::string description() const;

    friend bool operator==(const CodingKey&, const CodingKey&) = default;
};

// The names of an enumeration of keys, parsed once from the enumerator list
// that CSV_CODING_KEYS stringises. Enumerator i is named names[i].
class CodingKeyTable {
public:
    CodingKeyTable(std::string_view typeName, std::string_view enumerators, bool integerKeys);

    std::string typeName;
    std::vector<std::string> names;
    bool integerKeys;

    std::string_view name(std::size_t index) const;
    std::optional<std::size_t> index(std::string_view name) const;
};

// What the decoder needs of a key type. Enumerations declared with
// CSV_CODING_KEYS get it from their table; other key types specialise this
// template in namespace csv (see ColumnKey below).
template <class Key>
struct CodingKeyTraits;

template <class Key>
concept HasCodingKeyTable = std::is_enum_v<Key> && requires(Key key) {
    { csvCodingKeyTable(key) } -> std::same_as<const CodingKeyTable&>;
};

template <HasCodingKeyTable Key>
struct CodingKeyTraits<Key> {
    static std::string typeName() { return table().typeName; }
    static std::string stringValue(Key key) { return std::string(table().name(static_cast<std::size_t>(key))); }
    static std::optional<int> intValue(Key key)
    {
        if (!table().integerKeys)
            return std::nullopt;
        return static_cast<int>(key);
    }
    static std::optional<Key> fromString(std::string_view name)
    {
        if (auto index = table().index(name))
            return static_cast<Key>(*index);
        return std::nullopt;
    }

private:
    static const CodingKeyTable& table() { return csvCodingKeyTable(Key{}); }
};

template <class Key>
concept CodingKeyType = requires(Key key, std::string_view name) {
    { CodingKeyTraits<Key>::typeName() } -> std::convertible_to<std::string>;
    { CodingKeyTraits<Key>::stringValue(key) } -> std::convertible_to<std::string>;
    { CodingKeyTraits<Key>::intValue(key) } -> std::same_as<std::optional<int>>;
    { CodingKeyTraits<Key>::fromString(name) } -> std::same_as<std::optional<Key>>;
};

template <CodingKeyType Key>
CodingKey makeCodingKey(const Key& key)
{
    using Traits = CodingKeyTraits<Key>;
    return CodingKey{std::string(Traits::stringValue(key)), Traits::intValue(key), std::string(Traits::typeName())};
}

// A key made at run time, for columns whose names are not known when the
// program is written. A key built from a position has that position as its
// name too.
struct ColumnKey {
    std::string name;
    std::optional<int> index;

    ColumnKey(std::string name) : name(std::move(name)) {}
    ColumnKey(const char* name) : name(name) {}
    ColumnKey(int index) : name(std::to_string(index)), index(index) {}

    friend bool operator==(const ColumnKey&, const ColumnKey&) = default;
};

template <>
struct CodingKeyTraits<ColumnKey> {
    static std::string typeName() { return "ColumnKey"; }
    static const std::string& stringValue(const ColumnKey& key) { return key.name; }
    static std::optional<int> intValue(const ColumnKey& key) { return key.index; }
    static std::optional<ColumnKey> fromString(std::string_view name) { return ColumnKey(std::string(name)); }
};

} // namespace csv

// Declares, inside a record type, the enumeration of its keys; the key
// strings are the enumerator names:
//
//     CSV_CODING_KEYS(CodingKeys, id, url, image, genre, title)
//
// declares `enum class CodingKeys { id, url, image, genre, title };`. The
// enumerators take no explicit values: their position is their index. The
// record must be a class at namespace or class scope (a class local to a
// function cannot define the friend function holding the names). Columns
// whose names are not identifiers need a CodingKeyTraits specialisation, or
// ColumnKey.
#define CSV_CODING_KEYS(Name, ...) CSV_DETAIL_CODING_KEYS(Name, false, __VA_ARGS__)

// The same, and each key also selects the column at its position (0, 1, …)
// whenever the row has that many fields, header or not.
#define CSV_INT_CODING_KEYS(Name, ...) CSV_DETAIL_CODING_KEYS(Name, true, __VA_ARGS__)

#define CSV_DETAIL_CODING_KEYS(Name, integerKeys, ...)                                            \
    enum class Name { __VA_ARGS__ };                                                              \
    static_assert(std::string_view(#__VA_ARGS__).find('=') == std::string_view::npos,             \
                  "coding keys take no explicit values");                                         \
    [[maybe_unused]] friend const ::csv::CodingKeyTable& csvCodingKeyTable(Name)                  \
    {                                                                                             \
        static const ::csv::CodingKeyTable table(#Name, #__VA_ARGS__, integerKeys);               \
        return table;                                                                             \
    }
