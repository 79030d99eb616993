#include "CSV/CSVRowDecoderNumbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <system_error>

namespace csv::detail {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Whether a valid decimal literal is at least 1 in magnitude. from_chars
// reports overflow and underflow alike; this tells them apart.
bool isLarge(std::string_view text)
{
    if (text.front() == '+' || text.front() == '-')
        text.remove_prefix(1);
    const auto mantissaEnd = std::min(text.find_first_of("eE"), text.size());
    const std::string_view mantissa = text.substr(0, mantissaEnd);
    const auto point = std::min(mantissa.find('.'), mantissa.size());
    const auto first = mantissa.find_first_of("123456789");
    if (first == std::string_view::npos)
        return false;   // zero
    // Power of ten of the first significant digit.
    const long long place = first < point ? static_cast<long long>(point - first) - 1
                                          : -static_cast<long long>(first - point);
    long long exponent = 0;
    std::string_view exponentText = text.substr(mantissaEnd);
    if (!exponentText.empty()) {
        exponentText.remove_prefix(1);
        const bool negative = exponentText.front() == '-';
        if (exponentText.front() == '+' || exponentText.front() == '-')
            exponentText.remove_prefix(1);
        for (char c : exponentText) {
            if (exponent < 1'000'000'000'000)
                exponent = exponent * 10 + (c - '0');
        }
        if (negative)
            exponent = -exponent;
    }
    return place + exponent >= 0;
}

template <std::floating_point T>
std::optional<T> parseFloatingPoint(std::string_view text)
{
    if (!isDecimalLiteral(text))
        return std::nullopt;
    std::string_view digits = text;
    if (digits.front() == '+')
        digits.remove_prefix(1);   // from_chars takes no plus sign
    T value{};
    const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        if (isLarge(text))
            return std::nullopt;
        return digits.front() == '-' ? -T(0) : T(0);
    }
    if (result.ec != std::errc() || result.ptr != digits.data() + digits.size())
        return std::nullopt;
    return value;
}

} // namespace

std::optional<IntegerText> parseIntegerText(std::string_view text)
{
    IntegerText parsed;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        parsed.negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty())
        return std::nullopt;
    for (char c : text) {
        if (!isDigit(c))
            return std::nullopt;
        const auto digit = static_cast<std::uint64_t>(c - '0');
        if (parsed.magnitude > (std::numeric_limits<std::uint64_t>::max() - digit) / 10)
            return std::nullopt;
        parsed.magnitude = parsed.magnitude * 10 + digit;
    }
    return parsed;
}

bool isDecimalLiteral(std::string_view text)
{
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    std::size_t mantissaDigits = 0;
    for (; i < text.size() && isDigit(text[i]); ++i)
        ++mantissaDigits;
    if (i < text.size() && text[i] == '.') {
        for (++i; i < text.size() && isDigit(text[i]); ++i)
            ++mantissaDigits;
    }
    if (mantissaDigits == 0)
        return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            ++i;
        std::size_t exponentDigits = 0;
        for (; i < text.size() && isDigit(text[i]); ++i)
            ++exponentDigits;
        if (exponentDigits == 0)
            return false;
    }
    return i == text.size();
}

std::optional<double> parseDouble(std::string_view text) { return parseFloatingPoint<double>(text); }
std::optional<float> parseFloat(std::string_view text) { return parseFloatingPoint<float>(text); }

} // namespace csv::detail
