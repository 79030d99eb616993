// A logo filling its item the way the station card wants it: scaled with its
// aspect ratio kept until it covers the item, centred, and clipped to a
// rounded rectangle with antialiased corners. Painted, so it clips the same
// on the software scene graph, where a rounded clip of a child is not
// available.
#pragma once

#include "RemoteImage/ImageLoader/Views/ImageProxyHandle.h"

#include <QImage>
#include <QPointer>
#include <QQuickPaintedItem>

class RoundedImage : public QQuickPaintedItem {
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

    void paint(QPainter* painter) override;

signals:
    void imageProxyChanged();
    void radiusChanged();

private:
    QPointer<remoteimage::ImageProxyHandle> m_imageProxy;
    QImage m_image;
    QImage m_reduced; // the visible part of a large image at the painted size
    qreal m_radius = 0;
};
