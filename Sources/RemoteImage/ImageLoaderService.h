// Loads images by URL request for any number of subscribers, one download per
// request at a time. Every operation returns at once and takes effect on the
// service's queue in call order: subscribe first, then load.
#pragma once

#include "RemoteImage/ImageLoader/ImageLoaderObserver.h"
#include "RemoteImage/Processing/ImageProcessing.h"

#include <QDateTime>
#include <QNetworkRequest>

#include <memory>
#include <optional>

namespace remoteimage {

class ImageLoaderService {
public:
    virtual ~ImageLoaderService() = default;

    // incremental: show the image while it arrives (partial callbacks) rather
    // than report progress; the first subscriber of a request decides.
    virtual void subscribe(const QNetworkRequest& request, bool incremental,
                           std::shared_ptr<const ImageProcessing> processor,
                           std::shared_ptr<ImageLoaderObserver> observer) = 0;

    virtual void unsubscribe(const std::shared_ptr<ImageLoaderObserver>& observer,
                             const QNetworkRequest& request) = 0;

    // Starts the request's download after `after` seconds unless the disk
    // cache has it; expiryDate is the date the cached file will carry (the
    // latest one given wins).
    virtual void load(const QNetworkRequest& request, double after,
                      const std::optional<QDateTime>& expiryDate) = 0;
};

} // namespace remoteimage
