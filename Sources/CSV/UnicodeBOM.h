#pragma once

#include "CSV/Endian.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace csv {

// The byte-order marks and their detection at the start of a stream.
namespace UnicodeBOM {

inline constexpr std::array<std::uint8_t, 3> utf8 {0xEF, 0xBB, 0xBF};
inline constexpr std::array<std::uint8_t, 2> utf16BE {0xFE, 0xFF};
inline constexpr std::array<std::uint8_t, 2> utf16LE {0xFF, 0xFE};
inline constexpr std::array<std::uint8_t, 4> utf32BE {0x00, 0x00, 0xFE, 0xFF};
inline constexpr std::array<std::uint8_t, 4> utf32LE {0xFF, 0xFE, 0x00, 0x00};

struct Detected {
    Endian endian;       // the byte order the mark implies (`unknown` for UTF-8)
    std::size_t length;  // bytes to skip
    bool operator==(const Detected&) const = default;
};

// Looks for a mark at the start of `bytes`. UTF-32 LE is tested before
// UTF-16 LE, so FF FE 00 00 is always the 4-byte mark.
std::optional<Detected> detect(std::span<const std::uint8_t> bytes);

} // namespace UnicodeBOM
} // namespace csv
