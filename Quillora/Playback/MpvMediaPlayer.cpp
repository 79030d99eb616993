#include "Playback/MpvMediaPlayer.h"

#include "Diagnostics/Diagnostics.h"
#include "Network/WebAddress.h"

#include "Playback/MpvLibrary.h"
#include "Playback/SongMetadata.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QList>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace {

// Audio only, nothing read from the user's mpv set-up, no helper programs,
// and playlists fetched from the network may not point at local files
// (playlists themselves must stay on: access-references=no would refuse them).
//
// The cache is sized for live radio. mpv's defaults (150 MiB ahead, 50 MiB
// of played data kept for seeking back, an hour's read-ahead) make a
// 1.4 Mbit/s stream grow the process by some 40 MB in four minutes. Ten
// seconds or 4 MiB ahead ride out a stall; nothing is kept behind. A server
// that stops sending for ten seconds counts as gone, so the stream is
// reopened rather than waited on for mpv's default minute.
constexpr const char* builtInOptions[][2] = {
    {"vo", "null"},
    {"video", "no"},
    {"audio-display", "no"},
    {"terminal", "no"},
    {"idle", "yes"},
    {"config", "no"},
    {"load-scripts", "no"},
    {"osc", "no"},
    {"load-stats-overlay", "no"},
    {"load-osd-console", "no"},
    {"load-auto-profiles", "no"},
    {"ytdl", "no"},
    {"load-unsafe-playlists", "no"},
    {"input-default-bindings", "no"},
    {"audio-client-name", QUILLORA_DISPLAY_NAME}, // the build's name, as AppInfo::displayName()
    {"pause", "yes"},
    {"cache", "yes"},
    {"cache-on-disk", "no"},
    {"cache-secs", "10"},
    {"demuxer-max-bytes", "4MiB"},
    {"demuxer-max-back-bytes", "0"},
    {"demuxer-donate-buffer", "no"},
    {"demuxer-seekable-cache", "no"},
    {"network-timeout", "10"},
};

// What the event thread observes, by reply id.
enum Observed : std::uint64_t {
    CoreIdle = 1,
    Metadata,
    CodecName,
    NominalBitrate,
    MeasuredBitrate,
};

// Only the tags a song is read from, each bounded: a hostile stream may send
// thousands of comments, each megabytes long.
constexpr std::array songTags = {"icy-title", "title", "artist", "icy-name"};
constexpr qsizetype maxTagBytes = 8192;

StreamTags tagsFrom(const mpv_node* node)
{
    StreamTags tags;
    if (!node || node->format != MPV_FORMAT_NODE_MAP)
        return tags;
    const mpv_node_list* list = node->u.list;
    for (int i = 0; i < list->num; ++i) {
        const mpv_node& value = list->values[i];
        if (value.format != MPV_FORMAT_STRING || !list->keys[i])
            continue;
        for (const char* wanted : songTags) {
            if (strcasecmp(list->keys[i], wanted) == 0) {
                tags.insert(QString::fromLatin1(wanted), SongMetadata::bounded(value.u.string, maxTagBytes));
                break;
            }
        }
    }
    return tags;
}

void applyOptions(const MpvLibrary& lib, mpv_handle* mpv, const MpvMediaPlayer::Options& options, const char* origin)
{
    for (const auto& [name, value] : options) {
        const int rc = lib.setOptionString(mpv, name.constData(), value.constData());
        if (rc < 0)
            printLine(QCoreApplication::translate("MpvMediaPlayer", "Ignoring %1 entry %2: %3")
                          .arg(QString::fromUtf8(origin), QString::fromUtf8(name), QString::fromUtf8(lib.errorString(rc))));
    }
}

} // namespace

MpvMediaPlayer::Options MpvMediaPlayer::parseOptions(const QByteArray& text)
{
    Options options;
    for (const QByteArray& pair : text.split(',')) {
        const QByteArray item = pair.trimmed();
        if (item.isEmpty())
            continue;
        const qsizetype eq = item.indexOf('=');
        options.append({eq < 0 ? item : item.left(eq), eq < 0 ? QByteArray("yes") : item.mid(eq + 1)});
    }
    return options;
}

MpvMediaPlayer::MpvMediaPlayer(QObject* parent)
    : MpvMediaPlayer(Options(), parent)
{
}

MpvMediaPlayer::MpvMediaPlayer(Options extraOptions, QObject* parent)
    : MediaPlayer(parent)
    , m_extraOptions(std::move(extraOptions))
{
}

