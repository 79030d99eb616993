#include "Model/Player.h"

#include "Diagnostics/Diagnostics.h"
#include "Network/WebAddress.h"
#include "Playback/MediaPlayer.h"

#include <QCoreApplication>
#include <QUrl>

Player::Player(StationsLoader* loader, MediaPlayer* mediaPlayer, NetworkReachability* reachability,
               QObject* parent)
    : QObject(parent)
    , m_loader(loader)
    , m_session(new PlaybackSession(mediaPlayer, reachability, this))
    , m_stationModel(new StationListModel(this))
{
    Q_ASSERT(m_loader);
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
    dropGuest();
    select(index, false);
}

void Player::select(qint64 index, bool keepStream)
{
    emit objectWillChange();
    const bool changed = index != m_selectedStationIndex;
    m_selectedStationIndex = index;
    if (changed)
        emit selectedStationIndexChanged();
    emit stationChanged();
    if (!keepStream)
        loadStation();
    emit nowPlayingChanged();
}

bool Player::dropGuest()
{
    if (!m_guest)
        return false;
    m_guest.reset();
    return true;
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
    if (m_guest)
        return m_guest;
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
    return m_session->volume();
}

void Player::setVolume(float volume)
{
    const float before = m_session->volume();
    m_session->setVolume(volume);
    if (m_session->volume() != before)
        emit volumeChanged();
}

void Player::loadStations()
{
    if (m_loading) {
        // Not deleted here: this may run while that reply is announcing.
        m_loading->disconnect();
        m_loading->deleteLater();
    }
    StationsReply* reply = m_loader->load();
    if (reply->isFinished()) {
        answered(*reply);
        delete reply;
        return;
    }
    reply->setParent(this);
    m_loading = reply;
    connect(reply, &StationsReply::finished, this, [this, reply] {
        reply->deleteLater();
        answered(*reply);
    });
}

void Player::answered(const StationsReply& reply)
{
    // A failure is the source's to tell (its own line and the screen); the
    // catalogue shown stays as it is.
    if (!reply.failure())
        applyCatalogue(reply.stations());
}

void Player::applyCatalogue(const QList<Station>& stations)
{
    printLine(QCoreApplication::translate("Player", "Loaded %n stations", nullptr, int(stations.size())));
    const std::optional<Station> before = station();
    qint64 index = 0;
    if (m_preferredStationId) {
        for (qint64 i = 0; i < stations.size(); ++i) {
            if (stations[i].id == *m_preferredStationId) {
                index = i;
                break;
            }
        }
    }
    // A guest that the catalogue now holds (it was just added) becomes
    // that station of the catalogue.
    if (m_guest) {
        for (qint64 i = 0; i < stations.size(); ++i) {
            if (stations[i].url == m_guest->url) {
                index = i;
                m_guest.reset();
                break;
            }
        }
    }
    setStations(stations);
    // The station already on, on the same stream (or a guest), goes on
    // undisturbed; anything else loads the selected station's stream.
    const bool sameStream = before && index < stations.size() && stations[index].url == before->url;
    select(index, m_guest || sameStream);
}

void Player::loadStation()
{
    const std::optional<Station> selected = station();
    if (!selected)
        return;
    const std::optional<QUrl> address = net::webAddress(selected->url);
    // An address we will not open leaves the current stream as it was.
    if (!address)
        return;
    const QUrl& url = *address;
    const bool another = url != m_session->stream();
    m_session->setStream(url, selected->title);
    if (m_isPlaying && another)
        emit stationStarted(*selected);
}

void Player::togglePlayback()
{
    if (m_isPlaying)
        stop();
    else
        resume();
}

void Player::resume()
{
    const bool wasPlaying = m_isPlaying;
    m_session->play();
    setIsPlaying(m_session->state() != PlaybackSession::State::Stopped);
    emit nowPlayingChanged();
    if (const std::optional<Station> started = station(); started && !wasPlaying && m_isPlaying)
        emit stationStarted(*started);
}

void Player::stop()
{
    m_session->stop();
    setIsPlaying(false);
}

void Player::next()
{
    const qint64 count = m_stations.size();
    if (count == 0)
        return; // nothing to step through (and no division by zero)
    dropGuest();
    select((m_selectedStationIndex + 1) % count, false);
}

void Player::prev()
{
    dropGuest();
    const qint64 index = m_selectedStationIndex - 1;
    select(index >= 0 ? index : m_stations.size() - 1, false);
}

void Player::listenTo(const Station& station)
{
    // A station the catalogue already holds (the same stream) is that
    // station, not a guest: it must not be offered for adding again.
    for (qint64 i = 0; i < m_stations.size(); ++i) {
        if (!station.url.isEmpty() && m_stations[i].url == station.url) {
            setSelectedStationIndex(i);
            if (!m_isPlaying)
                resume();
            return;
        }
    }
    emit objectWillChange();
    m_guest = station;
    emit stationChanged();
    loadStation();
    emit nowPlayingChanged();
    if (!m_isPlaying)
        resume();
}
