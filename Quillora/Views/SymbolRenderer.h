// Draws the application's own SVG symbols with QPainter, without QtSvg (whose
// library and image plugin cost the idle window about half a megabyte for
// thirteen small icons).
//
// It reads the small part of SVG our symbols are written in: `svg` (width,
// height, viewBox), `g`, `path`, `rect`, `circle`, `ellipse`, `line`,
// `polyline` and `polygon`, the `transform` attribute, and the presentation
// attributes fill, stroke, stroke-width, stroke-linecap, stroke-linejoin,
// stroke-miterlimit, fill-rule and the three opacities. Other elements are
// skipped with their content, other attributes are ignored. A document that
// is not well-formed XML, has no size, or holds broken path data or numbers
// is not valid and draws nothing.
#pragma once

#include <QByteArrayView>
#include <QColor>
#include <QImage>
#include <QList>
#include <QPainterPath>
#include <QPen>
#include <QRectF>
#include <QSize>
#include <QTransform>

#include <optional>

class QPainter;

class SymbolRenderer {
public:
    // `currentColor` is the colour the document's "currentColor" paints in.
    explicit SymbolRenderer(QByteArrayView svg, const QColor& currentColor = Qt::black);

    bool isValid() const { return m_valid; }
    // The document's width and height, rounded up to whole pixels.
    QSize defaultSize() const { return m_size; }
    // Draws the view box stretched over `target`.
    void render(QPainter& painter, const QRectF& target) const;
    // The whole document at `size` on a transparent image; a null image when
    // the document is not valid or the size is empty.
    QImage image(const QSize& size) const;

    // Path data (the `d` attribute); nothing when it is malformed.
    static std::optional<QPainterPath> parsePath(QStringView data);

private:
    struct Shape {
        QPainterPath path;
        QTransform transform;
        std::optional<QBrush> fill;
        std::optional<QPen> stroke;
    };

    bool read(QByteArrayView svg, const QColor& currentColor);

    QList<Shape> m_shapes;
    QRectF m_viewBox;
    QSize m_size;
    bool m_valid = false;
};
