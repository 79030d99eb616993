// The loader service end to end: real HTTP server on 127.0.0.1, real disk
// cache with its SQLite index, real decoding.
#include "ImageTestSupport.h"
#include "LoaderTestSupport.h"
#include "Support/LocalHttpServer.h"

#include "RemoteImage/ImageCache/RemoteFileCacheServiceImpl.h"
#include "RemoteImage/ImageLoader/ImageLoaderServiceImpl.h"
#include "RemoteImage/ImageLoader/IncrementalImageWrapper.h"
#include "RemoteImage/Processing/ImageProcessingServiceImpl.h"
#include "RemoteImage/Processing/Resize.h"

#include "Sqlite/Sqlite.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <set>
#include <unistd.h>

using namespace remoteimage;

using namespace ImageTestSupport;

namespace {

constexpr int logoSide = 256;

QImage logo() { return noiseImage(logoSide, logoSide, 11); }

class ImageLoaderTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        root = new QTemporaryDir;
        const QString dir = root->path();
        writeFile(dir + "/logo.png", encode(logo(), "PNG"));
        writeFile(dir + "/big.png", encode(noiseImage(400, 400, 2), "PNG"));
        writeFile(dir + "/page.png", "<html><body>Not an image</body></html>");
        writeFile(dir + "/bomb.png", pngBomb());
        writeFile(dir + "/bomb.jpg", jpegBomb());
        server = new LocalHttpServer(dir);
    }

    static void TearDownTestSuite()
    {
        delete server;
        delete root;
    }

    void SetUp() override
    {
        ASSERT_TRUE(server->isRunning());
        server->resetCounts();
        cacheBase = std::make_unique<QTemporaryDir>();
        startServices();
    }

    void TearDown() override { stopServices(); }

    void startServices()
    {
        cache = std::make_unique<RemoteFileCacheServiceImpl>("RemoteImage", QUrl::fromLocalFile(cacheBase->path() + "/"));
        processing = std::make_unique<ImageProcessingServiceImpl>();
        loader = std::make_unique<ImageLoaderServiceImpl>(cache.get(), processing.get());
    }

    void stopServices()
    {
        loader.reset();
        if (processing)
            processing->waitForDone();
        processing.reset();
        if (cache)
            cache->waitUntilIdle();
        cache.reset();
    }

    QNetworkRequest request(const QString& path) const { return QNetworkRequest(server->url(path)); }

    QStringList cachedFiles() const
    {
        return QDir(cacheBase->path() + "/RemoteImage/files").entryList(QDir::Files);
    }

    // The expiry dates the index holds for url (milliseconds since the epoch).
    std::vector<qint64> storedExpiryDates(const QUrl& url) const
    {
        std::vector<qint64> dates;
        sqlite::Connection db;
        if (db.open(cacheBase->path() + "/RemoteImage/files.db")) {
            sqlite::Statement query(db, "SELECT expiryDate FROM RemoteFile WHERE urlString = ?");
            query.bind(1, url.toString(QUrl::FullyEncoded));
            while (query.next())
                dates.push_back(query.int64(0));
        }
        return dates;
    }

    // Subscribes and loads one recorder; the usual call pair of a view.
    void fetch(Recorder& recorder, const QNetworkRequest& request, bool incremental = false,
               std::optional<QDateTime> expiry = QDateTime::currentDateTimeUtc().addDays(7),
               std::shared_ptr<const ImageProcessing> processor = nullptr)
    {
        loader->subscribe(request, incremental, std::move(processor), recorder.observer);
        loader->load(request, 0, expiry);
    }

    static inline QTemporaryDir* root = nullptr;
    static inline LocalHttpServer* server = nullptr;
    std::unique_ptr<QTemporaryDir> cacheBase;
    std::unique_ptr<RemoteFileCacheServiceImpl> cache;
    std::unique_ptr<ImageProcessingServiceImpl> processing;
    std::unique_ptr<ImageLoaderServiceImpl> loader;
};

} // namespace

