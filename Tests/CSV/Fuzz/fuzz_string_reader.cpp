// The string reader on arbitrary text. The first byte picks the settings:
// bit 0 header row, bit 1 trimming, bits 4-7 the delimiter. Checks that
// every field is well-formed UTF-8, that the reader over borrowed text gives
// the same rows as views (nextFields()) as the owning one gives as strings,
// and, for well-formed input, that the fast string reader gives the same
// rows as the plain scalar state machine.
#include "CSV/CSVReader.h"
#include "FuzzSupport.h"

#include <cstdint>

namespace {

std::vector<std::vector<std::string>> readAll(csv::CSVReader& reader)
{
    std::vector<std::vector<std::string>> rows;
    if (reader.headerRow())
        rows.push_back(*reader.headerRow());
    while (const auto& row = reader.next()) {
        for (const std::string& field : *row)
            fuzz::check(fuzz::isUTF8(field), "field is not UTF-8");
        if (reader.headerRow() && !reader.headerRow()->empty()) {
            (void)reader[reader.headerRow()->back()];
            fuzz::check(!reader["\xFF no such column"], "lookup of a missing column");
        }
        rows.push_back(*row);
    }
    fuzz::check(!reader.next() && !reader.currentRow(), "reader restarted after the end");
    return rows;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const bool header = data[0] & 1;
    const bool trim = data[0] & 2;
    const char32_t delimiter = fuzz::delimiters[data[0] >> 4];
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);

    std::optional<std::vector<std::vector<std::string>>> fast;
    try {
        csv::CSVReader reader(text, header, trim, delimiter);
        fast = readAll(reader);
    } catch (const csv::CSVError& error) {
        fuzz::check(error.kind() == csv::CSVError::Kind::cannotReadHeaderRow, "unexpected construction error");
    }
    std::optional<std::vector<std::vector<std::string>>> viewed;
    try {
        csv::CSVReader reader(csv::CSVReader::borrowed, text, header, trim, delimiter);
        viewed.emplace();
        if (reader.headerRow())
            viewed->push_back(*reader.headerRow());
        while (const auto fields = reader.nextFields())
            viewed->emplace_back(fields->begin(), fields->end());
    } catch (const csv::CSVError&) {
    }
    fuzz::check(viewed == fast, "views of borrowed text and strings disagree");

    const auto scalars = fuzz::decodeUTF8(text);
    if (!scalars)
        return 0;
    std::size_t position = 0;
    csv::ScalarIterator iterator = [&]() -> std::optional<char32_t> {
        if (position < scalars->size())
            return (*scalars)[position++];
        return std::nullopt;
    };
    std::optional<std::vector<std::vector<std::string>>> plain;
    try {
        csv::CSVReader reader(iterator, csv::CSVReader::Configuration(header, trim, delimiter));
        plain = readAll(reader);
    } catch (const csv::CSVError&) {
    }
    fuzz::check(fast == plain, "string reader and scalar state machine disagree");
    return 0;
}
