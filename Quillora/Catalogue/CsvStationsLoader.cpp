#include "Catalogue/CsvStationsLoader.h"

#include "Support/StartupTrace.h"
#include "Catalogue/CatalogueOutcome.h"
#include "Catalogue/LocalStationsLoader.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

namespace {

bool isWebUrl(const QUrl& url)
{
    return url.isValid() && (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https"))
        && !url.host().isEmpty();
}

// One download in flight. A child of its reply: deleting the reply aborts
// the transfer.
class CatalogueDownload final : public QObject {
public:
    CatalogueDownload(StationsReply* reply, const QUrl& url, int deadlineMs)
        : QObject(reply)
        , m_stations(reply)
        , m_network(new QNetworkAccessManager(this))
    {
        m_failure.source = LoadFailure::sourceName(url);
        m_deadline.setSingleShot(true);
        m_deadline.setInterval(deadlineMs);
        connect(&m_deadline, &QTimer::timeout, this, [this] {
            m_timedOut = true;
            m_reply->abort();
        });
    }

    void start(const QUrl& url, int transferTimeoutMs)
    {
        m_network->setCache(nullptr);
        QNetworkRequest request(url);
        request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
        request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
        request.setTransferTimeout(transferTimeoutMs);
        m_reply = m_network->get(request);
        connect(m_reply, &QNetworkReply::downloadProgress, this, [this](qint64 received, qint64 total) {
            if (received > CatalogueTable::maxBytes || total > CatalogueTable::maxBytes) {
                m_tooLarge = true;
                m_reply->abort();
            }
        });
        connect(m_reply, &QNetworkReply::finished, this, &CatalogueDownload::onReplyFinished);
        m_deadline.start();
    }

private:
    void onReplyFinished()
    {
        m_deadline.stop();
        m_reply->deleteLater();
        deleteLater();
        const QVariant status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
        const QNetworkReply::NetworkError error = m_reply->error();
        if (m_tooLarge)
            return fail(LoadFailure::Reason::tooLarge, {});
        if (m_timedOut)
            return fail(LoadFailure::Reason::notAnswering, QStringLiteral("no complete answer in time"));
        if (status.isValid() && (status.toInt() < 200 || status.toInt() >= 300)) {
            m_failure.httpStatus = status.toInt();
            return fail(LoadFailure::Reason::httpStatus, {});
        }
        QByteArray body = m_reply->readAll();
        const QVariant announced = m_reply->header(QNetworkRequest::ContentLengthHeader);
        if (error != QNetworkReply::NoError)
            return fail(reasonFor(error, status.isValid()), m_reply->errorString());
        if (announced.isValid() && body.size() < announced.toLongLong())
            return fail(LoadFailure::Reason::truncated,
                        QStringLiteral("%1 of %2 bytes").arg(body.size()).arg(announced.toLongLong()));
        if (body.size() > CatalogueTable::maxBytes)
            return fail(LoadFailure::Reason::tooLarge, {});
        StartupTrace::mark("catalogue-downloaded");
        // The worker sees only the body, never the reply.
        deliverFromWorker(m_stations,
                          [body = std::move(body), failure = m_failure] {
                              return CatalogueOutcome::fromParsed(CatalogueTable::parse(body), failure);
                          });
    }

    static LoadFailure::Reason reasonFor(QNetworkReply::NetworkError error, bool answered)
    {
        if (error == QNetworkReply::SslHandshakeFailedError)
            return LoadFailure::Reason::secureConnection;
        // Once the server has answered, a connection that ends early (or
        // stalls) cut the body short; before that, nobody answered.
        return answered ? LoadFailure::Reason::truncated : LoadFailure::Reason::notAnswering;
    }

    void fail(LoadFailure::Reason reason, const QString& detail)
    {
        m_failure.reason = reason;
        m_failure.detail = detail;
        CatalogueOutcome::failed(m_failure).deliver(*m_stations);
    }

    StationsReply* m_stations;
    QNetworkAccessManager* m_network;
    QNetworkReply* m_reply = nullptr;
    QTimer m_deadline;
    LoadFailure m_failure;
    bool m_tooLarge = false;
    bool m_timedOut = false;
};

} // namespace

CsvStationsLoader::CsvStationsLoader(QString url)
    : url(std::move(url))
{
}

StationsReply* CsvStationsLoader::load()
{
    const QUrl address(url, QUrl::StrictMode);
    if (address.isValid() && address.isLocalFile() && !address.toLocalFile().isEmpty())
        return LocalStationsLoader(address.toLocalFile()).load();
    auto* reply = new StationsReply;
    if (!isWebUrl(address)) {
        LoadFailure failure;
        failure.reason = LoadFailure::Reason::invalidAddress;
        failure.source = url.isEmpty() ? QStringLiteral("an empty address") : url.left(200);
        CatalogueOutcome::failed(failure).deliver(*reply);
        return reply;
    }
    (new CatalogueDownload(reply, address, deadlineMs))->start(address, transferTimeoutMs);
    return reply;
}
