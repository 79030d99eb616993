#include "RemoteImage/RemoteImageService.h"

#include "RemoteImage/ImageCache/RemoteFileCacheServiceImpl.h"
#include "RemoteImage/ImageLoader/ImageLoaderServiceImpl.h"
#include "RemoteImage/Processing/ImageProcessingServiceImpl.h"
#include "RemoteImage/Utils/CachesDirectory.h"

#include <QCoreApplication>

namespace remoteimage {

RemoteImageServiceType& RemoteImageService::shared()
{
    // Never destroyed: downloads and cache work may still run while the
    // process exits, and their services must stay valid until it has.
    static RemoteImageService* const instance = new RemoteImageService;
    return *instance;
}

RemoteImageService::RemoteImageService()
    : m_defaultExpiryTime(sevenDays)
{
    auto remoteFileCache = std::make_unique<RemoteFileCacheServiceImpl>(QStringLiteral("RemoteImage"),
                                                                        appCachesDirectoryURL());
    auto imageProcessing = std::make_unique<ImageProcessingServiceImpl>();
    auto imageLoader = std::make_unique<ImageLoaderServiceImpl>(remoteFileCache.get(), imageProcessing.get());
    m_services = std::make_unique<Services>(std::move(remoteFileCache), std::move(imageLoader),
                                            std::move(imageProcessing));
    // The service outlives the application; its index work must not: a
    // commit still running while the process exits writes into a database
    // that is being torn down. Runs as the application object goes.
    qAddPostRoutine([] {
        if (auto* cache = dynamic_cast<RemoteFileCacheServiceImpl*>(
                &RemoteImageService::shared().services().remoteFileCacheService()))
            cache->waitUntilIdle();
    });
}

void RemoteImageService::resetFileCache()
{
    m_services->remoteFileCacheService().reset();
}

void RemoteImageService::cleanFileCache()
{
    m_services->remoteFileCacheService().clean();
}

} // namespace remoteimage
