// One downloader on its own, with a small in-memory stand-in for the disk
// cache: the loading-state guards, cache hits that never touch the network,
// undecodable cached files, and per-handler processing.
#include "ImageTestSupport.h"
#include "LoaderTestSupport.h"

#include "RemoteImage/ImageLoader/FileDownloader.h"
#include "RemoteImage/ImageLoader/HttpSession.h"
#include "RemoteImage/Processing/ImageProcessingServiceImpl.h"
#include "RemoteImage/Processing/Resize.h"
#include "RemoteImage/RemoteFileCacheService.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace remoteimage;

using namespace ImageTestSupport;

namespace {

// Answers getFile with one fixed file (or nothing) and records deletions.
class FakeCache final : public RemoteFileCacheService {
public:
    std::optional<QUrl> file;
    std::atomic<int> lookups{0};
    std::mutex mutex;
    QStringList deleted;

    Result<QUrl> addFile(const QUrl&, const QUrl&, const std::optional<QDateTime>&,
                         const PreferredFileExtension&) override
    {
        return Result<QUrl>::failure("read-only");
    }
    Result<QUrl> createFile(const QUrl&, const QByteArray&, const std::optional<QDateTime>&,
                            const PreferredFileExtension&) override
    {
        return Result<QUrl>::failure("read-only");
    }
    void getFile(const QUrl&, GetFileCompletion completion) override
    {
        ++lookups;
        std::thread([completion, answer = file] { completion(answer); }).detach();
    }
    Result<void> deleteFile(const QString& fileName) override
    {
        std::lock_guard lock(mutex);
        deleted.append(fileName);
        return Result<void>::success();
    }
    void reset() override {}
    void clean() override {}
};

class DownloaderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        pngPath = dir.path() + "/cached.png";
        writeFile(pngPath, encode(noiseImage(40, 20), "PNG"));
        // Nothing listens on port 9 of the loopback: a started task fails.
        url = QUrl("http://127.0.0.1:9/logo.png");
        downloader = std::make_shared<FileDownloader>(url, session->downloadTask(QNetworkRequest(url)), &cache,
                                                      &processing);
        downloader->setCompletionCallback([this] { ++completionCallbacks; });
    }

    void TearDown() override { processing.waitForDone(); }

    std::shared_ptr<ImageLoadHandler> handler(Recorder& recorder, std::shared_ptr<const ImageProcessing> processor = {})
    {
        return std::make_shared<ImageLoadHandler>(ImageLoadHandler{std::move(processor), recorder.observer});
    }

    QTemporaryDir dir;
    QString pngPath;
    QUrl url;
    FakeCache cache;
    ImageProcessingServiceImpl processing;
    std::shared_ptr<HttpSession> session = HttpSession::create("test.queue", 1024 * 1024);
    std::shared_ptr<FileDownloader> downloader;
    std::atomic<int> completionCallbacks{0};
};

} // namespace

TEST_F(DownloaderTest, ProgrammingErrorsOnlyPrint)
{
    testing::internal::CaptureStdout();
    downloader->resume(0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Starting to load the image at http://127.0.0.1:9/logo.png but no handlers created\n");
    EXPECT_EQ(downloader->state(), LoadingState::initial);
    EXPECT_EQ(cache.lookups, 0);

    Recorder recorder;
    downloader->addHandler(handler(recorder));
    testing::internal::CaptureStdout();
    downloader->cancel();
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Cancelling loading the image at http://127.0.0.1:9/logo.png while some handlers are still attached\n");
    EXPECT_EQ(downloader->state(), LoadingState::initial);
}

TEST_F(DownloaderTest, CacheHitIsDeliveredWithoutTheNetworkEvenWithALongDelay)
{
    cache.file = QUrl::fromLocalFile(pngPath);
    Recorder plain, resized;
    downloader->addHandler(handler(plain));
    downloader->addHandler(handler(resized, std::make_shared<Resize>(QSizeF(10, 10), 1)));
    downloader->resume(3600);
    downloader->resume(3600); // already scheduled: nothing happens
    ASSERT_TRUE(waitUntil([&] { return plain.completionCount() == 1 && resized.completionCount() == 1; }));
    // Subscribers hear of the image just before the downloader calls itself finished.
    ASSERT_TRUE(waitUntil([&] { return completionCallbacks == 1; }));
    EXPECT_EQ(cache.lookups, 1);
    EXPECT_EQ(downloader->state(), LoadingState::finished);
    EXPECT_EQ(plain.completions()[0].image.size(), QSize(40, 20));
    EXPECT_EQ(resized.completions()[0].image.size(), QSize(10, 10));
    EXPECT_NE(plain.completions()[0].proxy, resized.completions()[0].proxy);
    EXPECT_FALSE(downloader->addHandlerIfJoinable(handler(plain)));
}

TEST_F(DownloaderTest, UndecodableCachedFileIsDeletedAndFetchedAgain)
{
    writeFile(dir.path() + "/broken.png", "<html>not a png</html>");
    cache.file = QUrl::fromLocalFile(dir.path() + "/broken.png");
    Recorder recorder;
    downloader->addHandler(handler(recorder));
    downloader->resume(0);
    // The task starts, finds nobody listening and fails.
    ASSERT_TRUE(waitUntil([&] { return downloader->state() == LoadingState::loading; }));
    {
        std::lock_guard lock(cache.mutex);
        EXPECT_EQ(cache.deleted, QStringList{"broken.png"});
    }
    downloader->complete(TaskError{TaskError::Code::Failed, "refused"});
    EXPECT_EQ(downloader->state(), LoadingState::failed);
    EXPECT_EQ(completionCallbacks, 1);
    EXPECT_EQ(recorder.completionCount(), 0u);
}

TEST_F(DownloaderTest, CancellingDuringTheDelayKeepsTheTaskFromStarting)
{
    Recorder recorder;
    const auto subscription = handler(recorder);
    downloader->addHandler(subscription);
    downloader->resume(0.2);
    ASSERT_TRUE(waitUntil([&] { return cache.lookups == 1; }));
    downloader->removeHandler(subscription);
    downloader->cancel();
    EXPECT_EQ(downloader->state(), LoadingState::cancelling);
    pumpEvents(400);
    // The session reports the never-started task cancelled; the service
    // forwards that as complete().
    downloader->complete(TaskError{TaskError::Code::Cancelled, "cancelled"});
    EXPECT_EQ(downloader->state(), LoadingState::cancelled);
    EXPECT_EQ(completionCallbacks, 1);
    // A late error changes nothing once cancelled.
    downloader->complete(TaskError{TaskError::Code::Failed, "late"});
    EXPECT_EQ(completionCallbacks, 1);
}
