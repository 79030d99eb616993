// A logo filling its item the way the station card wants it: scaled with its
// aspect ratio kept until it covers the item, centred, and clipped to a
// rounded rectangle with antialiased corners. The rounded picture is drawn
// once per size into a texture, so it clips the same on the software scene
// graph, where a rounded clip of a child is not available, and keeps one
// copy of its pixels (a painted item keeps two there).
#pragma once

#include "RemoteImage/ImageLoader/Views/ImageProxyHandle.h"

#include <QImage>
#include <QPointer>
#include <QQuickItem>

class RoundedImage : public QQuickItem {
    Q_OBJECT
    QML_ELEMENT
    // The loaded image as the remote image view hands it to its content.
    Q_PROPERTY(remoteimage::ImageProxyHandle* imageProxy READ imageProxy WRITE setImageProxy NOTIFY imageProxyChanged)
    Q_PROPERTY(qreal radius READ radius WRITE setRadius NOTIFY radiusChanged)

public:
    explicit RoundedImage(QQuickItem* parent = nullptr);

    remoteimage::ImageProxyHandle* imageProxy() const { return m_imageProxy; }
    void setImageProxy(remoteimage::ImageProxyHandle* proxy);
    qreal radius() const { return m_radius; }
    void setRadius(qreal radius);

    // The picture at `pixels`: `image` covering it, centred, inside a
    // rounded rectangle of `radius` pixels; transparent outside.
    static QImage rounded(const QImage& image, QSize pixels, qreal radius);

signals:
    void imageProxyChanged();
    void radiusChanged();

protected:
    QSGNode* updatePaintNode(QSGNode* old, UpdatePaintNodeData*) override;
    void geometryChange(const QRectF& newGeometry, const QRectF& oldGeometry) override;
    void itemChange(ItemChange change, const ItemChangeData& value) override;

private:
    void redraw();

    QPointer<remoteimage::ImageProxyHandle> m_imageProxy;
    QImage m_image;
    qreal m_radius = 0;
    bool m_dirty = true;
};
