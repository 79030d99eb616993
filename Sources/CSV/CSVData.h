#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace csv {

// Binary data decoded from a field. A type of its own, so that a record's
// arrays (which CSV cannot hold) are not mistaken for it.
struct Data {
    std::vector<std::uint8_t> bytes;

    // Standard Base64 (RFC 4648 alphabet) with padding to a multiple of
    // four characters. Anything else, line breaks and spaces included, is
    // refused; unused bits of the last character are ignored.
    static std::optional<Data> fromBase64(std::string_view text);

    friend bool operator==(const Data&, const Data&) = default;
};

} // namespace csv