bool MpvMediaPlayer::start()
{
    if (m_started)
        return m_mpv != nullptr;
    m_started = true;
    const MpvLibrary* lib = MpvLibrary::get();
    if (!lib)
        return false;
    mpv_handle* mpv = lib->create();
    if (!mpv) {
        printLine(QCoreApplication::translate("MpvMediaPlayer", "Cannot create the media player"));
        return false;
    }
    for (const auto& [name, value] : builtInOptions) {
        const int rc = lib->setOptionString(mpv, name, value);
        if (rc < 0)
            printLine(QCoreApplication::translate("MpvMediaPlayer", "Media player option %1=%2: %3").arg(QString::fromUtf8(name), QString::fromUtf8(value), QString::fromUtf8(lib->errorString(rc))));
    }
    applyOptions(*lib, mpv, m_extraOptions, "media player option");
    if (const int rc = lib->initialize(mpv); rc < 0) {
        printLine(QCoreApplication::translate("MpvMediaPlayer", "Cannot start the media player: %1").arg(QString::fromUtf8(lib->errorString(rc))));
        lib->terminateDestroy(mpv);
        return false;
    }
    m_lib = lib;
    m_mpv = mpv;
    double percent = m_volume * 100.0;
    m_lib->setProperty(m_mpv, "volume", MPV_FORMAT_DOUBLE, &percent);
    // Warnings are enough to tell a 404 from a refused connection, and cheap.
    m_lib->requestLogMessages(m_mpv, "warn");
    m_lib->observeProperty(m_mpv, CoreIdle, "core-idle", MPV_FORMAT_FLAG);
    m_lib->observeProperty(m_mpv, Metadata, "metadata", MPV_FORMAT_NODE);
    m_lib->observeProperty(m_mpv, CodecName, "audio-codec-name", MPV_FORMAT_STRING);
    m_lib->observeProperty(m_mpv, NominalBitrate, "current-tracks/audio/demux-bitrate", MPV_FORMAT_INT64);
    m_lib->observeProperty(m_mpv, MeasuredBitrate, "audio-bitrate", MPV_FORMAT_INT64);
    m_eventThread = std::thread([this] { runEventThread(); });
    m_lib->setWakeupCallback(m_mpv, &MpvMediaPlayer::wakeup, this);
    return true;
}

MpvMediaPlayer::~MpvMediaPlayer()
{
    if (!m_mpv)
        return;
    {
        std::lock_guard lock(m_mutex);
        m_quit = true;
    }
    m_wake.notify_one();
    m_eventThread.join();
    m_lib->setWakeupCallback(m_mpv, nullptr, nullptr);
    m_lib->terminateDestroy(m_mpv);
}

bool MpvMediaPlayer::isValid()
{
    return start();
}

void MpvMediaPlayer::replaceItem(const QUrl& url)
{
    m_url = net::isWebAddress(url) ? url : QUrl();
    if (rate() > 0)
        open();
    else
        unload();
}

void MpvMediaPlayer::play()
{
    if (m_url.isEmpty() || !start())
        return; // nothing to play: stay paused rather than claim to play silence
    if (!m_loaded)
        open();
    int pause = 0;
    m_lib->setProperty(m_mpv, "pause", MPV_FORMAT_FLAG, &pause);
}

void MpvMediaPlayer::pause()
{
    if (!m_mpv)
        return;
    int pause = 1;
    m_lib->setProperty(m_mpv, "pause", MPV_FORMAT_FLAG, &pause);
    unload();
}

float MpvMediaPlayer::rate() const
{
    int pause = 1;
    if (m_mpv)
        m_lib->getProperty(m_mpv, "pause", MPV_FORMAT_FLAG, &pause);
    return pause ? 0.0f : 1.0f;
}

float MpvMediaPlayer::volume() const
{
    if (!m_mpv)
        return m_volume;
    double volume = 0;
    m_lib->getProperty(m_mpv, "volume", MPV_FORMAT_DOUBLE, &volume);
    return static_cast<float>(volume / 100.0);
}

void MpvMediaPlayer::setVolume(float volume)
{
    // mpv does not clamp; above 100 it amplifies.
    m_volume = std::isnan(volume) ? 0.0f : std::clamp(volume, 0.0f, 1.0f);
    if (!m_mpv)
        return;
    double percent = m_volume * 100.0;
    m_lib->setProperty(m_mpv, "volume", MPV_FORMAT_DOUBLE, &percent);
}

