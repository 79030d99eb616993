// Processing on a pool of at most four threads.
#pragma once

#include "RemoteImage/ImageProcessingService.h"

#include <QThreadPool>

class ImageProcessingServiceImpl final : public ImageProcessingService {
public:
    static constexpr int maxConcurrentOperationCount = 4;

    ImageProcessingServiceImpl();
    ~ImageProcessingServiceImpl() override;

    void processImage(const QImage& image, std::shared_ptr<const ImageProcessing> processor,
                      Completion completion) override;

    // Blocks until every queued operation has run (tests, shutdown).
    void waitForDone();

    QString label() const { return m_queue.objectName(); }

private:
    QThreadPool m_queue;
};
