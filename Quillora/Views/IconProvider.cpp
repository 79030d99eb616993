#include "IconProvider.h"

#include <QColor>
#include <QFile>
#include <QPainter>

#include "SymbolRenderer.h"

IconProvider::IconProvider()
    : QQuickImageProvider(QQuickImageProvider::Image)
{
}

QImage IconProvider::requestImage(const QString& id, QSize* size, const QSize& requestedSize)
{
    const qsizetype slash = id.indexOf(QLatin1Char('/'));
    const QString name = slash < 0 ? id : id.left(slash);
    const QColor color(slash < 0 ? QStringLiteral("black") : id.mid(slash + 1));
    // Names come from our own QML; still, never let one reach outside the
    // icon folder.
    if (name.isEmpty() || name.contains(QLatin1Char('/')) || name.startsWith(QLatin1Char('.')))
        return {};
    QFile file(QStringLiteral(":/Quillora/icons/%1.svg").arg(name));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    // Drawn opaque, then faded as a whole: where a symbol's strokes cross,
    // a translucent colour stays even.
    QColor opaque = color.isValid() ? color : QColor(Qt::black);
    opaque.setAlpha(255);
    const SymbolRenderer renderer(file.readAll(), opaque);
    if (!renderer.isValid())
        return {};
    const QSize natural = renderer.defaultSize();
    QSize target = requestedSize.isValid() && !requestedSize.isEmpty() ? requestedSize : natural;
    if (requestedSize.width() > 0 && requestedSize.height() <= 0)
        target = QSize(requestedSize.width(), natural.height() * requestedSize.width() / qMax(1, natural.width()));
    else if (requestedSize.height() > 0 && requestedSize.width() <= 0)
        target = QSize(natural.width() * requestedSize.height() / qMax(1, natural.height()), requestedSize.height());
    QImage image = renderer.image(target);
    if (image.isNull())
        return {};
    if (color.isValid() && color.alpha() < 255) {
        QImage faded(target, QImage::Format_ARGB32_Premultiplied);
        faded.fill(Qt::transparent);
        QPainter fader(&faded);
        fader.setOpacity(color.alphaF());
        fader.drawImage(0, 0, image);
        fader.end();
        image = faded;
    }
    if (size)
        *size = target;
    return image;
}
