#include "Playback/PlaybackSession.h"

#include "Diagnostics/Diagnostics.h"
#include "Network/WebAddress.h"
#include "Playback/MediaPlayer.h"
#include "Support/NetworkReachability.h"

#include <QCoreApplication>
#include <cmath>

PlaybackSession::PlaybackSession(MediaPlayer* mediaPlayer, NetworkReachability* reachability, QObject* parent)
    : PlaybackSession(mediaPlayer, reachability, Timing{}, parent)
{
}

PlaybackSession::PlaybackSession(MediaPlayer* mediaPlayer, NetworkReachability* reachability, const Timing& timing,
                                 QObject* parent)
    : QObject(parent)
    , m_media(mediaPlayer)
    , m_reachability(reachability)
    , m_timing(timing)
    , m_policy(timing.reconnect)
{
    Q_ASSERT(m_media);
    m_media->setParent(this);
    connect(m_media, &MediaPlayer::audioPlayingChanged, this, &PlaybackSession::onAudioPlayingChanged);
    connect(m_media, &MediaPlayer::playbackEnded, this, &PlaybackSession::onPlaybackEnded);
    connect(m_media, &MediaPlayer::metadataChanged, this, &PlaybackSession::onMetadataChanged);
    connect(m_media, &MediaPlayer::streamDetailsChanged, this, [this](const StreamDetails& details) {
        if (m_wantsToPlay)
            setStreamDetails(details.text());
    });

    m_retryTimer.setSingleShot(true);
    m_retryTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_retryTimer, &QTimer::timeout, this, [this] { retryNow(QString()); });
    m_countdownTimer.setInterval(1000);
    m_countdownTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_countdownTimer, &QTimer::timeout, this, &PlaybackSession::updateCountdown);
    m_stallTimer.setSingleShot(true);
    m_stallTimer.setInterval(m_timing.stallGrace);
    connect(&m_stallTimer, &QTimer::timeout, this, [this] {
        if (m_state != State::Playing || m_media->isAudioPlaying())
            return;
        m_policy.audioStopped();
        setState(State::Connecting);
    });
    m_songTimer.setSingleShot(true);
    m_songTimer.setInterval(m_timing.songSettle);
    connect(&m_songTimer, &QTimer::timeout, this, [this] { emit songStarted(m_stationTitle, m_song.text); });
    if (m_reachability) {
        connect(m_reachability, &NetworkReachability::becameOnline, this, [this] {
            if (m_retryTimer.isActive())
                retryNow(QStringLiteral("the network is back"));
        });
    }
}

PlaybackSession::~PlaybackSession() = default;

void PlaybackSession::setStream(const QUrl& url, const QString& stationTitle)
{
    m_url = url;
    m_stationTitle = stationTitle;
    cancelRetry();
    m_stallTimer.stop();
    m_policy.start();
    m_attempt = 0;
    setSong({});
    setStreamDetails({});
    setReason({});
    // While playing, the media player opens the new stream at once.
    m_media->replaceItem(url);
    if (m_wantsToPlay)
        connectStream(State::Connecting);
}

void PlaybackSession::play()
{
    if (m_url.isEmpty())
        return; // nothing selected yet: nothing to want
    if (m_wantsToPlay && (m_state == State::Connecting || m_state == State::Playing))
        return;
    if (m_wantsToPlay && m_state == State::Reconnecting) {
        if (m_retryTimer.isActive())
            retryNow(QStringLiteral("asked to play"));
        return;
    }
    m_wantsToPlay = true;
    cancelRetry();
    m_policy.start();
    m_attempt = 0;
    setReason({});
    connectStream(State::Connecting);
}

void PlaybackSession::stop()
{
    m_wantsToPlay = false;
    cancelRetry();
    m_stallTimer.stop();
    m_media->pause();
    setSong({});
    setStreamDetails({});
    setReason({});
    setState(State::Stopped);
}

float PlaybackSession::volume() const
{
    return m_media->volume();
}

void PlaybackSession::setVolume(float volume)
{
    m_media->setVolume(volume);
}

