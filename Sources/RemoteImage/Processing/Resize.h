// Scales an image so that it covers a box of size × scale, keeping its aspect
// ratio; the overflow is cropped equally on both sides (the middle stays).
#pragma once

#include "RemoteImage/Processing/ImageProcessing.h"

#include <QPointF>
#include <QSizeF>
#include <optional>

namespace remoteimage {

class Resize final : public ImageProcessing {
public:
    Resize(QSizeF size, double scale) : m_size(size), m_scale(scale) {}

    // The input unchanged when no canvas of the target size can be made
    // (empty, absurdly large or not a number).
    QImage process(const QImage& image) const override;

    QSizeF size() const { return m_size; }
    double scale() const { return m_scale; }

private:
    QSizeF m_size;
    double m_scale;
};

// Where an image of imageSize is drawn to cover target: its drawn size and
// origin (negative on the cropped axis).
struct CoverGeometry {
    QPointF origin;
    QSizeF size;
};
CoverGeometry coverGeometry(QSize imageSize, QSizeF target);

// The image drawn over a canvas of target's size (truncated to whole pixels)
// with cover geometry; nothing when there is no such canvas.
std::optional<QImage> resized(const QImage& image, QSizeF target);

} // namespace remoteimage
