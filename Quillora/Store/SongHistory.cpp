#include "Store/SongHistory.h"

#include "Diagnostics/Diagnostics.h"
#include "Store/Database.h"

#include <QCoreApplication>
#include <QSqlError>
#include <QSqlQuery>

namespace {

QString execOrError(QSqlQuery& query)
{
    return query.exec() ? QString() : query.lastError().text();
}

} // namespace

SongHistory::SongHistory(Database& database)
    : m_database(database)
{
}

QList<PlayedSong> SongHistory::newest(int limit) const
{
    QList<PlayedSong> songs;
    QSqlQuery query(m_database.writeContext().database());
    query.prepare(QStringLiteral("SELECT played_at, station, song, recording, recording_saved FROM recently_played "
                                 "ORDER BY id DESC LIMIT ?"));
    query.addBindValue(limit);
    if (!query.exec()) {
        printLine(QCoreApplication::translate("SongHistory", "Cannot read the recently played songs: %1").arg(query.lastError().text()));
        return songs;
    }
    while (query.next()) {
        songs.append({QDateTime::fromMSecsSinceEpoch(query.value(0).toLongLong(), Qt::UTC), query.value(1).toString(),
                      query.value(2).toString(), query.value(3).toString(), query.value(4).toBool()});
    }
    return songs;
}

QString SongHistory::add(const PlayedSong& song, int keep)
{
    return write(QStringLiteral("recently played %1").arg(++m_writes), [song, keep](QSqlDatabase& db) {
        QSqlQuery query(db);
        query.prepare(QStringLiteral("INSERT INTO recently_played (played_at, station, song) VALUES (?, ?, ?)"));
        query.addBindValue(song.playedAt.toMSecsSinceEpoch());
        query.addBindValue(song.station);
        query.addBindValue(song.song);
        if (QString error = execOrError(query); !error.isEmpty())
            return error;
        query.prepare(QStringLiteral("DELETE FROM recently_played WHERE id NOT IN "
                                     "(SELECT id FROM recently_played ORDER BY id DESC LIMIT ?)"));
        query.addBindValue(keep);
        return execOrError(query);
    });
}

QString SongHistory::clear()
{
    return write(QStringLiteral("recently played %1").arg(++m_writes), [](QSqlDatabase& db) {
        QSqlQuery query(db);
        query.prepare(QStringLiteral("DELETE FROM recently_played"));
        return execOrError(query);
    });
}

QString SongHistory::setRecording(const QString& station, const QString& song, const QString& path, bool saved)
{
    return write(QStringLiteral("recently played %1").arg(++m_writes), [=](QSqlDatabase& db) {
        QSqlQuery query(db);
        query.prepare(QStringLiteral("UPDATE recently_played SET recording = ?, recording_saved = ? WHERE id = "
                                     "(SELECT id FROM recently_played WHERE station = ? AND song = ? "
                                     "ORDER BY id DESC LIMIT 1)"));
        query.addBindValue(path);
        query.addBindValue(saved ? 1 : 0);
        query.addBindValue(station);
        query.addBindValue(song);
        return execOrError(query);
    });
}

QString SongHistory::moveRecording(const QString& from, const QString& to)
{
    return write(QStringLiteral("recently played %1").arg(++m_writes), [=](QSqlDatabase& db) {
        QSqlQuery query(db);
        query.prepare(QStringLiteral("UPDATE recently_played SET recording = ?, recording_saved = 1 "
                                     "WHERE recording = ?"));
        query.addBindValue(to);
        query.addBindValue(from);
        return execOrError(query);
    });
}

QString SongHistory::write(const QString& key, const std::function<QString(QSqlDatabase&)>& change)
{
    WriteContext& context = m_database.writeContext();
    context.stage(key, change);
    return context.save();
}
