#include "CSV/UnicodeBOM.h"

#include <algorithm>

namespace csv::UnicodeBOM {

namespace {

template <std::size_t N>
bool startsWith(std::span<const std::uint8_t> bytes, const std::array<std::uint8_t, N>& mark)
{
    return bytes.size() >= N && std::equal(mark.begin(), mark.end(), bytes.begin());
}

} // namespace

std::optional<Detected> detect(std::span<const std::uint8_t> bytes)
{
    if (startsWith(bytes, utf32BE))
        return Detected {Endian::big, 4};
    if (startsWith(bytes, utf32LE))
        return Detected {Endian::little, 4};
    if (startsWith(bytes, utf8))
        return Detected {Endian::unknown, 3};
    if (startsWith(bytes, utf16BE))
        return Detected {Endian::big, 2};
    if (startsWith(bytes, utf16LE))
        return Detected {Endian::little, 2};
    return std::nullopt;
}

} // namespace csv::UnicodeBOM
