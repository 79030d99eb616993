// A subscriber's three callbacks. Observers and handlers compare by identity
// (the same shared object), never by value.
#pragma once

#include "RemoteImage/ImageProxy.h"
#include "RemoteImage/Processing/ImageProcessing.h"

#include <functional>
#include <memory>
#include <optional>
#include <utility>

namespace remoteimage {

class ImageLoaderObserver {
public:
    // Fraction done from 0 to 1, or nothing when the total size is unknown.
    using Progress = std::function<void(std::optional<float>)>;
    using Partial = std::function<void(const std::shared_ptr<ImageProxy>&)>;
    using Completion = std::function<void(const std::shared_ptr<ImageProxy>&)>;

    ImageLoaderObserver(Progress progress, Partial partial, Completion completion)
        : progress(std::move(progress))
        , partial(std::move(partial))
        , completion(std::move(completion))
    {
    }

    const Progress progress;
    const Partial partial;
    const Completion completion;
};

// One subscription: the observer and the processor it asked for.
struct ImageLoadHandler {
    std::shared_ptr<const ImageProcessing> processor;
    std::shared_ptr<ImageLoaderObserver> observer;
};

} // namespace remoteimage
