// Whole-file image helpers on gdk-pixbuf.
#pragma once

#include <QByteArrayView>
#include <QImage>
#include <QString>
#include <QStringView>
#include <QUrl>

#include <cstdint>
#include <optional>

namespace remoteimage {

// Files larger than this are not read into memory for decoding.
inline constexpr std::int64_t maxImageFileSize = 50LL * 1024 * 1024;

// The first image (first frame of an animation) of a local file, or a null
// QImage when the file is missing, too large, not a known image format,
// undecodable, or declares more pixels than isAcceptableImageSize() allows.
// Safe to call from any thread.
QImage createImage(const QUrl& fileURL);

// The same for bytes in memory.
QImage decodeImage(QByteArrayView data);

// The file's type identifier ("public.png", see ImageFormat.h) from its first
// bytes, or nothing.
std::optional<QString> imageTypeIdentifier(const QUrl& fileURL);

// "png" for "public.png"; nothing for an unknown type.
std::optional<QString> preferredFileExtension(QStringView typeIdentifier);

} // namespace remoteimage
