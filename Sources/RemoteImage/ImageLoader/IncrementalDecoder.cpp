#include "RemoteImage/ImageLoader/IncrementalDecoder.h"

#include "RemoteImage/Utils/GdkPixbuf.h"

#include <utility>

namespace remoteimage {

IncrementalDecoder::~IncrementalDecoder()
{
    if (m_loader) {
        if (!m_closed)
            gdk_pixbuf_loader_close(m_loader, nullptr);
        g_object_unref(m_loader);
    }
}

bool IncrementalDecoder::wasTooLarge() const
{
    return m_loader && isPixbufLoaderRefused(m_loader);
}

bool IncrementalDecoder::start(const QByteArray& head)
{
    m_format = sniffImageFormat(head);
    if (m_format)
        m_loader = createPixbufLoader(*m_format);
    if (!m_loader) {
        m_failed = true;
        return false;
    }
    return feed(head);
}

bool IncrementalDecoder::feed(const QByteArray& bytes)
{
    GError* error = nullptr;
    const gboolean ok = gdk_pixbuf_loader_write(m_loader, reinterpret_cast<const guchar*>(bytes.constData()),
                                                static_cast<gsize>(bytes.size()), &error);
    g_clear_error(&error);
    if (!ok || isPixbufLoaderRefused(m_loader))
        m_failed = true;
    return !m_failed;
}

bool IncrementalDecoder::write(const QByteArray& bytes)
{
    if (m_failed || m_closed)
        return false;
    if (bytes.isEmpty())
        return true;
    if (m_loader)
        return feed(bytes);
    m_head.append(bytes);
    if (m_head.size() < imageFormatSniffLength && !sniffImageFormat(m_head))
        return true; // may still become a known signature
    const QByteArray head = std::exchange(m_head, {});
    return start(head);
}

bool IncrementalDecoder::close()
{
    if (m_closed)
        return !m_failed;
    m_closed = true;
    if (!m_loader && !m_failed && !m_head.isEmpty())
        start(std::exchange(m_head, {}));
    if (!m_loader) {
        m_failed = true;
        return false;
    }
    GError* error = nullptr;
    const gboolean ok = gdk_pixbuf_loader_close(m_loader, &error);
    g_clear_error(&error);
    if (!ok || isPixbufLoaderRefused(m_loader) || !gdk_pixbuf_loader_get_pixbuf(m_loader))
        m_failed = true;
    return !m_failed;
}

QImage IncrementalDecoder::image() const
{
    if (!m_loader || isPixbufLoaderRefused(m_loader))
        return {};
    return imageFromPixbuf(gdk_pixbuf_loader_get_pixbuf(m_loader)).copy();
}

} // namespace remoteimage
