#include "BoxShadow.h"

#include <QPainter>
#include <QPainterPath>
#include <QQuickWindow>
#include <QSGImageNode>

#include <QMutex>
#include <QMutexLocker>

#include <algorithm>
#include <cmath>
#include <list>
#include <tuple>
#include <vector>

namespace {

// Every card casts the same shadow: blur it once. Painting happens on the
// render thread, hence the lock.
QImage cachedShadow(QSize size, qreal cornerRadius, qreal blurRadius, const QColor& color, int margin)
{
    using Key = std::tuple<int, int, qreal, qreal, QRgb, int>;
    static QMutex mutex;
    static std::list<std::pair<Key, QImage>> recent;
    const Key key{size.width(), size.height(), cornerRadius, blurRadius, color.rgba(), margin};
    QMutexLocker lock(&mutex);
    for (auto it = recent.begin(); it != recent.end(); ++it) {
        if (it->first == key) {
            recent.splice(recent.begin(), recent, it);
            return it->second;
        }
    }
    QImage image = BoxShadow::render(size, cornerRadius, blurRadius, color, margin);
    recent.emplace_front(key, image);
    if (recent.size() > 8)
        recent.pop_back();
    return image;
}

// One pass of a running-sum box blur over the alpha of a row or column.
void boxBlur(std::vector<float>& line, std::vector<float>& scratch, int radius)
{
    const int n = static_cast<int>(line.size());
    std::vector<float> prefix(n + 1, 0.0f);
    for (int i = 0; i < n; ++i)
        prefix[i + 1] = prefix[i] + line[i];
    const float width = float(2 * radius + 1);
    for (int i = 0; i < n; ++i) {
        const int lo = std::max(0, i - radius);
        const int hi = std::min(n, i + radius + 1);
        scratch[i] = (prefix[hi] - prefix[lo]) / width;
    }
    line.swap(scratch);
}

} // namespace

BoxShadow::BoxShadow(QQuickItem* parent)
    : QQuickItem(parent)
{
    setFlag(ItemHasContents);
}

void BoxShadow::invalidate()
{
    m_dirty = true;
    update();
}

void BoxShadow::setColor(const QColor& color)
{
    if (m_color == color)
        return;
    m_color = color;
    invalidate();
    emit colorChanged();
}

void BoxShadow::setBlurRadius(qreal radius)
{
    if (qFuzzyCompare(m_blurRadius, radius))
        return;
    m_blurRadius = radius;
    invalidate();
    emit blurRadiusChanged();
}

void BoxShadow::setCornerRadius(qreal radius)
{
    if (qFuzzyCompare(m_cornerRadius, radius))
        return;
    m_cornerRadius = radius;
    invalidate();
    emit cornerRadiusChanged();
}

void BoxShadow::geometryChange(const QRectF& newGeometry, const QRectF& oldGeometry)
{
    QQuickItem::geometryChange(newGeometry, oldGeometry);
    if (newGeometry.size() != oldGeometry.size())
        invalidate();
}

QImage BoxShadow::render(QSize size, qreal cornerRadius, qreal blurRadius, const QColor& color, int margin)
{
    const int width = size.width() + 2 * margin;
    const int height = size.height() + 2 * margin;
    if (width <= 0 || height <= 0)
        return {};

    // Coverage of the caster, then three box passes per axis: close to a
    // Gaussian with sigma = blurRadius / 2.
    QImage mask(width, height, QImage::Format_Alpha8);
    mask.fill(0);
    {
        QPainter painter(&mask);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::black);
        painter.drawRoundedRect(QRectF(margin, margin, size.width(), size.height()), cornerRadius, cornerRadius);
    }
    const qreal sigma = blurRadius / 2;
    const int box = std::max(0, int(std::lround((std::sqrt(4 * sigma * sigma + 1) - 1) / 2)));

    std::vector<float> alpha(std::size_t(width) * height);
    for (int y = 0; y < height; ++y) {
        const uchar* row = mask.constScanLine(y);
        for (int x = 0; x < width; ++x)
            alpha[std::size_t(y) * width + x] = row[x] / 255.0f;
    }
    if (box > 0) {
        std::vector<float> line, scratch;
        line.resize(width);
        scratch.resize(width);
        for (int y = 0; y < height; ++y) {
            std::copy_n(&alpha[std::size_t(y) * width], width, line.begin());
            for (int pass = 0; pass < 3; ++pass)
                boxBlur(line, scratch, box);
            std::copy_n(line.begin(), width, &alpha[std::size_t(y) * width]);
        }
        line.resize(height);
        scratch.resize(height);
        for (int x = 0; x < width; ++x) {
            for (int y = 0; y < height; ++y)
                line[y] = alpha[std::size_t(y) * width + x];
            for (int pass = 0; pass < 3; ++pass)
                boxBlur(line, scratch, box);
            for (int y = 0; y < height; ++y)
                alpha[std::size_t(y) * width + x] = line[y];
        }
    }

    QImage shadow(width, height, QImage::Format_ARGB32_Premultiplied);
    const float a = float(color.alphaF());
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(shadow.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const float coverage = std::clamp(alpha[std::size_t(y) * width + x], 0.0f, 1.0f) * a;
            row[x] = qRgba(int(color.red() * coverage + 0.5f), int(color.green() * coverage + 0.5f),
                           int(color.blue() * coverage + 0.5f), int(coverage * 255 + 0.5f));
        }
    }
    return shadow;
}

QSGNode* BoxShadow::updatePaintNode(QSGNode* old, UpdatePaintNodeData*)
{
    auto* node = static_cast<QSGImageNode*>(old);
    if (width() <= 0 || height() <= 0 || !m_color.isValid() || m_color.alpha() == 0) {
        delete node;
        return nullptr;
    }
    const qreal dpr = window() ? window()->effectiveDevicePixelRatio() : 1.0;
    const qreal margin = std::ceil(m_blurRadius * 1.5);
    if (!node) {
        node = window()->createImageNode();
        node->setOwnsTexture(true);
        m_dirty = true;
    }
    if (m_dirty) {
        // A blur this wide is smooth: drawn at half the pixels and scaled up
        // by the texture's filter it looks the same, in a quarter of the
        // memory (a card's shadow is otherwise 360 KB).
        const qreal density = m_blurRadius * dpr >= 16 ? dpr / 2 : dpr;
        const QSize pixels(int(std::ceil(width() * density)), int(std::ceil(height() * density)));
        QImage image = cachedShadow(pixels, m_cornerRadius * density, m_blurRadius * density, m_color,
                                    int(std::ceil(margin * density)));
        node->setTexture(window()->createTextureFromImage(image));
        m_dirty = false;
    }
    node->setRect(QRectF(-margin, -margin, width() + 2 * margin, height() + 2 * margin));
    node->setFiltering(QSGTexture::Linear);
    return node;
}
