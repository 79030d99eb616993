#pragma once

#include "CSV/CSVError.h"
#include "CSV/Endian.h"
#include "CSV/InputStream.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <vector>

namespace csv {

using ErrorHandler = std::function<void(const CSVError&)>;

// Buffered reader over an InputStream: skips a leading byte-order mark,
// checks it against the declared byte order, and hands out 8-, 16- and
// 32-bit code units. Shared by its iterators, hence always held by
// shared_ptr (see make()).
class BinaryReader : public std::enable_shared_from_this<BinaryReader> {
public:
    static constexpr std::size_t defaultBufferSize = 65535;

    // Opens the stream if needed, fills the buffer once and looks for a mark.
    // Throws cannotOpenFile, cannotReadFile or stringEndianMismatch.
    static std::shared_ptr<BinaryReader> make(std::shared_ptr<InputStream> stream, Endian endian,
                                              bool closeOnDeinit, std::size_t bufferSize = defaultBufferSize);
    ~BinaryReader();
    BinaryReader(const BinaryReader&) = delete;
    BinaryReader& operator=(const BinaryReader&) = delete;

    // The effective byte order: the declared one, or the mark's if the
    // declared one was unknown.
    Endian endian() const { return endian_; }
    bool hasBytesAvailable() const;

    // Each throws CSVError on failure (see the iterators for the
    // non-throwing form).
    std::uint8_t readUInt8();
    std::uint16_t readUInt16();
    std::uint32_t readUInt32();

    template <class Unit>
    class Iterator {
    public:
        explicit Iterator(std::shared_ptr<BinaryReader> reader) : reader_(std::move(reader)) {}
        // The next unit, or nothing at the end or after an error (which goes
        // to errorHandler). Asking again after nothing asks the reader again.
        std::optional<Unit> next();
        ErrorHandler errorHandler;
        const std::shared_ptr<BinaryReader>& reader() const { return reader_; }

    private:
        std::shared_ptr<BinaryReader> reader_;
    };
    using UInt8Iterator = Iterator<std::uint8_t>;
    using UInt16Iterator = Iterator<std::uint16_t>;
    using UInt32Iterator = Iterator<std::uint32_t>;

    std::shared_ptr<UInt8Iterator> makeUInt8Iterator();
    std::shared_ptr<UInt16Iterator> makeUInt16Iterator();
    std::shared_ptr<UInt32Iterator> makeUInt32Iterator();

    // Bulk access for decoders: the buffered bytes not yet read, and
    // marking some of them read. Never touches the stream.
    std::span<const std::uint8_t> buffered() const
    {
        return {buffer_.data() + position_, count_ - position_};
    }
    void consume(std::size_t n) { position_ += n; }

    std::size_t capacity() const { return buffer_.size(); }

private:
    BinaryReader(std::shared_ptr<InputStream> stream, Endian endian, bool closeOnDeinit, std::size_t bufferSize);
    std::size_t readStream(std::uint8_t* out, std::size_t maxLength);
    template <class Unit>
    Unit readUnit();

    std::shared_ptr<InputStream> stream_;
    Endian endian_;
    bool closeOnDeinit_;
    std::vector<std::uint8_t> buffer_;
    std::size_t count_ = 0;
    std::size_t position_ = 0;
};

using UInt8Iterator = BinaryReader::UInt8Iterator;
using UInt16Iterator = BinaryReader::UInt16Iterator;
using UInt32Iterator = BinaryReader::UInt32Iterator;

template <class Unit>
std::optional<Unit> BinaryReader::Iterator<Unit>::next()
{
    if (!reader_->hasBytesAvailable())
        return std::nullopt;
    try {
        if constexpr (sizeof(Unit) == 1)
            return reader_->readUInt8();
        else if constexpr (sizeof(Unit) == 2)
            return reader_->readUInt16();
        else
            return reader_->readUInt32();
    } catch (const CSVError& error) {
        if (errorHandler)
            errorHandler(error);
        return std::nullopt;
    }
}

} // namespace csv
