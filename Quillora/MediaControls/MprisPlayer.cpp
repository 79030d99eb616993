#include "MediaControls/MprisPlayer.h"

#include "MediaControls/NowPlayingSink.h"
#include "Model/Player.h"

#include <algorithm>
#include <cmath>

MprisPlayer::MprisPlayer(QObject* exported, Player* player, NowPlayingSink* nowPlaying)
    : QDBusAbstractAdaptor(exported)
    , m_player(player)
    , m_nowPlaying(nowPlaying)
{
    setAutoRelaySignals(false);
    m_lastStatus = playbackStatus();
    m_lastHasStations = hasStations();
    m_lastMetadata = metadata();
    m_lastVolume = volume();
    connect(m_player, &Player::isPlayingChanged, this, [this] {
        if (m_player->isPlaying())
            m_stopped = false;
        checkChanges();
    });
    // A failed stream, the song on air.
    connect(m_player->session(), &PlaybackSession::stateChanged, this, &MprisPlayer::checkChanges);
    connect(m_player->session(), &PlaybackSession::songChanged, this, &MprisPlayer::checkChanges);
    connect(m_player, &Player::stationsChanged, this, &MprisPlayer::checkChanges);
    connect(m_player, &Player::stationChanged, this, &MprisPlayer::checkChanges);
    connect(m_player, &Player::volumeChanged, this, &MprisPlayer::checkChanges);
    if (m_nowPlaying)
        connect(m_nowPlaying, &NowPlayingSink::infoChanged, this, &MprisPlayer::checkChanges);
}

QString MprisPlayer::playbackStatus() const
{
    if (!m_player->station() || m_player->session()->state() == PlaybackSession::State::Failed)
        return QStringLiteral("Stopped");
    if (m_player->isPlaying())
        return QStringLiteral("Playing");
    return m_stopped ? QStringLiteral("Stopped") : QStringLiteral("Paused");
}

bool MprisPlayer::hasStations() const
{
    return !m_player->stations().isEmpty();
}

QVariantMap MprisPlayer::metadata() const
{
    QVariantMap map;
    const auto& info = m_nowPlaying ? m_nowPlaying->info() : std::nullopt;
    if (!info) {
        map.insert(QStringLiteral("mpris:trackid"),
                   QVariant::fromValue(QDBusObjectPath(QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack"))));
        return map;
    }
    // Object path elements are [A-Za-z0-9_]: spell a negative id with "m".
    const QString id = info->stationId < 0 ? QStringLiteral("m%1").arg(-(info->stationId + 1) + 1ULL)
                                           : QString::number(info->stationId);
    map.insert(QStringLiteral("mpris:trackid"),
               QVariant::fromValue(QDBusObjectPath(QStringLiteral("/org/mpris/MediaPlayer2/quillora/station/") + id)));
    // The song on air where the stream names it; the station otherwise.
    const PlaybackSession* session = m_player->session();
    const QString songTitle = session->songTitle();
    const QString songArtist = session->songArtist();
    map.insert(QStringLiteral("xesam:title"), songTitle.isEmpty() ? info->title : songTitle);
    map.insert(QStringLiteral("xesam:artist"), QStringList{songArtist.isEmpty() ? info->title : songArtist});
    map.insert(QStringLiteral("xesam:album"), info->title);
    map.insert(QStringLiteral("xesam:url"), info->url);
    if (!info->artUrl.isEmpty())
        map.insert(QStringLiteral("mpris:artUrl"), info->artUrl);
    return map;
}

double MprisPlayer::volume() const
{
    return m_player->volume();
}

void MprisPlayer::setVolume(double volume)
{
    if (std::isnan(volume))
        return;
    m_player->setVolume(static_cast<float>(std::clamp(volume, 0.0, 1.0)));
}

void MprisPlayer::Next()
{
    m_player->next();
}

void MprisPlayer::Previous()
{
    m_player->prev();
}

void MprisPlayer::Pause()
{
    if (m_player->isPlaying())
        m_player->stop();
}

void MprisPlayer::PlayPause()
{
    m_player->togglePlayback();
}

void MprisPlayer::Stop()
{
    m_stopped = true;
    m_player->stop();
    checkChanges(); // Paused → Stopped changes nothing in the player
}

void MprisPlayer::Play()
{
    if (!m_player->isPlaying())
        m_player->resume();
}

void MprisPlayer::Seek(qlonglong) {}

void MprisPlayer::SetPosition(const QDBusObjectPath&, qlonglong) {}

void MprisPlayer::OpenUri(const QString&) {}

void MprisPlayer::checkChanges()
{
    QVariantMap changed;
    if (const QString status = playbackStatus(); status != m_lastStatus) {
        m_lastStatus = status;
        changed.insert(QStringLiteral("PlaybackStatus"), status);
    }
    if (const bool can = hasStations(); can != m_lastHasStations) {
        m_lastHasStations = can;
        for (const char* name : {"CanPlay", "CanPause", "CanGoNext", "CanGoPrevious"})
            changed.insert(QLatin1String(name), can);
    }
    if (const QVariantMap data = metadata(); data != m_lastMetadata) {
        m_lastMetadata = data;
        changed.insert(QStringLiteral("Metadata"), data);
    }
    if (const double level = volume(); level != m_lastVolume) {
        m_lastVolume = level;
        changed.insert(QStringLiteral("Volume"), level);
    }
    if (!changed.isEmpty())
        emit propertiesChanged(changed);
}