void MpvMediaPlayer::open()
{
    if (!m_mpv)
        return;
    if (m_url.isEmpty()) {
        unload();
        return;
    }
    setAudioPlaying(false);
    const QByteArray url = m_url.toEncoded();
    const char* command[] = {"loadfile", url.constData(), "replace", nullptr};
    QString piece;
    {
        // The piece is named before the stream opens, so that its first
        // packets are kept too.
        std::lock_guard lock(m_recordMutex);
        piece = nextPieceLocked();
        recordLocked(piece);
        m_recordEntry = 0;
        if (m_lib->command(m_mpv, command) < 0) {
            recordLocked({});
            unload();
            return;
        }
        m_loaded = true;
        // Events of the stream we replaced may still be queued: they carry lower
        // playlist entry ids than the one just added.
        std::int64_t id = 0;
        if (m_lib->getProperty(m_mpv, "playlist/0/id", MPV_FORMAT_INT64, &id) >= 0) {
            m_firstEntryId = id;
            m_recordEntry = id;
        }
    }
    if (!piece.isEmpty())
        emit recordingPieceStarted(piece, true, 0.0);
}

void MpvMediaPlayer::setRecordingFolder(const QString& folder)
{
    QString piece;
    {
        std::lock_guard lock(m_recordMutex);
        if (folder == m_recordFolder)
            return;
        m_recordFolder = folder;
        if (!m_mpv || !m_loaded)
            return;
        piece = nextPieceLocked();
        recordLocked(piece);
    }
    if (!piece.isEmpty())
        emit recordingPieceStarted(piece, true, 0.0);
}

QString MpvMediaPlayer::nextPieceLocked()
{
    if (m_recordFolder.isEmpty())
        return {};
    return QDir(m_recordFolder).filePath(QStringLiteral("piece-%1.mkv").arg(++m_pieces, 6, 10, QLatin1Char('0')));
}

void MpvMediaPlayer::recordLocked(const QString& path)
{
    // mpv closes the piece it was writing and opens the next one; its
    // muxer is chosen by the name, and Matroska takes any audio codec.
    const QByteArray name = QFile::encodeName(path);
    const char* value = name.constData();
    m_lib->setProperty(m_mpv, "stream-record", MPV_FORMAT_STRING, &value);
}

void MpvMediaPlayer::startPieceOnTagChange(std::int64_t entry)
{
    std::lock_guard lock(m_recordMutex);
    if (m_recordFolder.isEmpty() || entry == 0 || entry != m_recordEntry)
        return;
    // What has arrived but not yet been heard: the new tags apply from the
    // moment they are heard, so this much of the previous piece is theirs.
    double received = 0;
    double heard = 0;
    double lead = 0;
    if (m_lib->getProperty(m_mpv, "demuxer-cache-time", MPV_FORMAT_DOUBLE, &received) >= 0
        && m_lib->getProperty(m_mpv, "audio-pts", MPV_FORMAT_DOUBLE, &heard) >= 0)
        lead = std::clamp(received - heard, 0.0, 600.0);
    const QString piece = nextPieceLocked();
    recordLocked(piece);
    QMetaObject::invokeMethod(
        this,
        [this, entry, piece, lead] {
            if (isCurrent(entry))
                emit recordingPieceStarted(piece, false, lead);
        },
        Qt::QueuedConnection);
}

void MpvMediaPlayer::unload()
{
    setAudioPlaying(false);
    if (!m_mpv || !m_loaded)
        return;
    m_loaded = false;
    {
        std::lock_guard lock(m_recordMutex);
        recordLocked({});
        m_recordEntry = 0;
    }
    const char* command[] = {"stop", nullptr};
    m_lib->command(m_mpv, command);
}

bool MpvMediaPlayer::isCurrent(std::int64_t entryId) const
{
    return m_loaded && entryId > 0 && entryId >= m_firstEntryId;
}

void MpvMediaPlayer::wakeup(void* context)
{
    auto* self = static_cast<MpvMediaPlayer*>(context);
    {
        std::lock_guard lock(self->m_mutex);
        self->m_pending = true;
    }
    self->m_wake.notify_one();
}

void MpvMediaPlayer::runEventThread()
{
    for (;;) {
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_pending || m_quit; });
            if (m_quit)
                return;
            m_pending = false;
        }
        for (;;) {
            const mpv_event* event = m_lib->waitEvent(m_mpv, 0);
            if (event->event_id == MPV_EVENT_NONE)
                break;
            handleEvent(*event);
        }
        // mpv hands out queued events before log lines, so the lines that
        // tell why a file failed come after its end event: classify the end
        // only once the queue is empty.
        flushEnds();
    }
}

