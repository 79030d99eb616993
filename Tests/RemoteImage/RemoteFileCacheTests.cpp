#include "RemoteImage/ImageCache/RemoteFileCacheServiceImpl.h"
#include "RemoteImage/Version.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <memory>
#include <thread>

using namespace remoteimage;

namespace {

const QUrl logoURL(QStringLiteral("https://example.org/logos/station.png"));
const QByteArray logoBytes("pretend these are PNG bytes");

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

class RemoteFileCacheTest : public ::testing::Test {
protected:
    std::unique_ptr<RemoteFileCacheServiceImpl> open()
    {
        return std::make_unique<RemoteFileCacheServiceImpl>(QStringLiteral("RemoteImage"),
                                                            QUrl::fromLocalFile(base.path() + QLatin1Char('/')));
    }

    QString cachePath(const QString& relative = {}) const
    {
        return QDir(base.filePath(QStringLiteral("RemoteImage"))).filePath(relative);
    }

    static std::optional<QUrl> get(RemoteFileCacheServiceImpl& cache, const QUrl& url)
    {
        std::promise<std::optional<QUrl>> answer;
        cache.getFile(url, [&](std::optional<QUrl> file) { answer.set_value(std::move(file)); });
        return answer.get_future().get();
    }

    QUrl store(RemoteFileCacheServiceImpl& cache, const QUrl& url, const std::optional<QDateTime>& expiry)
    {
        const auto result = cache.createFile(url, logoBytes, expiry, {});
        EXPECT_TRUE(result) << result.error().toStdString();
        return result ? result.value() : QUrl();
    }

    QStringList cachedFiles() const { return QDir(cachePath(QStringLiteral("files"))).entryList(QDir::Files); }

    QTemporaryDir base;
    const QDateTime now = QDateTime::currentDateTimeUtc();
};

} // namespace

TEST(CachedFileName, TakesOnlyShortAlphanumericExtensions)
{
    const QRegularExpression uuid(QStringLiteral("^[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}\\."));
    int asked = 0;
    const RemoteFileCacheService::PreferredFileExtension preferJpeg = [&] {
        ++asked;
        return std::optional<QString>(QStringLiteral("jpeg"));
    };
    auto extension = [&](const char* url, const RemoteFileCacheService::PreferredFileExtension& preferred) {
        const QString name = RemoteFileCacheServiceImpl::makeFileName(QUrl(QString::fromLatin1(url)), preferred);
        EXPECT_TRUE(uuid.match(name).hasMatch()) << name.toStdString();
        return name.section(QLatin1Char('.'), 1);
    };

    EXPECT_EQ(extension("https://x.org/a/logo.png", preferJpeg), QStringLiteral("png"));
    EXPECT_EQ(asked, 0) << "the preferred extension is computed only when needed";
    EXPECT_EQ(extension("https://x.org/a/logo.tar.gz?v=2", preferJpeg), QStringLiteral("gz"));
    EXPECT_EQ(extension("https://x.org/a/logo", preferJpeg), QStringLiteral("jpeg"));
    EXPECT_EQ(extension("https://x.org/a/logo", {}), QStringLiteral("file"));
    EXPECT_EQ(extension("https://x.org/a/logo", [] { return std::optional<QString>(); }), QStringLiteral("file"));
    // Too long, not alphanumeric, or trying to leave the directory.
    EXPECT_EQ(extension("https://x.org/a/logo.svgzzz", preferJpeg), QStringLiteral("jpeg"));
    EXPECT_EQ(extension("https://x.org/a/logo.p%20g", preferJpeg), QStringLiteral("jpeg"));
    EXPECT_EQ(extension("https://x.org/a/logo.a%2F..%2F..%2Fx", preferJpeg), QStringLiteral("jpeg"));
    EXPECT_EQ(extension("https://x.org/a/logo.h%C3%A9", preferJpeg), QStringLiteral("jpeg"));
    EXPECT_EQ(extension("https://x.org/a/logo", [] { return std::optional<QString>(QStringLiteral("../x")); }),
              QStringLiteral("file"));
}

