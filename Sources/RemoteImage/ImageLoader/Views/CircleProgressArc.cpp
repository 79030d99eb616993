#include "RemoteImage/ImageLoader/Views/CircleProgressArc.h"

#include "RemoteImage/ImageLoader/Views/CircleProgressShape.h"

#include <QPainter>
#include <QPen>

namespace remoteimage {

CircleProgressArc::CircleProgressArc(QQuickItem* parent)
    : QQuickPaintedItem(parent)
    , m_damping(CircleProgressShape::defaultDamping)
{
    setAntialiasing(true);
}

void CircleProgressArc::setProgress(double progress)
{
    if (m_progress == progress)
        return;
    m_progress = progress;
    update();
    emit progressChanged();
}

void CircleProgressArc::setDamping(double damping)
{
    if (m_damping == damping)
        return;
    m_damping = damping;
    update();
    emit dampingChanged();
}

void CircleProgressArc::setLineWidth(double lineWidth)
{
    if (m_lineWidth == lineWidth)
        return;
    m_lineWidth = lineWidth;
    update();
    emit lineWidthChanged();
}

void CircleProgressArc::setColor(const QColor& color)
{
    if (m_color == color)
        return;
    m_color = color;
    update();
    emit colorChanged();
}

void CircleProgressArc::paint(QPainter* painter)
{
    // The item is the circle's rectangle grown by half the line width on
    // every side, so that the whole stroke fits.
    const double margin = m_lineWidth / 2;
    const QRectF rect = boundingRect().adjusted(margin, margin, -margin, -margin);
    if (rect.isEmpty() || m_lineWidth <= 0)
        return;
    const CircleProgressShape shape(m_progress, m_damping);
    if (shape.endAngle() <= shape.startAngle())
        return;
    painter->setRenderHint(QPainter::Antialiasing, antialiasing());
    painter->translate(rect.center());
    painter->rotate(-90);
    painter->translate(-rect.center());
    QPen pen(m_color, m_lineWidth);
    pen.setCapStyle(Qt::FlatCap);
    painter->setPen(pen);
    painter->setBrush(Qt::NoBrush);
    painter->drawPath(shape.path(rect));
}

} // namespace remoteimage
