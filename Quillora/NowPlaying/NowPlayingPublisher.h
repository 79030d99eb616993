// Publishes a station to the now-playing registry once its logo has been
// downloaded and stored under the user's cache folder.
//
// Only the latest request is published: a newer showInfo() abandons the
// download of the previous one, so a slow logo of an earlier station can
// never overwrite the station selected since. A logo that cannot be fetched
// (or is not an image) publishes the station without artwork rather than
// leaving another station's picture under its title.
#pragma once

#include "Catalogue/Station.h"
#include "NowPlaying/NowPlayingCenter.h"

#include <QObject>
#include <QPointer>

#include <optional>

class QNetworkAccessManager;
class QNetworkReply;

class NowPlayingPublisher final : public QObject {
    Q_OBJECT

public:
    static constexpr qint64 maxLogoBytes = 8 * 1024 * 1024;
    static constexpr int logoTimeoutMs = 15000;

    explicit NowPlayingPublisher(NowPlayingCenter* center, QObject* parent = nullptr);

    void showInfo(const std::optional<Station>& station);

    // Where logos are stored: <cache>/now-playing.
    static QString artworkDirectory();

private:
    void finish(QNetworkReply* reply, const Station& station);
    void publish(const Station& station, const QString& artUrl);
    QString storeLogo(const QString& address, const QByteArray& bytes) const;

    QPointer<NowPlayingCenter> m_center;
    QNetworkAccessManager* m_network;
    QPointer<QNetworkReply> m_reply;
};
