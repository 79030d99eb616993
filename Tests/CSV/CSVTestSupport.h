#pragma once

// Small helpers shared by the CSV tests: streams with awkward behaviour and
// the plain (reference) way of reading a stream.

#include "CSV/BinaryReader.h"
#include "CSV/CSVReader.h"
#include "CSV/InputStream.h"
#include "CSV/MemoryStreams.h"
#include "CSV/UnicodeIterator.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace csvtest {

using Rows = std::vector<csv::CSVReader::Row>;

inline std::shared_ptr<csv::MemoryInputStream> bytes(std::string data)
{
    return std::make_shared<csv::MemoryInputStream>(std::move(data));
}

// Delivers its bytes in reads of at most `chunk` bytes (short reads, as a
// pipe or socket does). Optionally fails with an error once `failAt` bytes
// have been read.
class ChunkyInputStream final : public csv::InputStream {
public:
    ChunkyInputStream(std::string data, std::size_t chunk, std::optional<std::size_t> failAt = std::nullopt,
                      std::optional<std::error_code> error = std::nullopt)
        : data_(std::move(data)), chunk_(std::max<std::size_t>(chunk, 1)), failAt_(failAt), error_(error)
    {
    }
    csv::StreamStatus streamStatus() const override { return status_; }
    void open() override
    {
        if (status_ == csv::StreamStatus::notOpen)
            status_ = csv::StreamStatus::open;
    }
    std::ptrdiff_t read(std::uint8_t* buffer, std::size_t maxLength) override
    {
        ++reads;
        largestRead = std::max(largestRead, maxLength);
        if (failAt_ && position_ >= *failAt_)
            return -1;
        std::size_t n = std::min({maxLength, chunk_, data_.size() - position_});
        if (failAt_)
            n = std::min(n, *failAt_ - position_);
        std::memcpy(buffer, data_.data() + position_, n);
        position_ += n;
        return static_cast<std::ptrdiff_t>(n);
    }
    std::optional<std::error_code> streamError() const override { return error_; }
    bool hasBytesAvailable() const override { return position_ < data_.size() || failAt_.has_value(); }
    void close() override { status_ = csv::StreamStatus::closed; }

    std::size_t reads = 0;
    std::size_t largestRead = 0;

private:
    std::string data_;
    std::size_t position_ = 0;
    std::size_t chunk_;
    std::optional<std::size_t> failAt_;
    std::optional<std::error_code> error_;
    csv::StreamStatus status_ = csv::StreamStatus::notOpen;
};

// The kind of CSVError `attempt` throws; nothing when it throws none.
template <class Attempt>
std::optional<csv::CSVError::Kind> errorKind(Attempt attempt)
{
    try {
        attempt();
    } catch (const csv::CSVError& e) {
        return e.kind();
    }
    return std::nullopt;
}

// Reads every row; stops after `patience` nothings in a row, so that
// reading goes on past errors as a caller may.
inline Rows readAll(csv::CSVReader& reader, int patience = 1)
{
    Rows rows;
    int nothings = 0;
    while (nothings < patience) {
        if (const auto& row = reader.next()) {
            rows.push_back(*row);
            nothings = 0;
        } else {
            ++nothings;
        }
    }
    return rows;
}

// The reference stream reader: BinaryReader, unit iterator, UnicodeIterator
// and the plain state machine, wired as the stream constructors describe.
template <class Codec>
struct ReferenceStreamReader {
    std::optional<csv::CSVError> error;
    std::optional<csv::CSVReader> reader;

    ReferenceStreamReader(std::shared_ptr<csv::BinaryReader> binary, csv::CSVReader::Configuration configuration)
    {
        using Unit = typename Codec::CodeUnit;
        std::shared_ptr<csv::BinaryReader::Iterator<Unit>> units;
        if constexpr (Codec::width == 8)
            units = binary->makeUInt8Iterator();
        else if constexpr (Codec::width == 16)
            units = binary->makeUInt16Iterator();
        else
            units = binary->makeUInt32Iterator();
        auto scalars = std::make_shared<csv::UnicodeIterator<decltype(units), Codec>>(units);
        reader.emplace([scalars] { return scalars->next(); }, std::move(configuration));
        const auto record = [this](const csv::CSVError& e) { error = e; };
        units->errorHandler = record;
        scalars->errorHandler = record;
    }
};

// Decodes bytes as UTF-8 with the codec, each ill-formed subpart as U+FFFD.
inline std::u32string decodeLeniently(const std::string& bytes)
{
    std::size_t i = 0;
    const auto next = [&]() -> std::optional<std::uint8_t> {
        if (i == bytes.size())
            return std::nullopt;
        return static_cast<std::uint8_t>(bytes[i++]);
    };
    csv::UTF8 codec;
    std::u32string out;
    for (;;) {
        const auto r = codec.decode(next);
        if (r.kind == csv::DecodingResult::Kind::emptyInput)
            return out;
        out.push_back(r.kind == csv::DecodingResult::Kind::scalarValue ? r.scalar : 0xFFFD);
    }
}

inline std::string utf8(const std::u32string& scalars)
{
    std::string out;
    for (const char32_t c : scalars)
        csv::unicode::appendUTF8(out, c);
    return out;
}

} // namespace csvtest
