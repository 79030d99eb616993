// The three image services, owned together. The loader refers to the other
// two without owning them, so it is destroyed first.
#pragma once

#include "RemoteImage/ImageLoaderService.h"
#include "RemoteImage/ImageProcessingService.h"
#include "RemoteImage/RemoteFileCacheService.h"

#include <memory>

namespace remoteimage {

class Services {
public:
    Services(std::unique_ptr<RemoteFileCacheService> remoteFileCacheService,
             std::unique_ptr<ImageLoaderService> imageLoaderService,
             std::unique_ptr<ImageProcessingService> imageProcessingService);
    ~Services();

    Services(const Services&) = delete;
    Services& operator=(const Services&) = delete;

    RemoteFileCacheService& remoteFileCacheService() const { return *m_remoteFileCacheService; }
    ImageLoaderService& imageLoaderService() const { return *m_imageLoaderService; }
    ImageProcessingService& imageProcessingService() const { return *m_imageProcessingService; }

private:
    std::unique_ptr<RemoteFileCacheService> m_remoteFileCacheService;
    std::unique_ptr<ImageLoaderService> m_imageLoaderService;
    std::unique_ptr<ImageProcessingService> m_imageProcessingService;
};

} // namespace remoteimage
