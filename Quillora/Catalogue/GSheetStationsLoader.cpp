#include "Catalogue/GSheetStationsLoader.h"

#include "App/StartupTrace.h"

#include "CSV/CSV.h"

#include <QCoreApplication>
#include <QFutureWatcher>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QThread>
#include <QUrl>
#include <QtConcurrent/QtConcurrentRun>

namespace {

bool isCatalogueUrl(const QUrl& url)
{
    if (!url.isValid())
        return false;
    const QString scheme = url.scheme();
    if (scheme == QLatin1String("file"))
        return !url.toLocalFile().isEmpty();
    return (scheme == QLatin1String("http") || scheme == QLatin1String("https")) && !url.host().isEmpty();
}

// Loads on the main thread belong to the application, so one still in
// flight at exit is torn down with it rather than leaked.
QObject* ownerForThisThread()
{
    QCoreApplication* app = QCoreApplication::instance();
    return app && app->thread() == QThread::currentThread() ? app : nullptr;
}

// One load in flight. Lives on the loading thread and holds the delegate
// until it has answered, so the delegate is released on that thread too.
class CatalogueLoad final : public QObject {
public:
    CatalogueLoad(std::shared_ptr<StationsLoaderDelegate> delegate, std::shared_ptr<const csv::CSVRowDecoder> decoder)
        : QObject(ownerForThisThread())
        , m_delegate(std::move(delegate))
        , m_decoder(std::move(decoder))
        , m_network(new QNetworkAccessManager(this))
    {
    }

    void start(const QUrl& url)
    {
        m_network->setCache(nullptr);
        QNetworkRequest request(url);
        request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
        request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
        request.setTransferTimeout(GSheetStationsLoader::transferTimeoutMs);
        m_reply = m_network->get(request);
        connect(m_reply, &QNetworkReply::downloadProgress, this, [this](qint64 received, qint64 total) {
            if (received > GSheetStationsLoader::maxBodyBytes || total > GSheetStationsLoader::maxBodyBytes) {
                m_tooLarge = true;
                m_reply->abort();
            }
        });
        connect(m_reply, &QNetworkReply::finished, this, &CatalogueLoad::onReplyFinished);
    }

private:
    void onReplyFinished()
    {
        m_reply->deleteLater();
        const QVariant status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
        const bool httpOk = !status.isValid() || (status.toInt() >= 200 && status.toInt() < 300);
        if (m_tooLarge || m_reply->error() != QNetworkReply::NoError || !httpOk) {
            fail();
            return;
        }
        QByteArray body = m_reply->readAll();
        StartupTrace::mark("catalogue-downloaded");
        if (body.size() > GSheetStationsLoader::maxBodyBytes) {
            fail();
            return;
        }
        auto* watcher = new QFutureWatcher<std::optional<QList<Station>>>(this);
        connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher] {
            const std::optional<QList<Station>> stations = watcher->result();
            if (stations)
                succeed(*stations);
            else
                fail();
        });
        // The worker sees only the body and the decoder, never the delegate.
        watcher->setFuture(QtConcurrent::run([body = std::move(body), decoder = m_decoder] {
            return GSheetStationsLoader::parse(body, *decoder);
        }));
    }

    void succeed(const QList<Station>& stations)
    {
        const auto delegate = std::exchange(m_delegate, nullptr);
        deleteLater();
        if (delegate)
            delegate->onLoaded(stations);
    }

    void fail()
    {
        const auto delegate = std::exchange(m_delegate, nullptr);
        deleteLater();
        if (delegate)
            delegate->onFailed();
    }

    std::shared_ptr<StationsLoaderDelegate> m_delegate;
    std::shared_ptr<const csv::CSVRowDecoder> m_decoder;
    QNetworkAccessManager* m_network;
    QNetworkReply* m_reply = nullptr;
    bool m_tooLarge = false;
};

} // namespace

GSheetStationsLoader::GSheetStationsLoader(QString url)
    : cvsUrl(std::move(url))
    , m_decoder(std::make_shared<const csv::CSVRowDecoder>())
{
}

void GSheetStationsLoader::load(std::shared_ptr<StationsLoaderDelegate> delegate)
{
    const QUrl url(cvsUrl, QUrl::StrictMode);
    if (!isCatalogueUrl(url)) {
        delegate->onFailed();
        return;
    }
    (new CatalogueLoad(std::move(delegate), m_decoder))->start(url);
}

std::optional<QList<Station>> GSheetStationsLoader::parse(const QByteArray& body, const csv::CSVRowDecoder& decoder)
{
    // The reader would quietly read broken UTF-8 as U+FFFD; a catalogue that
    // is not UTF-8 is refused instead.
    if (!QByteArrayView(body).isValidUtf8())
        return std::nullopt;
    std::string text(body.constData(), static_cast<std::size_t>(body.size()));
    // A spreadsheet saved with a byte-order mark would otherwise name its
    // first column "\uFEFFid" and lose every row.
    if (text.starts_with("\xEF\xBB\xBF"))
        text.erase(0, 3);
    try {
        csv::CSVReader reader(std::move(text), true);
        QList<Station> stations;
        while (reader.next()) {
            try {
                stations.append(decoder.decode<Station>(reader));
            } catch (const csv::DecodingError&) {
                // a row that does not decode is skipped
            }
        }
        return stations;
    } catch (const csv::CSVError&) {
        return std::nullopt; // no header row
    } catch (const std::exception&) {
        return std::nullopt; // never let bad input take the process down
    }
}
