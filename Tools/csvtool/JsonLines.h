#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace csvtool {

// Appends a row as one JSON array of strings (no line break). Fields are
// UTF-8; control characters are escaped, everything else is kept as is.
void appendJsonArray(std::string& out, std::span<const std::string_view> row);
void appendJsonArray(std::string& out, const std::vector<std::string>& row);

// Parses one line holding a JSON array of strings, strictly: nothing but
// the array and blanks around it, well-formed UTF-8, no raw control
// characters, no lone surrogate escapes. On failure returns nothing and
// sets error to a short explanation.
std::optional<std::vector<std::string>> parseJsonArray(std::string_view line, std::string& error);

} // namespace csvtool
