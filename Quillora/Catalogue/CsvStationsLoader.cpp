#include "Catalogue/CsvStationsLoader.h"

#include "Catalogue/CatalogueOutcome.h"
#include "Catalogue/LocalStationsLoader.h"
#include "Support/NetworkPolicy.h"
#include "Support/StartupTrace.h"

#include "Network/BoundedGet.h"
#include "Network/WebAddress.h"

#include <QUrl>

namespace {

// One download in flight. A child of its reply: deleting the reply aborts
// the transfer.
class CatalogueDownload final : public QObject {
public:
    CatalogueDownload(StationsReply* reply, const QUrl& url)
        : QObject(reply)
        , m_stations(reply)
    {
        m_failure.source = LoadFailure::sourceName(url);
    }

    void start(const QUrl& url, int transferTimeoutMs, int deadlineMs)
    {
        auto* get = new net::BoundedGet(QNetworkRequest(url),
                                        NetworkPolicy::get(CatalogueTable::maxBytes, transferTimeoutMs, deadlineMs),
                                        net::BoundedGet::Body::Keep, this);
        connect(get, &net::BoundedGet::finished, this, [this, get] { onFinished(*get); });
    }

private:
    void onFinished(net::BoundedGet& get)
    {
        get.deleteLater();
        deleteLater();
        using Kind = net::GetError::Kind;
        const net::GetError& error = get.error();
        switch (error.kind) {
        case Kind::None:
            break;
        case Kind::TooLarge:
            return fail(LoadFailure::Reason::tooLarge, {});
        case Kind::HttpStatus:
            m_failure.httpStatus = error.httpStatus;
            return fail(LoadFailure::Reason::httpStatus, {});
        case Kind::SecureConnection:
            return fail(LoadFailure::Reason::secureConnection, error.detail);
        case Kind::Truncated:
            return fail(LoadFailure::Reason::truncated, error.detail);
        case Kind::TimedOut:
            return fail(LoadFailure::Reason::notAnswering, QStringLiteral("no complete answer in time"));
        default:
            return fail(LoadFailure::Reason::notAnswering, error.detail.isEmpty() ? error.message() : error.detail);
        }
        StartupTrace::mark("catalogue-downloaded");
        // The worker sees only the body, never the reply.
        deliverFromWorker(m_stations,
                          [body = get.takeBody(), failure = m_failure] {
                              return CatalogueOutcome::fromParsed(CatalogueTable::parse(body), failure);
                          });
    }

    void fail(LoadFailure::Reason reason, const QString& detail)
    {
        m_failure.reason = reason;
        m_failure.detail = detail;
        CatalogueOutcome::failed(m_failure).deliver(*m_stations);
    }

    StationsReply* m_stations;
    LoadFailure m_failure;
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
    if (!net::isWebAddress(address)) {
        LoadFailure failure;
        failure.reason = LoadFailure::Reason::invalidAddress;
        failure.source = url.isEmpty() ? QStringLiteral("an empty address") : url.left(200);
        CatalogueOutcome::failed(failure).deliver(*reply);
        return reply;
    }
    (new CatalogueDownload(reply, address))->start(address, transferTimeoutMs, deadlineMs);
    return reply;
}
