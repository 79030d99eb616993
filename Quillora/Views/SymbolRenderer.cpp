#include "SymbolRenderer.h"

#include <QImage>
#include <QPainter>
#include <QXmlStreamReader>

#include <cmath>
#include <numbers>

namespace {

// Our symbols are a few hundred bytes; a document this large is not one.
constexpr qsizetype maximumDocumentSize = 1024 * 1024;

bool isSpace(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f';
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Numbers and flags of path data, point lists and transforms: separated by
// white space, an optional comma, or nothing where the next number's sign or
// point ends the previous one ("1.1-1.6", ".5.5").
class Scanner {
public:
    explicit Scanner(QStringView text)
        : m_text(text)
    {
    }

    bool atEnd()
    {
        skipSpace();
        return m_at >= m_text.size();
    }
    QChar peek()
    {
        skipSpace();
        return m_at < m_text.size() ? m_text[m_at] : QChar();
    }
    void advance() { ++m_at; }

    std::optional<double> number()
    {
        skipSpace();
        const qsizetype start = m_at;
        if (m_at < m_text.size() && (m_text[m_at] == u'+' || m_text[m_at] == u'-'))
            ++m_at;
        qsizetype digits = skipDigits();
        if (m_at < m_text.size() && m_text[m_at] == u'.') {
            ++m_at;
            digits += skipDigits();
        }
        if (digits == 0) {
            m_at = start;
            return {};
        }
        // An "e" belongs to the number only with an exponent after it.
        if (m_at < m_text.size() && (m_text[m_at] == u'e' || m_text[m_at] == u'E')) {
            const qsizetype mark = m_at;
            ++m_at;
            if (m_at < m_text.size() && (m_text[m_at] == u'+' || m_text[m_at] == u'-'))
                ++m_at;
            if (skipDigits() == 0)
                m_at = mark;
        }
        bool ok = false;
        const double value = m_text.sliced(start, m_at - start).toDouble(&ok);
        if (!ok || !std::isfinite(value)) {
            m_at = start;
            return {};
        }
        skipSeparator();
        return value;
    }

    // An arc's flag is one character, so "a1 1 0 10 2 2" has the flags 1 and 0.
    std::optional<bool> flag()
    {
        skipSpace();
        if (m_at >= m_text.size() || (m_text[m_at] != u'0' && m_text[m_at] != u'1'))
            return {};
        const bool value = m_text[m_at++] == u'1';
        skipSeparator();
        return value;
    }

    std::optional<QPointF> point()
    {
        const auto x = number();
        if (!x)
            return {};
        const auto y = number();
        if (!y)
            return {};
        return QPointF(*x, *y);
    }

    void skipSeparator()
    {
        skipSpace();
        if (m_at < m_text.size() && m_text[m_at] == u',') {
            ++m_at;
            skipSpace();
        }
    }

private:
    void skipSpace()
    {
        while (m_at < m_text.size() && isSpace(m_text[m_at]))
            ++m_at;
    }
    qsizetype skipDigits()
    {
        const qsizetype start = m_at;
        while (m_at < m_text.size() && isDigit(m_text[m_at]))
            ++m_at;
        return m_at - start;
    }

    QStringView m_text;
    qsizetype m_at = 0;
};

// Appends an elliptical arc from `from` to `to` as cubic curves: the arc's
// centre found from its end points, radii too small to reach `to` grown just
// enough, then at most a quarter turn per curve.
void arcTo(QPainterPath& path, QPointF from, double rx, double ry, double degrees, bool largeArc, bool sweep,
           QPointF to)
{
    if (from == to)
        return;
    rx = std::abs(rx);
    ry = std::abs(ry);
    if (rx == 0 || ry == 0) {
        path.lineTo(to);
        return;
    }
    const double phi = degrees * std::numbers::pi / 180;
    const double cosPhi = std::cos(phi);
    const double sinPhi = std::sin(phi);
    const double hx = (from.x() - to.x()) / 2;
    const double hy = (from.y() - to.y()) / 2;
    const double x1 = cosPhi * hx + sinPhi * hy;
    const double y1 = -sinPhi * hx + cosPhi * hy;
    const double lambda = (x1 * x1) / (rx * rx) + (y1 * y1) / (ry * ry);
    if (lambda > 1) {
        rx *= std::sqrt(lambda);
        ry *= std::sqrt(lambda);
    }
    const double numerator = rx * rx * ry * ry - rx * rx * y1 * y1 - ry * ry * x1 * x1;
    const double denominator = rx * rx * y1 * y1 + ry * ry * x1 * x1;
    const double root = std::sqrt(std::max(0.0, numerator / denominator)) * (largeArc == sweep ? -1 : 1);
    const double cx1 = root * rx * y1 / ry;
    const double cy1 = -root * ry * x1 / rx;
    const double cx = cosPhi * cx1 - sinPhi * cy1 + (from.x() + to.x()) / 2;
    const double cy = sinPhi * cx1 + cosPhi * cy1 + (from.y() + to.y()) / 2;
    // Radii too far from the chord's length for doubles (1e-200 or 1e200).
    if (!std::isfinite(cx) || !std::isfinite(cy) || !std::isfinite(rx) || !std::isfinite(ry)) {
        path.lineTo(to);
        return;
    }
    const double start = std::atan2((y1 - cy1) / ry, (x1 - cx1) / rx);
    double turn = std::atan2((-y1 - cy1) / ry, (-x1 - cx1) / rx) - start;
    if (sweep && turn < 0)
        turn += 2 * std::numbers::pi;
    else if (!sweep && turn > 0)
        turn -= 2 * std::numbers::pi;

    const int segments = std::clamp(int(std::ceil(std::abs(turn) / (std::numbers::pi / 2) - 1e-9)), 1, 4);
    const double step = turn / segments;
    const double handle = 4.0 / 3.0 * std::tan(step / 4);
    const auto map = [&](double ux, double uy) {
        return QPointF(cx + cosPhi * rx * ux - sinPhi * ry * uy, cy + sinPhi * rx * ux + cosPhi * ry * uy);
    };
    for (int i = 0; i < segments; ++i) {
        const double a1 = start + i * step;
        const double a2 = a1 + step;
        const QPointF c1 = map(std::cos(a1) - handle * std::sin(a1), std::sin(a1) + handle * std::cos(a1));
        const QPointF c2 = map(std::cos(a2) + handle * std::sin(a2), std::sin(a2) - handle * std::cos(a2));
        path.cubicTo(c1, c2, i == segments - 1 ? to : map(std::cos(a2), std::sin(a2)));
    }
}

// A length in user units; units other than px are not ours.
std::optional<double> length(QStringView text)
{
    text = text.trimmed();
    if (text.endsWith(u"px"))
        text.chop(2);
    Scanner in(text);
    const auto value = in.number();
    if (!value || !in.atEnd())
        return {};
    return value;
}

std::optional<QList<double>> numbers(QStringView text)
{
    Scanner in(text);
    QList<double> values;
    while (!in.atEnd()) {
        const auto value = in.number();
        if (!value)
            return {};
        values.append(*value);
    }
    return values;
}

// "matrix(a b c d e f)" and its friends, applied right to left.
std::optional<QTransform> transformList(QStringView text)
{
    QTransform result;
    qsizetype at = 0;
    while (true) {
        while (at < text.size() && (isSpace(text[at]) || text[at] == u','))
            ++at;
        if (at >= text.size())
            return result;
        const qsizetype open = text.indexOf(u'(', at);
        const qsizetype close = open < 0 ? -1 : text.indexOf(u')', open);
        if (close < 0)
            return {};
        const QStringView name = text.sliced(at, open - at).trimmed();
        const auto values = numbers(text.sliced(open + 1, close - open - 1));
        if (!values)
            return {};
        const QList<double>& v = *values;
        QTransform t;
        if (name == u"matrix" && v.size() == 6)
            t = QTransform(v[0], v[1], v[2], v[3], v[4], v[5]);
        else if (name == u"translate" && (v.size() == 1 || v.size() == 2))
            t = QTransform::fromTranslate(v[0], v.size() == 2 ? v[1] : 0);
        else if (name == u"scale" && (v.size() == 1 || v.size() == 2))
            t = QTransform::fromScale(v[0], v.size() == 2 ? v[1] : v[0]);
        else if (name == u"rotate" && (v.size() == 1 || v.size() == 3))
            t = v.size() == 3 ? QTransform::fromTranslate(-v[1], -v[2]) * QTransform().rotate(v[0])
                    * QTransform::fromTranslate(v[1], v[2])
                              : QTransform().rotate(v[0]);
        else
            return {};
        result = t * result;
        at = close + 1;
    }
}

struct Style {
    std::optional<QColor> fill = QColor(Qt::black);
    std::optional<QColor> stroke;
    double strokeWidth = 1;
    Qt::PenCapStyle cap = Qt::FlatCap;
    Qt::PenJoinStyle join = Qt::SvgMiterJoin;
    double miterLimit = 4;
    Qt::FillRule fillRule = Qt::WindingFill;
    double fillOpacity = 1;
    double strokeOpacity = 1;
    // A group's or shape's own opacity multiplies into its shapes' paints:
    // exact for our symbols, whose painted parts do not overlap.
    double opacity = 1;
    QTransform transform;
};

// A paint: nothing for "none", the old paint for a value we do not know.
void readPaint(std::optional<QColor>& paint, QStringView value, const QColor& currentColor)
{
    value = value.trimmed();
    if (value == u"none") {
        paint.reset();
    } else if (value == u"currentColor") {
        paint = currentColor;
    } else {
        const QColor color = QColor::fromString(value);
        if (color.isValid())
            paint = color;
    }
}

void readOpacity(double& opacity, QStringView value)
{
    if (const auto number = length(value))
        opacity = std::clamp(*number, 0.0, 1.0);
}

void readStyle(Style& style, const QXmlStreamAttributes& attributes, const QColor& currentColor)
{
    style.opacity = 1;
    for (const QXmlStreamAttribute& attribute : attributes) {
        if (!attribute.namespaceUri().isEmpty())
            continue;
        const QStringView name = attribute.name();
        const QStringView value = attribute.value();
        if (name == u"fill") {
            readPaint(style.fill, value, currentColor);
        } else if (name == u"stroke") {
            readPaint(style.stroke, value, currentColor);
        } else if (name == u"stroke-width") {
            if (const auto width = length(value); width && *width >= 0)
                style.strokeWidth = *width;
        } else if (name == u"stroke-linecap") {
            if (value == u"butt")
                style.cap = Qt::FlatCap;
            else if (value == u"round")
                style.cap = Qt::RoundCap;
            else if (value == u"square")
                style.cap = Qt::SquareCap;
        } else if (name == u"stroke-linejoin") {
            if (value == u"miter")
                style.join = Qt::SvgMiterJoin;
            else if (value == u"round")
                style.join = Qt::RoundJoin;
            else if (value == u"bevel")
                style.join = Qt::BevelJoin;
        } else if (name == u"stroke-miterlimit") {
            if (const auto limit = length(value); limit && *limit >= 1)
                style.miterLimit = *limit;
        } else if (name == u"fill-rule") {
            if (value == u"nonzero")
                style.fillRule = Qt::WindingFill;
            else if (value == u"evenodd")
                style.fillRule = Qt::OddEvenFill;
        } else if (name == u"fill-opacity") {
            readOpacity(style.fillOpacity, value);
        } else if (name == u"stroke-opacity") {
            readOpacity(style.strokeOpacity, value);
        } else if (name == u"opacity") {
            readOpacity(style.opacity, value);
        } else if (name == u"transform") {
            if (const auto transform = transformList(value))
                style.transform = *transform * style.transform;
        }
    }
}

double attribute(const QXmlStreamAttributes& attributes, QLatin1String name, bool* ok = nullptr)
{
    const auto value = attributes.hasAttribute(name) ? length(attributes.value(name)) : std::nullopt;
    if (ok)
        *ok = value.has_value();
    return value.value_or(0);
}

// The outline of a basic shape; nothing when the element is not one, an
// empty path when the shape draws nothing.
std::optional<QPainterPath> shapeOutline(QStringView element, const QXmlStreamAttributes& a)
{
    QPainterPath path;
    if (element == u"path") {
        return SymbolRenderer::parsePath(a.value(QLatin1String("d")));
    } else if (element == u"rect") {
        const QRectF rect(attribute(a, QLatin1String("x")), attribute(a, QLatin1String("y")),
                          attribute(a, QLatin1String("width")), attribute(a, QLatin1String("height")));
        if (rect.width() <= 0 || rect.height() <= 0)
            return path;
        bool hasRx = false;
        bool hasRy = false;
        double rx = attribute(a, QLatin1String("rx"), &hasRx);
        double ry = attribute(a, QLatin1String("ry"), &hasRy);
        if (!hasRx || rx < 0)
            rx = hasRy && ry > 0 ? ry : 0;
        if (!hasRy || ry < 0)
            ry = rx;
        rx = std::min(rx, rect.width() / 2);
        ry = std::min(ry, rect.height() / 2);
        if (rx > 0 && ry > 0)
            path.addRoundedRect(rect, rx, ry, Qt::AbsoluteSize);
        else
            path.addRect(rect);
    } else if (element == u"circle" || element == u"ellipse") {
        const QPointF centre(attribute(a, QLatin1String("cx")), attribute(a, QLatin1String("cy")));
        const bool circle = element == u"circle";
        const double rx = attribute(a, QLatin1String(circle ? "r" : "rx"));
        const double ry = attribute(a, QLatin1String(circle ? "r" : "ry"));
        if (rx > 0 && ry > 0)
            path.addEllipse(centre, rx, ry);
    } else if (element == u"line") {
        path.moveTo(attribute(a, QLatin1String("x1")), attribute(a, QLatin1String("y1")));
        path.lineTo(attribute(a, QLatin1String("x2")), attribute(a, QLatin1String("y2")));
    } else if (element == u"polyline" || element == u"polygon") {
        const auto values = numbers(a.value(QLatin1String("points")));
        if (!values)
            return {};
        // An odd number ends the list, as a broken list does in path data.
        for (qsizetype i = 0; i + 1 < values->size(); i += 2)
            path.isEmpty() ? path.moveTo(values->at(i), values->at(i + 1))
                           : path.lineTo(values->at(i), values->at(i + 1));
        if (element == u"polygon" && !path.isEmpty())
            path.closeSubpath();
    } else {
        return {};
    }
    return path;
}

bool isShape(QStringView element)
{
    return element == u"path" || element == u"rect" || element == u"circle" || element == u"ellipse"
        || element == u"line" || element == u"polyline" || element == u"polygon";
}

} // namespace

SymbolRenderer::SymbolRenderer(QByteArrayView svg, const QColor& currentColor)
{
    m_valid = read(svg, currentColor);
    if (!m_valid)
        m_shapes.clear();
}

bool SymbolRenderer::read(QByteArrayView svg, const QColor& currentColor)
{
    if (svg.size() > maximumDocumentSize)
        return false;
    QXmlStreamReader xml(svg.toByteArray());
    const QString svgNamespace = QStringLiteral("http://www.w3.org/2000/svg");
    QList<Style> styles;
    bool seenRoot = false;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::EndElement) {
            if (!styles.isEmpty())
                styles.removeLast();
            continue;
        }
        if (token != QXmlStreamReader::StartElement)
            continue;
        const QStringView name = xml.name();
        const QXmlStreamAttributes attributes = xml.attributes();
        const bool ours = xml.namespaceUri().isEmpty() || xml.namespaceUri() == svgNamespace;
        if (!seenRoot) {
            if (name != u"svg" || !ours)
                return false;
            seenRoot = true;
            bool hasWidth = false;
            bool hasHeight = false;
            const double width = attribute(attributes, QLatin1String("width"), &hasWidth);
            const double height = attribute(attributes, QLatin1String("height"), &hasHeight);
            const auto box = numbers(attributes.value(QLatin1String("viewBox")));
            if (box && box->size() == 4 && box->at(2) > 0 && box->at(3) > 0)
                m_viewBox = QRectF(box->at(0), box->at(1), box->at(2), box->at(3));
            else if (hasWidth && hasHeight)
                m_viewBox = QRectF(0, 0, width, height);
            else
                return false;
            const QSizeF size(hasWidth ? width : m_viewBox.width(), hasHeight ? height : m_viewBox.height());
            if (!(size.width() > 0 && size.height() > 0 && size.width() < 1e5 && size.height() < 1e5))
                return false;
            m_size = QSize(std::max(1, qRound(size.width())), std::max(1, qRound(size.height())));
            Style style;
            readStyle(style, attributes, currentColor);
            styles.append(style);
            continue;
        }
        // Unknown elements (titles, definitions, other vocabularies) are
        // skipped with all they hold.
        const bool group = name == u"g";
        if (styles.isEmpty())
            return false;
        if (!ours || (!group && !isShape(name)) || attributes.value(QLatin1String("display")) == u"none") {
            xml.skipCurrentElement();
            continue;
        }
        Style style = styles.last();
        const double inherited = style.opacity;
        readStyle(style, attributes, currentColor);
        style.opacity *= inherited;
        if (group) {
            styles.append(style);
            continue;
        }
        const auto outline = shapeOutline(name, attributes);
        if (!outline)
            return false;
        xml.skipCurrentElement();
        if (outline->isEmpty())
            continue;
        Shape shape{*outline, style.transform, {}, {}};
        shape.path.setFillRule(style.fillRule);
        if (style.fill) {
            QColor color = *style.fill;
            color.setAlphaF(color.alphaF() * style.fillOpacity * style.opacity);
            shape.fill = QBrush(color);
        }
        if (style.stroke && style.strokeWidth > 0) {
            QColor color = *style.stroke;
            color.setAlphaF(color.alphaF() * style.strokeOpacity * style.opacity);
            QPen pen(QBrush(color), style.strokeWidth, Qt::SolidLine, style.cap, style.join);
            // QPen measures the miter from the join point, SVG across the
            // whole stroke: half the length.
            pen.setMiterLimit(style.miterLimit / 2);
            shape.stroke = pen;
        }
        if (shape.fill || shape.stroke)
            m_shapes.append(shape);
    }
    return seenRoot && !xml.hasError();
}

