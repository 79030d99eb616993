// Serves the application's SVG symbols in any colour:
// "image://icons/<name>/<colour>", e.g. image://icons/play.fill/#ffffff.
// The symbols draw in `currentColor`; tinting an image in QML would need a
// shader effect, which the software scene graph does not run.
#pragma once

#include <QQuickImageProvider>

class IconProvider final : public QQuickImageProvider {
public:
    IconProvider();
    QImage requestImage(const QString& id, QSize* size, const QSize& requestedSize) override;
};
