// The songs heard lately, as the store keeps them (the recently_played
// table): read once at start, each new one written at once, so that a player
// that runs for days in the background loses nothing when it is killed. A
// song that was kept carries its file's path.
//
// Main thread (the store's connection belongs to it).
#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

#include <functional>

class Database;
namespace sqlite {
class Connection;
}

struct PlayedSong {
    QDateTime playedAt; // UTC
    QString station;
    QString song;
    QString recording; // the file the song was kept in; empty: none
    bool saved = false; // the file is in the music folder (else the cache)
    bool operator==(const PlayedSong&) const = default;
};

class SongHistory {
public:
    // The database must have loaded its store.
    explicit SongHistory(Database& database);

    // The newest `limit` songs, newest first; empty (and one line) when the
    // store cannot be read.
    QList<PlayedSong> newest(int limit) const;
    // Adds the song and forgets all but the newest `keep`. Returns the
    // error, empty on success.
    QString add(const PlayedSong& song, int keep);
    QString clear();
    // The newest entry of `song` on `station` was kept in `path`.
    QString setRecording(const QString& station, const QString& song, const QString& path, bool saved);
    // The file at `from` was saved to the music folder as `to`.
    QString moveRecording(const QString& from, const QString& to);

private:
    QString write(const QString& key, const std::function<QString(sqlite::Connection&)>& change);

    Database& m_database;
    int m_writes = 0;
};