void SymbolRenderer::render(QPainter& painter, const QRectF& target) const
{
    if (!m_valid || target.isEmpty())
        return;
    const QTransform view = QTransform::fromTranslate(-m_viewBox.x(), -m_viewBox.y())
        * QTransform::fromScale(target.width() / m_viewBox.width(), target.height() / m_viewBox.height())
        * QTransform::fromTranslate(target.x(), target.y());
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QTransform base = painter.worldTransform();
    for (const Shape& shape : m_shapes) {
        painter.setWorldTransform(shape.transform * view * base);
        if (shape.fill)
            painter.fillPath(shape.path, *shape.fill);
        if (shape.stroke)
            painter.strokePath(shape.path, *shape.stroke);
    }
    painter.restore();
}

QImage SymbolRenderer::image(const QSize& size) const
{
    if (!m_valid || size.isEmpty())
        return {};
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return {};
    image.fill(Qt::transparent);
    QPainter painter(&image);
    render(painter, QRectF(QPointF(0, 0), size));
    return image;
}

std::optional<QPainterPath> SymbolRenderer::parsePath(QStringView data)
{
    Scanner in(data);
    QPainterPath path;
    QPointF current;
    QPointF subpathStart;
    // The last curve's second control point, mirrored by S and T.
    QPointF control;
    char previous = 0;
    QChar command;
    bool started = false;
    bool closed = false;
    while (!in.atEnd()) {
        const QChar next = in.peek();
        if (next.isLetter()) {
            command = next;
            in.advance();
        } else if (command.isNull() || command == u'z' || command == u'Z') {
            // Numbers need a command before them, and Z takes none.
            return {};
        }
        const bool relative = command.isLower();
        const QPointF origin = relative ? current : QPointF();
        const char op = char(command.toUpper().unicode());
        if (!started && op != 'M')
            return {};
        started = true;
        if (closed && op != 'M' && op != 'Z') {
            path.moveTo(subpathStart);
            closed = false;
        }
        switch (op) {
        case 'M': {
            const auto p = in.point();
            if (!p)
                return {};
            current = subpathStart = origin + *p;
            path.moveTo(current);
            closed = false;
            // Further pairs after a move draw lines.
            command = relative ? u'l' : u'L';
            break;
        }
        case 'L': {
            const auto p = in.point();
            if (!p)
                return {};
            current = origin + *p;
            path.lineTo(current);
            break;
        }
        case 'H': {
            const auto x = in.number();
            if (!x)
                return {};
            current.setX(origin.x() + *x);
            path.lineTo(current);
            break;
        }
        case 'V': {
            const auto y = in.number();
            if (!y)
                return {};
            current.setY(origin.y() + *y);
            path.lineTo(current);
            break;
        }
        case 'C':
        case 'S': {
            QPointF c1 = previous == 'C' || previous == 'S' ? 2 * current - control : current;
            if (op == 'C') {
                const auto p = in.point();
                if (!p)
                    return {};
                c1 = origin + *p;
            }
            const auto c2 = in.point();
            const auto end = c2 ? in.point() : std::nullopt;
            if (!end)
                return {};
            control = origin + *c2;
            current = origin + *end;
            path.cubicTo(c1, control, current);
            break;
        }
        case 'Q':
        case 'T': {
            QPointF c = previous == 'Q' || previous == 'T' ? 2 * current - control : current;
            if (op == 'Q') {
                const auto p = in.point();
                if (!p)
                    return {};
                c = origin + *p;
            }
            const auto end = in.point();
            if (!end)
                return {};
            control = c;
            current = origin + *end;
            path.quadTo(control, current);
            break;
        }
        case 'A': {
            const auto rx = in.number();
            const auto ry = rx ? in.number() : std::nullopt;
            const auto angle = ry ? in.number() : std::nullopt;
            const auto large = angle ? in.flag() : std::nullopt;
            const auto sweep = large ? in.flag() : std::nullopt;
            const auto end = sweep ? in.point() : std::nullopt;
            if (!end)
                return {};
            const QPointF to = origin + *end;
            arcTo(path, current, *rx, *ry, *angle, *large, *sweep, to);
            current = to;
            break;
        }
        case 'Z':
            path.closeSubpath();
            current = subpathStart;
            closed = true;
            break;
        default:
            return {};
        }
        previous = op;
    }
    return path;
}
