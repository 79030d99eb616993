#include "IconProvider.h"

#include <QColor>
#include <QFile>
#include <QPainter>
#include <QSvgRenderer>

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
    QByteArray svg = file.readAll();
    svg.replace("currentColor", (color.isValid() ? color : QColor(Qt::black)).name(QColor::HexRgb).toLatin1());

    QSvgRenderer renderer(svg);
    if (!renderer.isValid())
        return {};
    const QSize natural = renderer.defaultSize();
    QSize target = requestedSize.isValid() && !requestedSize.isEmpty() ? requestedSize : natural;
    if (requestedSize.width() > 0 && requestedSize.height() <= 0)
        target = QSize(requestedSize.width(), natural.height() * requestedSize.width() / qMax(1, natural.width()));
    else if (requestedSize.height() > 0 && requestedSize.width() <= 0)
        target = QSize(natural.width() * requestedSize.height() / qMax(1, natural.height()), requestedSize.height());
    QImage image(target, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
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
