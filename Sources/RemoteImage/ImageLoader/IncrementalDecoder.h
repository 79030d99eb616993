// Decodes an image from a buffer that is still growing.
//
// The format is taken from the first bytes (gdk-pixbuf's own detection holds
// back the first 4 KB); then a size-guarded loader for that format is fed the
// new bytes as they come. The decoder cannot tell a complete file from a
// truncated one (it fills missing rows): whoever owns the transfer decides
// completeness.
//
// Not thread-safe; callers serialise access.
#pragma once

#include "RemoteImage/Utils/ImageFormat.h"

#include <QByteArray>
#include <QImage>
#include <optional>

namespace remoteimage {

class IncrementalDecoder {
public:
    IncrementalDecoder() = default;
    ~IncrementalDecoder();
    IncrementalDecoder(const IncrementalDecoder&) = delete;
    IncrementalDecoder& operator=(const IncrementalDecoder&) = delete;

    // Feeds the next bytes. False once the data is known not to be a
    // decodable image of an acceptable size (nothing more is read then).
    bool write(const QByteArray& bytes);

    // No more bytes will come. False when the decoder has failed.
    bool close();

    const std::optional<ImageFormat>& format() const { return m_format; }
    bool hasFailed() const { return m_failed; }
    // True when the image was refused for its size.
    bool wasTooLarge() const;

    // A deep copy of what has been decoded so far (null if nothing yet): the
    // loader keeps writing into its buffer while readers hold the image.
    QImage image() const;

private:
    bool start(const QByteArray& head);
    bool feed(const QByteArray& bytes);

    GdkPixbufLoader* m_loader = nullptr;
    std::optional<ImageFormat> m_format;
    QByteArray m_head; // held back until the format is known
    bool m_failed = false;
    bool m_closed = false;
};

} // namespace remoteimage
