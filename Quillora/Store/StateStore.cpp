#include "Store/StateStore.h"

#include "Store/Database.h"
#include "Diagnostics/Diagnostics.h"

#include <QCoreApplication>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>
#include <cmath>

namespace {

const QString volumeKey = QStringLiteral("volume");

void reportReadError(const QSqlQuery& query)
{
    printLine(QCoreApplication::translate("StateStore", "The store could not be read: %1").arg(query.lastError().text()));
}

QString execOrError(QSqlQuery& query)
{
    return query.exec() ? QString() : query.lastError().text();
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
    QSqlQuery query(m_container.writeContext().database());
    query.prepare(QStringLiteral("SELECT loaded_at, skipped_rows FROM catalogue WHERE address = ?"));
    query.addBindValue(address);
    if (!query.exec()) {
        reportReadError(query);
        return std::nullopt;
    }
    std::optional<StoredCatalogue> stored;
    if (query.next()) {
        stored = StoredCatalogue{address, QDateTime::fromMSecsSinceEpoch(query.value(0).toLongLong(), Qt::UTC), {},
                                 query.value(1).toInt()};
        query.finish();
        query.prepare(QStringLiteral("SELECT id, url, image, genre, title, uuid FROM catalogue_station "
                                     "WHERE address = ? ORDER BY position"));
        query.addBindValue(address);
        if (!query.exec()) {
            reportReadError(query);
            return std::nullopt;
        }
        while (query.next()) {
            stored->stations.append(StoredStation{query.value(0).toLongLong(), query.value(1).toString(),
                                            query.value(2).toString(), query.value(3).toString(),
                                            query.value(4).toString(), query.value(5).toString()});
        }
    }
    m_catalogues.insert(address, stored);
    return stored;
}

void StateStore::setLastGoodCatalogue(const QString& address, const QList<StoredStation>& stations, int skippedRows,
                                      const QDateTime& loadedAt)
{
    StoredCatalogue stored{address, loadedAt.toUTC(), stations, skippedRows};
    m_catalogues.insert(address, stored);
    m_container.writeContext().stage(QStringLiteral("catalogue ") + address, [stored](QSqlDatabase& db) {
        QSqlQuery query(db);
        query.prepare(QStringLiteral("DELETE FROM catalogue_station WHERE address = ?"));
        query.addBindValue(stored.address);
        if (QString error = execOrError(query); !error.isEmpty())
            return error;
        query.prepare(QStringLiteral("INSERT OR REPLACE INTO catalogue (address, loaded_at, skipped_rows) "
                                     "VALUES (?, ?, ?)"));
        query.addBindValue(stored.address);
        query.addBindValue(stored.loadedAt.toMSecsSinceEpoch());
        query.addBindValue(stored.skippedRows);
        if (QString error = execOrError(query); !error.isEmpty())
            return error;
        query.prepare(QStringLiteral("INSERT INTO catalogue_station (address, position, id, url, image, genre, "
                                     "title, uuid) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"));
        for (qsizetype i = 0; i < stored.stations.size(); ++i) {
            const StoredStation& station = stored.stations[i];
            query.bindValue(0, stored.address);
            query.bindValue(1, qint64(i));
            query.bindValue(2, qint64(station.id));
            // Empty, never NULL: the columns say NOT NULL.
            query.bindValue(3, station.url.isNull() ? QStringLiteral("") : station.url);
            query.bindValue(4, station.image.isNull() ? QStringLiteral("") : station.image);
            query.bindValue(5, station.genre.isNull() ? QStringLiteral("") : station.genre);
            query.bindValue(6, station.title.isNull() ? QStringLiteral("") : station.title);
            query.bindValue(7, station.uuid.isNull() ? QStringLiteral("") : station.uuid);
            if (QString error = execOrError(query); !error.isEmpty())
                return error;
        }
        // Only the most recently loaded few are kept.
        query.prepare(QStringLiteral("DELETE FROM catalogue_station WHERE address NOT IN "
                                     "(SELECT address FROM catalogue ORDER BY loaded_at DESC LIMIT ?)"));
        query.addBindValue(keptCatalogues);
        if (QString error = execOrError(query); !error.isEmpty())
            return error;
        query.prepare(QStringLiteral("DELETE FROM catalogue WHERE address NOT IN "
                                     "(SELECT address FROM catalogue ORDER BY loaded_at DESC LIMIT ?)"));
        query.addBindValue(keptCatalogues);
        return execOrError(query);
    });
}

std::optional<qint64> StateStore::selectedStationId(const QString& sourceKey) const
{
    if (const auto cached = m_selections.constFind(sourceKey); cached != m_selections.constEnd())
        return *cached;
    QSqlQuery query(m_container.writeContext().database());
    query.prepare(QStringLiteral("SELECT station_id FROM selection WHERE source = ?"));
    query.addBindValue(sourceKey);
    if (!query.exec()) {
        reportReadError(query);
        return std::nullopt;
    }
    const std::optional<qint64> id = query.next() ? std::optional(query.value(0).toLongLong()) : std::nullopt;
    m_selections.insert(sourceKey, id);
    return id;
}

void StateStore::setSelectedStationId(const QString& sourceKey, qint64 id)
{
    if (selectedStationId(sourceKey) == id)
        return;
    m_selections.insert(sourceKey, id);
    m_container.writeContext().stage(QStringLiteral("selection ") + sourceKey, [sourceKey, id](QSqlDatabase& db) {
        QSqlQuery query(db);
        query.prepare(QStringLiteral("INSERT OR REPLACE INTO selection (source, station_id) VALUES (?, ?)"));
        query.addBindValue(sourceKey);
        query.addBindValue(id);
        return execOrError(query);
    });
}

std::optional<float> StateStore::volume() const
{
    if (m_volume)
        return *m_volume;
    QSqlQuery query(m_container.writeContext().database());
    query.prepare(QStringLiteral("SELECT value FROM setting WHERE name = ?"));
    query.addBindValue(volumeKey);
    if (!query.exec()) {
        reportReadError(query);
        return std::nullopt;
    }
    std::optional<float> value;
    if (query.next()) {
        bool ok = false;
        const double stored = query.value(0).toDouble(&ok);
        // Whatever is in the file, the player gets a volume it can use.
        if (ok && std::isfinite(stored))
            value = float(std::clamp(stored, 0.0, 1.0));
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
    m_container.writeContext().stage(volumeKey, [volume](QSqlDatabase& db) {
        QSqlQuery query(db);
        query.prepare(QStringLiteral("INSERT OR REPLACE INTO setting (name, value) VALUES (?, ?)"));
        query.addBindValue(volumeKey);
        query.addBindValue(double(volume));
        return execOrError(query);
    });
}

QString StateStore::save()
{
    return m_container.writeContext().save();
}
