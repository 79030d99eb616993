// Runs processors one after the other, each on the previous one's result.
#pragma once

#include "RemoteImage/Processing/ImageProcessing.h"

#include <memory>
#include <utility>
#include <vector>

namespace remoteimage {

class ImageProcessorGroup final : public ImageProcessing {
public:
    using Processors = std::vector<std::shared_ptr<const ImageProcessing>>;

    explicit ImageProcessorGroup(Processors processors) : m_processors(std::move(processors)) {}

    QImage process(const QImage& image) const override
    {
        QImage result = image;
        for (const auto& processor : m_processors) {
            if (processor)
                result = processor->process(result);
        }
        return result;
    }

    const Processors& processors() const { return m_processors; }

private:
    Processors m_processors;
};

} // namespace remoteimage
