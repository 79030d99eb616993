#include "CSV/TextSources.h"

namespace csv::detail {

namespace {

template <class Codec>
std::shared_ptr<BinaryReader::Iterator<typename Codec::CodeUnit>> unitsOf(BinaryReader& reader)
{
    if constexpr (Codec::width == 8)
        return reader.makeUInt8Iterator();
    else if constexpr (Codec::width == 16)
        return reader.makeUInt16Iterator();
    else
        return reader.makeUInt32Iterator();
}

template <class Unit>
inline Unit load(const std::uint8_t* p, bool big)
{
    Unit value = 0;
    if (big)
        for (std::size_t i = 0; i < sizeof(Unit); ++i)
            value = static_cast<Unit>((value << 8) | p[i]);
    else
        for (std::size_t i = sizeof(Unit); i-- > 0;)
            value = static_cast<Unit>((value << 8) | p[i]);
    return value;
}

} // namespace

bool StringSource::fill(const char*& begin, const char*& end)
{
    // Large enough to make the call cheap, small enough to stay in L2.
    constexpr std::size_t slice = 64 * 1024;
    const std::size_t n = text_.size();
    if (offset_ >= n)
        return false;
    const auto* p = reinterpret_cast<const unsigned char*>(text_.data());
    std::size_t stop = n;
    if (n - offset_ > slice) {
        // End the slice at the start of a sequence, so that a well-formed
        // one is never cut and taken for a truncated one.
        stop = offset_ + slice;
        for (int back = 0; back < 3 && (p[stop] & 0xC0) == 0x80; ++back)
            --stop;
    }
    const std::size_t valid = unicode::validPrefixLength(p + offset_, stop - offset_);
    if (valid > 0) {
        begin = text_.data() + offset_;
        end = begin + valid;
        offset_ += valid;
        return true;
    }
    offset_ += unicode::illFormedLength(p + offset_, n - offset_);
    begin = replacement_;
    end = replacement_ + sizeof replacement_;
    return true;
}

template <class Codec>
StreamSource<Codec>::StreamSource(std::shared_ptr<BinaryReader> reader)
    : TextSource(false), reader_(std::move(reader)), scalars_(unitsOf<Codec>(*reader_))
{
}

// Converts the well-formed units at the start of the reader's buffer into
// stage_ and marks them read. Returns how many bytes were consumed.
template <class Codec>
std::size_t StreamSource<Codec>::decodeBuffered()
{
    const auto bytes = reader_->buffered();
    const bool big = reader_->endian() == Endian::big;
    constexpr std::size_t size = sizeof(Unit);
    const std::size_t units = bytes.size() / size;
    const std::uint8_t* p = bytes.data();
    stage_.clear();
    std::size_t i = 0;
    while (i < units) {
        const char32_t u = load<Unit>(p + i * size, big);
        if (u < 0x80) {
            stage_.push_back(static_cast<char>(u));
            ++i;
            continue;
        }
        if constexpr (size == 2) {
            if (u >= 0xD800 && u <= 0xDFFF) {
                if (u >= 0xDC00 || i + 1 >= units)
                    break;  // lone low surrogate, or the pair is cut off
                const char32_t low = load<Unit>(p + (i + 1) * size, big);
                if (low < 0xDC00 || low > 0xDFFF)
                    break;
                unicode::appendUTF8(stage_, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
                i += 2;
                continue;
            }
        } else {
            if (!unicode::isScalar(u))
                break;
        }
        unicode::appendUTF8(stage_, u);
        ++i;
    }
    reader_->consume(i * size);
    return i * size;
}

template <class Codec>
bool StreamSource<Codec>::fill(const char*& begin, const char*& end)
{
    // Units held back by the decoder must be decoded by it first.
    if (!scalars_.codec().hasPendingUnit()) {
        if constexpr (Codec::width == 8) {
            const auto bytes = reader_->buffered();
            const std::size_t valid = unicode::validPrefixLength(bytes.data(), bytes.size());
            if (valid > 0) {
                reader_->consume(valid);
                begin = reinterpret_cast<const char*>(bytes.data());
                end = begin + valid;
                return true;
            }
        } else if (reader_->endian() != Endian::unknown && decodeBuffered() > 0) {
            begin = stage_.data();
            end = stage_.data() + stage_.size();
            return true;
        }
    }
    const std::optional<char32_t> c = scalars_.next();
    if (!c)
        return false;
    stage_.clear();
    unicode::appendUTF8(stage_, *c);
    begin = stage_.data();
    end = stage_.data() + stage_.size();
    return true;
}

template class StreamSource<UTF8>;
template class StreamSource<UTF16>;
template class StreamSource<UTF32>;

} // namespace csv::detail
