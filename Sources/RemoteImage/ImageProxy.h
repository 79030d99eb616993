// A loaded image as handed to subscribers: the bitmap in the two forms the
// views use. Both are QImage here (implicitly shared, safe to pass between
// threads): uiImage for painting code, image for the QML image provider.
#pragma once

#include <QImage>
#include <utility>

namespace remoteimage {

class ImageProxy {
public:
    virtual ~ImageProxy() = default;
    virtual QImage uiImage() const = 0;
    virtual QImage image() const = 0;
};

// One fully decoded image; never changes.
class ImageWrapper final : public ImageProxy {
public:
    explicit ImageWrapper(QImage cgImage) : m_cgImage(std::move(cgImage)) {}

    const QImage& cgImage() const { return m_cgImage; }
    QImage uiImage() const override { return m_cgImage; }
    QImage image() const override { return m_cgImage; }

private:
    QImage m_cgImage;
};

} // namespace remoteimage