TEST_F(RemoteFileCacheTest, FirstStartCreatesTheLayout)
{
    open().reset();
    EXPECT_TRUE(QFileInfo(cachePath(QStringLiteral("files"))).isDir());
    EXPECT_TRUE(QFileInfo::exists(cachePath(QStringLiteral("files.db"))));
    // The version file keeps its keyed form.
    EXPECT_EQ(QJsonDocument::fromJson(readFile(cachePath(QStringLiteral("filesCacheVersion")))).object(),
              (QJsonObject{{"major", 1}, {"minor", 0}, {"patch", 0}}));
}

TEST_F(RemoteFileCacheTest, StoredFilesAreFoundAgainAfterARestart)
{
    QUrl created, added;
    const QUrl other(QStringLiteral("https://example.org/other"));
    {
        auto cache = open();
        created = store(*cache, logoURL, now.addDays(7));
        EXPECT_EQ(readFile(created.toLocalFile()), logoBytes);
        EXPECT_EQ(QFileInfo(created.toLocalFile()).dir().absolutePath(),
                  QDir(cachePath(QStringLiteral("files"))).absolutePath());

        const QString source = base.filePath(QStringLiteral("download.tmp"));
        writeFile(source, "downloaded");
        const auto result = cache->addFile(other, QUrl::fromLocalFile(source), now.addDays(7),
                                           [] { return std::optional<QString>(QStringLiteral("gif")); });
        ASSERT_TRUE(result);
        added = result.value();
        EXPECT_TRUE(added.toLocalFile().endsWith(QLatin1String(".gif")));
        EXPECT_EQ(get(*cache, logoURL), created);
    }
    auto cache = open();
    EXPECT_EQ(get(*cache, logoURL), created);
    EXPECT_EQ(get(*cache, other), added);
    EXPECT_EQ(readFile(added.toLocalFile()), QByteArray("downloaded"));
    EXPECT_FALSE(get(*cache, QUrl(QStringLiteral("https://example.org/never"))));
}

TEST_F(RemoteFileCacheTest, FailedCopyRecordsNothing)
{
    auto cache = open();
    const auto result =
        cache->addFile(logoURL, QUrl::fromLocalFile(base.filePath(QStringLiteral("missing"))), now.addDays(1), {});
    EXPECT_FALSE(result);
    EXPECT_FALSE(result.error().isEmpty());
    EXPECT_FALSE(get(*cache, logoURL));
    EXPECT_TRUE(cachedFiles().isEmpty());
}

TEST_F(RemoteFileCacheTest, ExpiredEntriesAreNotAnsweredAndTheirFilesGo)
{
    auto cache = open();
    const QUrl file = store(*cache, logoURL, now);
    EXPECT_FALSE(get(*cache, logoURL)) << "expiring now counts as expired";
    cache->waitUntilIdle();
    EXPECT_FALSE(QFile::exists(file.toLocalFile()));
    EXPECT_TRUE(cachedFiles().isEmpty());

    // clean() finds them without being asked for them.
    const QUrl fresh(QStringLiteral("https://example.org/fresh.png"));
    const QUrl staleFile = store(*cache, logoURL, now.addSecs(-5));
    const QUrl freshFile = store(*cache, fresh, now.addDays(1));
    cache->clean();
    cache->waitUntilIdle();
    EXPECT_FALSE(QFile::exists(staleFile.toLocalFile()));
    EXPECT_EQ(get(*cache, fresh), freshFile);
}

class RemoteFileCacheVersionTest : public RemoteFileCacheTest,
                                   public ::testing::WithParamInterface<std::pair<const char*, bool>> {};

TEST_P(RemoteFileCacheVersionTest, VersionFileDecidesWhetherTheCacheIsKept)
{
    const auto [content, kept] = GetParam();
    {
        auto cache = open();
        store(*cache, logoURL, now.addDays(7));
    }
    if (content)
        writeFile(cachePath(QStringLiteral("filesCacheVersion")), content);
    else
        QFile::remove(cachePath(QStringLiteral("filesCacheVersion")));
    auto cache = open();
    EXPECT_EQ(get(*cache, logoURL).has_value(), kept) << (content ? content : "no file");
    EXPECT_EQ(cachedFiles().size(), kept ? 1 : 0);
    EXPECT_EQ(Version::fromJson(readFile(cachePath(QStringLiteral("filesCacheVersion")))), Version(1, 0, 0))
        << "the current version is written on every start";
}

