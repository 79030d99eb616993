#include "RoundedImage.h"

#include "RemoteImage/ImageLoader/Views/ImageProxyView.h"

#include <QPainter>

RoundedImage::RoundedImage(QQuickItem* parent)
    : QQuickPaintedItem(parent)
{
    setAntialiasing(true);
    setMipmap(true);
}

void RoundedImage::setImageProxy(remoteimage::ImageProxyHandle* proxy)
{
    if (m_imageProxy == proxy)
        return;
    m_imageProxy = proxy;
    m_image = proxy ? proxy->image() : QImage();
    m_reduced = QImage();
    update();
    emit imageProxyChanged();
}

void RoundedImage::setRadius(qreal radius)
{
    if (qFuzzyCompare(m_radius, radius))
        return;
    m_radius = radius;
    update();
    emit radiusChanged();
}

void RoundedImage::paint(QPainter* painter)
{
    const QRectF bounds = boundingRect();
    QRectF source =
        remoteimage::ImageProxyView::place(remoteimage::ImageProxyView::PreserveAspectCrop, bounds.size(), m_image.size()).source;
    if (source.isEmpty())
        return;
    // A logo far larger than the card would alias under the brush's
    // bilinear filter: reduce the visible part once, smoothly.
    const qreal pixelRatio = painter->device()->devicePixelRatioF();
    const QSize pixels = (bounds.size() * pixelRatio).toSize();
    const QImage* image = &m_image;
    if (source.width() > 2 * pixels.width()) {
        if (m_reduced.size() != pixels) {
            m_reduced = m_image.copy(source.toAlignedRect())
                            .scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        }
        image = &m_reduced;
        source = QRectF(QPointF(0, 0), QSizeF(m_reduced.size()));
    }
    // Filling a rounded rectangle with an image brush antialiases the
    // corners; a clip path would not.
    const qreal scale = bounds.width() / source.width();
    QBrush brush(*image);
    QTransform transform;
    transform.translate(bounds.left(), bounds.top());
    transform.scale(scale, scale);
    transform.translate(-source.left(), -source.top());
    brush.setTransform(transform);
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    painter->setPen(Qt::NoPen);
    painter->setBrush(brush);
    painter->drawRoundedRect(bounds, m_radius, m_radius);
}
