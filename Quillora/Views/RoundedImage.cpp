#include "RoundedImage.h"

#include <QPainter>

RoundedImage::RoundedImage(QQuickItem* parent)
    : QQuickPaintedItem(parent)
{
    setAntialiasing(true);
    setMipmap(true);
}

void RoundedImage::setImageProxy(ImageProxyHandle* proxy)
{
    if (m_imageProxy == proxy)
        return;
    m_imageProxy = proxy;
    m_image = proxy ? proxy->image() : QImage();
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

QRectF RoundedImage::coverSourceRect(QSizeF size, QSizeF target)
{
    if (size.isEmpty() || target.isEmpty())
        return {};
    const qreal scale = qMax(target.width() / size.width(), target.height() / size.height());
    const QSizeF visible(target.width() / scale, target.height() / scale);
    return QRectF(QPointF((size.width() - visible.width()) / 2, (size.height() - visible.height()) / 2), visible);
}

void RoundedImage::paint(QPainter* painter)
{
    const QRectF bounds = boundingRect();
    const QRectF source = coverSourceRect(m_image.size(), bounds.size());
    if (source.isEmpty())
        return;
    // Filling a rounded rectangle with an image brush antialiases the
    // corners; a clip path would not.
    const qreal scale = bounds.width() / source.width();
    QBrush brush(m_image);
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
