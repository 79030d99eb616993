// Runs image processors off the user-interface thread.
#pragma once

#include "RemoteImage/Processing/ImageProcessing.h"

#include <QImage>
#include <functional>
#include <memory>

namespace remoteimage {

class ImageProcessingService {
public:
    using Completion = std::function<void(const QImage&)>;

    virtual ~ImageProcessingService() = default;

    // Returns at once; completion receives processor's result on the thread
    // that ran it.
    virtual void processImage(const QImage& image,
                              std::shared_ptr<const ImageProcessing> processor,
                              Completion completion) = 0;
};

} // namespace remoteimage
