#include "Playback/MpvMediaPlayer.h"

#include "Diagnostics/Diagnostics.h"

#include "Playback/MpvLibrary.h"

#include <QByteArray>
#include <QList>

#include <algorithm>
#include <cmath>

namespace {

// Audio only, nothing read from the user's mpv set-up, no helper programs,
// and playlists fetched from the network may not point at local files
// (playlists themselves must stay on: access-references=no would refuse them).
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
    {"audio-client-name", "Quillora"},
    {"pause", "yes"},
};

void applyExtraOptions(const MpvLibrary& lib, mpv_handle* mpv)
{
    const QByteArray options = qgetenv("QUILLORA_MPV_OPTIONS");
    if (options.isEmpty())
        return;
    for (const QByteArray& pair : options.split(',')) {
        const QByteArray item = pair.trimmed();
        if (item.isEmpty())
            continue;
        const qsizetype eq = item.indexOf('=');
        const QByteArray name = eq < 0 ? item : item.left(eq);
        const QByteArray value = eq < 0 ? QByteArray("yes") : item.mid(eq + 1);
        const int rc = lib.setOptionString(mpv, name.constData(), value.constData());
        if (rc < 0)
            printLine(QStringLiteral("Ignoring QUILLORA_MPV_OPTIONS entry %1: %2").arg(QString::fromUtf8(name), QString::fromUtf8(lib.errorString(rc))));
    }
}

} // namespace

MpvMediaPlayer::MpvMediaPlayer(QObject* parent)
    : MediaPlayer(parent)
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
        printLine(QStringLiteral("Cannot create the media player"));
        return false;
    }
    for (const auto& [name, value] : builtInOptions) {
        const int rc = lib->setOptionString(mpv, name, value);
        if (rc < 0)
            printLine(QStringLiteral("Media player option %1=%2: %3").arg(QString::fromUtf8(name), QString::fromUtf8(value), QString::fromUtf8(lib->errorString(rc))));
    }
    applyExtraOptions(*lib, mpv);
    if (const int rc = lib->initialize(mpv); rc < 0) {
        printLine(QStringLiteral("Cannot start the media player: %1").arg(QString::fromUtf8(lib->errorString(rc))));
        lib->terminateDestroy(mpv);
        return false;
    }
    m_lib = lib;
    m_mpv = mpv;
    double percent = m_volume * 100.0;
    m_lib->setProperty(m_mpv, "volume", MPV_FORMAT_DOUBLE, &percent);
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
    m_url = isStreamUrl(url) ? url : QUrl();
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
    const QByteArray url = m_url.toEncoded();
    const char* command[] = {"loadfile", url.constData(), "replace", nullptr};
    if (m_lib->command(m_mpv, command) < 0) {
        unload();
        return;
    }
    m_loaded = true;
    // Events of the stream we replaced may still be queued: they carry lower
    // playlist entry ids than the one just added.
    std::int64_t id = 0;
    if (m_lib->getProperty(m_mpv, "playlist/0/id", MPV_FORMAT_INT64, &id) >= 0)
        m_firstEntryId = id;
}

void MpvMediaPlayer::unload()
{
    if (!m_mpv || !m_loaded)
        return;
    m_loaded = false;
    const char* command[] = {"stop", nullptr};
    m_lib->command(m_mpv, command);
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
            if (event->event_id == MPV_EVENT_END_FILE) {
                const auto* end = static_cast<const mpv_event_end_file*>(event->data);
                const int reason = end->reason;
                const int error = end->error;
                const std::int64_t entryId = end->playlist_entry_id;
                QMetaObject::invokeMethod(
                    this, [this, reason, error, entryId] { onEndFile(reason, error, entryId); },
                    Qt::QueuedConnection);
            }
        }
    }
}

void MpvMediaPlayer::onEndFile(int reason, int error, std::int64_t entryId)
{
    if (reason != MPV_END_FILE_REASON_EOF && reason != MPV_END_FILE_REASON_ERROR)
        return; // stopped by us, replaced, or a playlist that resolved to its entries
    if (!m_loaded || entryId < m_firstEntryId)
        return; // a stream we already left
    // Back to paused with nothing open, so a later play() reopens the stream.
    int pause = 1;
    m_lib->setProperty(m_mpv, "pause", MPV_FORMAT_FLAG, &pause);
    unload();
    const QString why = reason == MPV_END_FILE_REASON_ERROR ? QString::fromUtf8(m_lib->errorString(error))
                                                            : QStringLiteral("end of stream");
    emit playbackEnded(QStringLiteral("%1: %2").arg(m_url.toDisplayString(), why));
}
