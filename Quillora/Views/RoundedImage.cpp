#include "RoundedImage.h"

#include "RemoteImage/ImageLoader/Views/ImageProxyView.h"

#include <QPainter>
#include <QQuickWindow>
#include <QSGImageNode>

RoundedImage::RoundedImage(QQuickItem* parent)
    : QQuickItem(parent)
{
    setFlag(ItemHasContents);
}

void RoundedImage::setImageProxy(remoteimage::ImageProxyHandle* proxy)
{
    if (m_imageProxy == proxy)
        return;
    m_imageProxy = proxy;
    m_image = proxy ? proxy->image() : QImage();
    redraw();
    emit imageProxyChanged();
}

void RoundedImage::setRadius(qreal radius)
{
    if (qFuzzyCompare(m_radius, radius))
        return;
    m_radius = radius;
    redraw();
    emit radiusChanged();
}

void RoundedImage::redraw()
{
    m_dirty = true;
    update();
}

void RoundedImage::geometryChange(const QRectF& newGeometry, const QRectF& oldGeometry)
{
    QQuickItem::geometryChange(newGeometry, oldGeometry);
    if (newGeometry.size() != oldGeometry.size())
        redraw();
}

void RoundedImage::itemChange(ItemChange change, const ItemChangeData& value)
{
    QQuickItem::itemChange(change, value);
    // Another screen may have another pixel ratio.
    if (change == ItemDevicePixelRatioHasChanged || change == ItemSceneChange)
        redraw();
}

QImage RoundedImage::rounded(const QImage& image, QSize pixels, qreal radius)
{
    QRectF source =
        remoteimage::ImageProxyView::place(remoteimage::ImageProxyView::PreserveAspectCrop, pixels, image.size()).source;
    if (source.isEmpty() || pixels.isEmpty())
        return {};
    // A logo far larger than the card would alias under the brush's
    // bilinear filter: reduce the visible part first, smoothly.
    QImage reduced;
    const QImage* from = &image;
    if (source.width() > 2 * pixels.width()) {
        reduced = image.copy(source.toAlignedRect()).scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        from = &reduced;
        source = QRectF(QPointF(0, 0), QSizeF(reduced.size()));
    }
    QImage picture(pixels, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    // Filling a rounded rectangle with an image brush antialiases the
    // corners; a clip path would not.
    const qreal scale = pixels.width() / source.width();
    QBrush brush(*from);
    QTransform transform;
    transform.scale(scale, scale);
    transform.translate(-source.left(), -source.top());
    brush.setTransform(transform);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setPen(Qt::NoPen);
    painter.setBrush(brush);
    painter.drawRoundedRect(QRectF(QPointF(0, 0), QSizeF(pixels)), radius, radius);
    return picture;
}

QSGNode* RoundedImage::updatePaintNode(QSGNode* old, UpdatePaintNodeData*)
{
    auto* node = static_cast<QSGImageNode*>(old);
    const qreal ratio = window() ? window()->effectiveDevicePixelRatio() : 1.0;
    if (m_dirty || !node) {
        m_dirty = false;
        // A new node for a new picture: the old one takes its texture along.
        delete node;
        node = nullptr;
        const QImage picture = rounded(m_image, (boundingRect().size() * ratio).toSize(), m_radius * ratio);
        if (picture.isNull())
            return nullptr;
        node = window()->createImageNode();
        node->setOwnsTexture(true);
        node->setFiltering(QSGTexture::Linear);
        node->setTexture(window()->createTextureFromImage(picture));
    }
    node->setRect(boundingRect());
    return node;
}
