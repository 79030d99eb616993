#include "RemoteImage/Services.h"

#include <utility>

namespace remoteimage {

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
