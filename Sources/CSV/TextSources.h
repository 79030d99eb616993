#pragma once

#include "CSV/BinaryReader.h"
#include "CSV/CSVParser.h"
#include "CSV/UnicodeIterator.h"

#include <memory>
#include <string>
#include <string_view>

namespace csv::detail {

// The text of a string reader, checked a slice at a time just ahead of the
// parser: one pass over memory instead of two, and the slice is still in
// the cache when the parser reads it. Each maximal ill-formed subpart comes
// out as U+FFFD. The text is either the caller's (a view it keeps alive) or
// a string moved in.
class StringSource final : public TextSource {
public:
    explicit StringSource(std::string_view text) : TextSource(true), text_(text) {}
    explicit StringSource(std::string text) : TextSource(true), owned_(std::move(text)), text_(owned_) {}
    StringSource(const StringSource&) = delete;  // text_ may view owned_
    StringSource& operator=(const StringSource&) = delete;
    bool fill(const char*& begin, const char*& end) override;

private:
    std::string owned_;
    std::string_view text_;
    std::size_t offset_ = 0;
    char replacement_[3] = {'\xEF', '\xBF', '\xBD'};
};

// Decodes a stream: BinaryReader -> code unit iterator -> UnicodeIterator,
// one scalar at a time, as the reference path does; but whenever the
// reader's buffer holds well-formed text, hands it out in bulk (UTF-8 as it
// stands, UTF-16/32 converted in one pass). Anything else (a sequence cut by
// the end of the buffer, an ill-formed one, an empty buffer, an unknown
// byte order) takes the one-scalar path, which refills, reports errors and
// consumes bad units exactly like the reference.
template <class Codec>
class StreamSource final : public TextSource {
public:
    using Unit = typename Codec::CodeUnit;
    using Units = BinaryReader::Iterator<Unit>;

    explicit StreamSource(std::shared_ptr<BinaryReader> reader);
    bool fill(const char*& begin, const char*& end) override;
    // Errors of both the unit iterator and the decoder go to handler.
    void setErrorHandler(const ErrorHandler& handler)
    {
        scalars_.input()->errorHandler = handler;
        scalars_.errorHandler = handler;
    }

private:
    std::size_t decodeBuffered();

    std::shared_ptr<BinaryReader> reader_;
    UnicodeIterator<std::shared_ptr<Units>, Codec> scalars_;
    std::string stage_;
};

extern template class StreamSource<UTF8>;
extern template class StreamSource<UTF16>;
extern template class StreamSource<UTF32>;

} // namespace csv::detail
