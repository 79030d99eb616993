#include "RemoteImage/ImageLoader/Views/CircleProgressShape.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace remoteimage {

double CircleProgressShape::Geometry::radius() const
{
    return std::min(rect.width(), rect.height()) / 2;
}

QPointF CircleProgressShape::Geometry::startPoint(double radians) const
{
    const QPointF c = center();
    return {c.x() + radius() * std::cos(radians), c.y() + radius() * std::sin(radians)};
}

double CircleProgressShape::endAngle() const
{
    return 360 * std::clamp(progress, 0.0, 1.0);
}

double CircleProgressShape::startAngle() const
{
    // The pieces meet: at p = d the tail leaves 0; at p = 1 - d both give
    // 360(1 - 2d); at p = 1 the tail reaches the head at 360.
    if (damping > 0.5)
        return 0;
    if (progress > 1 - damping)
        return 360 * (2 * progress - 1);
    if (progress > damping)
        return 360 * (progress - damping);
    return 0;
}

QPainterPath CircleProgressShape::path(const QRectF& rect) const
{
    const Geometry geometry(rect);
    const double start = startAngle();
    const double end = endAngle();
    QPainterPath path;
    path.moveTo(geometry.startPoint(start * std::numbers::pi / 180));
    if (end <= start)
        return path;
    const double r = geometry.radius();
    const QRectF circle(geometry.center() - QPointF(r, r), QSizeF(2 * r, 2 * r));
    // QPainterPath counts angles counter-clockwise on screen.
    path.arcTo(circle, -start, -(end - start));
    return path;
}

} // namespace remoteimage
