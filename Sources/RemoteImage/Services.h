// The three image services, owned together. The loader refers to the other
// two without owning them, so it is destroyed first.
#pragma once

#include "RemoteImage/ImageLoaderService.h"
#include "RemoteImage/ImageProcessingService.h"
#include "RemoteImage/RemoteFileCacheService.h"

#include <QByteArray>

#include <memory>

namespace remoteimage {

// How the library's downloads name themselves to servers and how long they
// may take. The library's user sets it, at any time: each download reads it
// as it starts. The size limit is the cache's own (ImageFile.h).
struct NetworkConfiguration {
    QByteArray userAgent;     // empty: Qt's own
    int deadlineMs = 120000;  // for one whole image
    int maxRedirects = 5;
};

void setNetworkConfiguration(const NetworkConfiguration& configuration);
NetworkConfiguration networkConfiguration();

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
