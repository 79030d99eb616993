// My stations as a real file: a catalogue saved in UTF-16 with columns and
// rows the application does not know loads and survives every edit;
// add/edit/remove/restore rewrite the file atomically (no temporary file
// left, the old file intact when the disk is full); a symbolic link stays a
// link; a move reorders the rows and moves back; the starter catalogue
// seeds a missing file only; the watcher reloads after another program's
// rename-save and not after our own write.
#include "Catalogue/CatalogueFile.h"
#include "Catalogue/LocalStationsLoader.h"
#include "Catalogue/StarterCatalogue.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

namespace {

const QString userFile = QStringLiteral("id,url,image,genre,title,uuid,note\r\n"
                                        "1,http://a/s1,,Rock,Ö1 Klassik,0A1B,mine\r\n"
                                        "two,http://a/s2,,,Broken id,0A1C,keep me\r\n"
                                        "3,http://a/s3,http://a/l3,Jazz,\"Three, quoted\",0A1D,\r\n");

QByteArray utf16(const QString& text)
{
    QStringEncoder encoder(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
    return encoder(text);
}

QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

struct Recorder {
    int answers = 0;
    QList<Station> stations;
    CatalogueReport report;
    std::optional<LoadFailure> failure;
};

std::shared_ptr<Recorder> loadFile(const QString& path)
{
    auto recorder = std::make_shared<Recorder>();
    StationsReply* reply = LocalStationsLoader(path).load();
    QObject::connect(reply, &StationsReply::finished, reply, [reply, recorder] {
        reply->deleteLater();
        ++recorder->answers;
        recorder->stations = reply->stations();
        recorder->report = reply->report();
        recorder->failure = reply->failure();
    });
    if (!QTest::qWaitFor([&] { return recorder->answers > 0; }, 10000))
        qWarning("no answer for %s", qPrintable(path));
    return recorder;
}

// Files may grow no larger than this meanwhile: a full disk, even for root.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &m_saved);
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_handler);
    }

private:
    rlimit m_saved{};
    void (*m_handler)(int);
};

} // namespace

