#include "RemoteImage/Processing/ImageProcessingServiceImpl.h"

#include <utility>

namespace remoteimage {

ImageProcessingServiceImpl::ImageProcessingServiceImpl()
    : m_queue("RemoteImage.ImageProcessingServiceImpl.queue", WorkQueue::Kind::Concurrent,
              maxConcurrentOperationCount)
{
}

void ImageProcessingServiceImpl::processImage(const QImage& image,
                                              std::shared_ptr<const ImageProcessing> processor,
                                              Completion completion)
{
    m_queue.async([image, processor = std::move(processor), completion = std::move(completion)] {
        const QImage result = processor ? processor->process(image) : image;
        if (completion)
            completion(result);
    });
}

void ImageProcessingServiceImpl::waitForDone()
{
    m_queue.syncBarrier([] {});
}

} // namespace remoteimage
