#pragma once

#include <string_view>

namespace csv {

// The scalars and strings of the format, shared by reader and writer.
inline constexpr char32_t LF = U'\n';
inline constexpr char32_t CR = U'\r';
inline constexpr char32_t DQUOTE = U'"';
inline constexpr std::string_view DQUOTE_STR = "\"";
inline constexpr std::string_view DQUOTE2_STR = "\"\"";

} // namespace csv
