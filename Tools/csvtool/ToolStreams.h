#pragma once

#include "CSV/InputStream.h"
#include "CSV/OutputStream.h"

#include <memory>
#include <string>

namespace csvtool {

// Collects writes and hands them on in large blocks: CSVWriter writes once
// per row, which would be one system call per row on a descriptor.
class BufferedOutputStream final : public csv::OutputStream {
public:
    explicit BufferedOutputStream(std::shared_ptr<csv::OutputStream> inner, std::size_t capacity = 1 << 16);
    ~BufferedOutputStream() override;

    csv::StreamStatus streamStatus() const override;
    void open() override { inner_->open(); }
    std::ptrdiff_t write(const std::uint8_t* buffer, std::size_t length) override;
    std::optional<std::error_code> streamError() const override { return inner_->streamError(); }
    bool hasSpaceAvailable() const override { return !failed_ && inner_->hasSpaceAvailable(); }
    void close() override;
    // Hands on what is collected; false if the inner stream failed.
    bool flush();

private:
    std::shared_ptr<csv::OutputStream> inner_;
    std::string buffer_;
    std::size_t capacity_;
    bool failed_ = false;
};

// Delivers some bytes already taken from a stream before the rest of it,
// so that a tool can look at the start of a pipe and still read it whole.
class PrefixedInputStream final : public csv::InputStream {
public:
    PrefixedInputStream(std::string prefix, std::shared_ptr<csv::InputStream> inner)
        : prefix_(std::move(prefix)), inner_(std::move(inner))
    {
    }

    csv::StreamStatus streamStatus() const override
    {
        // The inner stream may have ended while the prefix was taken.
        const auto status = inner_->streamStatus();
        return status == csv::StreamStatus::atEnd && position_ < prefix_.size() ? csv::StreamStatus::open : status;
    }
    void open() override { inner_->open(); }
    std::ptrdiff_t read(std::uint8_t* buffer, std::size_t maxLength) override;
    std::optional<std::error_code> streamError() const override { return inner_->streamError(); }
    bool hasBytesAvailable() const override { return position_ < prefix_.size() || inner_->hasBytesAvailable(); }
    void close() override { inner_->close(); }

private:
    std::string prefix_;
    std::size_t position_ = 0;
    std::shared_ptr<csv::InputStream> inner_;
};

} // namespace csvtool
