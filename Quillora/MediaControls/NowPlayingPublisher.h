// Publishes the selected station to the now-playing registry, with its logo
// as artwork.
//
// The station is published at once, without artwork, and again with it as
// soon as the logo is in the image cache: the media controls show the right
// title even while the logo loads, or when it never arrives. The logo comes
// from the remote-image library, loaded exactly as the cards load it, so a
// logo that a card shows costs no second download; the artwork is the
// library's cached file.
//
// Only the latest station is published: a newer showInfo() abandons the
// logo of the previous one, so a slow logo of an earlier station can never
// land under the station selected since.
#pragma once

#include "Catalogue/Station.h"
#include "MediaControls/NowPlayingSink.h"

#include <QObject>
#include <QPointer>

#include <memory>
#include <optional>

namespace remoteimage {
class CachedImageFile;
}

class NowPlayingPublisher final : public QObject {
    Q_OBJECT

public:
    explicit NowPlayingPublisher(NowPlayingSink* center, QObject* parent = nullptr);
    ~NowPlayingPublisher() override;

    void showInfo(const std::optional<Station>& station);

private:
    void publish(const Station& station, const QString& artUrl);

    QPointer<NowPlayingSink> m_center;
    std::unique_ptr<remoteimage::CachedImageFile> m_artwork;
    QString m_logo; // the logo address last asked for
};
