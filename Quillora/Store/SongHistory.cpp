#include "Store/SongHistory.h"

#include "Diagnostics/Diagnostics.h"
#include "Store/Database.h"

#include <QCoreApplication>

namespace {

QString runOrError(sqlite::Statement& query)
{
    return query.run() ? QString() : query.error().message;
}

} // namespace

SongHistory::SongHistory(Database& database)
    : m_database(database)
{
}

QList<PlayedSong> SongHistory::newest(int limit) const
{
    QList<PlayedSong> songs;
    sqlite::Statement query(m_database.writeContext().connection(),
                            QStringLiteral("SELECT played_at, station, song, recording, recording_saved FROM recently_played "
                                           "ORDER BY id DESC LIMIT ?"));
    query.bind(1, limit);
    while (query.next()) {
        songs.append({QDateTime::fromMSecsSinceEpoch(query.int64(0), Qt::UTC), query.text(1), query.text(2),
                      query.text(3), query.int64(4) != 0});
    }
    if (query.failed()) {
        printLine(QCoreApplication::translate("SongHistory", "Cannot read the recently played songs: %1").arg(query.error().message));
        return {};
    }
    return songs;
}

QString SongHistory::add(const PlayedSong& song, int keep)
{
    return write(QStringLiteral("recently played %1").arg(++m_writes), [song, keep](sqlite::Connection& db) {
        sqlite::Statement insert(db, QStringLiteral("INSERT INTO recently_played (played_at, station, song) VALUES (?, ?, ?)"));
        insert.bind(1, song.playedAt.toMSecsSinceEpoch());
        insert.bind(2, song.station);
        insert.bind(3, song.song);
        if (QString error = runOrError(insert); !error.isEmpty())
            return error;
        sqlite::Statement trim(db, QStringLiteral("DELETE FROM recently_played WHERE id NOT IN "
                                                  "(SELECT id FROM recently_played ORDER BY id DESC LIMIT ?)"));
        trim.bind(1, keep);
        return runOrError(trim);
    });
}

QString SongHistory::clear()
{
    return write(QStringLiteral("recently played %1").arg(++m_writes), [](sqlite::Connection& db) {
        sqlite::Statement query(db, QStringLiteral("DELETE FROM recently_played"));
        return runOrError(query);
    });
}

QString SongHistory::setRecording(const QString& station, const QString& song, const QString& path, bool saved)
{
    return write(QStringLiteral("recently played %1").arg(++m_writes), [=](sqlite::Connection& db) {
        sqlite::Statement query(db, QStringLiteral("UPDATE recently_played SET recording = ?, recording_saved = ? WHERE id = "
                                                   "(SELECT id FROM recently_played WHERE station = ? AND song = ? "
                                                   "ORDER BY id DESC LIMIT 1)"));
        query.bind(1, path);
        query.bind(2, saved ? 1 : 0);
        query.bind(3, station);
        query.bind(4, song);
        return runOrError(query);
    });
}

QString SongHistory::moveRecording(const QString& from, const QString& to)
{
    return write(QStringLiteral("recently played %1").arg(++m_writes), [=](sqlite::Connection& db) {
        sqlite::Statement query(db, QStringLiteral("UPDATE recently_played SET recording = ?, recording_saved = 1 "
                                                   "WHERE recording = ?"));
        query.bind(1, to);
        query.bind(2, from);
        return runOrError(query);
    });
}

QString SongHistory::write(const QString& key, const std::function<QString(sqlite::Connection&)>& change)
{
    WriteContext& context = m_database.writeContext();
    context.stage(key, change);
    return context.save();
}
