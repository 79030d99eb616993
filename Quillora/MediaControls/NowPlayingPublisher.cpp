#include "MediaControls/NowPlayingPublisher.h"

#include "Network/WebAddress.h"
#include "RemoteImage/CachedImageFile.h"

#include <QUrl>

NowPlayingPublisher::NowPlayingPublisher(NowPlayingSink* center, QObject* parent)
    : QObject(parent)
    , m_center(center)
{
}

NowPlayingPublisher::~NowPlayingPublisher() = default;

void NowPlayingPublisher::showInfo(const std::optional<Station>& station)
{
    if (!station) {
        m_artwork.reset();
        return;
    }
    // The same station again (playback resumed): keep the artwork it has
    // rather than flash it away and back.
    const std::optional<NowPlayingInfo>& current = m_center ? m_center->info() : std::nullopt;
    if (current && current->stationId == station->id && !current->artUrl.isEmpty() && m_logo == station->image) {
        publish(*station, current->artUrl);
        return;
    }
    m_artwork.reset();
    m_logo = station->image;
    publish(*station, QString());
    const std::optional<QUrl> logo = net::webAddress(station->image);
    if (!logo)
        return;
    m_artwork = std::make_unique<remoteimage::CachedImageFile>(*logo, [this, target = *station](const QUrl& file) {
        publish(target, file.toString());
    });
}

void NowPlayingPublisher::publish(const Station& station, const QString& artUrl)
{
    if (!m_center)
        return;
    m_center->setInfo(NowPlayingInfo{station.id, station.title, station.url, artUrl, true});
}
