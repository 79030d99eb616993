// The songs heard lately, newest first: at most 50, kept in the store so
// that they outlast the session, each with its time and station.
//
// The playback session says when a song has come on air and stayed
// (PlaybackSession::songStarted); the list keeps it, and forgets the
// oldest beyond the limit. Each addition is written at once (SongHistory),
// and so is the file a song was kept in, so that "Saved" and "Save" outlast
// the session too.
//
// Main thread (the store's connection belongs to it).
#pragma once

#include "Store/SongHistory.h"

#include <QAbstractListModel>
#include <QDateTime>
#include <QList>

class RecentlyPlayed final : public QAbstractListModel {
    Q_OBJECT
    Q_PROPERTY(int count READ count NOTIFY countChanged)

public:
    static constexpr int limit = 50;

    enum Role { TimeRole = Qt::UserRole + 1, TimeTextRole, StationRole, SongRole, RecordingRole, SavedRole };
    Q_ENUM(Role)

    struct Entry {
        QDateTime playedAt; // UTC
        QString station;
        QString song;
        QString recording; // the kept song's file; empty: none
        bool saved = false; // the file is in the music folder (else the cache)
        bool operator==(const Entry&) const = default;
    };

    // Reads the list from the store; history may be null (nothing kept).
    explicit RecentlyPlayed(SongHistory* history, QObject* parent = nullptr);

    int count() const { return int(m_entries.size()); }
    const QList<Entry>& entries() const { return m_entries; }

    void add(const QString& station, const QString& song, const QDateTime& playedAt = QDateTime::currentDateTimeUtc());
    Q_INVOKABLE void clear();
    // One line for the clipboard: "Song — Station (14:03)".
    Q_INVOKABLE QString textAt(int row) const;

    // A song of the list was kept in `path` (the newest entry of that song
    // on that station); saved: in the music folder, else in the cache.
    void markKept(const QString& station, const QString& song, const QString& path, bool saved);
    // A cached song was saved to `path`.
    void markSaved(const QString& cachedPath, const QString& path);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

signals:
    void countChanged();

private:
    void report(const QString& error);

    SongHistory* m_history;
    QList<Entry> m_entries; // newest first
};
