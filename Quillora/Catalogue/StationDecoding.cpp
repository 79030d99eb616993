#include "Catalogue/StationDecoding.h"

#include "CSV/CSVReader.h"

#include <charconv>

namespace {

std::optional<QString> text(const csv::CSVReader& reader, std::string_view key)
{
    const std::optional<std::string> field = reader[key];
    if (!field || field->empty())
        return std::nullopt;
    return QString::fromStdString(*field);
}

} // namespace

std::optional<Station> decodeStation(const csv::CSVReader& reader)
{
    const std::optional<std::string> idField = reader["id"];
    if (!idField || idField->empty())
        return std::nullopt;
    const char* first = idField->data();
    const char* last = first + idField->size();
    if (*first == '+')
        ++first;
    std::int64_t id = 0;
    const auto [end, error] = std::from_chars(first, last, id);
    if (error != std::errc() || end != last)
        return std::nullopt;
    auto url = text(reader, "url");
    auto image = text(reader, "image");
    auto genre = text(reader, "genre");
    auto title = text(reader, "title");
    if (!url || !image || !genre || !title)
        return std::nullopt;
    return Station{id, *url, *image, *genre, *title};
}
