#include "CSV/CSVCodingKey.h"

#include <cstdio>
#include <cstdlib>

namespace csv {

std::string CodingKey::description() const
{
    std::string text = typeName + "(stringValue: \"" + stringValue + "\", intValue: ";
    text += intValue ? std::to_string(*intValue) : std::string("nil");
    return text + ")";
}

CodingKeyTable::CodingKeyTable(std::string_view typeName, std::string_view enumerators, bool integerKeys)
    : typeName(typeName), integerKeys(integerKeys)
{
    constexpr std::string_view blanks = " \t\r\n";
    while (!enumerators.empty()) {
        const auto comma = enumerators.find(',');
        std::string_view name = enumerators.substr(0, comma);
        const auto first = name.find_first_not_of(blanks);
        name = first == std::string_view::npos ? std::string_view() : name.substr(first, name.find_last_not_of(blanks) - first + 1);
        if (!name.empty())   // a trailing comma leaves an empty last item
            names.emplace_back(name);
        if (comma == std::string_view::npos)
            break;
        enumerators.remove_prefix(comma + 1);
    }
}

std::string_view CodingKeyTable::name(std::size_t index) const
{
    if (index >= names.size()) {
        std::fprintf(stderr, "%s has no key with value %zu\n", typeName.c_str(), index);
        std::abort();
    }
    return names[index];
}

std::optional<std::size_t> CodingKeyTable::index(std::string_view name) const
{
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (names[i] == name)
            return i;
    }
    return std::nullopt;
}

} // namespace csv
