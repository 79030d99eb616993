#pragma once

#include "CSV/InputStream.h"
#include "CSV/OutputStream.h"

#include <limits>
#include <string>
#include <string_view>

namespace csv {

// Reads from a byte buffer it owns.
class MemoryInputStream final : public InputStream {
public:
    explicit MemoryInputStream(std::string data) : data_(std::move(data)) {}

    StreamStatus streamStatus() const override { return status_; }
    void open() override;
    std::ptrdiff_t read(std::uint8_t* buffer, std::size_t maxLength) override;
    std::optional<std::error_code> streamError() const override { return std::nullopt; }
    bool hasBytesAvailable() const override;
    void close() override { status_ = StreamStatus::closed; }

private:
    std::string data_;
    std::size_t position_ = 0;
    StreamStatus status_ = StreamStatus::notOpen;
};

// Collects what is written in memory, optionally up to a capacity (a full
// buffer takes only what fits, like a full disk).
class MemoryOutputStream final : public OutputStream {
public:
    explicit MemoryOutputStream(std::size_t capacity = std::numeric_limits<std::size_t>::max())
        : capacity_(capacity)
    {
    }

    StreamStatus streamStatus() const override { return status_; }
    void open() override;
    std::ptrdiff_t write(const std::uint8_t* buffer, std::size_t length) override;
    std::optional<std::error_code> streamError() const override { return std::nullopt; }
    bool hasSpaceAvailable() const override { return data_.size() < capacity_; }
    void close() override { status_ = StreamStatus::closed; }

    const std::string& data() const { return data_; }
    std::size_t writeCalls() const { return writeCalls_; }

private:
    std::string data_;
    std::size_t capacity_;
    std::size_t writeCalls_ = 0;
    StreamStatus status_ = StreamStatus::notOpen;
};

} // namespace csv