TEST_F(ImageLoaderTest, SubscribersShareOneDownloadAndEachGetsItsOwnImage)
{
    const QNetworkRequest logoRequest = request("/logo.png");
    std::vector<Recorder> recorders(5);
    const auto resize = std::make_shared<Resize>(QSizeF(32, 32), 2);
    for (size_t i = 0; i < recorders.size(); ++i)
        loader->subscribe(logoRequest, false, i == 0 ? resize : nullptr, recorders[i].observer);
    // Expiry dates in an hour and in a day, in either order: the day wins.
    const QDateTime now = QDateTime::currentDateTimeUtc();
    loader->load(logoRequest, 0, now.addSecs(3600));
    loader->load(logoRequest, 0, now.addDays(1));
    loader->load(logoRequest, 0, now.addSecs(3600));
    loader->load(logoRequest, 0, std::nullopt);

    ASSERT_TRUE(waitUntil([&] {
        return std::all_of(recorders.begin(), recorders.end(), [](const Recorder& r) { return r.completionCount() == 1; });
    }));
    pumpEvents(100);
    EXPECT_EQ(server->requestCount("/logo.png"), 1);

    std::set<ImageProxy*> proxies;
    for (size_t i = 0; i < recorders.size(); ++i) {
        const auto completions = recorders[i].completions();
        ASSERT_EQ(completions.size(), 1u);
        proxies.insert(completions[0].proxy.get());
        EXPECT_EQ(completions[0].image.size(), i == 0 ? QSize(64, 64) : QSize(logoSide, logoSide));
        EXPECT_FALSE(recorders[i].progress().empty());
        EXPECT_EQ(recorders[i].progress().back(), 1.0f);
        EXPECT_FALSE(recorders[i].progressOffMain());
    }
    EXPECT_EQ(proxies.size(), recorders.size());
    EXPECT_EQ(recorders[1].completions()[0].image.convertToFormat(QImage::Format_RGB888), logo());

    cache->waitUntilIdle();
    const auto dates = storedExpiryDates(logoRequest.url());
    ASSERT_EQ(dates.size(), 1u);
    EXPECT_NEAR(dates[0], now.addDays(1).toMSecsSinceEpoch(), 1000);
    EXPECT_EQ(cachedFiles().size(), 1);
}

TEST_F(ImageLoaderTest, LastUnsubscribeCancelsAndTheNextSubscriptionStartsAgain)
{
    // 400×400 noise is about 480 KB: at 8 KB per 30 ms it takes almost two seconds.
    const QNetworkRequest slow = request("/big.png?chunk=8192&delay=0.03");
    Recorder first, second;
    loader->subscribe(slow, false, nullptr, first.observer);
    loader->subscribe(slow, false, nullptr, second.observer);
    loader->load(slow, 0, std::nullopt);
    ASSERT_TRUE(waitUntil([&] { return !second.progress().empty(); }));

    loader->unsubscribe(first.observer, slow);
    const size_t before = second.progress().size();
    ASSERT_TRUE(waitUntil([&] { return second.progress().size() > before + 2; }))
        << "the download stopped although a subscriber remained";

    loader->unsubscribe(second.observer, slow);
    pumpEvents(600);
    EXPECT_EQ(first.completionCount(), 0u);
    EXPECT_EQ(second.completionCount(), 0u);
    EXPECT_TRUE(cachedFiles().isEmpty());
    EXPECT_LT(second.progress().back().value_or(0), 1.0f);

    Recorder third;
    fetch(third, request("/big.png"));
    ASSERT_TRUE(waitUntil([&] { return third.completionCount() == 1; }));
    EXPECT_EQ(server->requestCount("/big.png"), 2);
}

TEST_F(ImageLoaderTest, SubscriberRightAfterAnEndedDownloadIsServedAndExpiredEntriesAreFetchedAgain)
{
    // Each round subscribes while the previous downloader may still wait for
    // its removal: the newcomer must get a working downloader, not a spent one.
    // The first round's entry has expired already: the second downloads again.
    const QNetworkRequest logoRequest = request("/logo.png");
    for (int round = 0; round < 20; ++round) {
        Recorder recorder;
        const QDateTime now = QDateTime::currentDateTimeUtc();
        fetch(recorder, logoRequest, false, round == 0 ? now.addSecs(-60) : now.addDays(7));
        ASSERT_TRUE(waitUntil([&] { return recorder.completionCount() == 1; })) << "round " << round;
        loader->unsubscribe(recorder.observer, logoRequest);
        if (round == 0)
            cache->waitUntilIdle();
    }
    EXPECT_EQ(server->requestCount("/logo.png"), 2);
}