class CatalogueFileTests : public QObject {
    Q_OBJECT

private slots:
    void aUtf16FileWithExtraColumnsLoadsAndKeepsThemThroughEdits()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("stations.csv"));
        QVERIFY(writeFile(path, utf16(userFile)));

        StdoutCapture output;
        const auto loaded = loadFile(path);
        output.restore();
        QCOMPARE(loaded->answers, 1);
        QCOMPARE(loaded->stations.size(), 2);
        QCOMPARE(loaded->stations[0].title, QStringLiteral("Ö1 Klassik"));
        QCOMPARE(loaded->report.skippedRows, 1);

        CatalogueFile file(path);
        QSignalSpy changed(&file, &CatalogueFile::changed);
        const CatalogueFile::Outcome added = file.add(
            {QStringLiteral("Radio Neu"), {}, QStringLiteral("https://b/s"), {}}, {{QStringLiteral("uuid"), QStringLiteral("9F")}});
        QVERIFY2(added.ok(), qPrintable(added.error));
        QCOMPARE(added.id, 4); // one more than the highest id, 3
        QVERIFY(file.edit(4, {.title = QStringLiteral("Radio Neu, edited"), .genre = QStringLiteral("Pop")}).ok());
        QCOMPARE(changed.count(), 2);

        const QByteArray expected = utf16(userFile + QStringLiteral("4,https://b/s,,Pop,\"Radio Neu, edited\",9F,\r\n"));
        QCOMPARE(readAll(path), expected);

        CatalogueFile::RemovedRow removed;
        QVERIFY(file.remove(1, &removed).ok());
        QVERIFY(!readAll(path).contains(utf16(QStringLiteral("mine")).mid(2)));
        const CatalogueFile::Outcome restored = file.restore(removed);
        QVERIFY(restored.ok());
        QCOMPARE(restored.id, 1);
        QCOMPARE(readAll(path), expected);
        QCOMPARE(entries(folder.path()), QStringList{QStringLiteral("stations.csv")});
    }

    // A spreadsheet's "CSV" in a European locale: the add changes nothing
    // but the new row; a file Quillora creates keeps commas, no mark, LF.
    void anAddKeepsTheFilesDialect()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("stations.csv"));
        const QByteArray spreadsheet = "\xEF\xBB\xBF" "Id;URL;Image;Genre;Title\r\n"
                                       "1;http://a/s1;;Rock;\"One; quoted\"\r\n";
        QVERIFY(writeFile(path, spreadsheet));
        CatalogueFile file(path);
        QVERIFY(file.add({QStringLiteral("Two, new"), QStringLiteral("Pop"), QStringLiteral("https://b/s"), {}}).ok());
        QCOMPARE(readAll(path), spreadsheet + "2;https://b/s;;Pop;Two, new\r\n");

        const QString created = folder.filePath(QStringLiteral("new.csv"));
        QVERIFY(CatalogueFile(created).add({QStringLiteral("A"), {}, QStringLiteral("https://a/s"), {}}).ok());
        QCOMPARE(readAll(created), QByteArray("id,url,image,genre,title\n1,https://a/s,,,A\n"));
    }

    void editsAreChecked_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("image");
        QTest::newRow("no title") << QStringLiteral("  ") << QStringLiteral("https://a/s") << QString();
        QTest::newRow("ftp stream") << QStringLiteral("A") << QStringLiteral("ftp://a/s") << QString();
        QTest::newRow("file stream") << QStringLiteral("A") << QStringLiteral("file:///etc/passwd") << QString();
        QTest::newRow("no stream") << QStringLiteral("A") << QString() << QString();
        QTest::newRow("bad logo") << QStringLiteral("A") << QStringLiteral("https://a/s") << QStringLiteral("logo.png");
    }

    void editsAreChecked()
    {
        QFETCH(QString, title);
        QFETCH(QString, url);
        QFETCH(QString, image);
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("stations.csv"));
        QVERIFY(writeFile(path, userFile.toUtf8()));
        CatalogueFile file(path);
        QSignalSpy changed(&file, &CatalogueFile::changed);
        QVERIFY(!file.add({title, {}, url, image}).ok());
        QVERIFY(!file.edit(3, {.title = title, .url = url, .image = image}).ok());
        QVERIFY(!file.edit(99, {.title = QStringLiteral("B")}).ok());
        QCOMPARE(readAll(path), userFile.toUtf8());
        QCOMPARE(changed.count(), 0);
    }

    // A deleted id is taken by another row before Undo: the row comes back
    // with a new id, in its old place.
    void restoreKeepsThePlaceAndAvoidsTakenIds()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("stations.csv"));
        QVERIFY(writeFile(path, QByteArray("id,url,title\n1,http://a/1,A\n2,http://a/2,B\n3,http://a/3,C\n")));
        CatalogueFile file(path);
        CatalogueFile::RemovedRow removed;
        QVERIFY(file.remove(3, &removed).ok());
        QCOMPARE(file.add({QStringLiteral("D"), {}, QStringLiteral("http://a/4"), {}}).id, 3);
        QVERIFY(file.remove(1, &removed).ok());
        // Someone else gave id 1 to a new row meanwhile.
        QVERIFY(writeFile(path, QByteArray("id,url,title\n2,http://a/2,B\n3,http://a/4,D\n1,http://x/1,X\n")));
        const CatalogueFile::Outcome restored = file.restore(removed);
        QCOMPARE(restored.id, 4);
        QCOMPARE(readAll(path), QByteArray("id,url,title\n4,http://a/1,A\n2,http://a/2,B\n3,http://a/4,D\n1,http://x/1,X\n"));
    }

    // Reordering moves the station's row among the stations; a row without
    // a station stays after the row it followed; putting the row back where
    // it was gives the very bytes of before (Undo).
    void moveReordersRowsAndMovesBack_data()
    {
        QTest::addColumn<qint64>("id");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("order"); // the first fields of the rows afterwards
        QTest::addColumn<int>("previous"); // its row before; -1: refused
        QTest::newRow("last to first") << qint64(3) << 0 << QStringLiteral("3 1 two") << 2;
        QTest::newRow("first to last") << qint64(1) << 1 << QStringLiteral("two 3 1") << 0;
        QTest::newRow("past the end") << qint64(1) << 7 << QStringLiteral("two 3 1") << 0;
        QTest::newRow("where it is") << qint64(1) << 0 << QStringLiteral("1 two 3") << 0;
        QTest::newRow("no such station") << qint64(9) << 0 << QStringLiteral("1 two 3") << -1;
    }

    void moveReordersRowsAndMovesBack()
    {
        QFETCH(qint64, id);
        QFETCH(int, position);
        QFETCH(QString, order);
        QFETCH(int, previous);
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("stations.csv"));
        const QByteArray original = utf16(userFile);
        QVERIFY(writeFile(path, original));
        CatalogueFile file(path);
        QSignalSpy changed(&file, &CatalogueFile::changed);

        std::size_t was = 99;
        const CatalogueFile::Outcome moved = file.move(id, position, &was);
        QCOMPARE(moved.ok(), previous >= 0);
        if (previous >= 0)
            QCOMPARE(was, std::size_t(previous));
        const CatalogueFile::Read read = CatalogueFile::read(path);
        QVERIFY(read.table);
        QStringList firsts;
        for (const CatalogueTable::Row& row : read.table->rows)
            firsts.append(QString::fromStdString(row.front()));
        QCOMPARE(firsts.join(QLatin1Char(' ')), order);
        QCOMPARE(changed.count(), order == QStringLiteral("1 two 3") ? 0 : 1);

        if (previous >= 0)
            QVERIFY(file.putBack(id, std::size_t(previous)).ok());
        QCOMPARE(readAll(path), original);
        QCOMPARE(entries(folder.path()), QStringList{QStringLiteral("stations.csv")});
    }

    // The disk fills up half way through the write: the old file is intact,
    // no temporary file is left, and the error says why.
    void aFailedWriteLeavesTheOldFile()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("stations.csv"));
        QVERIFY(writeFile(path, userFile.toUtf8()));
        CatalogueFile file(path);
        QSignalSpy changed(&file, &CatalogueFile::changed);
        CatalogueFile::Outcome outcome;
        {
            StdoutCapture output;
            const FileSizeLimit full(rlim_t(userFile.toUtf8().size()));
            outcome = file.add({QStringLiteral("Too much"), {}, QStringLiteral("https://b/s"), {}});
        }
        QVERIFY(!outcome.ok());
        QVERIFY2(outcome.error.startsWith(QStringLiteral("Could not save stations.csv: ")), qPrintable(outcome.error));
        QCOMPARE(readAll(path), userFile.toUtf8());
        QCOMPARE(entries(folder.path()), QStringList{QStringLiteral("stations.csv")});
        QCOMPARE(changed.count(), 0);

        if (::geteuid() != 0) { // permissions do not stop root
            QVERIFY(QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::ExeOwner));
            outcome = file.add({QStringLiteral("Read-only"), {}, QStringLiteral("https://b/s"), {}});
            QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            QVERIFY(!outcome.ok());
            QCOMPARE(readAll(path), userFile.toUtf8());
        }
    }

    void aLinkedFileStaysLinked()
    {
        QTemporaryDir folder;
        QDir(folder.path()).mkdir(QStringLiteral("synced"));
        const QString real = folder.filePath(QStringLiteral("synced/stations.csv"));
        const QString link = folder.filePath(QStringLiteral("stations.csv"));
        QVERIFY(writeFile(real, userFile.toUtf8()));
        // A link to a link to the file.
        QVERIFY(QFile::link(real, folder.filePath(QStringLiteral("synced/current.csv"))));
        QVERIFY(QFile::link(folder.filePath(QStringLiteral("synced/current.csv")), link));
        CatalogueFile file(link);
        QVERIFY(file.add({QStringLiteral("Linked"), {}, QStringLiteral("https://b/s"), {}}).ok());
        QVERIFY(QFileInfo(link).isSymLink());
        QVERIFY(readAll(real).contains("Linked"));
        QVERIFY(QFileInfo(folder.filePath(QStringLiteral("synced/current.csv"))).isSymLink());
        QCOMPARE(entries(folder.filePath(QStringLiteral("synced"))),
                 (QStringList{QStringLiteral("current.csv"), QStringLiteral("stations.csv")}));
    }

    void theStarterCatalogueSeedsOnlyAMissingFile()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("data/quillora/stations.csv"));
        CatalogueFile file(path);
        StdoutCapture output;
        QVERIFY(file.seedIfMissing().isEmpty());
        QCOMPARE(readAll(path), StarterCatalogue::bytes());
        QVERIFY(output.text().startsWith("Created "));
        output.restore();
        const auto loaded = loadFile(path);
        QCOMPARE(loaded->stations.size(), 16);

        QVERIFY(writeFile(path, "id,url,title\n"));
        QVERIFY(file.seedIfMissing().isEmpty());
        QCOMPARE(readAll(path), QByteArray("id,url,title\n"));
        const auto empty = loadFile(path);
        QVERIFY(!empty->failure);
        QVERIFY(empty->stations.isEmpty());

        // Emptied entirely: the user's choice stands, and the next station
        // added starts the file afresh.
        QVERIFY(writeFile(path, {}));
        QVERIFY(file.seedIfMissing().isEmpty());
        QVERIFY(loadFile(path)->failure);
        QCOMPARE(file.add({QStringLiteral("First"), {}, QStringLiteral("https://a/s"), {}}).id, 1);
        QCOMPARE(readAll(path), QByteArray("id,url,image,genre,title\n1,https://a/s,,,First\n"));
    }

    void aFileThatIsNoCatalogueFailsToLoad()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("stations.csv"));
        QVERIFY(writeFile(path, "id,url,image,genre,title\n1,http://s,,,Caf\xe9\n"));
        const auto loaded = loadFile(path);
        QCOMPARE(loaded->answers, 1);
        QVERIFY(loaded->failure);
        QCOMPARE(loaded->failure->message(),
                 QStringLiteral("Could not load the stations from stations.csv: the file is not a station list"));
        QCOMPARE(loaded->failure->detail, QStringLiteral("not UTF-8 text"));
        // Nothing that could not be read is ever written back.
        CatalogueFile file(path);
        QVERIFY(!file.add({QStringLiteral("A"), {}, QStringLiteral("https://a/s"), {}}).ok());
        QCOMPARE(readAll(path), QByteArray("id,url,image,genre,title\n1,http://s,,,Caf\xe9\n"));
    }

    void theWatcherFollowsOtherProgramsOnly()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("stations.csv"));
        QVERIFY(writeFile(path, userFile.toUtf8()));
        CatalogueFile file(path);
        file.setSettleTime(50);
        file.setWatching(true);
        QSignalSpy changed(&file, &CatalogueFile::changed);

        // Our own write: one signal, no echo from the watcher.
        QVERIFY(file.add({QStringLiteral("Ours"), {}, QStringLiteral("https://b/s"), {}}).ok());
        QCOMPARE(changed.count(), 1);
        QTest::qWait(400);
        QCOMPARE(changed.count(), 1);

        // A spreadsheet program saves by writing a new file and renaming it.
        const QString saved = folder.filePath(QStringLiteral(".~lock-save.tmp"));
        QVERIFY(writeFile(saved, userFile.toUtf8() + "9,https://c/s,,,Theirs\r\n"));
        QVERIFY(::rename(QFile::encodeName(saved).constData(), QFile::encodeName(path).constData()) == 0);
        QTRY_COMPARE_WITH_TIMEOUT(changed.count(), 2, 20000);
        const auto loaded = loadFile(path);
        QCOMPARE(loaded->stations.last().title, QStringLiteral("Theirs"));

        // Still watched after the rename: an editor that writes in place.
        QVERIFY(writeFile(path, userFile.toUtf8()));
        QTRY_COMPARE_WITH_TIMEOUT(changed.count(), 3, 20000);
        // The same content saved again is no change.
        QVERIFY(writeFile(path, userFile.toUtf8()));
        QTest::qWait(400);
        QCOMPARE(changed.count(), 3);
    }
};

QTEST_GUILESS_MAIN(CatalogueFileTests)
#include "CatalogueFileTests.moc"
