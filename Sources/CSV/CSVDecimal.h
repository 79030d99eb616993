#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace csv {

// A decimal number kept as its text, so that no digit is lost to binary
// floating point ("0.1" stays 0.1). The text is an optional sign, digits
// with an optional "." and an optional exponent; no locale, no spaces.
class Decimal {
public:
    static std::optional<Decimal> parse(std::string_view text);

    // As given, without a leading "+".
    const std::string& text() const { return text_; }
    // The nearest double (infinite when out of its range).
    double toDouble() const;

    friend bool operator==(const Decimal&, const Decimal&) = default;

private:
    explicit Decimal(std::string text) : text_(std::move(text)) {}

    std::string text_;
};

} // namespace csv
