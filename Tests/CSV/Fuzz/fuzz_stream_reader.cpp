// The stream reader over a memory stream in every encoding. Byte 0 picks
// the codec and byte order (bits 0-2), header row (bit 3), trimming (bit 4);
// byte 1 the delimiter (low 4 bits) and a small buffer size (high 4 bits,
// 1 to 16 bytes). The rest is the stream. Checks well-formed fields, and
// that the rows and the recorded error depend neither on the buffer size
// nor on reading rows as strings (next()) or as views (nextFields()).
#include "CSV/BinaryReader.h"
#include "CSV/CSVReader.h"
#include "CSV/MemoryStreams.h"
#include "FuzzSupport.h"

#include <cstdint>

namespace {

struct Outcome {
    bool constructed = false;
    std::optional<csv::CSVError::Kind> constructionError;
    std::vector<std::optional<std::vector<std::string>>> rows;   // nothing marks an end
    std::optional<csv::CSVError::Kind> error;

    bool operator==(const Outcome&) const = default;
};

Outcome read(const std::string& bytes, int encoding, bool header, bool trim, char32_t delimiter,
             std::size_t bufferSize, bool views = false)
{
    static constexpr csv::Endian endians[] = {csv::Endian::big, csv::Endian::little, csv::Endian::unknown};
    Outcome outcome;
    try {
        const csv::CSVReader::Configuration configuration(header, trim, delimiter);
        auto stream = std::make_shared<csv::MemoryInputStream>(bytes);
        const csv::Endian endian = encoding == 0 ? csv::Endian::unknown : endians[(encoding - 1) % 3];
        auto binary = csv::BinaryReader::make(stream, endian, true, bufferSize);
        csv::CSVReader reader = encoding == 0 ? csv::CSVReader(binary, csv::UTF8{}, configuration)
                              : encoding <= 3 ? csv::CSVReader(binary, csv::UTF16{}, configuration)
                                              : csv::CSVReader(binary, csv::UTF32{}, configuration);
        outcome.constructed = true;
        if (reader.headerRow())
            outcome.rows.push_back(reader.headerRow());
        // An error ends a row early and the next call reads on, so keep
        // asking; every call consumes input, so size + 2 calls reach the end.
        for (std::size_t calls = 0; calls < bytes.size() + 2; ++calls) {
            std::optional<std::vector<std::string>> row;
            if (!views)
                row = reader.next();
            else if (const auto fields = reader.nextFields())
                row.emplace(fields->begin(), fields->end());
            if (row) {
                for (const std::string& field : *row)
                    fuzz::check(fuzz::isUTF8(field), "field is not UTF-8");
            }
            if (!row && !outcome.rows.empty() && !outcome.rows.back())
                continue;   // repeated ends count once
            outcome.rows.push_back(row);
        }
        if (reader.error())
            outcome.error = reader.error()->kind();
    } catch (const csv::CSVError& error) {
        outcome.constructionError = error.kind();
    }
    return outcome;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    const int encoding = data[0] % 7;   // UTF-8; UTF-16 big, little, unknown; UTF-32 the same
    const bool header = data[0] & 8;
    const bool trim = data[0] & 16;
    const char32_t delimiter = fuzz::delimiters[data[1] & 15];
    const std::size_t smallBuffer = 1 + (data[1] >> 4);
    const std::string bytes(reinterpret_cast<const char*>(data + 2), size - 2);

    const Outcome whole = read(bytes, encoding, header, trim, delimiter, csv::BinaryReader::defaultBufferSize);
    const Outcome pieces = read(bytes, encoding, header, trim, delimiter, smallBuffer);
    fuzz::check(read(bytes, encoding, header, trim, delimiter, smallBuffer, true) == pieces,
                "views and strings disagree");
    // A byte-order mark is only recognised in the first buffer, so it needs
    // room for the longest mark.
    if (smallBuffer >= 4)
        fuzz::check(whole == pieces, "rows depend on the buffer size");
    return 0;
}
