#include "CSV/CSVDate.h"

#include <cmath>

namespace csv {

namespace {

// Days from 1970-01-01 to the given proleptic Gregorian date (H. Hinnant's
// days_from_civil).
long long daysFromCivil(long long year, unsigned month, unsigned day)
{
    year -= month <= 2;
    const long long era = (year >= 0 ? year : year - 399) / 400;
    const unsigned yearOfEra = static_cast<unsigned>(year - era * 400);
    const unsigned dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + static_cast<long long>(dayOfEra) - 719468;
}

bool isLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month)
{
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : days[month - 1];
}

// Reads exactly `count` digits at `pos`, advancing it.
std::optional<int> digits(std::string_view text, std::size_t& pos, std::size_t count)
{
    if (pos + count > text.size())
        return std::nullopt;
    int value = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const char c = text[pos + i];
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    pos += count;
    return value;
}

bool literal(std::string_view text, std::size_t& pos, char c)
{
    if (pos >= text.size() || text[pos] != c)
        return false;
    ++pos;
    return true;
}

} // namespace

Date Date::fromTimePoint(std::chrono::system_clock::time_point time)
{
    const std::chrono::duration<double> sinceEpoch = time.time_since_epoch();
    return fromTimeIntervalSince1970(sinceEpoch.count());
}

std::chrono::system_clock::time_point Date::timePoint() const
{
    using Clock = std::chrono::system_clock;
    const double seconds = timeIntervalSince1970();
    const double limit = std::chrono::duration<double>(Clock::duration::max()).count();
    if (std::isnan(seconds))
        return Clock::time_point();
    if (seconds >= limit)
        return Clock::time_point::max();
    if (seconds <= -limit)
        return Clock::time_point::min();
    return Clock::time_point(std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds)));
}

std::optional<Date> Date::parseISO8601(std::string_view text)
{
    std::size_t pos = 0;
    const auto year = digits(text, pos, 4);
    if (!year || !literal(text, pos, '-'))
        return std::nullopt;
    const auto month = digits(text, pos, 2);
    if (!month || *month < 1 || *month > 12 || !literal(text, pos, '-'))
        return std::nullopt;
    const auto day = digits(text, pos, 2);
    if (!day || *day < 1 || *day > daysInMonth(*year, *month) || !literal(text, pos, 'T'))
        return std::nullopt;
    const auto hour = digits(text, pos, 2);
    if (!hour || *hour > 23 || !literal(text, pos, ':'))
        return std::nullopt;
    const auto minute = digits(text, pos, 2);
    if (!minute || *minute > 59 || !literal(text, pos, ':'))
        return std::nullopt;
    const auto second = digits(text, pos, 2);
    if (!second || *second > 59)
        return std::nullopt;

    long long offsetSeconds = 0;
    if (!literal(text, pos, 'Z')) {
        if (pos >= text.size() || (text[pos] != '+' && text[pos] != '-'))
            return std::nullopt;
        const int sign = text[pos++] == '-' ? -1 : 1;
        const auto offsetHours = digits(text, pos, 2);
        if (!offsetHours || *offsetHours > 23 || !literal(text, pos, ':'))
            return std::nullopt;
        const auto offsetMinutes = digits(text, pos, 2);
        if (!offsetMinutes || *offsetMinutes > 59)
            return std::nullopt;
        offsetSeconds = sign * (*offsetHours * 3600LL + *offsetMinutes * 60LL);
    }
    if (pos != text.size())
        return std::nullopt;

    const long long days = daysFromCivil(*year, static_cast<unsigned>(*month), static_cast<unsigned>(*day));
    const long long seconds = days * 86400 + *hour * 3600LL + *minute * 60LL + *second - offsetSeconds;
    return fromTimeIntervalSince1970(static_cast<double>(seconds));
}

} // namespace csv
