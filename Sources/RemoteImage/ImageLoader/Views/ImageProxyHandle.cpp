#include "RemoteImage/ImageLoader/Views/ImageProxyHandle.h"

#include <utility>

namespace remoteimage {

ImageProxyHandle::ImageProxyHandle(std::shared_ptr<ImageProxy> proxy, QObject* parent)
    : QObject(parent)
    , m_proxy(std::move(proxy))
    , m_image(m_proxy ? m_proxy->image() : QImage())
{
}

ImageProxyHandle::ImageProxyHandle(const QImage& image, QObject* parent)
    : QObject(parent)
    , m_proxy(std::make_shared<ImageWrapper>(image))
    , m_image(image)
{
}

} // namespace remoteimage
