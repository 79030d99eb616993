#pragma once

#include "CSV/StreamStatus.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <system_error>

namespace csv {

// The byte sink CSVWriter writes to.
class OutputStream {
public:
    virtual ~OutputStream() = default;

    virtual StreamStatus streamStatus() const = 0;
    virtual void open() = 0;
    // Writes up to length bytes; returns how many were written, < 0 on failure.
    virtual std::ptrdiff_t write(const std::uint8_t* buffer, std::size_t length) = 0;
    virtual std::optional<std::error_code> streamError() const = 0;
    virtual bool hasSpaceAvailable() const = 0;
    virtual void close() = 0;
};

} // namespace csv
