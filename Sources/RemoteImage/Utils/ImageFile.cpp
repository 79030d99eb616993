#include "RemoteImage/Utils/ImageFile.h"

#include "RemoteImage/Utils/ImageFormat.h"

#include <QFile>

#include <algorithm>

#include "RemoteImage/Utils/GdkPixbuf.h"

namespace remoteimage {

QImage createImage(const QUrl& fileURL)
{
    QFile file(fileURL.toLocalFile());
    if (!fileURL.isLocalFile() || !file.open(QIODevice::ReadOnly) || file.size() > maxImageFileSize)
        return {};
    return decodeImage(file.readAll());
}

QImage decodeImage(QByteArrayView data)
{
    const auto format = sniffImageFormat(data.first(std::min<qsizetype>(data.size(), imageFormatSniffLength)));
    if (!format)
        return {};
    GdkPixbufLoader* loader = createPixbufLoader(*format);
    if (!loader)
        return {};

    bool ok = gdk_pixbuf_loader_write(loader, reinterpret_cast<const guchar*>(data.data()),
                                      static_cast<gsize>(data.size()), nullptr);
    // close() must always be called; its verdict on truncated data is lenient,
    // which is fine for a file that is complete by construction.
    ok = gdk_pixbuf_loader_close(loader, nullptr) && ok;

    QImage image;
    if (ok && !isPixbufLoaderRefused(loader))
        image = imageFromPixbuf(gdk_pixbuf_loader_get_pixbuf(loader));
    g_object_unref(loader);
    return image;
}

std::optional<QString> imageTypeIdentifier(const QUrl& fileURL)
{
    QFile file(fileURL.toLocalFile());
    if (!fileURL.isLocalFile() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const auto format = sniffImageFormat(file.read(imageFormatSniffLength));
    if (!format)
        return std::nullopt;
    return format->typeIdentifier;
}

std::optional<QString> preferredFileExtension(QStringView typeIdentifier)
{
    const auto format = imageFormatForTypeIdentifier(typeIdentifier);
    if (!format)
        return std::nullopt;
    return format->preferredExtension;
}

} // namespace remoteimage
