// Shows an ImageProxyHandle's image in QML. Its implicit size is the
// image's size; fillMode says how the image meets the item's box:
// Stretch fills it, PreserveAspectFit fits the whole image in it (centred),
// PreserveAspectCrop scales until the box is covered and crops the rest
// evenly on both sides. Scaling is smooth unless `smooth` is off: a strong
// reduction is done once in software (area averaging) rather than leaving
// it to the texture filter, which would alias.
#pragma once

#include "RemoteImage/ImageLoader/Views/ImageProxyHandle.h"

#include <QImage>
#include <QPointer>
#include <QQuickItem>
#include <QRectF>
#include <QtQml/qqmlregistration.h>

namespace remoteimage {

class ImageProxyView : public QQuickItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(remoteimage::ImageProxyHandle* imageProxy READ imageProxy WRITE setImageProxy NOTIFY imageProxyChanged)
    Q_PROPERTY(FillMode fillMode READ fillMode WRITE setFillMode NOTIFY fillModeChanged)

public:
    enum FillMode { Stretch, PreserveAspectFit, PreserveAspectCrop };
    Q_ENUM(FillMode)

    explicit ImageProxyView(QQuickItem* parent = nullptr);

    ImageProxyHandle* imageProxy() const { return m_handle; }
    void setImageProxy(ImageProxyHandle* handle);

    FillMode fillMode() const { return m_fillMode; }
    void setFillMode(FillMode fillMode);

    // Where the image lands in a box of the given size, and which part of
    // an image of imageSize is shown there.
    struct Placement {
        QRectF target;
        QRectF source;
    };
    static Placement place(FillMode fillMode, const QSizeF& box, const QSizeF& imageSize);

signals:
    void imageProxyChanged();
    void fillModeChanged();

protected:
    QSGNode* updatePaintNode(QSGNode* oldNode, UpdatePaintNodeData* data) override;
    void geometryChange(const QRectF& newGeometry, const QRectF& oldGeometry) override;

private:
    void setImage(const QImage& image);

    QPointer<ImageProxyHandle> m_handle;
    FillMode m_fillMode = Stretch;
    QImage m_image;
    bool m_imageChanged = false;
    // Read by the scene graph while the user-interface thread is blocked.
    QImage m_scaled;
    QSize m_scaledFor;
};

} // namespace remoteimage
