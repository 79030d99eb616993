// Strokes a CircleProgressShape rotated by -90° about its centre, so that
// angle 0 is twelve o'clock and the arc grows clockwise. The stroke is
// centred on the circle, so half the line width lies outside the circle's
// rectangle: the item is that rectangle grown by half the line width on
// every side (CircleProgressView and CircleActivityView place it so).
#pragma once

#include <QColor>
#include <QQuickPaintedItem>
#include <QtQml/qqmlregistration.h>

namespace remoteimage {

class CircleProgressArc : public QQuickPaintedItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(double progress READ progress WRITE setProgress NOTIFY progressChanged)
    Q_PROPERTY(double damping READ damping WRITE setDamping NOTIFY dampingChanged)
    Q_PROPERTY(double lineWidth READ lineWidth WRITE setLineWidth NOTIFY lineWidthChanged)
    Q_PROPERTY(QColor color READ color WRITE setColor NOTIFY colorChanged)

public:
    explicit CircleProgressArc(QQuickItem* parent = nullptr);

    double progress() const { return m_progress; }
    void setProgress(double progress);
    double damping() const { return m_damping; }
    void setDamping(double damping);
    double lineWidth() const { return m_lineWidth; }
    void setLineWidth(double lineWidth);
    QColor color() const { return m_color; }
    void setColor(const QColor& color);

    void paint(QPainter* painter) override;

signals:
    void progressChanged();
    void dampingChanged();
    void lineWidthChanged();
    void colorChanged();

private:
    double m_progress = 0;
    double m_damping;
    double m_lineWidth = 1;
    QColor m_color = Qt::black;
};

} // namespace remoteimage
