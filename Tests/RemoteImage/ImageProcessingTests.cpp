// Resize geometry on real pixels, processor groups, and the processing queue.
#include "RemoteImage/Processing/ImageProcessingServiceImpl.h"
#include "RemoteImage/Processing/ImageProcessorClosure.h"
#include "RemoteImage/Processing/ImageProcessorGroup.h"
#include "RemoteImage/Processing/Resize.h"
#include "ImageTestSupport.h"

#include <QPainter>
#include <QThread>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <limits>
#include <mutex>
#include <thread>

using namespace remoteimage;
using ImageTestSupport::stripes;

namespace {

QImage bands(int width, int height, QColor top, QColor bottom)
{
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.fillRect(0, 0, width, height / 2, top);
    painter.fillRect(0, height / 2, width, height - height / 2, bottom);
    return image;
}

bool near(QColor actual, QColor expected)
{
    return ImageTestSupport::near(actual, expected, 8);
}

} // namespace

TEST(Resize, WideImageIntoSquareKeepsTheMiddle)
{
    // 50 red, 100 green, 50 blue columns; the square shows only green.
    const QImage input = stripes(200, 100, {Qt::red, Qt::green, Qt::green, Qt::blue});
    const CoverGeometry geometry = coverGeometry(input.size(), QSizeF(100, 100));
    EXPECT_EQ(geometry.origin, QPointF(-50, 0));
    EXPECT_EQ(geometry.size, QSizeF(200, 100));

    const QImage output = Resize(QSizeF(100, 100), 1).process(input);
    ASSERT_EQ(output.size(), QSize(100, 100));
    for (int x : {0, 1, 50, 98, 99})
        for (int y : {0, 50, 99})
            EXPECT_TRUE(near(output.pixelColor(x, y), Qt::green)) << x << "," << y;
}

TEST(Resize, SquareIntoWideCropsTopAndBottom)
{
    // Drawn at 300×300 from y = −75: rows 25..74 of the source remain.
    const QImage input = bands(100, 100, Qt::red, Qt::blue);
    const CoverGeometry geometry = coverGeometry(input.size(), QSizeF(300, 150));
    EXPECT_EQ(geometry.origin, QPointF(0, -75));
    EXPECT_EQ(geometry.size, QSizeF(300, 300));

    const QImage output = Resize(QSizeF(300, 150), 1).process(input);
    ASSERT_EQ(output.size(), QSize(300, 150));
    EXPECT_TRUE(near(output.pixelColor(150, 5), Qt::red));
    EXPECT_TRUE(near(output.pixelColor(150, 70), Qt::red));
    EXPECT_TRUE(near(output.pixelColor(150, 80), Qt::blue));
    EXPECT_TRUE(near(output.pixelColor(0, 145), Qt::blue));
}

TEST(Resize, ScaleMultipliesTheSizeAndImpossibleTargetsReturnTheInput)
{
    const QImage input = bands(10, 10, Qt::red, Qt::blue);
    EXPECT_EQ(Resize(QSizeF(50, 50), 2).process(input).size(), QSize(100, 100));
    EXPECT_EQ(Resize(QSizeF(20.9, 10.2), 1).process(input).size(), QSize(20, 10));
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (QSizeF size : {QSizeF(0, 0), QSizeF(0, 10), QSizeF(10, 0.5), QSizeF(-5, 10), QSizeF(nan, 10),
                        QSizeF(inf, 10), QSizeF(1e12, 1e12), QSizeF(100000, 100000)}) {
        const QImage output = Resize(size, 1).process(input);
        EXPECT_EQ(output.cacheKey(), input.cacheKey()) << size.width() << "x" << size.height();
    }
    EXPECT_TRUE(Resize(QSizeF(10, 10), 1).process(QImage()).isNull());

    QImage transparent(20, 20, QImage::Format_ARGB32);
    transparent.fill(Qt::transparent);
    const QImage output = Resize(QSizeF(10, 10), 1).process(transparent);
    ASSERT_EQ(output.size(), QSize(10, 10));
    EXPECT_EQ(output.pixelColor(5, 5).alpha(), 0) << "transparency is kept";
}

TEST(ImageProcessorGroup, EmptyGroupReturnsInputAndProcessorsRunInOrder)
{
    const QImage input = bands(4, 4, Qt::red, Qt::blue);
    EXPECT_EQ(ImageProcessorGroup({}).process(input).cacheKey(), input.cacheKey());

    // Mirroring then cropping the left half differs from the other order.
    auto mirror = std::make_shared<ImageProcessorClosure>(
        [](const QImage& image) { return image.mirrored(true, false); });
    auto leftHalf = std::make_shared<ImageProcessorClosure>(
        [](const QImage& image) { return image.copy(0, 0, image.width() / 2, image.height()); });
    const QImage wide = stripes(100, 10, {Qt::red, Qt::blue});
    const QImage output = ImageProcessorGroup({mirror, leftHalf}).process(wide);
    ASSERT_EQ(output.size(), QSize(50, 10));
    EXPECT_TRUE(near(output.pixelColor(10, 5), Qt::blue));
    const QImage reversed = ImageProcessorGroup({leftHalf, mirror}).process(wide);
    EXPECT_TRUE(near(reversed.pixelColor(10, 5), Qt::red));
}

// How many run at once is the queue's width, which WorkQueueTests checks.
TEST(ImageProcessingServiceImpl, RunsOffTheCallerOnItsQueue)
{
    ImageProcessingServiceImpl service;
    std::mutex mutex;
    std::condition_variable done;
    int completed = 0;
    std::atomic<bool> onCaller{false};
    const auto caller = std::this_thread::get_id();
    auto mirror = std::make_shared<ImageProcessorClosure>([](const QImage& image) { return image.mirrored(); });
    constexpr int operations = 12;
    const QImage input = bands(2, 2, Qt::red, Qt::blue);
    for (int i = 0; i < operations; ++i) {
        service.processImage(input, mirror, [&](const QImage& result) {
            if (std::this_thread::get_id() == caller || !service.queue().isCurrent())
                onCaller = true;
            EXPECT_TRUE(near(result.pixelColor(0, 0), Qt::blue));
            std::lock_guard lock(mutex);
            ++completed;
            done.notify_all();
        });
    }
    std::unique_lock lock(mutex);
    ASSERT_TRUE(done.wait_for(lock, std::chrono::seconds(20), [&] { return completed == operations; }));
    EXPECT_FALSE(onCaller);
}
