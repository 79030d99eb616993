// GLib headers first: they use "signals" as a name, which Qt defines away.
#include <gdk-pixbuf/gdk-pixbuf.h>

#include "RemoteImage/Utils/PixbufDecoder.h"

#include <cstring>

PixbufDecoder::PixbufDecoder() = default;

PixbufDecoder::~PixbufDecoder()
{
    if (m_loader) {
        if (!m_closed)
            gdk_pixbuf_loader_close(m_loader, nullptr);
        g_object_unref(m_loader);
    }
}

void PixbufDecoder::sizePrepared(GdkPixbufLoader* loader, int width, int height, void* self)
{
    auto* decoder = static_cast<PixbufDecoder*>(self);
    if (width <= 0 || height <= 0
        || static_cast<std::int64_t>(width) * height > maximumImagePixelCount) {
        decoder->m_tooLarge = true;
        // A zero size makes the loader give up before it allocates.
        gdk_pixbuf_loader_set_size(loader, 0, 0);
    }
}

void PixbufDecoder::fail()
{
    m_failed = true;
    m_head.clear();
}

bool PixbufDecoder::startLoader()
{
    m_loader = gdk_pixbuf_loader_new_with_type(m_format->pixbufLoader, nullptr);
    if (!m_loader) {
        fail();
        return false;
    }
    g_signal_connect(m_loader, "size-prepared", G_CALLBACK(&PixbufDecoder::sizePrepared), this);
    return true;
}

bool PixbufDecoder::write(const char* bytes, qsizetype size)
{
    if (m_failed || m_closed)
        return false;
    if (size <= 0)
        return true;
    const char* feed = bytes;
    qsizetype feedSize = size;
    if (!m_loader) {
        m_head.append(bytes, size);
        const Sniffed sniffed = sniffImageFormat(m_head);
        if (sniffed.result == SniffResult::NeedMoreBytes)
            return true;
        if (sniffed.result == SniffResult::NotAnImage) {
            fail();
            return false;
        }
        m_format = sniffed.format;
        if (!startLoader())
            return false;
        feed = m_head.constData();
        feedSize = m_head.size();
    }
    GError* error = nullptr;
    const gboolean ok = gdk_pixbuf_loader_write(m_loader, reinterpret_cast<const guchar*>(feed),
                                                static_cast<gsize>(feedSize), &error);
    m_head.clear();
    if (error)
        g_error_free(error);
    if (!ok || m_tooLarge) {
        fail();
        return false;
    }
    return true;
}

bool PixbufDecoder::close()
{
    if (m_closed)
        return !m_failed;
    m_closed = true;
    if (!m_loader) {
        // Too short to tell the format: nothing decodable arrived.
        m_failed = true;
        return false;
    }
    if (m_failed) {
        gdk_pixbuf_loader_close(m_loader, nullptr);
        return false;
    }
    GError* error = nullptr;
    const gboolean ok = gdk_pixbuf_loader_close(m_loader, &error);
    if (error)
        g_error_free(error);
    if (!ok || m_tooLarge || !gdk_pixbuf_loader_get_pixbuf(m_loader))
        m_failed = true;
    return !m_failed;
}

QImage PixbufDecoder::image() const
{
    if (!m_loader || m_tooLarge)
        return {};
    GdkPixbuf* pixbuf = gdk_pixbuf_loader_get_pixbuf(m_loader);
    if (!pixbuf || gdk_pixbuf_get_bits_per_sample(pixbuf) != 8)
        return {};
    const int width = gdk_pixbuf_get_width(pixbuf);
    const int height = gdk_pixbuf_get_height(pixbuf);
    const int channels = gdk_pixbuf_get_n_channels(pixbuf);
    const bool alpha = gdk_pixbuf_get_has_alpha(pixbuf);
    if ((channels != 3 || alpha) && (channels != 4 || !alpha))
        return {};
    // A copy: the loader keeps writing into its pixbuf while the reader holds
    // the image on another thread.
    QImage copy(width, height, alpha ? QImage::Format_RGBA8888 : QImage::Format_RGB888);
    if (copy.isNull())
        return {};
    const guchar* pixels = gdk_pixbuf_read_pixels(pixbuf);
    const int stride = gdk_pixbuf_get_rowstride(pixbuf);
    const size_t rowBytes = static_cast<size_t>(width) * static_cast<size_t>(channels);
    for (int y = 0; y < height; ++y)
        std::memcpy(copy.scanLine(y), pixels + static_cast<size_t>(y) * static_cast<size_t>(stride), rowBytes);
    return copy;
}

QImage decodeImage(const QByteArray& bytes)
{
    PixbufDecoder decoder;
    if (!decoder.write(bytes) || !decoder.close())
        return {};
    return decoder.image();
}
