#pragma once

#include <concepts>
#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>

// Strict text-to-number conversions of the row decoder: the whole text must
// be the number, with no spaces and no locale.
namespace csv::detail {

struct IntegerText {
    bool negative = false;
    std::uint64_t magnitude = 0;
};

// An optional "+" or "-" and one or more digits 0-9; nothing when the text
// is anything else or its magnitude exceeds 64 bits.
std::optional<IntegerText> parseIntegerText(std::string_view text);

template <std::integral T>
std::optional<T> parseInteger(std::string_view text)
{
    const auto parsed = parseIntegerText(text);
    if (!parsed)
        return std::nullopt;
    if (!parsed->negative) {
        if (parsed->magnitude > static_cast<std::uint64_t>(std::numeric_limits<T>::max()))
            return std::nullopt;
        return static_cast<T>(parsed->magnitude);
    }
    if (parsed->magnitude == 0)
        return T(0);   // "-0" fits every type
    if constexpr (std::is_unsigned_v<T>) {
        return std::nullopt;
    } else {
        const std::uint64_t limit = static_cast<std::uint64_t>(-(std::numeric_limits<T>::min() + 1)) + 1;
        if (parsed->magnitude > limit)
            return std::nullopt;
        return static_cast<T>(-static_cast<T>(parsed->magnitude - 1) - 1);
    }
}

// An optional sign, digits with an optional decimal point (at least one
// digit), an optional exponent "e" or "E" with optional sign and digits.
bool isDecimalLiteral(std::string_view text);

// The nearest double or float to a decimal literal. Overflow gives nothing
// (the value does not fit the type, as for integers); underflow gives a
// zero of the right sign, the nearest value. Infinities, not-a-number and
// hexadecimal forms are not accepted.
std::optional<double> parseDouble(std::string_view text);
std::optional<float> parseFloat(std::string_view text);

} // namespace csv::detail
