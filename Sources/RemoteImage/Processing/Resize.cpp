#include "RemoteImage/Processing/Resize.h"

#include <QColorSpace>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace remoteimage {

namespace {
// A canvas larger than this (in pixels, 4 bytes each) is refused rather than
// allocated: no logo needs 256 MB.
constexpr double maximumCanvasPixels = 64.0 * 1024 * 1024;
}

CoverGeometry coverGeometry(QSize imageSize, QSizeF target)
{
    const double width = imageSize.width();
    const double height = imageSize.height();
    const double factor = std::max(target.width() / width, target.height() / height);
    const QSizeF drawn(width * factor, height * factor);
    return {QPointF((target.width() - drawn.width()) * 0.5, (target.height() - drawn.height()) * 0.5),
            drawn};
}

std::optional<QImage> resized(const QImage& image, QSizeF target)
{
    if (image.isNull())
        return std::nullopt;
    // Checked before converting: a double outside int's range is undefined.
    const double w = std::trunc(target.width());
    const double h = std::trunc(target.height());
    if (!(w >= 1 && h >= 1 && w * h <= maximumCanvasPixels))
        return std::nullopt;

    const QImage::Format format = image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                          : QImage::Format_RGB32;
    QImage canvas(static_cast<int>(w), static_cast<int>(h), format);
    if (canvas.isNull())
        return std::nullopt;
    canvas.setColorSpace(image.colorSpace());
    canvas.fill(Qt::transparent);

    const CoverGeometry geometry = coverGeometry(image.size(), target);
    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRectF(geometry.origin, geometry.size), image);
    painter.end();
    return canvas;
}

QImage Resize::process(const QImage& image) const
{
    const QSizeF target(m_size.width() * m_scale, m_size.height() * m_scale);
    return resized(image, target).value_or(image);
}

} // namespace remoteimage
