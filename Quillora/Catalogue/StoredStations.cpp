#include "Catalogue/StoredStations.h"

QList<Station> stationsOf(const QList<StoredStation>& rows)
{
    QList<Station> stations;
    stations.reserve(rows.size());
    for (const StoredStation& row : rows)
        stations.append(Station{row.id, row.url, row.image, row.genre, row.title, row.uuid});
    return stations;
}

QList<StoredStation> rowsOf(const QList<Station>& stations)
{
    QList<StoredStation> rows;
    rows.reserve(stations.size());
    for (const Station& station : stations)
        rows.append(StoredStation{station.id, station.url, station.image, station.genre, station.title, station.uuid});
    return rows;
}