INSTANTIATE_TEST_SUITE_P(
    Contents, RemoteFileCacheVersionTest,
    ::testing::Values(std::pair{R"({"major":0,"minor":9,"patch":0})", false}, std::pair{"garbage", false},
                      std::pair{"", false}, std::pair{"[1, 0, 0]", false}, std::pair{"1.0.0", false},
                      std::pair{R"({"major":1,"minor":0})", false},
                      std::pair{R"({"major":1,"minor":"0","patch":0})", false},
                      std::pair{R"({"major":1.5,"minor":0,"patch":0})", false},
                      std::pair{static_cast<const char*>(nullptr), false},
                      std::pair{R"({"patch":0,"major":1,"minor":0})", true},
                      std::pair{R"({"major":1,"minor":99,"patch":0})", true},
                      std::pair{R"({"major":2,"minor":3,"patch":4})", true}));

TEST_F(RemoteFileCacheTest, CorruptIndexDoesNotCrashAndTheCacheRecovers)
{
    {
        auto cache = open();
        store(*cache, logoURL, now.addDays(7));
    }
    QByteArray garbage(8192, '\0');
    for (int i = 0; i < garbage.size(); ++i)
        garbage[i] = char((i * 151) ^ (i >> 3));
    writeFile(cachePath(QStringLiteral("files.db")), garbage);

    testing::internal::CaptureStdout();
    auto cache = open();
    const std::string output = testing::internal::GetCapturedStdout();
    EXPECT_NE(output.find("files.db"), std::string::npos) << output;
    EXPECT_FALSE(get(*cache, logoURL));
    EXPECT_TRUE(cachedFiles().isEmpty()) << "files the lost index named are not left behind";

    const QUrl file = store(*cache, logoURL, now.addDays(7));
    EXPECT_EQ(get(*cache, logoURL), file);
}

TEST_F(RemoteFileCacheTest, DeleteRemovesTheRecordEvenWhenTheFileIsGone)
{
    auto cache = open();
    const QUrl file = store(*cache, logoURL, now.addDays(1));
    const QString name = QFileInfo(file.toLocalFile()).fileName();
    QFile::remove(file.toLocalFile());
    EXPECT_FALSE(cache->deleteFile(name));
    EXPECT_FALSE(get(*cache, logoURL));

    const QUrl second = store(*cache, logoURL, now.addDays(1));
    EXPECT_TRUE(cache->deleteFile(QFileInfo(second.toLocalFile()).fileName()));
    EXPECT_FALSE(QFile::exists(second.toLocalFile()));

    writeFile(base.filePath(QStringLiteral("outside")), "keep");
    EXPECT_FALSE(cache->deleteFile(QStringLiteral("../../outside")));
    EXPECT_TRUE(QFile::exists(base.filePath(QStringLiteral("outside"))));
}

TEST_F(RemoteFileCacheTest, ResetEmptiesTheCacheWhichThenWorksAsBefore)
{
    auto cache = open();
    const QUrl file = store(*cache, logoURL, now.addDays(1));
    cache->reset();
    EXPECT_FALSE(get(*cache, logoURL));
    EXPECT_FALSE(QFile::exists(file.toLocalFile()));
    const QUrl again = store(*cache, logoURL, now.addDays(1));
    EXPECT_EQ(get(*cache, logoURL), again);
    cache.reset();
    // reset() leaves no version file, so the next start begins empty again.
    EXPECT_FALSE(get(*open(), logoURL));
}

TEST_F(RemoteFileCacheTest, ConcurrentUseWithResetsAndCleansStaysConsistent)
{
    auto cache = open();
    std::atomic<int> answered{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 3; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 40; ++i) {
                const QUrl url(QStringLiteral("https://example.org/%1/%2.png").arg(t).arg(i % 5));
                cache->createFile(url, logoBytes, i % 3 ? now.addDays(1) : now.addSecs(-1), {});
                cache->getFile(url, [&](std::optional<QUrl> file) {
                    // An answered file belongs to the cache (it may be gone
                    // by now through a concurrent reset).
                    if (file) {
                        EXPECT_TRUE(file->toLocalFile().startsWith(cachePath(QStringLiteral("files"))));
                    }
                    ++answered;
                });
                if (i % 13 == 0)
                    cache->reset();
                if (i % 7 == 0)
                    cache->clean();
            }
        });
    }
    for (auto& thread : threads)
        thread.join();
    cache->waitUntilIdle();
    EXPECT_EQ(answered.load(), 120);
}
