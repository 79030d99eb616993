#pragma once

#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "CSV/CSVCodingKey.h"

namespace csv {

// A failure to turn a row into a record. what() is the debug description.
class DecodingError : public std::exception {
public:
    enum class Kind { typeMismatch, valueNotFound, keyNotFound, dataCorrupted };

    struct Context {
        std::vector<CodingKey> codingPath;   // outermost key first
        std::string debugDescription;
        std::exception_ptr underlyingError;  // never set by the row decoder
    };

    static DecodingError typeMismatch(std::string type, Context context);
    static DecodingError valueNotFound(std::string type, Context context);
    static DecodingError keyNotFound(CodingKey key, Context context);
    static DecodingError dataCorrupted(Context context);

    Kind kind() const noexcept { return kind_; }
    const Context& context() const noexcept { return context_; }
    const std::vector<CodingKey>& codingPath() const noexcept { return context_.codingPath; }
    const std::string& debugDescription() const noexcept { return context_.debugDescription; }
    // The requested type of typeMismatch and valueNotFound; empty otherwise.
    const std::string& type() const noexcept { return type_; }
    // The missing key of keyNotFound.
    const std::optional<CodingKey>& key() const noexcept { return key_; }

    const char* what() const noexcept override { return context_.debugDescription.c_str(); }

private:
    DecodingError(Kind kind, Context context) : kind_(kind), context_(std::move(context)) {}

    Kind kind_;
    Context context_;
    std::string type_;
    std::optional<CodingKey> key_;
};

} // namespace csv
