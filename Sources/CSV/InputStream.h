#pragma once

#include "CSV/StreamStatus.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <system_error>

namespace csv {

// The byte source the readers pull from: the small subset of a platform
// input stream that BinaryReader needs.
class InputStream {
public:
    virtual ~InputStream() = default;

    virtual StreamStatus streamStatus() const = 0;
    virtual void open() = 0;
    // Copies up to maxLength bytes; returns the count, 0 at the end, < 0 on failure.
    virtual std::ptrdiff_t read(std::uint8_t* buffer, std::size_t maxLength) = 0;
    // The error behind the last failure, if the stream knows one.
    virtual std::optional<std::error_code> streamError() const = 0;
    // Whether a read would deliver bytes, or must be tried to find out.
    virtual bool hasBytesAvailable() const = 0;
    virtual void close() = 0;
};

} // namespace csv
