#pragma once

namespace csv {

// Byte order of 16- and 32-bit code units. `unknown` means "not declared":
// a byte-order mark may still decide it.
enum class Endian { big, little, unknown };

} // namespace csv
