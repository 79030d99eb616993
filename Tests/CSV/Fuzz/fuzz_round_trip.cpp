// Writes rows taken from the input and reads them back: any difference is a
// failure. Settings come first: codec and byte order, delimiter, newline;
// then rows of fields (made well-formed UTF-8, as the writer takes UTF-8
// text). Rows are never empty: a row with no fields cannot be written.
#include <fuzzer/FuzzedDataProvider.h>

#include "CSV/BinaryReader.h"
#include "CSV/CSVReader.h"
#include "CSV/CSVWriter.h"
#include "CSV/MemoryStreams.h"
#include "FuzzSupport.h"

#include <cstdint>

namespace {

using Rows = std::vector<std::vector<std::string>>;

// Delimiters the writer can round-trip: not a quotation mark or line break.
constexpr const char* writerDelimiters[] = {",", ";", "\t", "|", " ", "\u00E9", "\u3000", "\U0001F600", "a", "\u00A0"};

char32_t firstScalar(std::string_view utf8) { return fuzz::decodeUTF8(utf8)->front(); }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    const int encoding = input.ConsumeIntegralInRange(0, 4);   // UTF-8, UTF-16 BE/LE, UTF-32 BE/LE
    const std::string delimiter = writerDelimiters[input.ConsumeIntegralInRange<std::size_t>(0, std::size(writerDelimiters) - 1)];
    const auto newline = input.ConsumeBool() ? csv::CSVWriter::Newline::crlf : csv::CSVWriter::Newline::lf;

    Rows rows;
    while (input.remaining_bytes() > 0 && rows.size() < 64) {
        std::vector<std::string> row;
        const std::size_t fields = input.ConsumeIntegralInRange<std::size_t>(1, 8);
        for (std::size_t i = 0; i < fields; ++i)
            row.push_back(fuzz::wellFormed(input.ConsumeRandomLengthString(64)));
        rows.push_back(std::move(row));
    }

    const csv::Endian endian = encoding % 2 == 1 ? csv::Endian::big : csv::Endian::little;
    auto output = std::make_shared<csv::MemoryOutputStream>();
    {
        std::optional<csv::CSVWriter> writer;
        if (encoding == 0)
            writer.emplace(output, csv::UTF8{}, delimiter, newline);
        else if (encoding <= 2)
            writer.emplace(output, csv::UTF16{}, endian, delimiter, newline);
        else
            writer.emplace(output, csv::UTF32{}, endian, delimiter, newline);
        for (const auto& row : rows)
            writer->writeRow(row);
    }

    const csv::CSVReader::Configuration configuration(false, false, firstScalar(delimiter));
    auto binary = csv::BinaryReader::make(std::make_shared<csv::MemoryInputStream>(output->data()),
                                          encoding == 0 ? csv::Endian::unknown : endian, true);
    csv::CSVReader reader = encoding == 0 ? csv::CSVReader(binary, csv::UTF8{}, configuration)
                          : encoding <= 2 ? csv::CSVReader(binary, csv::UTF16{}, configuration)
                                          : csv::CSVReader(binary, csv::UTF32{}, configuration);
    Rows read;
    while (const auto& row = reader.next())
        read.push_back(*row);
    fuzz::check(!reader.error(), "reading what the writer wrote failed");
    fuzz::check(read == rows, "rows read back differ from the rows written");

    if (encoding == 0) {
        csv::CSVReader stringReader(output->data(), false, false, firstScalar(delimiter));
        Rows fromString;
        while (const auto& row = stringReader.next())
            fromString.push_back(*row);
        fuzz::check(fromString == rows, "string reader reads the written rows differently");
    }
    return 0;
}
