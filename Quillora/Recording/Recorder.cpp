#include "Recording/Recorder.h"

#include "Diagnostics/Diagnostics.h"
#include "Playback/MediaPlayer.h"
#include "Playback/PlaybackSession.h"
#include "Recording/SongCutter.h"
#include "Recording/SongFile.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QStorageInfo>
#include <QTimer>
#include <QUuid>

namespace {

// mpv closes a piece on its own thread a moment after the next one starts.
constexpr int pieceCloseGraceMs = 2000;

bool isInside(const QString& folder, const QString& path)
{
    const QString dir = QFileInfo(folder).canonicalFilePath();
    const QFileInfo file(path);
    return !dir.isEmpty() && file.exists() && QFileInfo(file.canonicalPath()).canonicalFilePath() == dir;
}

// Renames the finished song to a free name; a name taken meanwhile by
// another program is not overwritten.
QString publish(const QString& temporary, const QString& folder, const QString& baseName, const QString& extension)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString path = SongFile::freePath(folder, baseName, extension);
        if (QFile::rename(temporary, path))
            return path;
        if (!QFileInfo::exists(temporary))
            break;
    }
    QFile::remove(temporary);
    return {};
}

} // namespace

Recorder::Recorder(const RecordingSettings& settings, const QString& cacheFolder, PlaybackSession* session,
                   MediaPlayer* media, QObject* parent)
    : QObject(parent)
    , m_settings(settings)
    , m_cacheFolder(cacheFolder)
    , m_pieceFolder(QDir(cacheFolder).filePath(QStringLiteral(".pieces")))
    , m_session(session)
    , m_media(media)
{
    m_pool.setMaxThreadCount(1);
    // Pieces left by a player that was killed are of no use.
    QDir(m_pieceFolder).removeRecursively();
    m_keeping = m_settings.mode != RecordingSettings::Mode::Off;
    connect(m_media, &MediaPlayer::recordingPieceStarted, this, &Recorder::onPiece);
    connect(m_media, &MediaPlayer::metadataChanged, this, [this](const StreamTags& tags) {
        // Connected after the session: its song change for these tags has
        // been handled by now.
        if (tags.contains(QStringLiteral("icy-title")) || tags.contains(QStringLiteral("title")))
            m_reconnected = false;
    });
    connect(m_session, &PlaybackSession::songChanged, this, &Recorder::onSongChanged);
    connect(m_session, &PlaybackSession::stateChanged, this, &Recorder::onStateChanged);
    updateRecording();
}

Recorder::~Recorder()
{
    m_media->setRecordingFolder({});
    waitForWrites();
    QDir(m_pieceFolder).removeRecursively();
}

void Recorder::waitForWrites()
{
    m_pool.waitForDone();
}

void Recorder::setStation(const QString& stream)
{
    m_station = stream;
    updateKeeping();
}

void Recorder::setMode(RecordingSettings::Mode mode)
{
    if (mode == m_settings.mode)
        return;
    const bool decided = decides();
    m_settings.mode = mode;
    m_toggled.clear();
    if (decides() != decided)
        emit decidesChanged();
    if (!decides())
        setLastCached({});
    m_wanted.reset();
    updateKeeping();
}

void Recorder::setFolder(const QString& folder)
{
    if (folder == m_settings.folder)
        return;
    m_settings.folder = folder;
    // The new folder's problems are said anew, and a pause for want of room
    // on the old folder's disk ends: the next song checks the new one.
    m_reported.clear();
    if (m_paused)
        resume();
}

void Recorder::resume()
{
    if (m_spaceCheck) {
        // It may be the one calling.
        m_spaceCheck->stop();
        m_spaceCheck->deleteLater();
        m_spaceCheck = nullptr;
    }
    m_paused = false;
    updateRecording();
}

void Recorder::setKeeping(bool keeping)
{
    if (keeping == m_keeping)
        return;
    if (m_toggled.contains(m_station))
        m_toggled.remove(m_station);
    else
        m_toggled.insert(m_station);
    updateKeeping();
}

void Recorder::updateKeeping()
{
    const bool keeping = (m_settings.mode != RecordingSettings::Mode::Off) != m_toggled.contains(m_station);
    if (keeping == m_keeping)
        return;
    m_keeping = keeping;
    emit keepingChanged();
    updateRecording();
}

void Recorder::updateRecording()
{
    const bool active = m_keeping && !m_paused && QDir().mkpath(m_pieceFolder);
    if (!active)
        resetChain();
    m_media->setRecordingFolder(active ? m_pieceFolder : QString());
}

