#include "ToolStreams.h"

#include <algorithm>
#include <cstring>

namespace csvtool {

BufferedOutputStream::BufferedOutputStream(std::shared_ptr<csv::OutputStream> inner, std::size_t capacity)
    : inner_(std::move(inner)), capacity_(capacity)
{
    buffer_.reserve(capacity_);
}

BufferedOutputStream::~BufferedOutputStream() { flush(); }

csv::StreamStatus BufferedOutputStream::streamStatus() const
{
    return failed_ ? csv::StreamStatus::error : inner_->streamStatus();
}

std::ptrdiff_t BufferedOutputStream::write(const std::uint8_t* buffer, std::size_t length)
{
    if (failed_)
        return -1;
    if (buffer_.size() + length > capacity_ && !flush())
        return -1;
    if (length >= capacity_) {
        const std::ptrdiff_t n = inner_->write(buffer, length);
        failed_ = n < 0 || static_cast<std::size_t>(n) != length;
        return n;
    }
    buffer_.append(reinterpret_cast<const char*>(buffer), length);
    return static_cast<std::ptrdiff_t>(length);
}

bool BufferedOutputStream::flush()
{
    if (failed_)
        return false;
    if (buffer_.empty())
        return true;
    const std::ptrdiff_t n = inner_->write(reinterpret_cast<const std::uint8_t*>(buffer_.data()), buffer_.size());
    failed_ = n < 0 || static_cast<std::size_t>(n) != buffer_.size();
    buffer_.clear();
    return !failed_;
}

void BufferedOutputStream::close()
{
    flush();
    inner_->close();
}

std::ptrdiff_t PrefixedInputStream::read(std::uint8_t* buffer, std::size_t maxLength)
{
    const std::size_t fromPrefix = std::min(maxLength, prefix_.size() - position_);
    if (fromPrefix > 0) {
        std::memcpy(buffer, prefix_.data() + position_, fromPrefix);
        position_ += fromPrefix;
    }
    if (fromPrefix == maxLength)
        return static_cast<std::ptrdiff_t>(fromPrefix);
    if (fromPrefix > 0 && !inner_->hasBytesAvailable())
        return static_cast<std::ptrdiff_t>(fromPrefix);
    const std::ptrdiff_t n = inner_->read(buffer + fromPrefix, maxLength - fromPrefix);
    if (n < 0)
        return fromPrefix > 0 ? static_cast<std::ptrdiff_t>(fromPrefix) : n;
    return static_cast<std::ptrdiff_t>(fromPrefix) + n;
}

} // namespace csvtool
