#include "Catalogue/CsvStationsLoader.h"

#include "App/StartupTrace.h"
#include "Catalogue/CatalogueOutcome.h"
#include "Catalogue/LocalStationsLoader.h"

#include "Network/BoundedGet.h"
#include "Network/WebAddress.h"
#include "Support/NetworkPolicy.h"

#include <QCoreApplication>
#include <QThread>
#include <QUrl>

namespace {

// One download in flight. Lives on the loading thread and holds the delegate
// until the body has gone to the parser (or the load failed).
class CatalogueDownload final : public QObject {
public:
    CatalogueDownload(std::shared_ptr<StationsLoaderDelegate> delegate, const QUrl& url)
        : m_delegate(std::move(delegate))
    {
        // Loads on the main thread belong to the application, so one still
        // in flight at exit is torn down with it rather than leaked.
        QCoreApplication* app = QCoreApplication::instance();
        if (app && app->thread() == QThread::currentThread())
            setParent(app);
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
        // The worker sees only the body, never the delegate.
        deliverFromWorker(std::exchange(m_delegate, nullptr),
                          [body = get.takeBody(), failure = m_failure] {
                              return CatalogueOutcome::fromParsed(CatalogueTable::parse(body), failure);
                          });
    }

    void fail(LoadFailure::Reason reason, const QString& detail)
    {
        m_failure.reason = reason;
        m_failure.detail = detail;
        if (const auto delegate = std::exchange(m_delegate, nullptr))
            CatalogueOutcome::failed(m_failure).deliver(*delegate);
    }

    std::shared_ptr<StationsLoaderDelegate> m_delegate;
    LoadFailure m_failure;
};

} // namespace

CsvStationsLoader::CsvStationsLoader(QString url)
    : url(std::move(url))
{
}

void CsvStationsLoader::load(std::shared_ptr<StationsLoaderDelegate> delegate)
{
    const QUrl address(url, QUrl::StrictMode);
    if (address.isValid() && address.isLocalFile() && !address.toLocalFile().isEmpty()) {
        LocalStationsLoader(address.toLocalFile()).load(std::move(delegate));
        return;
    }
    if (!net::isWebAddress(address)) {
        LoadFailure failure;
        failure.reason = LoadFailure::Reason::invalidAddress;
        failure.source = url.isEmpty() ? QStringLiteral("an empty address") : url.left(200);
        CatalogueOutcome::failed(failure).deliver(*delegate);
        return;
    }
    (new CatalogueDownload(std::move(delegate), address))->start(address, transferTimeoutMs, deadlineMs);
}
