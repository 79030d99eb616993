// The shared facade: one instance however many threads ask first, the cache
// in the user's caches directory, and a logo loaded through it.
#include "SanitizerDefaults.h"
#include "ImageTestSupport.h"
#include "LoaderTestSupport.h"
#include "Support/LocalHttpServer.h"

#include "RemoteImage/RemoteImageService.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <thread>
#include <vector>

using namespace remoteimage;

using namespace ImageTestSupport;

namespace {
QTemporaryDir* cacheHome = nullptr;

QString cacheDirectory()
{
    return QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + "/RemoteImage";
}
} // namespace

TEST(RemoteImageService, FirstAccessFromManyThreadsMakesOneInstance)
{
    std::vector<RemoteImageServiceType*> seen(8, nullptr);
    std::vector<std::thread> threads;
    for (size_t i = 0; i < seen.size(); ++i)
        threads.emplace_back([&seen, i] { seen[i] = &RemoteImageService::shared(); });
    for (auto& thread : threads)
        thread.join();
    for (RemoteImageServiceType* instance : seen)
        EXPECT_EQ(instance, &RemoteImageService::shared());

    ASSERT_TRUE(cacheDirectory().startsWith(cacheHome->path()));
    EXPECT_TRUE(QFile::exists(cacheDirectory() + "/filesCacheVersion"));
    EXPECT_TRUE(QDir(cacheDirectory() + "/files").exists());
}

TEST(RemoteImageService, LoadsThroughTheSharedServicesAndResetsTheCache)
{
    QTemporaryDir root;
    writeFile(root.path() + "/logo.png", encode(noiseImage(48, 48), "PNG"));
    LocalHttpServer server(root.path());
    ASSERT_TRUE(server.isRunning());

    RemoteImageServiceType& service = RemoteImageService::shared();
    ImageLoaderService& loader = service.services().imageLoaderService();
    const QNetworkRequest request(server.url("/logo.png"));
    Recorder recorder;
    loader.subscribe(request, false, nullptr, recorder.observer);
    loader.load(request, 0, QDateTime::currentDateTimeUtc().addSecs(qint64(service.defaultExpiryTime())));
    ASSERT_TRUE(waitUntil([&] { return recorder.completionCount() == 1; }));
    EXPECT_EQ(recorder.completions()[0].image.size(), QSize(48, 48));
    ASSERT_TRUE(waitUntil([] { return QDir(cacheDirectory() + "/files").entryList(QDir::Files).size() == 1; }));

    service.cleanFileCache(); // nothing expired: the file stays
    service.resetFileCache();
    ASSERT_TRUE(waitUntil([] { return QDir(cacheDirectory() + "/files").entryList(QDir::Files).isEmpty(); }));
}

int main(int argc, char** argv)
{
    // Before anything reads the standard paths.
    QTemporaryDir home;
    cacheHome = &home;
    qputenv("XDG_CACHE_HOME", home.path().toUtf8());
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    // The shared cache's index work ends with the application, before the
    // folder goes (the index thread once committed into a removed folder).
    return RUN_ALL_TESTS();
}
