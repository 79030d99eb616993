#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace csv {

// A URL reference (RFC 3986: absolute like "https://host/path?q" or
// relative like "../logo.png") whose text has been checked. It keeps the
// text as given; nothing is percent-encoded or normalised.
class URL {
public:
    static std::optional<URL> parse(std::string_view text);

    const std::string& string() const { return text_; }
    // Empty for a relative reference.
    std::string_view scheme() const { return std::string_view(text_).substr(0, schemeLength_); }

    friend bool operator==(const URL&, const URL&) = default;

private:
    URL(std::string text, std::size_t schemeLength) : text_(std::move(text)), schemeLength_(schemeLength) {}

    std::string text_;
    std::size_t schemeLength_ = 0;
};

} // namespace csv
