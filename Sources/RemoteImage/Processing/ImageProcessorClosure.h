// A processor made from any function of an image.
#pragma once

#include "RemoteImage/Processing/ImageProcessing.h"

#include <functional>
#include <utility>

namespace remoteimage {

class ImageProcessorClosure final : public ImageProcessing {
public:
    using Closure = std::function<QImage(const QImage&)>;

    explicit ImageProcessorClosure(Closure closure) : m_closure(std::move(closure)) {}

    QImage process(const QImage& image) const override
    {
        return m_closure ? m_closure(image) : image;
    }

    const Closure& closure() const { return m_closure; }

private:
    Closure m_closure;
};

} // namespace remoteimage
