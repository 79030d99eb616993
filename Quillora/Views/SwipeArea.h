// The pager's horizontal drag recogniser, for mouse and touch alike.
//
// A press becomes a drag once the pointer has moved `threshold` points away
// from where it went down; from then on every move reports the horizontal
// translation, and the release reports it together with the predicted end
// translation: where the strip would come to rest if it slid on from the
// release velocity and decelerated like a kinetic scroll view. A slow
// release predicts about the actual translation. A press that never passes
// the threshold reports nothing.
#pragma once

#include <QElapsedTimer>
#include <QPointF>
#include <QQuickItem>
#include <QVector>

// Release velocity and projection, from timestamped pointer positions.
class SwipeTracker {
public:
    // Samples older than this before the release do not count: a finger that
    // stops and then lifts has no velocity.
    static constexpr qreal velocityWindowMs = 100;
    // Per-millisecond deceleration of the projection (that of kinetic scroll
    // views): the strip travels velocity * rate / (1 - rate) ms further.
    static constexpr qreal decelerationRate = 0.998;

    void reset(qreal x, quint64 timestampMs);
    void add(qreal x, quint64 timestampMs);
    // Points per millisecond at timestampMs, positive to the right.
    qreal velocity(quint64 timestampMs) const;
    // Where a translation released at timestampMs would come to rest.
    qreal predictedEndTranslation(qreal translation, quint64 timestampMs) const;

private:
    struct Sample {
        qreal x;
        quint64 timestampMs;
    };
    QVector<Sample> m_samples;
};

class SwipeArea : public QQuickItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(qreal threshold READ threshold WRITE setThreshold NOTIFY thresholdChanged)
    Q_PROPERTY(bool dragging READ dragging NOTIFY draggingChanged)

public:
    explicit SwipeArea(QQuickItem* parent = nullptr);

    qreal threshold() const { return m_threshold; }
    void setThreshold(qreal threshold);
    bool dragging() const { return m_dragging; }

signals:
    void thresholdChanged();
    void draggingChanged();
    void dragChanged(qreal translation);
    void dragEnded(qreal translation, qreal predictedEndTranslation);
    // A press and release that never became a drag, at x.
    void tapped(qreal x);
    // A mouse wheel notch or a touchpad swipe: one page back (-1) or on (+1).
    void stepRequested(int direction);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseUngrabEvent() override;
    void touchEvent(QTouchEvent* event) override;
    void touchUngrabEvent() override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void press(QPointF position, quint64 timestampMs);
    void move(QPointF position, quint64 timestampMs);
    void release(QPointF position, quint64 timestampMs);
    void cancel();
    void setDragging(bool dragging);

    qreal m_threshold = 10;
    bool m_pressed = false;
    bool m_dragging = false;
    int m_touchId = -1;
    QPointF m_start;
    qreal m_translation = 0;
    SwipeTracker m_tracker;
    // Wheel travel not yet turned into a step, and when the last step was
    // taken: a touchpad swipe sends dozens of events, for one page.
    qreal m_wheelTravel = 0;
    quint64 m_lastStepMs = 0;
    bool m_stepped = false;
};