void Recorder::onPiece(const QString& path, bool newStream, double lead)
{
    if (newStream) {
        const QString stream = m_session->stream().toString();
        if (stream != m_chainStream || m_pieces.isEmpty()) {
            resetChain();
            m_chainStream = stream;
        } else {
            m_reconnected = true; // the same stream again: the song may go on
        }
        m_freshTagPiece.reset();
        m_pieces.append({path, 0.0});
        return;
    }
    m_pieces.append({path, lead});
    m_freshTagPiece = Boundary{int(m_pieces.size()) - 1, lead};
}

void Recorder::onSongChanged()
{
    const std::optional<Boundary> boundary = std::exchange(m_freshTagPiece, std::nullopt);
    // A title change heard while listening; not the first title of a new
    // connection (that one was on air already), nor a stop or a station
    // change (they clear the song without a new piece).
    const bool heard = boundary.has_value() && m_songSeen && !m_reconnected;
    if (m_current && m_current->start && heard)
        finish(*m_current, *boundary);
    m_current.reset();
    if (boundary)
        m_songSeen = true;
    const Song& song = m_session->song();
    if (!song.isEmpty() && !m_pieces.isEmpty()) {
        m_current = Current{m_session->stationTitle(), song.text, song.artist, song.title,
                            QDateTime::currentDateTime(), heard ? boundary : std::nullopt};
        // What the new song needs begins before its first piece.
        if (heard)
            dropPiecesBefore(boundary->piece - 2);
    } else if (!m_pieces.isEmpty()) {
        dropPiecesBefore(int(m_pieces.size()) - 2);
    }
    setWriting(m_current && m_current->start);
}

void Recorder::onStateChanged()
{
    const PlaybackSession::State state = m_session->state();
    if (state == PlaybackSession::State::Stopped || state == PlaybackSession::State::Failed)
        resetChain();
}

void Recorder::finish(const Current& song, const Boundary& end)
{
    // Switched on by hand while the mode is off: kept as in mode all.
    const bool toFolder = m_settings.mode != RecordingSettings::Mode::Decide;
    const QString folder = toFolder ? m_settings.folder : m_cacheFolder;
    if (!folderUsable(folder))
        return;
    const int first = std::max(0, song.start->piece - 2);
    SongCut cut;
    for (int i = first; i < end.piece; ++i)
        cut.pieces.append(m_pieces[i].path);
    cut.startPiece = song.start->piece - first;
    cut.startLead = song.start->lead;
    cut.endPiece = end.piece - first;
    cut.endLead = end.lead;
    cut.minimumSeconds = m_settings.minimumSeconds;
    cut.maximumSeconds = m_settings.maximumSeconds;
    cut.tags = {{QStringLiteral("title"), song.title},
                {QStringLiteral("artist"), song.artist},
                {QStringLiteral("album"), song.station},
                {QStringLiteral("comment"), m_chainStream},
                {QStringLiteral("date"), song.startedAt.date().toString(Qt::ISODate)}};
    const QString baseName = SongFile::baseName(song.artist, song.title);
    QPointer<Recorder> self(this);
    const QString station = song.station;
    const QString text = song.text;
    later([self, cut, folder, baseName, station, text, toFolder] {
        QString error;
        QString extension;
        for (const QString& piece : cut.pieces) {
            if (QFileInfo(piece).size() > 0) {
                extension = SongCutter::extensionFor(piece, &error);
                break;
            }
        }
        QString path;
        if (!extension.isEmpty()) {
            const QString temporary = QDir(folder).filePath(
                QStringLiteral(".quillora-%1.part").arg(QUuid::createUuid().toString(QUuid::WithoutBraces)));
            const SongCutResult result = SongCutter::cut(cut, temporary);
            if (result.status == SongCutResult::Written) {
                path = publish(temporary, folder, baseName, extension);
                if (path.isEmpty())
                    error = QCoreApplication::translate("Recorder", "Cannot write to %1").arg(folder);
            } else if (result.status == SongCutResult::Failed) {
                error = result.error;
            }
        }
        QMetaObject::invokeMethod(
            self,
            [self, path, error, station, text, toFolder] {
                if (!self)
                    return;
                if (!error.isEmpty())
                    self->report(error);
                if (path.isEmpty())
                    return;
                printLine(QCoreApplication::translate("Recorder", "Kept %1").arg(path));
                emit self->songKept(station, text, path, toFolder);
                if (!toFolder)
                    self->onCached(station, text, path);
            },
            Qt::QueuedConnection);
    });
}

void Recorder::resetChain()
{
    dropPiecesBefore(int(m_pieces.size()));
    m_chainStream.clear();
    m_freshTagPiece.reset();
    m_current.reset();
    m_songSeen = false;
    m_reconnected = false;
    setWriting(false);
}

