// Format sniffing, the capped gdk-pixbuf decoder, growing images and the
// observable download progress.
#include "ImageTestSupport.h"

#include "RemoteImage/DownloadProgressWrapper.h"
#include "RemoteImage/ImageLoader/IncrementalImageWrapper.h"
#include "RemoteImage/ImageLoader/IncrementalDecoder.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace remoteimage;

using namespace ImageTestSupport;

namespace {

// Feeds `bytes` in `pieces` chunks; returns the matching-row count after each.
std::vector<int> growth(IncrementalImageWrapper& wrapper, const QByteArray& bytes, int pieces, const QImage& final)
{
    std::vector<int> rows;
    const qsizetype step = (bytes.size() + pieces - 1) / pieces;
    for (qsizetype at = 0; at < bytes.size(); at += step) {
        wrapper.append(bytes.mid(at, step));
        rows.push_back(matchingRows(wrapper.uiImage(), final));
    }
    return rows;
}

// The whole buffer at once, through the incremental decoder.
QImage decodeIncrementally(const QByteArray& bytes, IncrementalDecoder& decoder)
{
    if (!decoder.write(bytes) || !decoder.close())
        return {};
    return decoder.image();
}

QImage decodeIncrementally(const QByteArray& bytes)
{
    IncrementalDecoder decoder;
    return decodeIncrementally(bytes, decoder);
}

} // namespace

TEST(IncrementalDecoder, DecodesCompleteImagesOfEachFormat)
{
    const QImage source = noiseImage(33, 17);
    for (const char* format : {"PNG", "JPG"}) {
        const QImage decoded = decodeIncrementally(encode(source, format));
        EXPECT_EQ(decoded.size(), source.size()) << format;
    }
    EXPECT_EQ(decodeIncrementally(tinyGif()).size(), QSize(1, 1));
    EXPECT_EQ(matchingRows(decodeIncrementally(encode(source, "PNG")), source), source.height());
    QImage transparent(8, 8, QImage::Format_ARGB32);
    transparent.fill(Qt::transparent);
    EXPECT_EQ(decodeIncrementally(encode(transparent, "PNG")).pixelColor(3, 3).alpha(), 0);
}

TEST(IncrementalDecoder, RefusesGarbageAndBombsWithoutAllocating)
{
    EXPECT_TRUE(decodeIncrementally("").isNull());
    EXPECT_TRUE(decodeIncrementally("<html><body><h1>404 Not Found</h1></body></html>").isNull());
    EXPECT_TRUE(decodeIncrementally(QByteArray("\x89PNG\r\n\x1a\n", 8) + QByteArray(500, 'x')).isNull());
    EXPECT_TRUE(decodeIncrementally(QByteArray("\x89PNG", 4)).isNull());

    for (const QByteArray& bomb : {pngBomb(), pngBomb(9000, 9000), jpegBomb()}) {
        IncrementalDecoder decoder;
        EXPECT_TRUE(decodeIncrementally(bomb, decoder).isNull());
        EXPECT_TRUE(decoder.wasTooLarge());
        EXPECT_TRUE(decoder.hasFailed());
    }
    EXPECT_FALSE(decodeIncrementally(pngBomb(16, 16)).isNull());
}

TEST(IncrementalImageWrapper, PngIsKnownFromTheFirstBytesGrowsRowByRowThenCompletes)
{
    const QImage source = noiseImage(96, 96, 7);
    const QByteArray png = encode(source, "PNG");
    IncrementalImageWrapper wrapper;
    wrapper.append(png.left(5));
    EXPECT_FALSE(wrapper.imageSourceType().has_value());
    wrapper.append(png.mid(5, 3));
    EXPECT_EQ(wrapper.imageSourceType(), QString("public.png"));
    EXPECT_TRUE(wrapper.uiImage().isNull()); // no rows yet
    const std::vector<int> rows = growth(wrapper, png.mid(8), 8, source);
    ASSERT_EQ(rows.size(), 8u);
    EXPECT_TRUE(std::is_sorted(rows.begin(), rows.end()));
    EXPECT_GT(rows[3], 0);
    EXPECT_LT(rows[3], source.height());
    wrapper.setFinal(true);
    wrapper.setFinal(true);
    EXPECT_TRUE(wrapper.isFinal());
    EXPECT_FALSE(wrapper.hasFailed());
    EXPECT_EQ(matchingRows(wrapper.uiImage(), source), source.height());
    EXPECT_EQ(wrapper.data(), png);
}

