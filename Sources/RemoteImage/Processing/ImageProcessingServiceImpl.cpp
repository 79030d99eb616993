#include "RemoteImage/Processing/ImageProcessingServiceImpl.h"

#include <utility>

ImageProcessingServiceImpl::ImageProcessingServiceImpl()
{
    m_queue.setObjectName(QStringLiteral("RemoteImage.ImageProcessingServiceImpl.queue"));
    m_queue.setMaxThreadCount(maxConcurrentOperationCount);
}

ImageProcessingServiceImpl::~ImageProcessingServiceImpl()
{
    m_queue.waitForDone();
}

void ImageProcessingServiceImpl::processImage(const QImage& image,
                                              std::shared_ptr<const ImageProcessing> processor,
                                              Completion completion)
{
    m_queue.start([image, processor = std::move(processor), completion = std::move(completion)] {
        const QImage result = processor ? processor->process(image) : image;
        if (completion)
            completion(result);
    });
}

void ImageProcessingServiceImpl::waitForDone()
{
    m_queue.waitForDone();
}
