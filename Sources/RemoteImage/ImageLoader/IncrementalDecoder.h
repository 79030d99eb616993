// Decodes PNG, JPEG, GIF and WebP from a buffer that may still be growing.
//
// The format is taken from the first bytes (gdk-pixbuf's own detection holds
// back the first 4 KB); then the loader for that format is fed. Images over
// maximumImagePixelCount are refused in size-prepared, before the loader
// allocates. The decoder cannot tell a complete file from a truncated one (it
// fills missing rows): whoever owns the transfer decides completeness.
//
// Not thread-safe; callers serialise access.
#pragma once

#include "RemoteImage/Utils/ImageFormat.h"

#include <QByteArray>
#include <QImage>

typedef struct _GdkPixbufLoader GdkPixbufLoader;

class PixbufDecoder {
public:
    PixbufDecoder();
    ~PixbufDecoder();
    PixbufDecoder(const PixbufDecoder&) = delete;
    PixbufDecoder& operator=(const PixbufDecoder&) = delete;

    // Feeds the next bytes. False once the data is known not to be a
    // decodable image of an acceptable size (then nothing more is read).
    bool write(const char* bytes, qsizetype size);
    bool write(const QByteArray& bytes) { return write(bytes.constData(), bytes.size()); }

    // No more bytes will come. False when the decoder has failed.
    bool close();

    // The format recognised so far.
    const ImageFormat* format() const { return m_format; }
    bool hasFailed() const { return m_failed; }
    // True when the image was refused for its size.
    bool wasTooLarge() const { return m_tooLarge; }

    // A deep copy of what has been decoded so far (null if nothing yet).
    QImage image() const;

private:
    bool startLoader();
    void fail();
    static void sizePrepared(GdkPixbufLoader* loader, int width, int height, void* self);

    GdkPixbufLoader* m_loader = nullptr;
    const ImageFormat* m_format = nullptr;
    QByteArray m_head; // bytes held back until the format is known
    bool m_failed = false;
    bool m_closed = false;
    bool m_tooLarge = false;
};

// Decodes a complete image; null if it is not a decodable, acceptable image.
QImage decodeImage(const QByteArray& bytes);
