#pragma once

#include "CSV/BinaryReader.h"
#include "CSV/CSVError.h"
#include "CSV/UnicodeCodecs.h"

#include <memory>
#include <optional>
#include <type_traits>

namespace csv {

// Decodes Unicode scalars from any code unit iterator with a codec (UTF8,
// UTF16 or UTF32). The input is anything with next() returning an optional
// code unit, held by value, or a shared_ptr to one (the BinaryReader
// iterators).
template <class Input, class Codec>
class UnicodeIterator {
public:
    explicit UnicodeIterator(Input input, Codec = {}) : input_(std::move(input)) {}

    // The next scalar; nothing at the end or after an ill-formed sequence
    // (reported to errorHandler as unicodeDecoding). The codec has consumed
    // the bad units, so asking again goes on after them.
    std::optional<char32_t> next()
    {
        const DecodingResult result = codec_.decode([this] { return nextUnit(); });
        switch (result.kind) {
        case DecodingResult::Kind::scalarValue: return result.scalar;
        case DecodingResult::Kind::emptyInput: return std::nullopt;
        case DecodingResult::Kind::error: break;
        }
        if (errorHandler)
            errorHandler(CSVError(CSVError::Kind::unicodeDecoding));
        return std::nullopt;
    }

    ErrorHandler errorHandler;
    Input& input() { return input_; }
    const Codec& codec() const { return codec_; }

private:
    auto nextUnit()
    {
        if constexpr (requires { input_->next(); })
            return input_->next();
        else
            return input_.next();
    }

    Input input_;
    Codec codec_;
};

} // namespace csv
