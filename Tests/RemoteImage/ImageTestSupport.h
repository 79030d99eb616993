// Test images made at run time: noisy pictures (so that partial decodes are
// easy to tell from finished ones), encoded files, progressive JPEGs through
// cjpeg, and decompression bombs crafted byte by byte.
#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtEndian>
#include <cstdint>
#include <cstring>
#include <random>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace ImageTestSupport {

inline QImage noiseImage(int width, int height, unsigned seed = 1)
{
    QImage image(width, height, QImage::Format_RGB888);
    std::mt19937 random(seed);
    for (int y = 0; y < height; ++y) {
        uchar* line = image.scanLine(y);
        for (int x = 0; x < width * 3; ++x)
            line[x] = static_cast<uchar>(random());
    }
    return image;
}

// Vertical stripes of equal width: the colours sit at known columns.
inline QImage stripes(int width, int height, std::initializer_list<QColor> colours)
{
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    const int n = static_cast<int>(colours.size());
    int i = 0;
    for (const QColor& colour : colours) {
        painter.fillRect(width * i / n, 0, width * (i + 1) / n - width * i / n, height, colour);
        ++i;
    }
    return image;
}

inline bool near(QColor actual, QColor expected, int tolerance)
{
    return std::abs(actual.red() - expected.red()) <= tolerance
        && std::abs(actual.green() - expected.green()) <= tolerance
        && std::abs(actual.blue() - expected.blue()) <= tolerance;
}

// Rows of `partial` equal to the same rows of `final`.
inline int matchingRows(const QImage& partial, const QImage& final)
{
    if (partial.isNull() || partial.size() != final.size())
        return 0;
    const QImage a = partial.convertToFormat(QImage::Format_RGB888);
    const QImage b = final.convertToFormat(QImage::Format_RGB888);
    int rows = 0;
    for (int y = 0; y < a.height(); ++y)
        rows += std::memcmp(a.constScanLine(y), b.constScanLine(y), static_cast<size_t>(a.width()) * 3) == 0;
    return rows;
}

inline QByteArray encode(const QImage& image, const char* format, int quality = -1)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, quality);
    return bytes;
}

// Empty when cjpeg is not installed. Started with posix_spawn rather than
// QProcess: Qt's way of starting children confuses ThreadSanitizer.
inline QByteArray progressiveJpeg(const QImage& image)
{
    QTemporaryDir dir;
    if (QStandardPaths::findExecutable(QStringLiteral("cjpeg")).isEmpty() || !dir.isValid())
        return {};
    const QByteArray ppm = dir.filePath(QStringLiteral("in.ppm")).toLocal8Bit();
    const QByteArray jpeg = dir.filePath(QStringLiteral("out.jpg")).toLocal8Bit();
    image.convertToFormat(QImage::Format_RGB888).save(QString::fromLocal8Bit(ppm), "PPM");
    char* argv[] = {const_cast<char*>("cjpeg"), const_cast<char*>("-progressive"),
                    const_cast<char*>("-quality"), const_cast<char*>("90"),
                    const_cast<char*>("-outfile"), const_cast<char*>(jpeg.constData()),
                    const_cast<char*>(ppm.constData()), nullptr};
    pid_t pid = -1;
    int status = 0;
    if (posix_spawnp(&pid, "cjpeg", nullptr, nullptr, argv, environ) != 0 || waitpid(pid, &status, 0) != pid
        || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return {};
    QFile file(QString::fromLocal8Bit(jpeg));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline quint32 crc32(const QByteArray& bytes)
{
    quint32 crc = 0xffffffffu;
    for (char c : bytes) {
        crc ^= static_cast<uchar>(c);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

inline QByteArray pngChunk(const char* type, const QByteArray& data)
{
    QByteArray chunk;
    quint32 length = qToBigEndian(static_cast<quint32>(data.size()));
    chunk.append(reinterpret_cast<const char*>(&length), 4);
    const QByteArray body = QByteArray(type, 4) + data;
    chunk.append(body);
    quint32 crc = qToBigEndian(crc32(body));
    chunk.append(reinterpret_cast<const char*>(&crc), 4);
    return chunk;
}

// A valid PNG header announcing width × height RGB pixels, followed by a
// little compressed data: a few hundred bytes that ask for gigabytes.
inline QByteArray pngBomb(quint32 width = 30000, quint32 height = 30000)
{
    QByteArray header;
    const quint32 w = qToBigEndian(width), h = qToBigEndian(height);
    header.append(reinterpret_cast<const char*>(&w), 4);
    header.append(reinterpret_cast<const char*>(&h), 4);
    header.append("\x08\x02\x00\x00\x00", 5);
    // qCompress prefixes the zlib stream with its length; PNG wants it bare.
    const QByteArray rows = qCompress(QByteArray(64 * 1024, '\0'), 9).mid(4);
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + pngChunk("IHDR", header) + pngChunk("IDAT", rows)
        + pngChunk("IEND", {});
}

// A baseline JPEG whose frame header is patched to claim width × height.
inline QByteArray jpegBomb(quint16 width = 65000, quint16 height = 65000)
{
    QByteArray bytes = encode(noiseImage(16, 16), "JPG");
    const qsizetype sof = bytes.indexOf(QByteArray("\xff\xc0", 2));
    if (sof < 0)
        return {};
    const quint16 w = qToBigEndian(width), h = qToBigEndian(height);
    bytes.replace(sof + 5, 2, reinterpret_cast<const char*>(&h), 2);
    bytes.replace(sof + 7, 2, reinterpret_cast<const char*>(&w), 2);
    return bytes;
}

// Qt writes no GIF: the smallest one, 1×1, one white pixel.
inline QByteArray tinyGif()
{
    return QByteArray::fromHex("47494638396101000100800000ffffff00000021f90401000000002c00000000"
                               "010001000002024401003b");
}

inline bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace ImageTestSupport
