#include "RemoteImage/Utils/ImageFormat.h"

#include "RemoteImage/Utils/GdkPixbuf.h"

#include <algorithm>
#include <array>

namespace remoteimage {

namespace {

struct KnownFormat {
    const char* typeIdentifier;
    const char* extension;
    const char* mimeType;
    const char* module;
};

constexpr std::array knownFormats{
    KnownFormat{"public.png", "png", "image/png", "png"},
    KnownFormat{"public.jpeg", "jpeg", "image/jpeg", "jpeg"},
    KnownFormat{"com.compuserve.gif", "gif", "image/gif", "gif"},
    KnownFormat{"org.webmproject.webp", "webp", "image/webp", "webp"},
    KnownFormat{"com.microsoft.bmp", "bmp", "image/bmp", "bmp"},
    KnownFormat{"com.microsoft.ico", "ico", "image/vnd.microsoft.icon", "ico"},
    KnownFormat{"public.tiff", "tiff", "image/tiff", "tiff"},
    KnownFormat{"public.svg-image", "svg", "image/svg+xml", "svg"},
};

enum Known { Png, Jpeg, Gif, Webp, Bmp, Ico, Tiff, Svg };

ImageFormat toFormat(const KnownFormat& known)
{
    return ImageFormat{QString::fromLatin1(known.typeIdentifier), QString::fromLatin1(known.extension),
                       QString::fromLatin1(known.mimeType), known.module};
}

bool startsWith(QByteArrayView data, QByteArrayView prefix)
{
    return data.size() >= prefix.size() && data.first(prefix.size()) == prefix;
}

std::uint32_t littleEndian32(QByteArrayView data, qsizetype at)
{
    return std::uint32_t(std::uint8_t(data[at])) | std::uint32_t(std::uint8_t(data[at + 1])) << 8
        | std::uint32_t(std::uint8_t(data[at + 2])) << 16 | std::uint32_t(std::uint8_t(data[at + 3])) << 24;
}

// "BM" alone is too weak (plain text may start so): also require one of the
// DIB header sizes that exist.
bool isBmp(QByteArrayView data)
{
    if (data.size() < 18 || !startsWith(data, "BM"))
        return false;
    switch (littleEndian32(data, 14)) {
    case 12: case 40: case 52: case 56: case 64: case 108: case 124:
        return true;
    default:
        return false;
    }
}

// Reserved 0, type 1 (icon), at least one image.
bool isIco(QByteArrayView data)
{
    return data.size() >= 6 && startsWith(data, QByteArrayView("\0\0\1\0", 4))
        && (data[4] != 0 || data[5] != 0);
}

// Text that opens with markup and holds an <svg element within the head.
bool isSvg(QByteArrayView data)
{
    qsizetype at = 0;
    if (startsWith(data, "\xEF\xBB\xBF"))
        at = 3;
    while (at < data.size() && (data[at] == ' ' || data[at] == '\t' || data[at] == '\r' || data[at] == '\n'))
        ++at;
    const QByteArrayView rest = data.sliced(at);
    if (!startsWith(rest, "<?xml") && !startsWith(rest, "<svg") && !startsWith(rest, "<!--")
        && !startsWith(rest, "<!DOCTYPE svg"))
        return false;
    return rest.first(std::min<qsizetype>(rest.size(), imageFormatSniffLength)).indexOf("<svg") >= 0;
}

void sizePrepared(GdkPixbufLoader* loader, gint width, gint height, gpointer)
{
    if (isAcceptableImageSize(width, height))
        return;
    g_object_set_data(G_OBJECT(loader), "quillora-refused", GINT_TO_POINTER(1));
    // Zero size makes the module stop before it allocates the pixel buffer.
    gdk_pixbuf_loader_set_size(loader, 0, 0);
}

} // namespace

bool isAcceptableImageSize(std::int64_t width, std::int64_t height)
{
    return width > 0 && height > 0 && width <= maxImageSide && height <= maxImageSide
        && width * height <= maxImagePixels;
}

std::optional<ImageFormat> sniffImageFormat(QByteArrayView head)
{
    if (startsWith(head, "\x89PNG\r\n\x1A\n"))
        return toFormat(knownFormats[Png]);
    if (startsWith(head, "\xFF\xD8\xFF"))
        return toFormat(knownFormats[Jpeg]);
    if (startsWith(head, "GIF87a") || startsWith(head, "GIF89a"))
        return toFormat(knownFormats[Gif]);
    if (head.size() >= 12 && startsWith(head, "RIFF") && head.sliced(8, 4) == QByteArrayView("WEBP"))
        return toFormat(knownFormats[Webp]);
    if (isBmp(head))
        return toFormat(knownFormats[Bmp]);
    if (isIco(head))
        return toFormat(knownFormats[Ico]);
    if (startsWith(head, QByteArrayView("II*\0", 4)) || startsWith(head, QByteArrayView("MM\0*", 4)))
        return toFormat(knownFormats[Tiff]);
    if (isSvg(head))
        return toFormat(knownFormats[Svg]);
    return std::nullopt;
}

std::optional<ImageFormat> imageFormatForTypeIdentifier(QStringView typeIdentifier)
{
    for (const KnownFormat& known : knownFormats) {
        if (typeIdentifier == QLatin1String(known.typeIdentifier))
            return toFormat(known);
    }
    return std::nullopt;
}

GdkPixbufLoader* createPixbufLoader(const ImageFormat& format)
{
    GError* error = nullptr;
    GdkPixbufLoader* loader = gdk_pixbuf_loader_new_with_type(format.pixbufModule, &error);
    if (!loader) {
        g_clear_error(&error);
        return nullptr;
    }
    guardPixbufLoaderSize(loader);
    return loader;
}

void guardPixbufLoaderSize(GdkPixbufLoader* loader)
{
    g_signal_connect(loader, "size-prepared", G_CALLBACK(sizePrepared), nullptr);
}

bool isPixbufLoaderRefused(GdkPixbufLoader* loader)
{
    return g_object_get_data(G_OBJECT(loader), "quillora-refused") != nullptr;
}

QImage imageFromPixbuf(GdkPixbuf* pixbuf)
{
    if (!pixbuf || gdk_pixbuf_get_colorspace(pixbuf) != GDK_COLORSPACE_RGB
        || gdk_pixbuf_get_bits_per_sample(pixbuf) != 8)
        return {};
    const int channels = gdk_pixbuf_get_n_channels(pixbuf);
    const bool alpha = gdk_pixbuf_get_has_alpha(pixbuf);
    QImage::Format format;
    if (channels == 4 && alpha)
        format = QImage::Format_RGBA8888;
    else if (channels == 3 && !alpha)
        format = QImage::Format_RGB888;
    else
        return {};
    g_object_ref(pixbuf);
    return QImage(gdk_pixbuf_read_pixels(pixbuf), gdk_pixbuf_get_width(pixbuf), gdk_pixbuf_get_height(pixbuf),
                  gdk_pixbuf_get_rowstride(pixbuf), format,
                  [](void* info) { g_object_unref(static_cast<GdkPixbuf*>(info)); }, pixbuf);
}

} // namespace remoteimage
