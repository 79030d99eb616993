// Station lists as CSV, in whatever encoding and delimiter the catalogue
// reader recognises:
// - any table whose header names a URL column (Quillora's own catalogues,
//   spreadsheet exports, the community directory's CSV), with the title,
//   logo and genre under the names such tables commonly give them;
// - pyradio's stations.csv: no header, "name,url[,encoding[,icon,…]]" rows
//   and "#" comment lines.
#include "Catalogue/Exchange/ExchangeFormats.h"

#include "Catalogue/CatalogueTable.h"

#include <initializer_list>

namespace {

using Row = CatalogueTable::Row;

std::optional<std::size_t> findColumn(const CatalogueTable& table, std::initializer_list<std::string_view> names)
{
    for (const std::string_view name : names) {
        if (const auto column = table.column(name))
            return column;
    }
    return std::nullopt;
}

QString fieldText(const Row& row, std::optional<std::size_t> column)
{
    return column ? QString::fromStdString(CatalogueTable::field(row, *column)) : QString();
}

bool isComment(const Row& row)
{
    return !row.empty() && !row[0].empty() && row[0][0] == '#';
}

bool looksLikeAddress(const std::string& field)
{
    return field.find("://") != std::string::npos;
}

} // namespace

void CsvStationLists::read(const QByteArray& bytes, StationExchange::Read& read)
{
    QString problem;
    const std::optional<std::vector<Row>> rows = CatalogueTable::readRows(bytes, &problem);
    if (!rows) {
        read.problem = StationExchange::tr("not a playlist or station list: %1").arg(problem);
        return;
    }
    CatalogueTable table;
    table.header = rows->front();
    if (const auto url = findColumn(table, {"url", "stream url", "stream_url", "stream", "uri", "url_resolved"})) {
        read.format = StationExchange::Format::csv;
        const auto title = findColumn(table, {"title", "name", "station", "station name"});
        const auto image = findColumn(table, {"image", "logo", "icon", "favicon"});
        const auto genre = findColumn(table, {"genre", "tags", "group", "category"});
        for (std::size_t i = 1; i < rows->size() && read.ok(); ++i) {
            const Row& row = (*rows)[i];
            if (std::all_of(row.begin(), row.end(), [](const std::string& field) { return field.empty(); }))
                continue;
            StationExchange::take(read, {fieldText(row, title), fieldText(row, url), fieldText(row, image),
                                         fieldText(row, genre)});
        }
        return;
    }
    const auto firstEntry = std::find_if(rows->begin(), rows->end(), [](const Row& row) {
        return !isComment(row) && !(row.size() == 1 && row[0].empty());
    });
    if (firstEntry != rows->end() && firstEntry->size() >= 2 && !looksLikeAddress((*firstEntry)[0])
        && looksLikeAddress((*firstEntry)[1])) {
        read.format = StationExchange::Format::pyradio;
        for (auto row = firstEntry; row != rows->end() && read.ok(); ++row) {
            if (isComment(*row) || (row->size() == 1 && (*row)[0].empty()))
                continue;
            StationExchange::take(read, {fieldText(*row, 0), fieldText(*row, 1), fieldText(*row, 3), {}});
        }
        return;
    }
    read.problem = StationExchange::tr("not a playlist or station list: a table without a URL column");
}

QByteArray CsvStationLists::write(const QList<Station>& stations)
{
    CatalogueTable table;
    table.header = {"id", "url", "image", "genre", "title"};
    for (const Station& station : stations) {
        table.rows.push_back({std::to_string(station.id), station.url.toStdString(), station.image.toStdString(),
                              station.genre.toStdString(), station.title.toStdString()});
    }
    return table.serialize();
}
