#include "CSV/MemoryStreams.h"

#include <algorithm>
#include <cstring>

namespace csv {

void MemoryInputStream::open()
{
    if (status_ == StreamStatus::notOpen)
        status_ = StreamStatus::open;
}

std::ptrdiff_t MemoryInputStream::read(std::uint8_t* buffer, std::size_t maxLength)
{
    if (status_ != StreamStatus::open && status_ != StreamStatus::atEnd)
        return -1;
    const std::size_t n = std::min(maxLength, data_.size() - position_);
    if (n > 0)
        std::memcpy(buffer, data_.data() + position_, n);
    position_ += n;
    if (position_ == data_.size())
        status_ = StreamStatus::atEnd;
    return static_cast<std::ptrdiff_t>(n);
}

bool MemoryInputStream::hasBytesAvailable() const
{
    return status_ == StreamStatus::open && position_ < data_.size();
}

void MemoryOutputStream::open()
{
    if (status_ == StreamStatus::notOpen)
        status_ = StreamStatus::open;
}

std::ptrdiff_t MemoryOutputStream::write(const std::uint8_t* buffer, std::size_t length)
{
    if (status_ != StreamStatus::open)
        return -1;
    ++writeCalls_;
    const std::size_t n = std::min(length, capacity_ - data_.size());
    data_.append(reinterpret_cast<const char*>(buffer), n);
    return static_cast<std::ptrdiff_t>(n);
}

} // namespace csv
