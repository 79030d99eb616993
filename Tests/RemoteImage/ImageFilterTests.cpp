// The libvips filter processor: allowlist, parameters, the three failure
// messages and real pixel results.
#include "RemoteImage/Processing/Filter/VipsFilterProcessor.h"

#include <QPainter>
#include <gtest/gtest.h>

#include <thread>
#include <vector>

using namespace remoteimage;

namespace {

QImage twoColours()
{
    QImage image(40, 20, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.fillRect(0, 0, 20, 20, QColor(10, 20, 30));
    painter.fillRect(20, 0, 20, 20, QColor(200, 100, 50));
    return image;
}

// Runs the processor and returns (result, what it printed).
std::pair<QImage, std::string> run(const VipsFilterProcessor& processor, const QImage& input)
{
    testing::internal::CaptureStdout();
    QImage result = processor.process(input);
    return {result, testing::internal::GetCapturedStdout()};
}

} // namespace

// Names unknown to anyone, real libvips operations that touch files or
// programs, parameters that are not plain values, a missing required one:
// each prints its message and returns the input.
TEST(VipsFilterProcessor, RefusedFiltersPrintAndReturnTheInput)
{
    const std::string notCreated = "Can not create Core Image filter: '";
    const struct {
        const char* name;
        QVariantMap parameters;
        std::string printed;
    } cases[] = {
        {"CISepiaTone", {}, notCreated + "CISepiaTone'\n"},
        {"system", {}, notCreated + "system'\n"},
        {"vipsload", {}, notCreated + "vipsload'\n"},
        {"pngsave", {}, notCreated + "pngsave'\n"},
        {"matrixload", {}, notCreated + "matrixload'\n"},
        {"", {}, notCreated + "'\n"},
        {"gaussblur", {{"in", "/etc/passwd"}}, notCreated + "gaussblur'\n"},
        {"gaussblur", {{"no_such_parameter", 1}}, notCreated + "gaussblur'\n"},
        {"gaussblur", {{"sigma", "not a number"}}, notCreated + "gaussblur'\n"},
        {"gaussblur", {}, "Failed to create output image with Core Image filter: 'gaussblur'\n"},
    };
    const QImage input = twoColours();
    for (const auto& c : cases) {
        const auto [result, printed] = run(VipsFilterProcessor(QString::fromLatin1(c.name), c.parameters), input);
        EXPECT_EQ(printed, c.printed);
        EXPECT_EQ(result.cacheKey(), input.cacheKey()) << c.name;
    }
}

// Results keep the input's size and are opaque RGBA.
TEST(VipsFilterProcessor, FiltersChangePixels)
{
    const QImage input = twoColours();
    const auto [inverted, printed] = run(VipsFilterProcessor("invert"), input);
    EXPECT_EQ(printed, "");
    ASSERT_EQ(inverted.size(), input.size());
    EXPECT_EQ(inverted.pixelColor(5, 5), QColor(245, 235, 225));
    EXPECT_EQ(inverted.pixelColor(35, 5), QColor(55, 155, 205));

    const QImage flipped = VipsFilterProcessor("flip", {{"direction", "horizontal"}}).process(input);
    EXPECT_EQ(flipped.pixelColor(5, 5), QColor(200, 100, 50));
    EXPECT_EQ(flipped.pixelColor(35, 5), QColor(10, 20, 30));

    // A blur mixes the two halves along their border.
    const QImage blurred = VipsFilterProcessor("gaussblur", {{"sigma", 3.0}}).process(input);
    ASSERT_EQ(blurred.size(), input.size());
    EXPECT_GT(blurred.pixelColor(19, 10).red(), 10);
    EXPECT_LT(blurred.pixelColor(19, 10).red(), 200);

    // Rotating a 40×20 image gives 20×40; the result covers the input's rectangle.
    const QImage rotated = VipsFilterProcessor("rot", {{"angle", "d90"}}).process(input);
    EXPECT_EQ(rotated.size(), input.size());
    EXPECT_EQ(rotated.format(), QImage::Format_RGBA8888);
    // One-band results become grey RGBA.
    const QImage edges = VipsFilterProcessor("colourspace", {{"space", "b-w"}}).process(input);
    EXPECT_EQ(edges.size(), input.size());
    const QColor grey = edges.pixelColor(5, 5);
    EXPECT_EQ(grey.red(), grey.green());
    EXPECT_EQ(grey.alpha(), 255);
}

TEST(VipsFilterProcessor, OneProcessorServesSeveralThreads)
{
    const VipsFilterProcessor invert("invert");
    const QImage input = twoColours();
    std::vector<std::thread> threads;
    std::vector<QImage> results(4);
    for (int i = 0; i < 4; ++i)
        threads.emplace_back([&, i] {
            for (int k = 0; k < 10; ++k)
                results[static_cast<size_t>(i)] = invert.process(input);
        });
    for (auto& thread : threads)
        thread.join();
    for (const QImage& result : results)
        EXPECT_EQ(result.pixelColor(5, 5), QColor(245, 235, 225));
}
