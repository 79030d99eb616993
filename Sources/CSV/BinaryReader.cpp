#include "CSV/BinaryReader.h"

#include "CSV/UnicodeBOM.h"

#include <algorithm>
#include <cstring>

namespace csv {

std::shared_ptr<BinaryReader> BinaryReader::make(std::shared_ptr<InputStream> stream, Endian endian,
                                                 bool closeOnDeinit, std::size_t bufferSize)
{
    return std::shared_ptr<BinaryReader>(new BinaryReader(std::move(stream), endian, closeOnDeinit, bufferSize));
}

BinaryReader::BinaryReader(std::shared_ptr<InputStream> stream, Endian endian, bool closeOnDeinit,
                           std::size_t bufferSize)
    : stream_(std::move(stream)), endian_(endian), closeOnDeinit_(false)
{
    if (!stream_ || !openIfNeeded(*stream_))
        throw CSVError(CSVError::Kind::cannotOpenFile);
    // A zero-sized buffer could never make progress.
    buffer_.resize(std::max<std::size_t>(bufferSize, 1));
    const std::ptrdiff_t n = stream_->read(buffer_.data(), buffer_.size());
    if (n < 0)
        throw CSVError(CSVError::Kind::cannotReadFile);
    count_ = std::min(static_cast<std::size_t>(n), buffer_.size());
    if (const auto bom = UnicodeBOM::detect({buffer_.data(), count_})) {
        if (endian != Endian::unknown && endian != bom->endian)
            throw CSVError(CSVError::Kind::stringEndianMismatch);
        endian_ = bom->endian;
        position_ = bom->length;
    }
    // Only a fully built reader may close the stream: a failed construction
    // leaves it as it is.
    closeOnDeinit_ = closeOnDeinit;
}

BinaryReader::~BinaryReader()
{
    if (closeOnDeinit_ && stream_->streamStatus() != StreamStatus::closed)
        stream_->close();
}

bool BinaryReader::hasBytesAvailable() const
{
    return count_ > position_ || stream_->hasBytesAvailable();
}

std::size_t BinaryReader::readStream(std::uint8_t* out, std::size_t maxLength)
{
    std::size_t i = 0;
    while (i < maxLength) {
        if (position_ >= count_) {
            const std::ptrdiff_t n = stream_->read(buffer_.data(), buffer_.size());
            if (n < 0) {
                if (const auto error = stream_->streamError())
                    throw CSVError::streamErrorHasOccurred(*error);
                throw CSVError(CSVError::Kind::cannotReadFile);
            }
            count_ = std::min(static_cast<std::size_t>(n), buffer_.size());
            position_ = 0;
            if (count_ == 0)
                return i;
        }
        const std::size_t take = std::min(maxLength - i, count_ - position_);
        std::memcpy(out + i, buffer_.data() + position_, take);
        position_ += take;
        i += take;
    }
    return maxLength;
}

std::uint8_t BinaryReader::readUInt8()
{
    std::uint8_t byte = 0;
    if (readStream(&byte, 1) < 1)
        throw CSVError(CSVError::Kind::cannotReadFile);
    return byte;
}

template <class Unit>
Unit BinaryReader::readUnit()
{
    std::uint8_t bytes[sizeof(Unit)];
    if (readStream(bytes, sizeof(Unit)) < sizeof(Unit))
        throw CSVError(CSVError::Kind::stringEncodingMismatch);
    Unit value = 0;
    switch (endian_) {
    case Endian::big:
        for (std::size_t i = 0; i < sizeof(Unit); ++i)
            value = static_cast<Unit>((value << 8) | bytes[i]);
        return value;
    case Endian::little:
        for (std::size_t i = sizeof(Unit); i-- > 0;)
            value = static_cast<Unit>((value << 8) | bytes[i]);
        return value;
    case Endian::unknown:
        break;
    }
    throw CSVError(CSVError::Kind::stringEndianMismatch);
}

std::uint16_t BinaryReader::readUInt16() { return readUnit<std::uint16_t>(); }
std::uint32_t BinaryReader::readUInt32() { return readUnit<std::uint32_t>(); }

std::shared_ptr<UInt8Iterator> BinaryReader::makeUInt8Iterator()
{
    return std::make_shared<UInt8Iterator>(shared_from_this());
}
std::shared_ptr<UInt16Iterator> BinaryReader::makeUInt16Iterator()
{
    return std::make_shared<UInt16Iterator>(shared_from_this());
}
std::shared_ptr<UInt32Iterator> BinaryReader::makeUInt32Iterator()
{
    return std::make_shared<UInt32Iterator>(shared_from_this());
}

} // namespace csv
