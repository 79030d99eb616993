// A soft shadow under a rounded rectangle, drawn without shader effects so
// that it looks the same on every scene graph backend (the software one
// included). The item covers the shadow caster; the blur spills outside it,
// so the item paints into a larger texture that it places around itself.
#pragma once

#include <QColor>
#include <QImage>
#include <QQuickItem>

class BoxShadow : public QQuickItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QColor color READ color WRITE setColor NOTIFY colorChanged)
    // Blur radius in points: the Gaussian's standard deviation is half of it.
    Q_PROPERTY(qreal blurRadius READ blurRadius WRITE setBlurRadius NOTIFY blurRadiusChanged)
    Q_PROPERTY(qreal cornerRadius READ cornerRadius WRITE setCornerRadius NOTIFY cornerRadiusChanged)

public:
    explicit BoxShadow(QQuickItem* parent = nullptr);

    QColor color() const { return m_color; }
    void setColor(const QColor& color);
    qreal blurRadius() const { return m_blurRadius; }
    void setBlurRadius(qreal radius);
    qreal cornerRadius() const { return m_cornerRadius; }
    void setCornerRadius(qreal radius);

    // The shadow of a w x h rounded rectangle, with a margin of `margin`
    // device pixels on every side; premultiplied ARGB.
    static QImage render(QSize size, qreal cornerRadius, qreal blurRadius, const QColor& color, int margin);

signals:
    void colorChanged();
    void blurRadiusChanged();
    void cornerRadiusChanged();

protected:
    QSGNode* updatePaintNode(QSGNode* old, UpdatePaintNodeData*) override;
    void geometryChange(const QRectF& newGeometry, const QRectF& oldGeometry) override;

private:
    void invalidate();

    QColor m_color = QColor(0, 0, 0, 84);
    qreal m_blurRadius = 20;
    qreal m_cornerRadius = 0;
    bool m_dirty = true;
};