TEST_F(ImageLoaderTest, HostileAnswersAreNeitherCachedNorDelivered)
{
    const qint64 logoSize = encode(logo(), "PNG").size();
    const QStringList hostile = {
        "/page.png",                                                    // not an image
        "/page.png?type=text/html&status=404",                          // HTML error page
        "/logo.png?status=404",                                         // an image, but with 404
        "/logo.png?status=500",
        QString("/logo.png?truncate=%1").arg(logoSize / 2),             // cut off
        QString("/logo.png?chunk=4096&delay=0.02&truncate=%1").arg(logoSize * 3 / 4), // slow, then cut off
        "/missing.png",                                                 // 404 page
        "/bomb.png",                                                    // 30000×30000 header
        "/bomb.jpg",                                                    // 65000×65000 header
        "/__body/52428801",                                             // over 50 MB
        "/__body/0",                                                    // empty body
    };
    int round = 0;
    for (bool incremental : {false, true}) {
        for (const QString& hostilePath : hostile) {
            SCOPED_TRACE((incremental ? "incremental " : "file ") + hostilePath.toStdString());
            // Each round counts its own requests: a cancelled request of an
            // earlier round to the same file may still reach the server late.
            const QString tag = QStringLiteral("round%1").arg(++round);
            const QString path = hostilePath + (hostilePath.contains('?') ? "&tag=" : "?tag=") + tag;
            const QString countKey = "#" + tag;
            Recorder recorder;
            fetch(recorder, request(path), incremental);
            // The failed download has ended once a new subscription starts a
            // new request instead of joining it or finding a cached file.
            // Qt may itself send a request again when the server closes the
            // connection early, so count from what the first download left.
            ASSERT_TRUE(waitUntil([&] { return server->requestCount(countKey) >= 1; }));
            pumpEvents(300);
            const int firstRequests = server->requestCount(countKey);
            bool secondRequest = false;
            Recorder again;
            for (int attempt = 0; attempt < 100 && !secondRequest; ++attempt) {
                pumpEvents(50);
                loader->unsubscribe(again.observer, request(path));
                loader->waitForQueue();
                fetch(again, request(path), incremental);
                secondRequest = waitUntil([&] { return server->requestCount(countKey) > firstRequests; }, 300);
            }
            EXPECT_TRUE(secondRequest);
            loader->unsubscribe(again.observer, request(path));
            pumpEvents(200); // lets a cancelled request settle
            EXPECT_EQ(recorder.completionCount(), 0u);
            EXPECT_EQ(again.completionCount(), 0u);
            for (const auto& partial : recorder.partials())
                EXPECT_TRUE(partial.image.isNull() || partial.image.width() < 30000);
            EXPECT_TRUE(cachedFiles().isEmpty()) << cachedFiles().join(",").toStdString();
        }
    }
}

TEST_F(ImageLoaderTest, OnlyHttpAddressesAreFetched)
{
    // A catalogue could name a local file; it must not end up on screen.
    for (bool incremental : {false, true}) {
        const QNetworkRequest local(QUrl::fromLocalFile(root->path() + "/logo.png"));
        Recorder recorder;
        fetch(recorder, local, incremental);
        pumpEvents(300);
        EXPECT_EQ(recorder.completionCount(), 0u);
        EXPECT_TRUE(recorder.partials().empty());
    }
    EXPECT_TRUE(cachedFiles().isEmpty());
}

TEST_F(ImageLoaderTest, IncrementalPngGrowsThenCompletesAsTheSameObject)
{
    const QImage source = noiseImage(400, 400, 2);
    const QNetworkRequest slow = request("/big.png?chunk=32768&delay=0.05");
    Recorder recorder;
    fetch(recorder, slow, true);
    ASSERT_TRUE(waitUntil([&] { return recorder.completionCount() == 1; }));

    const auto partials = recorder.partials();
    ASSERT_GE(partials.size(), 4u);
    EXPECT_FALSE(recorder.partialOffMain());
    const auto completion = recorder.completions()[0];
    EXPECT_TRUE(completion.onMainThread);
    int previousRows = -1;
    int growing = 0;
    for (const auto& partial : partials) {
        EXPECT_EQ(partial.proxy, completion.proxy);
        const int rows = matchingRows(partial.image, source);
        EXPECT_GE(rows, previousRows);
        growing += rows > previousRows && rows < source.height();
        previousRows = rows;
    }
    EXPECT_GE(growing, 2) << "partial images did not grow";
    EXPECT_EQ(completion.image.convertToFormat(QImage::Format_RGB888), source);
    auto* wrapper = dynamic_cast<IncrementalImageWrapper*>(completion.proxy.get());
    ASSERT_NE(wrapper, nullptr);
    EXPECT_TRUE(wrapper->isFinal());
    EXPECT_EQ(wrapper->imageSourceType(), QString("public.png"));
    EXPECT_TRUE(recorder.progress().empty());
    cache->waitUntilIdle();
    EXPECT_EQ(cachedFiles().size(), 1);
    EXPECT_TRUE(cachedFiles().first().endsWith(".png"));
}

TEST_F(ImageLoaderTest, FirstSubscriberChoosesTheKind)
{
    const QNetworkRequest logoRequest = request("/logo.png?chunk=16384&delay=0.01");
    Recorder incremental, plain;
    loader->subscribe(logoRequest, true, nullptr, incremental.observer);
    loader->subscribe(logoRequest, false, nullptr, plain.observer);
    loader->load(logoRequest, 0, QDateTime::currentDateTimeUtc().addDays(1));
    ASSERT_TRUE(waitUntil([&] { return incremental.completionCount() == 1 && plain.completionCount() == 1; }));
    EXPECT_FALSE(plain.partials().empty());
    EXPECT_EQ(plain.completions()[0].proxy, incremental.completions()[0].proxy);
    EXPECT_EQ(server->requestCount("/logo.png"), 1);
}
