#include "RemoteImage/ImageLoader/Views/ImageProxyView.h"

#include <QQuickWindow>
#include <QSGImageNode>
#include <QSGTexture>

#include <algorithm>
#include <cmath>

namespace remoteimage {

ImageProxyView::ImageProxyView(QQuickItem* parent)
    : QQuickItem(parent)
{
    setFlag(ItemHasContents);
}

void ImageProxyView::setImageProxy(ImageProxyHandle* handle)
{
    if (m_handle == handle)
        return;
    m_handle = handle;
    // The image is kept: a handle may go before this item does.
    setImage(handle ? handle->image() : QImage());
    emit imageProxyChanged();
}

void ImageProxyView::setImage(const QImage& image)
{
    m_image = image;
    m_imageChanged = true;
    const qreal ratio = image.isNull() ? 1 : image.devicePixelRatio();
    setImplicitSize(image.width() / ratio, image.height() / ratio);
    update();
}

void ImageProxyView::setFillMode(FillMode fillMode)
{
    if (m_fillMode == fillMode)
        return;
    m_fillMode = fillMode;
    update();
    emit fillModeChanged();
}

void ImageProxyView::geometryChange(const QRectF& newGeometry, const QRectF& oldGeometry)
{
    QQuickItem::geometryChange(newGeometry, oldGeometry);
    if (newGeometry.size() != oldGeometry.size())
        update();
}

ImageProxyView::Placement ImageProxyView::place(FillMode fillMode, const QSizeF& box, const QSizeF& imageSize)
{
    const QRectF whole(QPointF(0, 0), imageSize);
    if (imageSize.isEmpty() || box.isEmpty())
        return {QRectF(), QRectF()};
    switch (fillMode) {
    case PreserveAspectFit: {
        const QSizeF fitted = imageSize.scaled(box, Qt::KeepAspectRatio);
        const QRectF target(QPointF((box.width() - fitted.width()) / 2, (box.height() - fitted.height()) / 2),
                            fitted);
        return {target, whole};
    }
    case PreserveAspectCrop: {
        // The part of the image with the box's aspect ratio, centred.
        const QSizeF visible = box.scaled(imageSize, Qt::KeepAspectRatio);
        const QRectF source(QPointF((imageSize.width() - visible.width()) / 2,
                                    (imageSize.height() - visible.height()) / 2),
                            visible);
        return {QRectF(QPointF(0, 0), box), source};
    }
    case Stretch:
        break;
    }
    return {QRectF(QPointF(0, 0), box), whole};
}

QSGNode* ImageProxyView::updatePaintNode(QSGNode* oldNode, UpdatePaintNodeData*)
{
    auto* node = static_cast<QSGImageNode*>(oldNode);
    const Placement placement = place(m_fillMode, size(), m_image.size());
    if (m_image.isNull() || placement.target.isEmpty() || !window()) {
        delete node;
        m_imageChanged = true;
        return nullptr;
    }

    // Reduce in software when the screen shows fewer than half the source
    // pixels in either direction; the texture filter takes it from there.
    const qreal ratio = window()->effectiveDevicePixelRatio();
    const double scaleX = placement.target.width() * ratio / placement.source.width();
    const double scaleY = placement.target.height() * ratio / placement.source.height();
    QSize wanted = m_image.size();
    if (smooth() && (scaleX < 0.5 || scaleY < 0.5)) {
        wanted = QSize(std::max(1, int(std::ceil(m_image.width() * std::min(scaleX, 1.0)))),
                       std::max(1, int(std::ceil(m_image.height() * std::min(scaleY, 1.0)))));
    }
    const bool reduce = wanted != m_image.size();
    if (!node || m_imageChanged || (reduce ? wanted != m_scaledFor : !m_scaled.isNull())) {
        m_scaled = reduce ? m_image.scaled(wanted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation) : QImage();
        m_scaledFor = reduce ? wanted : QSize();
        m_imageChanged = false;
        // A new node owns the new texture; the old node takes the old one
        // with it.
        delete node;
        node = window()->createImageNode();
        node->setTexture(window()->createTextureFromImage(reduce ? m_scaled : m_image));
        node->setOwnsTexture(true);
    }

    const QSizeF textureSize = reduce ? QSizeF(m_scaled.size()) : QSizeF(m_image.size());
    const double sx = textureSize.width() / m_image.width();
    const double sy = textureSize.height() / m_image.height();
    const QRectF& source = placement.source;
    node->setRect(placement.target);
    node->setSourceRect(QRectF(source.x() * sx, source.y() * sy, source.width() * sx, source.height() * sy));
    node->setFiltering(smooth() ? QSGTexture::Linear : QSGTexture::Nearest);
    return node;
}

} // namespace remoteimage
