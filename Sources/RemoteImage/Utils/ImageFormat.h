// Image formats recognised from their first bytes, and the pixel budget every
// decoder enforces before it allocates.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>

struct ImageFormat {
    const char* typeIdentifier; // uniform type identifier, e.g. "public.png"
    const char* pixbufLoader;   // gdk-pixbuf loader name, e.g. "png"
    const char* fileExtension;  // preferred file-name extension, e.g. "png"
};

enum class SniffResult {
    NeedMoreBytes, // the bytes so far are the start of a known signature
    Recognised,
    NotAnImage,
};

struct Sniffed {
    SniffResult result;
    const ImageFormat* format; // set when recognised
};

// PNG, JPEG, GIF and WebP; everything else is not an image to us.
Sniffed sniffImageFormat(const QByteArray& firstBytes);

// The format whose uniform type identifier is typeIdentifier, if known.
const ImageFormat* imageFormatForTypeIdentifier(const QString& typeIdentifier);

// Images with more pixels are refused before any pixel memory is allocated:
// a few hundred bytes of header can otherwise ask for gigabytes.
inline constexpr std::int64_t maximumImagePixelCount = 32LL * 1024 * 1024;
