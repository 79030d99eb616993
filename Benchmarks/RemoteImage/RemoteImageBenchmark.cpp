// Measures the image loader against the local HTTP server on 127.0.0.1:
//   1. 100 subscribers to one URL: requests the server saw (must be 1);
//   2. a cache hit from subscribe to completion for a 256×256 PNG, next to a
//      plain gdk-pixbuf decode of the same file (target: at most 2×);
//   3. 500 distinct logos at once: total time and peak resident memory.
// Usage: RemoteImageBenchmark [iterations-for-cache-hits]
#include "RemoteImage/ImageTestSupport.h"
#include "RemoteImage/LoaderTestSupport.h"
#include "Support/LocalHttpServer.h"

#include "RemoteImage/ImageCache/RemoteFileCacheServiceImpl.h"
#include "RemoteImage/ImageLoader/ImageLoaderServiceImpl.h"
#include "RemoteImage/Processing/ImageProcessingServiceImpl.h"
#include "RemoteImage/Utils/GdkPixbuf.h"
#include "RemoteImage/Utils/ImageFile.h"

#include <QDir>
#include <QFile>
#include <QCoreApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <cstdio>
#include <vector>

using namespace remoteimage;

using namespace ImageTestSupport;
using Clock = std::chrono::steady_clock;

namespace {

double milliseconds(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// Peak resident set size so far, in MB (VmHWM).
double peakRssMegabytes()
{
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return -1;
}

struct Stack {
    explicit Stack(const QString& base)
        : cache("RemoteImage", QUrl::fromLocalFile(base + "/"))
        , loader(&cache, &processing)
    {
    }
    RemoteFileCacheServiceImpl cache;
    ImageProcessingServiceImpl processing;
    ImageLoaderServiceImpl loader;
};

QDateTime nextWeek() { return QDateTime::currentDateTimeUtc().addDays(7); }

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int iterations = argc > 1 ? std::max(1, atoi(argv[1])) : 200;

    QTemporaryDir root, cacheBase;
    const QString logoPath = root.path() + "/logo.png";
    writeFile(logoPath, encode(noiseImage(256, 256, 1), "PNG"));
    constexpr int logoCount = 500;
    for (int i = 0; i < logoCount; ++i)
        writeFile(root.path() + QString("/logo-%1.png").arg(i), encode(noiseImage(96, 96, 100 + i), "PNG"));
    LocalHttpServer server(root.path());
    if (!server.isRunning()) {
        std::printf("could not start the HTTP server\n");
        return 1;
    }
    Stack services(cacheBase.path());
    ImageLoaderServiceImpl& loader = services.loader;
    const double rssAtStart = peakRssMegabytes();

    // 1. One hundred subscribers, one download.
    {
        const QNetworkRequest request(server.url("/logo.png"));
        std::vector<Recorder> recorders(100);
        const auto start = Clock::now();
        for (auto& recorder : recorders)
            loader.subscribe(request, false, nullptr, recorder.observer);
        for (size_t i = 0; i < recorders.size(); ++i)
            loader.load(request, 0, nextWeek());
        const bool done = waitUntil([&] {
            return std::all_of(recorders.begin(), recorders.end(), [](const Recorder& r) { return r.completionCount() == 1; });
        }, 30000);
        const double elapsed = milliseconds(Clock::now() - start);
        std::printf("shared download: 100 subscribers, %d request(s) seen (must be 1), all completed: %s, %.1f ms\n",
                    server.requestCount("/logo.png"), done ? "yes" : "NO", elapsed);
        for (auto& recorder : recorders)
            loader.unsubscribe(recorder.observer, request);
        loader.waitForQueue();
        services.cache.waitUntilIdle();
    }

    // 2. Cache hits next to a plain decode of the same file.
    {
        const QString cachedFile = QDir(cacheBase.path() + "/RemoteImage/files").entryList(QDir::Files).value(0);
        const QString cachedPath = cacheBase.path() + "/RemoteImage/files/" + cachedFile;
        std::vector<double> decodes, ownDecodes, hits;
        for (int i = 0; i < iterations; ++i) {
            auto start = Clock::now();
            GdkPixbuf* pixbuf = gdk_pixbuf_new_from_file(cachedPath.toUtf8().constData(), nullptr);
            decodes.push_back(milliseconds(Clock::now() - start));
            if (pixbuf)
                g_object_unref(pixbuf);
            start = Clock::now();
            const QImage image = createImage(QUrl::fromLocalFile(cachedPath));
            ownDecodes.push_back(milliseconds(Clock::now() - start));
        }
        const QNetworkRequest request(server.url("/logo.png"));
        server.resetCounts();
        for (int i = 0; i < iterations; ++i) {
            // Cache hits complete off the main thread: wait on the callback
            // itself, not by polling the event loop.
            std::mutex mutex;
            std::condition_variable completed;
            Clock::time_point end;
            bool done = false;
            auto observer = std::make_shared<ImageLoaderObserver>(nullptr, nullptr, [&](const std::shared_ptr<ImageProxy>&) {
                std::lock_guard lock(mutex);
                end = Clock::now();
                done = true;
                completed.notify_all();
            });
            const auto start = Clock::now();
            loader.subscribe(request, false, nullptr, observer);
            loader.load(request, 0, nextWeek());
            std::unique_lock lock(mutex);
            if (!completed.wait_for(lock, std::chrono::seconds(10), [&] { return done; })) {
                std::printf("cache hit: no completion\n");
                return 1;
            }
            hits.push_back(milliseconds(end - start));
            lock.unlock();
            loader.unsubscribe(observer, request);
            loader.waitForQueue();
        }
        const double decode = median(decodes), hit = median(hits);
        std::printf("cache hit, 256x256 PNG: median %.3f ms; plain gdk-pixbuf decode "
                    "(gdk_pixbuf_new_from_file): median %.3f ms; ratio %.2fx (target <= 2x); "
                    "the library's own file decode: median %.3f ms; network requests during hits: %d\n",
                    hit, decode, hit / decode, median(ownDecodes), server.requestCount("/logo.png"));
    }

    // 3. Five hundred distinct logos at once.
    {
        std::vector<Recorder> recorders(logoCount);
        const auto start = Clock::now();
        for (int i = 0; i < logoCount; ++i) {
            const QNetworkRequest request(server.url(QString("/logo-%1.png").arg(i)));
            loader.subscribe(request, false, nullptr, recorders[size_t(i)].observer);
            loader.load(request, 0, nextWeek());
        }
        const bool done = waitUntil([&] {
            return std::all_of(recorders.begin(), recorders.end(), [](const Recorder& r) { return r.completionCount() == 1; });
        }, 120000);
        const double elapsed = milliseconds(Clock::now() - start);
        services.cache.waitUntilIdle();
        std::printf("500 distinct 96x96 logos: all completed: %s, %.0f ms total (%.2f ms each), "
                    "peak RSS %.1f MB (%.1f MB before the benchmark)\n",
                    done ? "yes" : "NO", elapsed, elapsed / logoCount, peakRssMegabytes(), rssAtStart);
    }
    return 0;
}
