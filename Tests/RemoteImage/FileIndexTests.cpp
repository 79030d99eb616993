#include "RemoteImage/ImageCache/FileIndex.h"
#include "Sqlite/Sqlite.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <future>
#include <memory>

using namespace remoteimage;

namespace {

const QUrl logoURL(QStringLiteral("https://example.org/logos/one.png"));

class FileIndexTest : public ::testing::Test {
protected:
    std::unique_ptr<FileIndex> open()
    {
        return std::make_unique<FileIndex>(QUrl::fromLocalFile(dir.path()), QStringLiteral("files"),
                                           QStringLiteral("db"));
    }

    static std::optional<FileIndex::FileInfo> lookup(FileIndex& index, const QUrl& url)
    {
        std::promise<std::optional<FileIndex::FileInfo>> answer;
        index.fileInfo(url, [&](std::optional<FileIndex::FileInfo> info) { answer.set_value(std::move(info)); });
        return answer.get_future().get();
    }

    // Reads the store file with a connection of its own.
    QStringList sqliteMaster(const QString& type)
    {
        QStringList names;
        sqlite::Connection db;
        EXPECT_TRUE(db.open(dir.filePath(QStringLiteral("files.db"))));
        sqlite::Statement query(db, QStringLiteral("SELECT name FROM sqlite_master WHERE type = ? ORDER BY name"));
        query.bind(1, type);
        while (query.next())
            names.append(query.text(0));
        EXPECT_FALSE(query.failed()) << query.error().message.toStdString();
        return names;
    }

    QTemporaryDir dir;
    const QDateTime now = QDateTime::currentDateTimeUtc();
};

} // namespace

TEST_F(FileIndexTest, StoresTheRemoteFileEntityWithItsIndexes)
{
    open().reset();
    EXPECT_EQ(sqliteMaster(QStringLiteral("table")), QStringList{QStringLiteral("RemoteFile")});
    EXPECT_EQ(sqliteMaster(QStringLiteral("index")),
              (QStringList{QStringLiteral("RemoteFile_byFileName"), QStringLiteral("RemoteFile_byURLString")}));
}

TEST_F(FileIndexTest, AnswersStoredRecordsAndNothingForUnknownURLs)
{
    auto index = open();
    EXPECT_FALSE(lookup(*index, logoURL));
    index->insertOrUpdate(logoURL, QStringLiteral("A.png"), now, now.addDays(7));
    const auto info = lookup(*index, logoURL);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->urlString, logoURL.toString());
    EXPECT_EQ(info->fileName, QStringLiteral("A.png"));
    EXPECT_EQ(info->dateCreated.toMSecsSinceEpoch(), now.toMSecsSinceEpoch());
    ASSERT_TRUE(info->expiryDate);
    EXPECT_EQ(info->expiryDate->toMSecsSinceEpoch(), now.addDays(7).toMSecsSinceEpoch());
    EXPECT_FALSE(lookup(*index, QUrl(QStringLiteral("https://example.org/logos/two.png"))));
}

TEST_F(FileIndexTest, NewestRecordForAURLWins)
{
    auto index = open();
    // Inserted out of date order: the latest dateCreated wins over the latest insert.
    index->insertOrUpdate(logoURL, QStringLiteral("newer.png"), now, now.addDays(7));
    index->insertOrUpdate(logoURL, QStringLiteral("older.png"), now.addSecs(-60), now.addSecs(-1));
    EXPECT_EQ(lookup(*index, logoURL)->fileName, QStringLiteral("newer.png"));
    // Same moment: the later insert wins.
    index->insertOrUpdate(logoURL, QStringLiteral("latest.png"), now, now.addDays(7));
    EXPECT_EQ(lookup(*index, logoURL)->fileName, QStringLiteral("latest.png"));
}

TEST_F(FileIndexTest, RecordsAndDeletionsSurviveReopening)
{
    const QUrl other(QStringLiteral("https://example.org/b.jpg"));
    {
        auto index = open();
        index->insertOrUpdate(logoURL, QStringLiteral("A.png"), now, now.addDays(7));
        index->insertOrUpdate(other, QStringLiteral("B.jpg"), now, now.addDays(7));
        index->removeFileInfo(QStringLiteral("A.png"));
        EXPECT_FALSE(lookup(*index, logoURL)) << "a removal is seen at once";
    }
    // No insert came after the removal, yet it was saved.
    auto index = open();
    EXPECT_FALSE(lookup(*index, logoURL));
    EXPECT_TRUE(lookup(*index, other));
}

TEST_F(FileIndexTest, RecordWithoutExpiryDateIsRefused)
{
    auto index = open();
    testing::internal::CaptureStdout();
    index->insertOrUpdate(logoURL, QStringLiteral("A.png"), now, std::nullopt);
    index->waitUntilIdle();
    const std::string output = testing::internal::GetCapturedStdout();
    EXPECT_NE(output.find("NOT NULL"), std::string::npos) << output;
    EXPECT_FALSE(lookup(*index, logoURL));
}

TEST_F(FileIndexTest, ShutDownDestroysTheStoreAndLaterWorkFindsNothing)
{
    auto index = open();
    index->insertOrUpdate(logoURL, QStringLiteral("A.png"), now, now.addDays(7));
    index->waitUntilIdle();
    testing::internal::CaptureStdout();
    index->shutDown();
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("files.db"))));
    EXPECT_FALSE(lookup(*index, logoURL));
    testing::internal::GetCapturedStdout();
}

TEST_F(FileIndexTest, CompletionsMayCallBackIntoTheIndex)
{
    auto index = open();
    index->insertOrUpdate(logoURL, QStringLiteral("A.png"), now, now.addDays(7));
    std::promise<bool> goneAfterwards;
    index->fileInfo(logoURL, [&](std::optional<FileIndex::FileInfo> info) {
        ASSERT_TRUE(info);
        index->removeFileInfo(info->fileName);
        index->fileInfo(logoURL, [&](std::optional<FileIndex::FileInfo> again) {
            goneAfterwards.set_value(!again.has_value());
        });
    });
    EXPECT_TRUE(goneAfterwards.get_future().get());
}
