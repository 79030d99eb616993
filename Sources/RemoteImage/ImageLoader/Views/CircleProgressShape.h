// An arc on the circle inscribed in a rectangle, whose ends follow from one
// progress value: the head (end angle) runs from 0° to 360° as progress goes
// from 0 to 1, and the tail (start angle) lags it by `damping` of the cycle,
// stays at 0° until progress reaches the damping, and moves at twice the
// speed in the last stretch so it meets the head at progress 1. A damping
// above 0.5 keeps the tail at 0° (a plain progress ring).
//
// Angles are in degrees from the positive x axis, growing towards positive y,
// which is downwards on screen: the arc runs clockwise.
#pragma once

#include <QPainterPath>
#include <QPointF>
#include <QRectF>
#include <QSizeF>

namespace remoteimage {

class CircleProgressShape {
public:
    // The circle inscribed in a rectangle, centred in it.
    struct Geometry {
        QRectF rect;

        explicit Geometry(const QRectF& rect) : rect(rect) {}
        explicit Geometry(const QSizeF& size) : rect(QPointF(0, 0), size) {}

        QPointF center() const { return rect.center(); }
        double radius() const;
        // The point on the circle at `radians`.
        QPointF startPoint(double radians) const;
    };

    static constexpr double defaultDamping = 0.35;

    explicit CircleProgressShape(double progress, double damping = defaultDamping)
        : progress(progress)
        , damping(damping)
    {
    }

    double startAngle() const;
    double endAngle() const;

    // The open arc from the start to the end angle, for stroking.
    QPainterPath path(const QRectF& rect) const;

    double progress;
    double damping;
};

} // namespace remoteimage
