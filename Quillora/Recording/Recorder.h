// Keeps the songs the listener hears, each in a file of its own, cut where
// its title started and ended playing, never re-encoded.
//
// The media player writes the stream as it arrives into pieces that start
// with every change of the stream's tags (MediaPlayer::setRecordingFolder);
// the playback session says which song each change brought. A song is kept
// when it was heard from its start to the start of the next one: the song
// on air when playback started, and the one cut short by Stop, another
// station or a drop that did not reconnect, are not. A reconnect within the
// same song goes on with the same song, across the gap. Songs without a
// title, and songs shorter than the minimum, are not kept; longer ones are
// kept up to the maximum.
//
// Songs are cut on a thread of the recorder's own, into a temporary file in
// the target folder, renamed when complete (SongCutter, SongFile). Mode all
// writes them to the folder; mode decide to the cache, which keeps the last
// ten, until the listener saves one (save()). Recording pauses while the
// folder's disk has less than 500 MB free; it never deletes a saved song.
// Each problem (a folder that cannot be written, a full disk, a stream that
// cannot be cut) is said once, on screen (message) and on the terminal;
// playback goes on.
//
// Main thread.
#pragma once

#include "Recording/RecordingSettings.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <QThreadPool>
#include <QTimer>
#include <QUrl>

#include <functional>
#include <optional>

class MediaPlayer;
class PlaybackSession;
struct SongCut;

class Recorder final : public QObject {
    Q_OBJECT
    // Whether this station's songs are being kept (the record switch).
    Q_PROPERTY(bool keeping READ keeping WRITE setKeeping NOTIFY keepingChanged)
    // A song that will be kept is being written.
    Q_PROPERTY(bool writing READ writing NOTIFY writingChanged)
    // Mode decide: kept songs wait in the cache for save().
    Q_PROPERTY(bool decides READ decides NOTIFY decidesChanged)
    // Mode decide: the newest song waiting in the cache, to be saved from
    // the song line (empty when none, or once saved).
    Q_PROPERTY(QString lastCachedSong READ lastCachedSong NOTIFY lastCachedChanged)
    // The last problem, for the screen; empty when none.
    Q_PROPERTY(QString message READ message NOTIFY messageChanged)

public:
    static constexpr qint64 minimumFreeBytes = 500LL * 1000 * 1000;
    static constexpr int cacheSongs = 10;

    // cacheFolder: where mode decide keeps songs and where the pieces are
    // written (emptied at start).
    Recorder(const RecordingSettings& settings, const QString& cacheFolder, PlaybackSession* session,
             MediaPlayer* media, QObject* parent = nullptr);
    ~Recorder() override;

    // The selected station's stream: the switch's state is per station.
    void setStation(const QString& stream);

    // The Settings sheet changed the mode or the folder: they hold from the
    // next song on (the switch follows the new mode on every station).
    void setMode(RecordingSettings::Mode mode);
    void setFolder(const QString& folder);

    bool keeping() const { return m_keeping; }
    void setKeeping(bool keeping);
    bool writing() const { return m_writing; }
    bool decides() const { return m_settings.mode == RecordingSettings::Mode::Decide; }
    QString message() const { return m_message; }
    QString lastCachedSong() const { return m_lastCached.song; }

    // Mode decide: moves a song from the cache to the folder; the path it
    // got, or empty (message says why).
    Q_INVOKABLE QString save(const QString& cachedPath);
    // Mode decide: saves the newest song waiting in the cache.
    Q_INVOKABLE void saveLastCached();
    // Mode decide: saves `song` of `station` (as the session named it), from
    // the cache, or once it is complete when it is being written now (the
    // song notification's Save). False when the song is not kept.
    bool saveSong(const QString& station, const QString& song);
    // Opens the file manager on the song's folder, with the song selected
    // where the file manager can.
    // The folder a kept song is in, for the file manager.
    Q_INVOKABLE QUrl folderOf(const QString& path) const;

    // Waits until every song being cut is written (tests, shutting down).
    void waitForWrites();

signals:
    void keepingChanged();
    void decidesChanged();
    void lastCachedChanged();
    void writingChanged();
    void messageChanged();
    // A song was kept at `path`; saved: it is in the folder (else in the
    // cache, to be saved).
    void songKept(const QString& station, const QString& song, const QString& path, bool saved);
    void songSaved(const QString& cachedPath, const QString& path);

private:
    struct Cached {
        QString station;
        QString song;
        QString path;
    };
    struct Piece {
        QString path;
        double lead = 0; // seconds of the previous piece that belong with this piece's tags
    };
    struct Boundary {
        int piece = -1; // index into m_pieces
        double lead = 0;
    };
    struct Current {
        QString station;
        QString text;
        QString artist;
        QString title;
        QDateTime startedAt;
        std::optional<Boundary> start; // none: heard only from its middle
    };

    void onPiece(const QString& path, bool newStream, double lead);
    void onSongChanged();
    void onStateChanged();
    void updateKeeping();
    void finish(const Current& song, const Boundary& end);
    void resetChain();
    void dropPiecesBefore(int index);
    void updateRecording();
    void setWriting(bool writing);
    void report(const QString& problem);
    bool folderUsable(const QString& folder);
    void resume();
    void later(std::function<void()> work);
    void pruneCache();
    void onCached(const QString& station, const QString& song, const QString& path);
    void setLastCached(const Cached& cached);

    RecordingSettings m_settings;
    QString m_cacheFolder;
    QString m_pieceFolder;
    PlaybackSession* m_session;
    MediaPlayer* m_media;
    bool m_keeping = false;
    bool m_writing = false;
    bool m_paused = false; // no room on the disk
    QTimer* m_spaceCheck = nullptr; // while paused: is there room again?
    QString m_message;
    QSet<QString> m_reported;

    QList<Piece> m_pieces; // this connection chain's pieces still needed
    QString m_chainStream;
    std::optional<Boundary> m_freshTagPiece; // the piece the last tag change started, not yet matched to a song
    bool m_songSeen = false; // a song change came in this chain
    std::optional<Current> m_current;
    bool m_reconnected = false; // a stream opened anew in this chain, its first title not yet seen
    QString m_station;
    QSet<QString> m_toggled; // streams whose switch the listener turned against the mode
    Cached m_lastCached;      // the newest song in the cache (mode decide)
    std::optional<Cached> m_wanted; // the song being written, to be saved once complete (no path yet)

    QThreadPool m_pool; // one thread: cuts and deletions in order
};
