#include "ImageTestSupport.h"
#include "RemoteImage/Utils/GdkPixbuf.h"
#include "RemoteImage/Utils/ImageFile.h"
#include "RemoteImage/Utils/ImageFormat.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

using namespace remoteimage;
using ImageTestSupport::encode;
using ImageTestSupport::pngBomb;
using ImageTestSupport::tinyGif;

namespace {

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
    EXPECT_EQ(type(tinyGif()), "com.compuserve.gif");
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

    const QImage gif = createImage(writeFile(QStringLiteral("a.gif"), tinyGif()));
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
    const QByteArray bomb = pngBomb(30000, 30000);
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
    EXPECT_TRUE(createImage(writeFile(QStringLiteral("thin.png"), pngBomb(1, 100000))).isNull());
}

TEST_F(ImageFileTest, DecodesOnSeveralThreadsAtOnce)
{
    const QUrl png = writeFile(QStringLiteral("a.png"), encode(sample(), "PNG"));
    const QUrl gif = writeFile(QStringLiteral("a.gif"), tinyGif());
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
