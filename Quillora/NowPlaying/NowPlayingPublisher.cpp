#include "NowPlaying/NowPlayingPublisher.h"

#include "Playback/MediaPlayer.h"

#include <QCryptographicHash>
#include <QDir>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUrl>

namespace {

// File extension from the leading bytes; empty when the bytes are no image
// format a desktop shell can show.
QString imageExtension(const QByteArray& bytes)
{
    if (bytes.startsWith("\x89PNG\r\n\x1a\n"))
        return QStringLiteral("png");
    if (bytes.startsWith("\xff\xd8\xff"))
        return QStringLiteral("jpg");
    if (bytes.startsWith("GIF87a") || bytes.startsWith("GIF89a"))
        return QStringLiteral("gif");
    if (bytes.size() >= 12 && bytes.startsWith("RIFF") && bytes.mid(8, 4) == "WEBP")
        return QStringLiteral("webp");
    return {};
}

} // namespace

NowPlayingPublisher::NowPlayingPublisher(NowPlayingCenter* center, QObject* parent)
    : QObject(parent)
    , m_center(center)
    , m_network(new QNetworkAccessManager(this))
{
    m_network->setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);
}

QString NowPlayingPublisher::artworkDirectory()
{
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    return cache.isEmpty() ? QString() : cache + QStringLiteral("/now-playing");
}

void NowPlayingPublisher::showInfo(const std::optional<Station>& station)
{
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
        m_reply->deleteLater();
        m_reply = nullptr;
    }
    if (!station)
        return;

    const QUrl logo(station->image, QUrl::StrictMode);
    if (!MediaPlayer::isStreamUrl(logo)) {
        publish(*station, QString());
        return;
    }
    QNetworkRequest request(logo);
    request.setTransferTimeout(logoTimeoutMs);
    QNetworkReply* reply = m_network->get(request);
    m_reply = reply;
    const Station target = *station;
    // Refuse oversized logos as soon as they announce or exceed the limit.
    connect(reply, &QNetworkReply::downloadProgress, this, [reply](qint64 received, qint64 total) {
        if (received > maxLogoBytes || total > maxLogoBytes)
            reply->abort();
    });
    connect(reply, &QNetworkReply::finished, this, [this, reply, target] { finish(reply, target); });
}

void NowPlayingPublisher::finish(QNetworkReply* reply, const Station& station)
{
    reply->deleteLater();
    if (reply != m_reply)
        return;
    m_reply = nullptr;
    QString artUrl;
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (reply->error() == QNetworkReply::NoError && status >= 200 && status < 300) {
        const QByteArray bytes = reply->read(maxLogoBytes + 1);
        if (bytes.size() <= maxLogoBytes)
            artUrl = storeLogo(station.image, bytes);
    }
    publish(station, artUrl);
}

QString NowPlayingPublisher::storeLogo(const QString& address, const QByteArray& bytes) const
{
    const QString extension = imageExtension(bytes);
    const QString folder = artworkDirectory();
    if (extension.isEmpty() || folder.isEmpty() || !QDir().mkpath(folder))
        return {};
    const QByteArray key = QCryptographicHash::hash(address.toUtf8(), QCryptographicHash::Sha1).toHex();
    const QString path = folder + QLatin1Char('/') + QString::fromLatin1(key) + QLatin1Char('.') + extension;
    // Written aside and renamed, so a reader never sees half a picture.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return {};
    return QUrl::fromLocalFile(path).toString();
}

void NowPlayingPublisher::publish(const Station& station, const QString& artUrl)
{
    if (!m_center)
        return;
    m_center->setInfo(NowPlayingInfo{station.id, station.title, station.url, artUrl, true});
}
