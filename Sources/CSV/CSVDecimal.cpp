#include "CSV/CSVDecimal.h"

#include <limits>

#include "CSV/CSVRowDecoderNumbers.h"

namespace csv {

std::optional<Decimal> Decimal::parse(std::string_view text)
{
    if (!detail::isDecimalLiteral(text))
        return std::nullopt;
    if (text.front() == '+')
        text.remove_prefix(1);
    return Decimal(std::string(text));
}

double Decimal::toDouble() const
{
    if (const auto value = detail::parseDouble(text_))
        return *value;
    return text_.front() == '-' ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
}

} // namespace csv
