#include "Store/StateStore.h"

#include "Store/Database.h"
#include "Diagnostics/Diagnostics.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>

namespace {

const QString volumeKey = QStringLiteral("volume");

void reportReadError(const sqlite::Statement& query)
{
    printLine(QCoreApplication::translate("StateStore", "The store could not be read: %1").arg(query.error().message));
}

QString runOrError(sqlite::Statement& query)
{
    return query.run() ? QString() : query.error().message;
}

// Empty, never NULL: the text columns say NOT NULL.
QString notNull(const QString& text)
{
    return text.isNull() ? QStringLiteral("") : text;
}

} // namespace

StateStore::StateStore(Database& container)
    : m_container(container)
{
}

std::optional<StoredCatalogue> StateStore::lastGoodCatalogue(const QString& address) const
{
    if (const auto cached = m_catalogues.constFind(address); cached != m_catalogues.constEnd())
        return *cached;
    sqlite::Connection& connection = m_container.writeContext().connection();
    sqlite::Statement catalogue(connection, QStringLiteral("SELECT loaded_at, skipped_rows FROM catalogue WHERE address = ?"));
    catalogue.bind(1, address);
    std::optional<StoredCatalogue> stored;
    if (catalogue.next()) {
        stored = StoredCatalogue{address, QDateTime::fromMSecsSinceEpoch(catalogue.int64(0), Qt::UTC), {},
                                 int(catalogue.int64(1))};
        sqlite::Statement stations(connection, QStringLiteral("SELECT id, url, image, genre, title, uuid FROM catalogue_station "
                                                              "WHERE address = ? ORDER BY position"));
        stations.bind(1, address);
        while (stations.next()) {
            stored->stations.append(StoredStation{stations.int64(0), stations.text(1), stations.text(2),
                                                  stations.text(3), stations.text(4), stations.text(5)});
        }
        if (stations.failed()) {
            reportReadError(stations);
            return std::nullopt;
        }
    } else if (catalogue.failed()) {
        reportReadError(catalogue);
        return std::nullopt;
    }
    m_catalogues.insert(address, stored);
    return stored;
}

void StateStore::setLastGoodCatalogue(const QString& address, const QList<StoredStation>& stations, int skippedRows,
                                      const QDateTime& loadedAt)
{
    StoredCatalogue stored{address, loadedAt.toUTC(), stations, skippedRows};
    m_catalogues.insert(address, stored);
    m_container.writeContext().stage(QStringLiteral("catalogue ") + address, [stored](sqlite::Connection& db) {
        sqlite::Statement clear(db, QStringLiteral("DELETE FROM catalogue_station WHERE address = ?"));
        clear.bind(1, stored.address);
        if (QString error = runOrError(clear); !error.isEmpty())
            return error;
        sqlite::Statement catalogue(db, QStringLiteral("INSERT OR REPLACE INTO catalogue (address, loaded_at, skipped_rows) "
                                                       "VALUES (?, ?, ?)"));
        catalogue.bind(1, stored.address);
        catalogue.bind(2, stored.loadedAt.toMSecsSinceEpoch());
        catalogue.bind(3, stored.skippedRows);
        if (QString error = runOrError(catalogue); !error.isEmpty())
            return error;
        sqlite::Statement station(db, QStringLiteral("INSERT INTO catalogue_station (address, position, id, url, image, "
                                                     "genre, title, uuid) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"));
        for (qsizetype i = 0; i < stored.stations.size(); ++i) {
            const StoredStation& row = stored.stations[i];
            station.bind(1, stored.address);
            station.bind(2, qint64(i));
            station.bind(3, qint64(row.id));
            station.bind(4, notNull(row.url));
            station.bind(5, notNull(row.image));
            station.bind(6, notNull(row.genre));
            station.bind(7, notNull(row.title));
            station.bind(8, notNull(row.uuid));
            if (QString error = runOrError(station); !error.isEmpty())
                return error;
        }
        // Only the most recently loaded few are kept.
        sqlite::Statement trimStations(db, QStringLiteral("DELETE FROM catalogue_station WHERE address NOT IN "
                                                          "(SELECT address FROM catalogue ORDER BY loaded_at DESC LIMIT ?)"));
        trimStations.bind(1, keptCatalogues);
        if (QString error = runOrError(trimStations); !error.isEmpty())
            return error;
        sqlite::Statement trimCatalogues(db, QStringLiteral("DELETE FROM catalogue WHERE address NOT IN "
                                                            "(SELECT address FROM catalogue ORDER BY loaded_at DESC LIMIT ?)"));
        trimCatalogues.bind(1, keptCatalogues);
        return runOrError(trimCatalogues);
    });
}

std::optional<qint64> StateStore::selectedStationId(const QString& sourceKey) const
{
    if (const auto cached = m_selections.constFind(sourceKey); cached != m_selections.constEnd())
        return *cached;
    sqlite::Statement query(m_container.writeContext().connection(),
                            QStringLiteral("SELECT station_id FROM selection WHERE source = ?"));
    query.bind(1, sourceKey);
    const std::optional<qint64> id = query.next() ? std::optional(query.int64(0)) : std::nullopt;
    if (query.failed()) {
        reportReadError(query);
        return std::nullopt;
    }
    m_selections.insert(sourceKey, id);
    return id;
}

void StateStore::setSelectedStationId(const QString& sourceKey, qint64 id)
{
    if (selectedStationId(sourceKey) == id)
        return;
    m_selections.insert(sourceKey, id);
    m_container.writeContext().stage(QStringLiteral("selection ") + sourceKey, [sourceKey, id](sqlite::Connection& db) {
        sqlite::Statement query(db, QStringLiteral("INSERT OR REPLACE INTO selection (source, station_id) VALUES (?, ?)"));
        query.bind(1, sourceKey);
        query.bind(2, id);
        return runOrError(query);
    });
}

std::optional<float> StateStore::volume() const
{
    if (m_volume)
        return *m_volume;
    sqlite::Statement query(m_container.writeContext().connection(),
                            QStringLiteral("SELECT value FROM setting WHERE name = ?"));
    query.bind(1, volumeKey);
    std::optional<float> value;
    if (query.next()) {
        // The column has no type: a number, or text that reads as one.
        bool ok = false;
        double stored = 0;
        switch (query.columnType(0)) {
        case SQLITE_INTEGER:
        case SQLITE_FLOAT:
            stored = query.real(0);
            ok = true;
            break;
        case SQLITE_TEXT:
            stored = query.text(0).toDouble(&ok);
            break;
        default:
            break;
        }
        // Whatever is in the file, the player gets a volume it can use.
        if (ok && std::isfinite(stored))
            value = float(std::clamp(stored, 0.0, 1.0));
    } else if (query.failed()) {
        reportReadError(query);
        return std::nullopt;
    }
    m_volume = value;
    return value;
}

void StateStore::setVolume(float volume)
{
    if (!std::isfinite(volume))
        return;
    volume = std::clamp(volume, 0.0f, 1.0f);
    if (this->volume() == volume)
        return;
    m_volume = volume;
    m_container.writeContext().stage(volumeKey, [volume](sqlite::Connection& db) {
        sqlite::Statement query(db, QStringLiteral("INSERT OR REPLACE INTO setting (name, value) VALUES (?, ?)"));
        query.bind(1, volumeKey);
        query.bind(2, double(volume));
        return runOrError(query);
    });
}

QString StateStore::save()
{
    return m_container.writeContext().save();
}
