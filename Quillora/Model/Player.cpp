#include "Model/Player.h"

#include "Diagnostics/Diagnostics.h"
#include "MediaControls/NowPlayingPublisher.h"
#include "Model/StationListModel.h"
#include "Playback/MediaPlayer.h"

#include <QUrl>

std::shared_ptr<Player> Player::create(std::shared_ptr<StationsLoader> loader, MediaPlayer* mediaPlayer,
                                       NowPlayingCenter* nowPlaying)
{
    return std::make_shared<Player>(Passkey(), std::move(loader), mediaPlayer, nowPlaying);
}

Player::Player(Passkey, std::shared_ptr<StationsLoader> loader, MediaPlayer* mediaPlayer,
               NowPlayingCenter* nowPlaying)
    : m_loader(std::move(loader))
    , m_player(mediaPlayer)
    , m_stationModel(new StationListModel(this))
{
    Q_ASSERT(m_loader && m_player);
    m_player->setParent(this);
    connect(m_player, &MediaPlayer::playbackEnded, this, &Player::onPlaybackEnded);
    if (nowPlaying)
        m_publisher = new NowPlayingPublisher(nowPlaying, this);
}

Player::~Player() = default;

void Player::setStations(const QList<Station>& stations)
{
    emit objectWillChange();
    m_stations = stations;
    m_stationModel->setStations(stations);
    emit stationsChanged();
    emit stationChanged();
}

void Player::setSelectedStationIndex(qint64 index)
{
    emit objectWillChange();
    const bool changed = index != m_selectedStationIndex;
    m_selectedStationIndex = index;
    if (changed)
        emit selectedStationIndexChanged();
    emit stationChanged();
    // Runs on every assignment: a reload or a one-station wrap reloads the stream.
    loadStation();
    showInfo(station());
}

void Player::setIsPlaying(bool playing)
{
    emit objectWillChange();
    const bool changed = playing != m_isPlaying;
    m_isPlaying = playing;
    if (changed)
        emit isPlayingChanged();
}

std::optional<Station> Player::station() const
{
    if (m_selectedStationIndex < 0 || m_selectedStationIndex >= m_stations.size())
        return std::nullopt;
    return m_stations.at(m_selectedStationIndex);
}

QVariant Player::stationValue() const
{
    const std::optional<Station> selected = station();
    return selected ? QVariant::fromValue(*selected) : QVariant();
}

float Player::volume() const
{
    return m_player->volume();
}

void Player::setVolume(float volume)
{
    const float before = m_player->volume();
    m_player->setVolume(volume);
    if (m_player->volume() != before)
        emit volumeChanged();
}

void Player::loadStations()
{
    m_loader->load(shared_from_this());
}

void Player::onLoaded(const QList<Station>& stations)
{
    printLine(QStringLiteral("Loaded %1 stations").arg(stations.size()));
    setStations(stations);
    setSelectedStationIndex(0);
}

void Player::onFailed()
{
    printLine(QStringLiteral("Failed to load stations..."));
}

void Player::loadStation()
{
    const std::optional<Station> selected = station();
    if (!selected)
        return;
    const QUrl url(selected->url, QUrl::StrictMode);
    // An address we will not open leaves the current stream as it was.
    if (!MediaPlayer::isStreamUrl(url))
        return;
    m_player->replaceItem(url);
}

void Player::showInfo(const std::optional<Station>& station)
{
    if (m_publisher)
        m_publisher->showInfo(station);
}

void Player::tooglePlayback()
{
    if (m_isPlaying)
        stop();
    else
        resume();
}

void Player::resume()
{
    m_player->play();
    setIsPlaying(m_player->rate() > 0.0f);
    showInfo(station());
}

void Player::stop()
{
    m_player->pause();
    setIsPlaying(m_player->rate() > 0.0f);
}

void Player::next()
{
    const qint64 count = m_stations.size();
    if (count == 0)
        return; // nothing to step through (and no division by zero)
    setSelectedStationIndex((m_selectedStationIndex + 1) % count);
}

void Player::prev()
{
    const qint64 index = m_selectedStationIndex - 1;
    setSelectedStationIndex(index >= 0 ? index : m_stations.size() - 1);
}

void Player::onPlaybackEnded(const QString& message)
{
    printLine(QStringLiteral("Playback stopped: %1").arg(message));
    setIsPlaying(m_player->rate() > 0.0f);
    emit playbackStopped(message);
}
