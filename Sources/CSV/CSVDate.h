#pragma once

#include <chrono>
#include <compare>
#include <optional>
#include <string_view>

namespace csv {

// A point in time as seconds since 2001-01-01 00:00:00 UTC, the reference
// date of the decoder's deferredToDate strategy. A double, like the field
// text it comes from, so any finite number of seconds is a date.
struct Date {
    static constexpr double timeIntervalBetween1970AndReferenceDate = 978307200.0;

    double timeIntervalSinceReferenceDate = 0;

    static Date fromTimeIntervalSince1970(double seconds)
    {
        return Date{seconds - timeIntervalBetween1970AndReferenceDate};
    }
    double timeIntervalSince1970() const { return timeIntervalSinceReferenceDate + timeIntervalBetween1970AndReferenceDate; }

    static Date fromTimePoint(std::chrono::system_clock::time_point time);
    // Clamped to the clock's range: a date far outside it (or not a number)
    // gives the nearest end instead of overflowing.
    std::chrono::system_clock::time_point timePoint() const;

    // RFC 3339 internet date-time without fractional seconds:
    // "2020-01-02T03:04:05Z" or "2020-01-02T03:04:05+01:00".
    static std::optional<Date> parseISO8601(std::string_view text);

    friend auto operator<=>(const Date&, const Date&) = default;
};

} // namespace csv
