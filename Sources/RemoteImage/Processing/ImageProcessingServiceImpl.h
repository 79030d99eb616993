// Processing on a concurrent queue of at most four operations at once.
#pragma once

#include "RemoteImage/ImageProcessingService.h"
#include "RemoteImage/Utils/WorkQueue.h"

namespace remoteimage {

class ImageProcessingServiceImpl final : public ImageProcessingService {
public:
    static constexpr int maxConcurrentOperationCount = 4;

    ImageProcessingServiceImpl();

    void processImage(const QImage& image, std::shared_ptr<const ImageProcessing> processor,
                      Completion completion) override;

    // Blocks until every operation queued so far has run.
    void waitForDone();

    const WorkQueue& queue() const { return m_queue; }

private:
    WorkQueue m_queue;
};

} // namespace remoteimage
