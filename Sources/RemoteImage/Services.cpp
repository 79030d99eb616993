#include "RemoteImage/Services.h"

#include <mutex>
#include <utility>

namespace remoteimage {

namespace {

std::mutex configurationMutex;
NetworkConfiguration configuration; // guarded by configurationMutex

} // namespace

void setNetworkConfiguration(const NetworkConfiguration& value)
{
    std::lock_guard lock(configurationMutex);
    configuration = value;
}

NetworkConfiguration networkConfiguration()
{
    std::lock_guard lock(configurationMutex);
    return configuration;
}

Services::Services(std::unique_ptr<RemoteFileCacheService> remoteFileCacheService,
                   std::unique_ptr<ImageLoaderService> imageLoaderService,
                   std::unique_ptr<ImageProcessingService> imageProcessingService)
    : m_remoteFileCacheService(std::move(remoteFileCacheService))
    , m_imageLoaderService(std::move(imageLoaderService))
    , m_imageProcessingService(std::move(imageProcessingService))
{
}

Services::~Services()
{
    m_imageLoaderService.reset();
    m_imageProcessingService.reset();
    m_remoteFileCacheService.reset();
}

} // namespace remoteimage