void PlaybackSession::connectStream(State whileConnecting)
{
    if (!net::isWebAddress(m_url)) {
        m_media->pause();
        fail(humanReason(EndCause::UnsupportedFormat));
        printLine(QCoreApplication::translate("PlaybackSession", "Cannot play %1: not an http(s) stream address").arg(m_url.toDisplayString()));
        return;
    }
    ++m_attempt;
    m_media->play();
    if (m_media->rate() <= 0.0f) {
        fail(tr("The media player cannot start"));
        return;
    }
    if (m_media->isAudioPlaying()) {
        setReason({});
        setState(State::Playing);
        return;
    }
    setState(whileConnecting);
}

void PlaybackSession::retryNow(const QString& why)
{
    cancelRetry();
    printLine(QCoreApplication::translate("PlaybackSession", "Reconnecting (attempt %1%2) after %3")
                  .arg(m_attempt + 1)
                  .arg(why.isEmpty() ? QString() : QStringLiteral(", ") + why, m_lastFailure));
    connectStream(State::Reconnecting);
}

void PlaybackSession::fail(const QString& reason)
{
    cancelRetry();
    m_stallTimer.stop();
    setSong({});
    setStreamDetails({});
    setReason(reason);
    setState(State::Failed);
}

void PlaybackSession::cancelRetry()
{
    m_retryTimer.stop();
    m_countdownTimer.stop();
    setRetryInSeconds(0);
}

void PlaybackSession::updateCountdown()
{
    const auto remaining = static_cast<double>(m_retryDeadline.remainingTime());
    setRetryInSeconds(std::max(1, static_cast<int>(std::ceil(remaining / 1000.0))));
}

void PlaybackSession::onAudioPlayingChanged(bool playing)
{
    if (!m_wantsToPlay)
        return;
    if (playing) {
        m_stallTimer.stop();
        m_policy.audioStarted(ReconnectPolicy::Clock::now());
        setReason({});
        setState(State::Playing);
    } else if (m_state == State::Playing) {
        m_stallTimer.start();
    }
}

void PlaybackSession::onPlaybackEnded(const QString& message, EndCause cause)
{
    if (!m_wantsToPlay)
        return;
    m_stallTimer.stop();
    const std::optional<ReconnectPolicy::Duration> delay = m_policy.afterEnd(cause, ReconnectPolicy::Clock::now());
    if (!delay) {
        printLine(QCoreApplication::translate("PlaybackSession", "Playback failed after %n tries: %1", nullptr, m_attempt).arg(message));
        fail(humanReason(cause));
        return;
    }
    m_lastFailure = message;
    setReason(humanReason(cause));
    m_retryDeadline.setRemainingTime(*delay, Qt::PreciseTimer);
    m_retryTimer.start(*delay);
    if (m_reachability)
        m_reachability->watch();
    m_countdownTimer.start();
    updateCountdown();
    setState(State::Reconnecting);
}

void PlaybackSession::onMetadataChanged(const StreamTags& tags)
{
    if (!m_wantsToPlay)
        return;
    // A freshly opened stream has tags without a title until its first
    // song arrives: that is no news, and must not clear the song on air.
    if (!tags.contains(QStringLiteral("icy-title")) && !tags.contains(QStringLiteral("title")))
        return;
    setSong(SongMetadata::songFrom(tags, m_stationTitle));
}

void PlaybackSession::setState(State state)
{
    if (state == m_state)
        return;
    m_state = state;
    emit stateChanged();
}

void PlaybackSession::setReason(const QString& reason)
{
    if (reason == m_reason)
        return;
    m_reason = reason;
    emit reasonChanged();
}

void PlaybackSession::setRetryInSeconds(int seconds)
{
    if (seconds == m_retryInSeconds)
        return;
    m_retryInSeconds = seconds;
    emit retryInSecondsChanged();
}

void PlaybackSession::setSong(const Song& song)
{
    if (song == m_song)
        return;
    m_song = song;
    emit songChanged();
    m_songTimer.stop();
    if (!song.isEmpty())
        m_songTimer.start();
}

void PlaybackSession::setStreamDetails(const QString& details)
{
    if (details == m_streamDetails)
        return;
    m_streamDetails = details;
    emit streamDetailsChanged();
}
