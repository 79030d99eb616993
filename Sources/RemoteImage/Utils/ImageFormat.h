// Image formats recognised from their first bytes, and the guard that keeps
// gdk-pixbuf from allocating for absurd image sizes. Shared by the whole-file
// decoder (ImageFile.h) and the incremental decoder.
//
// Why sniff ourselves: gdk-pixbuf's generic loader holds back the first 4 KB
// before it picks a module, which would delay partial images; with the type
// known, the loader is created for that module directly.
//
// Type identifiers are uniform type identifier strings ("public.png",
// "public.jpeg", "com.compuserve.gif", "org.webmproject.webp",
// "com.microsoft.bmp", "com.microsoft.ico", "public.tiff", "public.svg-image").
//
// Only these formats are ever decoded: the loader is chosen by the sniffed
// type, so gdk-pixbuf's other modules (ANI, ICNS, TGA, XPM...) never see
// bytes from the network.
//
// Typical incremental use:
//
//     if (data.size() >= imageFormatSniffLength || complete)
//         if (auto format = sniffImageFormat(data))
//             loader = createPixbufLoader(*format);   // size guard attached
//
// and after gdk_pixbuf_loader_write()/close(), isPixbufLoaderRefused(loader)
// tells whether the image was refused for its size.
#pragma once

#include <QByteArrayView>
#include <QImage>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>

typedef struct _GdkPixbuf GdkPixbuf;
typedef struct _GdkPixbufLoader GdkPixbufLoader;

namespace remoteimage {

struct ImageFormat {
    QString typeIdentifier;     // "public.png"
    QString preferredExtension; // "png"
    QString mimeType;           // "image/png"
    const char* pixbufModule;   // gdk-pixbuf loader name, "png"
};

// Bytes enough to recognise every supported format. With fewer bytes of an
// unfinished download, "nothing" may still turn into a format later.
inline constexpr std::int64_t imageFormatSniffLength = 256;

// Size limits. 64 Mpixel is 256 MB of RGBA: far beyond any logo, yet small
// enough that a hostile header cannot exhaust memory.
inline constexpr std::int64_t maxImagePixels = 64LL * 1024 * 1024;
inline constexpr int maxImageSide = 16384;

bool isAcceptableImageSize(std::int64_t width, std::int64_t height);

std::optional<ImageFormat> sniffImageFormat(QByteArrayView head);
std::optional<ImageFormat> imageFormatForTypeIdentifier(QStringView typeIdentifier);

// A loader for `format`'s module with the size guard attached (its
// "size-prepared" handler refuses oversized images before any pixel buffer
// is allocated). Nothing when the module is not installed. The caller owns
// the reference (g_object_unref).
GdkPixbufLoader* createPixbufLoader(const ImageFormat& format);

// Attaches the size guard to a loader made elsewhere.
void guardPixbufLoaderSize(GdkPixbufLoader* loader);

// True once the guard has refused the loader's image.
bool isPixbufLoaderRefused(GdkPixbufLoader* loader);

// Wraps the pixbuf's pixels without copying; the QImage holds a reference to
// the pixbuf. The pixels are read-only: writing to the QImage detaches it.
// A pixbuf that a loader is still filling changes under the wrapper: hand
// other threads a copy.
QImage imageFromPixbuf(GdkPixbuf* pixbuf);

} // namespace remoteimage
