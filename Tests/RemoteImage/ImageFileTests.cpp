#include "RemoteImage/Utils/GdkPixbuf.h"
#include "RemoteImage/Utils/ImageFile.h"
#include "RemoteImage/Utils/ImageFormat.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

using namespace remoteimage;

namespace {

QByteArray encode(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, format)) << format;
    return bytes;
}

// 4x2: left half opaque red, right half half-transparent blue.
QImage sample()
{
    QImage image(4, 2, QImage::Format_ARGB32);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 4; ++x)
            image.setPixelColor(x, y, x < 2 ? QColor(255, 0, 0) : QColor(0, 0, 255, 128));
    }
    return image;
}

quint32 crc32(const QByteArray& data)
{
    quint32 crc = 0xFFFFFFFFu;
    for (const char byte : data) {
        crc ^= quint8(byte);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

QByteArray pngChunk(const char* type, const QByteArray& payload)
{
    QByteArray chunk(4, '\0');
    qToBigEndian<quint32>(quint32(payload.size()), chunk.data());
    const QByteArray body = QByteArray(type) + payload;
    QByteArray crc(4, '\0');
    qToBigEndian<quint32>(crc32(body), crc.data());
    return chunk + body + crc;
}

// A valid PNG header claiming width x height RGBA pixels, then a few bytes of
// image data: about 60 bytes that would ask a careless decoder for gigabytes.
QByteArray hugePngHeader(quint32 width, quint32 height)
{
    QByteArray ihdr(13, '\0');
    qToBigEndian<quint32>(width, ihdr.data());
    qToBigEndian<quint32>(height, ihdr.data() + 4);
    ihdr[8] = 8; // bit depth
    ihdr[9] = 6; // RGBA
    return QByteArray("\x89PNG\r\n\x1A\n", 8) + pngChunk("IHDR", ihdr)
        + pngChunk("IDAT", QByteArray::fromHex("789c63000000010001"));
}

// The smallest GIF: 1x1, one white pixel.
const QByteArray tinyGif = QByteArray::fromHex("47494638396101000100800000ffffff00000021f90401000000002c00000000"
                                               "010001000002024401003b");

class ImageFileTest : public ::testing::Test {
protected:
    QUrl writeFile(const QString& name, const QByteArray& bytes)
    {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return QUrl::fromLocalFile(file.fileName());
    }

    QTemporaryDir dir;
};

} // namespace

TEST(ImageFormat, RecognisesFormatsFromTheirFirstBytes)
{
    auto type = [](const QByteArray& head) {
        const auto format = sniffImageFormat(head);
        return format ? format->typeIdentifier.toStdString() : std::string("none");
    };
    EXPECT_EQ(type(encode(sample(), "PNG")), "public.png");
    EXPECT_EQ(type(encode(sample(), "JPEG")), "public.jpeg");
    EXPECT_EQ(type(encode(sample(), "BMP")), "com.microsoft.bmp");
    EXPECT_EQ(type(tinyGif), "com.compuserve.gif");
    EXPECT_EQ(type(QByteArray("RIFF\x10\0\0\0WEBPVP8 ", 16)), "org.webmproject.webp");
    EXPECT_EQ(type(QByteArray("\0\0\1\0\1\0\x10\x10", 8)), "com.microsoft.ico");
    EXPECT_EQ(type(QByteArray("II*\0\x08\0\0\0", 8)), "public.tiff");
    EXPECT_EQ(type(QByteArray("MM\0*\0\0\0\x08", 8)), "public.tiff");
    EXPECT_EQ(type("\xEF\xBB\xBF <?xml version=\"1.0\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\"/>"),
              "public.svg-image");

    // Look-alikes and too little to tell.
    EXPECT_EQ(type("BM is how this text starts, and it is no bitmap"), "none");
    EXPECT_EQ(type("<!DOCTYPE html><html><body>404 Not Found</body></html>"), "none");
    EXPECT_EQ(type("<?xml version=\"1.0\"?><rss/>"), "none");
    EXPECT_EQ(type(QByteArray("RIFF\x10\0\0\0WAVE", 12)), "none");
    EXPECT_EQ(type(QByteArray("\0\0\1\0\0\0", 6)), "none");
    EXPECT_EQ(type("\x89PN"), "none");
    EXPECT_EQ(type(""), "none");
}

TEST(ImageFormat, TypeIdentifiersMapToExtensions)
{
    EXPECT_EQ(preferredFileExtension(u"public.png"), QStringLiteral("png"));
    EXPECT_EQ(preferredFileExtension(u"public.jpeg"), QStringLiteral("jpeg"));
    EXPECT_EQ(preferredFileExtension(u"org.webmproject.webp"), QStringLiteral("webp"));
    EXPECT_FALSE(preferredFileExtension(u"public.html"));
    EXPECT_EQ(imageFormatForTypeIdentifier(u"com.compuserve.gif")->mimeType, QStringLiteral("image/gif"));
}

TEST(ImageFormat, SizeLimits)
{
    EXPECT_TRUE(isAcceptableImageSize(1, 1));
    EXPECT_TRUE(isAcceptableImageSize(8192, 8192));
    EXPECT_TRUE(isAcceptableImageSize(maxImageSide, 4096));
    EXPECT_FALSE(isAcceptableImageSize(maxImageSide, maxImageSide)) << "over the pixel count";
    EXPECT_FALSE(isAcceptableImageSize(maxImageSide + 1, 1));
    EXPECT_FALSE(isAcceptableImageSize(0, 10));
    EXPECT_FALSE(isAcceptableImageSize(-5, 10));
}

TEST_F(ImageFileTest, DecodesFilesToTheirPixels)
{
    const QImage png = createImage(writeFile(QStringLiteral("a.png"), encode(sample(), "PNG")));
    ASSERT_FALSE(png.isNull());
    EXPECT_EQ(png.size(), QSize(4, 2));
    EXPECT_EQ(png.pixelColor(0, 0), QColor(255, 0, 0));
    EXPECT_EQ(png.pixelColor(3, 1), QColor(0, 0, 255, 128));

    const QImage jpeg = createImage(writeFile(QStringLiteral("a.jpg"), encode(sample().convertToFormat(QImage::Format_RGB32), "JPEG")));
    ASSERT_FALSE(jpeg.isNull());
    EXPECT_EQ(jpeg.size(), QSize(4, 2));
    EXPECT_FALSE(jpeg.hasAlphaChannel());

    const QImage gif = createImage(writeFile(QStringLiteral("a.gif"), tinyGif));
    ASSERT_FALSE(gif.isNull());
    EXPECT_EQ(gif.size(), QSize(1, 1));

    // The decoded image outlives everything it was made from, and writing
    // to it leaves other copies alone.
    QImage copy = png;
    copy.setPixelColor(0, 0, Qt::green);
    EXPECT_EQ(png.pixelColor(0, 0), QColor(255, 0, 0));
}

TEST_F(ImageFileTest, AnswersNothingForWhatIsNoImage)
{
    EXPECT_TRUE(createImage(QUrl::fromLocalFile(dir.filePath(QStringLiteral("missing.png")))).isNull());
    EXPECT_TRUE(createImage(writeFile(QStringLiteral("page.png"), "<html>Not Found</html>")).isNull());
    EXPECT_TRUE(createImage(writeFile(QStringLiteral("empty.png"), {})).isNull());
    EXPECT_TRUE(createImage(QUrl(QStringLiteral("https://example.org/logo.png"))).isNull());
    QByteArray broken = encode(sample(), "PNG");
    broken[20] = char(broken[20] ^ 0x55); // IHDR checksum no longer matches
    EXPECT_TRUE(createImage(writeFile(QStringLiteral("broken.png"), broken)).isNull());

    EXPECT_FALSE(imageTypeIdentifier(writeFile(QStringLiteral("text"), "plain text")));
    EXPECT_FALSE(imageTypeIdentifier(QUrl::fromLocalFile(dir.filePath(QStringLiteral("missing")))));
    EXPECT_EQ(imageTypeIdentifier(writeFile(QStringLiteral("x"), encode(sample(), "PNG"))), QStringLiteral("public.png"));
}

TEST_F(ImageFileTest, RefusesAHugeImageHeaderBeforeAllocating)
{
    const QByteArray bomb = hugePngHeader(30000, 30000);
    EXPECT_LT(bomb.size(), 100);
    EXPECT_TRUE(createImage(writeFile(QStringLiteral("bomb.png"), bomb)).isNull());

    // The guard itself: the loader is refused and never made a pixbuf.
    GdkPixbufLoader* loader = createPixbufLoader(*sniffImageFormat(bomb));
    ASSERT_NE(loader, nullptr);
    gdk_pixbuf_loader_write(loader, reinterpret_cast<const guchar*>(bomb.constData()), gsize(bomb.size()), nullptr);
    gdk_pixbuf_loader_close(loader, nullptr);
    EXPECT_TRUE(isPixbufLoaderRefused(loader));
    EXPECT_EQ(gdk_pixbuf_loader_get_pixbuf(loader), nullptr);
    g_object_unref(loader);

    // A tall thin one with few pixels but an absurd side is refused too.
    EXPECT_TRUE(createImage(writeFile(QStringLiteral("thin.png"), hugePngHeader(1, 100000))).isNull());
}

TEST_F(ImageFileTest, DecodesOnSeveralThreadsAtOnce)
{
    const QUrl png = writeFile(QStringLiteral("a.png"), encode(sample(), "PNG"));
    const QUrl gif = writeFile(QStringLiteral("a.gif"), tinyGif);
    std::atomic<int> decoded{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 25; ++i)
                decoded += !createImage(i % 2 ? png : gif).isNull();
        });
    }
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(decoded.load(), 100);
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
