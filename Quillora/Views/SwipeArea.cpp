#include "SwipeArea.h"

#include <QMouseEvent>
#include <QTouchEvent>
#include <QWheelEvent>

#include <cmath>

void SwipeTracker::reset(qreal x, quint64 timestampMs)
{
    m_samples.clear();
    m_samples.append({x, timestampMs});
}

void SwipeTracker::add(qreal x, quint64 timestampMs)
{
    m_samples.append({x, timestampMs});
    // Keep the samples of the window, plus one older sample to span it.
    qsizetype keepFrom = 0;
    while (keepFrom + 1 < m_samples.size()
           && timestampMs - m_samples[keepFrom + 1].timestampMs >= quint64(velocityWindowMs))
        ++keepFrom;
    m_samples.remove(0, keepFrom);
}

qreal SwipeTracker::velocity(quint64 timestampMs) const
{
    if (m_samples.size() < 2)
        return 0;
    const Sample& last = m_samples.last();
    if (timestampMs > last.timestampMs && timestampMs - last.timestampMs >= quint64(velocityWindowMs))
        return 0;
    // The oldest sample inside the window (or the one just before it).
    const Sample* first = &m_samples.first();
    for (const Sample& sample : m_samples) {
        if (last.timestampMs - sample.timestampMs <= quint64(velocityWindowMs)) {
            first = &sample;
            break;
        }
    }
    const quint64 span = last.timestampMs - first->timestampMs;
    if (span == 0)
        return 0;
    return (last.x - first->x) / qreal(span);
}

qreal SwipeTracker::predictedEndTranslation(qreal translation, quint64 timestampMs) const
{
    return translation + velocity(timestampMs) * decelerationRate / (1 - decelerationRate);
}

SwipeArea::SwipeArea(QQuickItem* parent)
    : QQuickItem(parent)
{
    setAcceptedMouseButtons(Qt::LeftButton);
    setAcceptTouchEvents(true);
}

void SwipeArea::setThreshold(qreal threshold)
{
    if (qFuzzyCompare(m_threshold, threshold))
        return;
    m_threshold = threshold;
    emit thresholdChanged();
}

void SwipeArea::setDragging(bool dragging)
{
    if (m_dragging == dragging)
        return;
    m_dragging = dragging;
    emit draggingChanged();
}

void SwipeArea::press(QPointF position, quint64 timestampMs)
{
    m_pressed = true;
    m_start = position;
    m_translation = 0;
    m_tracker.reset(position.x(), timestampMs);
}

void SwipeArea::move(QPointF position, quint64 timestampMs)
{
    if (!m_pressed)
        return;
    m_tracker.add(position.x(), timestampMs);
    if (!m_dragging) {
        const QPointF moved = position - m_start;
        if (std::hypot(moved.x(), moved.y()) < m_threshold)
            return;
        setKeepMouseGrab(true);
        setKeepTouchGrab(true);
        setDragging(true);
    }
    m_translation = position.x() - m_start.x();
    emit dragChanged(m_translation);
}

void SwipeArea::release(QPointF position, quint64 timestampMs)
{
    if (!m_pressed)
        return;
    if (position != m_start)
        move(position, timestampMs);
    m_pressed = false;
    setKeepMouseGrab(false);
    setKeepTouchGrab(false);
    if (!m_dragging) {
        emit tapped(position.x());
        return;
    }
    setDragging(false);
    emit dragEnded(m_translation, m_tracker.predictedEndTranslation(m_translation, timestampMs));
}

// A stolen grab ends the drag where it is, without velocity: the strip
// settles on the page the translation so far points to.
void SwipeArea::cancel()
{
    if (!m_pressed)
        return;
    m_pressed = false;
    m_touchId = -1;
    if (!m_dragging)
        return;
    setDragging(false);
    emit dragEnded(m_translation, m_translation);
}

void SwipeArea::mousePressEvent(QMouseEvent* event)
{
    press(event->position(), event->timestamp());
    event->accept();
}

void SwipeArea::mouseMoveEvent(QMouseEvent* event)
{
    move(event->position(), event->timestamp());
    event->accept();
}

void SwipeArea::mouseReleaseEvent(QMouseEvent* event)
{
    release(event->position(), event->timestamp());
    event->accept();
}

void SwipeArea::mouseUngrabEvent()
{
    cancel();
}

void SwipeArea::touchEvent(QTouchEvent* event)
{
    for (const QEventPoint& point : event->points()) {
        if (m_touchId < 0 && point.state() == QEventPoint::Pressed) {
            m_touchId = point.id();
            press(point.position(), event->timestamp());
        } else if (point.id() == m_touchId) {
            if (point.state() == QEventPoint::Released) {
                m_touchId = -1;
                release(point.position(), event->timestamp());
            } else if (point.state() == QEventPoint::Updated) {
                move(point.position(), event->timestamp());
            }
        }
    }
    event->accept();
}

void SwipeArea::touchUngrabEvent()
{
    cancel();
}

void SwipeArea::wheelEvent(QWheelEvent* event)
{
    // Degrees of travel for one page: one notch of a mouse wheel (15 degrees,
    // 120 units), or a short touchpad swipe.
    constexpr qreal stepTravel = 120;
    // A gesture goes quiet this long before the next one may turn a page.
    constexpr quint64 settleMs = 250;

    const QPoint delta = event->angleDelta();
    // Horizontal scrolling where there is any, else the vertical wheel;
    // scrolling right or down moves on.
    const qreal travel = delta.x() != 0 ? -delta.x() : -delta.y();
    const quint64 now = event->timestamp();
    const bool quietSinceStep = now - m_lastStepMs > settleMs;
    if (event->phase() == Qt::ScrollBegin || (event->phase() == Qt::NoScrollPhase && quietSinceStep)) {
        m_wheelTravel = 0;
        m_stepped = false;
    }
    m_wheelTravel += travel;
    if (!m_stepped && std::abs(m_wheelTravel) >= stepTravel) {
        m_stepped = true;
        m_lastStepMs = now;
        m_wheelTravel = 0;
        emit stepRequested(travel > 0 ? 1 : -1);
    } else if (m_stepped) {
        // Momentum of the same gesture keeps the lock alive.
        m_lastStepMs = now;
    }
    event->accept();
}