void MpvMediaPlayer::handleEvent(const mpv_event& event)
{
    switch (event.event_id) {
    case MPV_EVENT_START_FILE: {
        flushEnds(); // what was logged so far belongs to the file that ended
        m_threadEntry = static_cast<const mpv_event_start_file*>(event.data)->playlist_entry_id;
        m_classifier.startFile();
        m_codec.clear();
        m_nominalBitrate = 0;
        m_measuredBitrate = 0;
        m_postedDetails = {};
        break;
    }
    case MPV_EVENT_END_FILE: {
        const auto* end = static_cast<const mpv_event_end_file*>(event.data);
        m_pendingEnds.append({end->reason, end->error, end->playlist_entry_id});
        m_threadEntry = 0;
        break;
    }
    case MPV_EVENT_LOG_MESSAGE: {
        const auto* message = static_cast<const mpv_event_log_message*>(event.data);
        if (message->prefix && message->text)
            m_classifier.logMessage(message->prefix, message->text);
        break;
    }
    case MPV_EVENT_PROPERTY_CHANGE: {
        const auto* property = static_cast<const mpv_event_property*>(event.data);
        const std::int64_t entry = m_threadEntry;
        switch (event.reply_userdata) {
        case CoreIdle: {
            const bool idle = property->format != MPV_FORMAT_FLAG || *static_cast<const int*>(property->data) != 0;
            QMetaObject::invokeMethod(
                this,
                [this, entry, idle] {
                    if (isCurrent(entry))
                        setAudioPlaying(!idle);
                },
                Qt::QueuedConnection);
            break;
        }
        case Metadata: {
            startPieceOnTagChange(entry);
            StreamTags tags =
                tagsFrom(property->format == MPV_FORMAT_NODE ? static_cast<const mpv_node*>(property->data) : nullptr);
            QMetaObject::invokeMethod(
                this,
                [this, entry, tags = std::move(tags)] {
                    if (isCurrent(entry))
                        emit metadataChanged(tags);
                },
                Qt::QueuedConnection);
            break;
        }
        case CodecName:
            m_codec = property->format == MPV_FORMAT_STRING
                ? QString::fromUtf8(SongMetadata::bounded(*static_cast<const char* const*>(property->data), 32))
                : QString();
            postDetails();
            break;
        case NominalBitrate:
            m_nominalBitrate = property->format == MPV_FORMAT_INT64 ? *static_cast<const std::int64_t*>(property->data) : 0;
            postDetails();
            break;
        case MeasuredBitrate: {
            const std::int64_t measured =
                property->format == MPV_FORMAT_INT64 ? *static_cast<const std::int64_t*>(property->data) : 0;
            // Measured once a second, it wanders by a few bits per second:
            // follow it only when it moves by more than a tenth.
            if (measured > 0 && (m_measuredBitrate == 0 || std::llabs(measured - m_measuredBitrate) * 10 > m_measuredBitrate))
                m_measuredBitrate = measured;
            postDetails();
            break;
        }
        default:
            break;
        }
        break;
    }
    default:
        break;
    }
}

void MpvMediaPlayer::postDetails()
{
    const std::int64_t bitrate = m_nominalBitrate > 0 ? m_nominalBitrate : m_measuredBitrate;
    const StreamDetails details{m_codec, static_cast<int>(std::clamp<std::int64_t>((bitrate + 500) / 1000, 0, 1'000'000))};
    if (details == m_postedDetails || m_threadEntry == 0)
        return;
    m_postedDetails = details;
    const std::int64_t entry = m_threadEntry;
    QMetaObject::invokeMethod(
        this,
        [this, entry, details] {
            if (isCurrent(entry))
                emit streamDetailsChanged(details);
        },
        Qt::QueuedConnection);
}

void MpvMediaPlayer::flushEnds()
{
    for (const PendingEnd& end : std::as_const(m_pendingEnds)) {
        if (end.reason != MPV_END_FILE_REASON_EOF && end.reason != MPV_END_FILE_REASON_ERROR)
            continue; // stopped by us, replaced, or a playlist that resolved to its entries
        const MpvEndClassifier::Result result =
            m_classifier.classify(end.reason, end.error, QString::fromUtf8(m_lib->errorString(end.error)));
        QMetaObject::invokeMethod(
            this,
            [this, entryId = end.entryId, cause = result.cause, detail = result.detail] {
                onEndFile(entryId, cause, detail);
            },
            Qt::QueuedConnection);
    }
    m_pendingEnds.clear();
}

void MpvMediaPlayer::onEndFile(std::int64_t entryId, EndCause cause, const QString& detail)
{
    if (!isCurrent(entryId))
        return; // a stream we already left
    // Back to paused with nothing open, so a later play() reopens the stream.
    int pause = 1;
    m_lib->setProperty(m_mpv, "pause", MPV_FORMAT_FLAG, &pause);
    unload();
    emit playbackEnded(QStringLiteral("%1: %2").arg(m_url.toDisplayString(), detail), cause);
}