TEST(IncrementalImageWrapper, ProgressiveJpegRefinesThenCompletes)
{
    const QImage source = noiseImage(128, 128, 3);
    const QByteArray jpeg = progressiveJpeg(source);
    if (jpeg.isEmpty())
        GTEST_SKIP() << "cjpeg (libjpeg-turbo-progs) is not installed";
    const QImage reference = decodeIncrementally(jpeg);
    ASSERT_FALSE(reference.isNull());

    IncrementalImageWrapper wrapper;
    QImage firstPartial;
    const qsizetype step = jpeg.size() / 10;
    for (qsizetype at = 0; at < jpeg.size(); at += step) {
        wrapper.append(jpeg.mid(at, step));
        if (firstPartial.isNull() && !wrapper.uiImage().isNull())
            firstPartial = wrapper.uiImage();
    }
    // An early scan already covers the whole frame, coarsely.
    ASSERT_FALSE(firstPartial.isNull());
    EXPECT_EQ(firstPartial.size(), source.size());
    EXPECT_LT(matchingRows(firstPartial, reference), reference.height());
    wrapper.setFinal(true);
    EXPECT_EQ(wrapper.imageSourceType(), QString("public.jpeg"));
    EXPECT_EQ(matchingRows(wrapper.uiImage(), reference), reference.height());
}

TEST(IncrementalImageWrapper, ReadersOnOtherThreadsSeeConsistentCopies)
{
    const QImage source = noiseImage(200, 200, 5);
    const QByteArray png = encode(source, "PNG");
    IncrementalImageWrapper wrapper;
    std::atomic<bool> stop{false};
    std::thread reader([&] {
        while (!stop) {
            const QImage partial = wrapper.uiImage();
            if (!partial.isNull()) {
                EXPECT_EQ(partial.size(), source.size());
            }
        }
    });
    for (qsizetype at = 0; at < png.size(); at += 512)
        wrapper.append(png.mid(at, 512));
    wrapper.setFinal(true);
    stop = true;
    reader.join();
    EXPECT_EQ(matchingRows(wrapper.uiImage(), source), source.height());
}

TEST(DownloadProgressWrapper, AnnouncesEveryWriteBeforeStoring)
{
    DownloadProgressWrapper wrapper;
    EXPECT_FALSE(wrapper.progress().has_value());
    EXPECT_FALSE(wrapper.property("progress").isValid());

    std::vector<std::optional<float>> seenAtAnnouncement;
    QObject::connect(&wrapper, &DownloadProgressWrapper::objectWillChange,
                     [&] { seenAtAnnouncement.push_back(wrapper.progress()); });
    QSignalSpy changed(&wrapper, &DownloadProgressWrapper::progressChanged);
    wrapper.setProgress(0.5f);
    ASSERT_EQ(seenAtAnnouncement.size(), 1u);
    EXPECT_FALSE(seenAtAnnouncement[0].has_value()); // announced before the store
    EXPECT_EQ(changed.count(), 1);
    EXPECT_FLOAT_EQ(wrapper.property("progress").toFloat(), 0.5f);

    wrapper.setProgress(0.5f); // equal values are announced too
    EXPECT_EQ(seenAtAnnouncement.size(), 2u);
    wrapper.setProperty("progress", QVariant());
    EXPECT_FALSE(wrapper.progress().has_value());
    EXPECT_EQ(DownloadProgressWrapper(0.25f).progress(), 0.25f);
}
