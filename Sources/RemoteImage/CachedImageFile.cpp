#include "RemoteImage/CachedImageFile.h"

#include "Network/WebAddress.h"
#include "RemoteImage/ImageLoader/ImageLoaderObserver.h"
#include "RemoteImage/ImageRequest.h"
#include "RemoteImage/RemoteImageService.h"

#include <QDateTime>
#include <QObject>

#include <mutex>

namespace remoteimage {

// What the loader's and the cache's threads hold. `context` lives on the
// owner's thread and carries the answer there; it is cleared (under the
// lock) before it is deleted, so a late answer finds nobody to call.
struct CachedImageFile::Waiter {
    std::mutex mutex;
    QObject* context = nullptr; // guarded by mutex
    Completion completion;      // guarded by mutex
};

void CachedImageFile::deliver(const std::shared_ptr<Waiter>& waiter, const QUrl& file)
{
    std::lock_guard lock(waiter->mutex);
    if (!waiter->context)
        return;
    QMetaObject::invokeMethod(
        waiter->context,
        [waiter, file] {
            Completion completion;
            {
                std::lock_guard lock(waiter->mutex);
                completion = std::exchange(waiter->completion, nullptr);
            }
            if (completion)
                completion(file);
        },
        Qt::QueuedConnection);
}

CachedImageFile::CachedImageFile(const QUrl& url, Completion completion)
    : CachedImageFile(url, std::move(completion), RemoteImageService::shared())
{
}

CachedImageFile::CachedImageFile(const QUrl& url, Completion completion, RemoteImageServiceType& service)
    : m_url(url)
    , m_service(service)
    , m_waiter(std::make_shared<Waiter>())
{
    m_waiter->context = new QObject;
    m_waiter->completion = std::move(completion);
    if (!net::isWebAddress(url))
        return;

    Services& services = service.services();
    RemoteFileCacheService* const cache = &services.remoteFileCacheService();
    const std::weak_ptr<Waiter> weakWaiter = m_waiter;
    // The picture itself is not needed: once the loader has delivered it, it
    // is in the disk cache, where the file is looked up.
    m_observer = std::make_shared<ImageLoaderObserver>(
        nullptr, nullptr, [weakWaiter, cache, url](const std::shared_ptr<ImageProxy>&) {
            if (weakWaiter.expired())
                return;
            cache->getFile(url, [weakWaiter](std::optional<QUrl> file) {
                if (const auto waiter = weakWaiter.lock(); waiter && file)
                    deliver(waiter, *file);
            });
        });
    const QNetworkRequest request = imageRequest(url);
    ImageLoaderService& loader = services.imageLoaderService();
    loader.subscribe(request, false, nullptr, m_observer);
    loader.load(request, 0, QDateTime::currentDateTimeUtc().addMSecs(qint64(service.defaultExpiryTime() * 1000)));
}

CachedImageFile::~CachedImageFile()
{
    QObject* context = nullptr;
    {
        std::lock_guard lock(m_waiter->mutex);
        context = std::exchange(m_waiter->context, nullptr);
        m_waiter->completion = nullptr;
    }
    delete context;
    if (m_observer)
        m_service.services().imageLoaderService().unsubscribe(m_observer, imageRequest(m_url));
}

} // namespace remoteimage
