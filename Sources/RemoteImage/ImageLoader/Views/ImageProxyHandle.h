// A loaded image as QML sees it: what a content component receives as its
// `imageProxy` property. It holds the proxy and a snapshot of its bitmap
// taken on the user-interface thread, so a partial image that keeps growing
// on the loader's queue never changes under a reader.
#pragma once

#include "RemoteImage/ImageProxy.h"

#include <QImage>
#include <QObject>
#include <QSize>
#include <QtQml/qqmlregistration.h>

#include <memory>

namespace remoteimage {

class ImageProxyHandle : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Handed to content components by RemoteImage")
    Q_PROPERTY(QSize size READ size CONSTANT)
    Q_PROPERTY(int width READ width CONSTANT)
    Q_PROPERTY(int height READ height CONSTANT)

public:
    explicit ImageProxyHandle(std::shared_ptr<ImageProxy> proxy, QObject* parent = nullptr);
    // A handle for an image that comes from no loader (tests, previews).
    explicit ImageProxyHandle(const QImage& image, QObject* parent = nullptr);

    const std::shared_ptr<ImageProxy>& proxy() const { return m_proxy; }
    const QImage& image() const { return m_image; }
    QSize size() const { return m_image.size(); }
    int width() const { return m_image.width(); }
    int height() const { return m_image.height(); }

private:
    std::shared_ptr<ImageProxy> m_proxy;
    QImage m_image;
};

} // namespace remoteimage
