// One image transformation. Processors are immutable values shared between
// subscribers and called from several processing threads at once, so
// process() must not change the processor.
#pragma once

#include <QImage>

namespace remoteimage {

class ImageProcessing {
public:
    virtual ~ImageProcessing() = default;
    virtual QImage process(const QImage& image) const = 0;
};

} // namespace remoteimage
