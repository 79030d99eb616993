#pragma once

#include <any>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "CSV/CSVData.h"
#include "CSV/CSVDate.h"

namespace csv {

// Values a caller hands through the decoder to its record types.
using UserInfo = std::map<std::string, std::any>;

// How "true"/"false" fields become booleans. A custom function may throw;
// its exception reaches the caller of decode unchanged.
class BoolDecodingStrategy {
public:
    using Function = std::function<bool(const std::string& text)>;
    enum class Kind { custom, default_ };

    BoolDecodingStrategy() = default;
    static BoolDecodingStrategy default_() { return {}; }
    static BoolDecodingStrategy custom(Function function) { return {Kind::custom, std::move(function)}; }

    Kind kind() const { return kind_; }
    const Function& function() const { return function_; }

private:
    BoolDecodingStrategy(Kind kind, Function function) : kind_(kind), function_(std::move(function)) {}

    Kind kind_ = Kind::default_;
    Function function_;
};

// How fields become dates. The default, deferredToDate, reads seconds since
// 2001-01-01 00:00:00 UTC.
class DateDecodingStrategy {
public:
    // A date formatter's parse: a date, or nothing when the text does not
    // match its format.
    using Formatter = std::function<std::optional<Date>(const std::string& text)>;
    using Function = std::function<Date(const std::string& text)>;
    enum class Kind { formatted, custom, deferredToDate, secondsSince1970, millisecondsSince1970, iso8601 };

    DateDecodingStrategy() = default;
    static DateDecodingStrategy formatted(Formatter formatter) { return {Kind::formatted, std::move(formatter), {}}; }
    static DateDecodingStrategy custom(Function function) { return {Kind::custom, {}, std::move(function)}; }
    static DateDecodingStrategy deferredToDate() { return {}; }
    static DateDecodingStrategy secondsSince1970() { return {Kind::secondsSince1970, {}, {}}; }
    static DateDecodingStrategy millisecondsSince1970() { return {Kind::millisecondsSince1970, {}, {}}; }
    static DateDecodingStrategy iso8601() { return {Kind::iso8601, {}, {}}; }

    Kind kind() const { return kind_; }
    const Formatter& formatter() const { return formatter_; }
    const Function& function() const { return function_; }

private:
    DateDecodingStrategy(Kind kind, Formatter formatter, Function function)
        : kind_(kind), formatter_(std::move(formatter)), function_(std::move(function)) {}

    Kind kind_ = Kind::deferredToDate;
    Formatter formatter_;
    Function function_;
};

// How fields become binary data. The default is strict Base64.
class DataDecodingStrategy {
public:
    using Function = std::function<Data(const std::string& text)>;
    enum class Kind { custom, base64 };

    DataDecodingStrategy() = default;
    static DataDecodingStrategy custom(Function function) { return {Kind::custom, std::move(function)}; }
    static DataDecodingStrategy base64() { return {}; }

    Kind kind() const { return kind_; }
    const Function& function() const { return function_; }

private:
    DataDecodingStrategy(Kind kind, Function function) : kind_(kind), function_(std::move(function)) {}

    Kind kind_ = Kind::base64;
    Function function_;
};

} // namespace csv