void Recorder::dropPiecesBefore(int index)
{
    index = std::min(index, int(m_pieces.size()));
    if (index <= 0)
        return;
    QStringList paths;
    for (int i = 0; i < index; ++i)
        paths.append(m_pieces[i].path);
    m_pieces.remove(0, index);
    if (m_current && m_current->start)
        m_current->start->piece -= index;
    if (m_freshTagPiece)
        m_freshTagPiece->piece -= index;
    later([paths] {
        for (const QString& path : paths)
            QFile::remove(path);
    });
}

void Recorder::setWriting(bool writing)
{
    if (writing == m_writing)
        return;
    m_writing = writing;
    emit writingChanged();
}

void Recorder::report(const QString& problem)
{
    if (m_reported.contains(problem))
        return;
    m_reported.insert(problem);
    printLine(problem);
    m_message = problem;
    emit messageChanged();
}

bool Recorder::folderUsable(const QString& folder)
{
    if (!QDir().mkpath(folder) || !QFileInfo(folder).isWritable()) {
        report(tr("Cannot keep songs: %1 cannot be written").arg(folder));
        return false;
    }
    const QStorageInfo storage(folder);
    if (storage.isValid() && storage.bytesAvailable() < minimumFreeBytes) {
        report(tr("Recording paused: less than 500 MB free on the disk of %1").arg(folder));
        m_paused = true;
        updateRecording();
        // Listening goes on; recording comes back once there is room.
        if (!m_spaceCheck) {
            m_spaceCheck = new QTimer(this);
            m_spaceCheck->setInterval(60000);
            connect(m_spaceCheck, &QTimer::timeout, this, [this] {
                if (QStorageInfo(m_settings.folder).bytesAvailable() < minimumFreeBytes)
                    return;
                m_reported.clear();
                resume();
            });
            m_spaceCheck->start();
        }
        return false;
    }
    return true;
}

void Recorder::later(std::function<void()> work)
{
    // Precise timers of one interval fire in the order they were started:
    // a piece is deleted only after the cuts that read it.
    QTimer::singleShot(pieceCloseGraceMs, Qt::PreciseTimer, this, [this, work = std::move(work)] { m_pool.start(work); });
}

void Recorder::pruneCache()
{
    const QFileInfoList songs =
        QDir(m_cacheFolder).entryInfoList(QDir::Files | QDir::NoDotAndDotDot, QDir::Time); // newest first
    for (qsizetype i = cacheSongs; i < songs.size(); ++i)
        QFile::remove(songs[i].filePath());
}

QString Recorder::save(const QString& cachedPath)
{
    if (!isInside(m_cacheFolder, cachedPath))
        return {};
    if (!QDir().mkpath(m_settings.folder)) {
        report(tr("Cannot keep songs: %1 cannot be written").arg(m_settings.folder));
        return {};
    }
    const QFileInfo file(cachedPath);
    const QString extension = QLatin1Char('.') + file.suffix();
    const QString path = SongFile::freePath(m_settings.folder, file.completeBaseName(), extension);
    if (!QFile::rename(cachedPath, path)) {
        // Another disk: copy, then drop the cached one.
        if (!QFile::copy(cachedPath, path)) {
            report(tr("Cannot keep songs: %1 cannot be written").arg(m_settings.folder));
            return {};
        }
        QFile::remove(cachedPath);
    }
    if (cachedPath == m_lastCached.path)
        setLastCached({});
    emit songSaved(cachedPath, path);
    return path;
}

QUrl Recorder::folderOf(const QString& path) const
{
    return QUrl::fromLocalFile(QFileInfo(path).absolutePath());
}

void Recorder::onCached(const QString& station, const QString& song, const QString& path)
{
    pruneCache();
    if (m_wanted && m_wanted->station == station && m_wanted->song == song) {
        m_wanted.reset();
        save(path);
        return;
    }
    setLastCached({station, song, path});
}

void Recorder::setLastCached(const Cached& cached)
{
    if (cached.path == m_lastCached.path)
        return;
    m_lastCached = cached;
    emit lastCachedChanged();
}

void Recorder::saveLastCached()
{
    if (!m_lastCached.path.isEmpty())
        save(m_lastCached.path);
}

bool Recorder::saveSong(const QString& station, const QString& song)
{
    if (!decides())
        return false;
    if (!m_lastCached.path.isEmpty() && m_lastCached.station == station && m_lastCached.song == song) {
        saveLastCached();
        return true;
    }
    if (m_current && m_current->start && m_current->station == station && m_current->text == song) {
        m_wanted = Cached{station, song, {}};
        return true;
    }
    return false;
}
