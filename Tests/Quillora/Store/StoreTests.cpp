// The application's store on real SQLite files: what it remembers survives
// a restart, nothing reaches the file before a save, a failed save writes
// nothing, older stores are upgraded and newer ones left alone (a store of
// the version before kept songs keeps its recently played rows, and the files
// songs were kept in outlast a restart), and a
// process killed (SIGKILL) at random moments while it saves leaves a store
// that passes SQLite's integrity check and holds one whole state.
//
// The test program is also its own helper: run with --save-loop FOLDER it
// saves generation after generation until it is killed.
#include "Model/RecentlyPlayed.h"
#include "Store/Database.h"
#include "Store/SongHistory.h"
#include "Store/StateStore.h"
#include "Store/StoreSchema.h"
#include "TestSupport.h"

#include <QCoreApplication>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

const QString remote = QStringLiteral("https://docs.example.org/pub?output=csv");

QList<StoredStation> generationStations(int generation)
{
    QList<StoredStation> stations;
    const int count = generation % 2 ? 40 : 70;
    for (int i = 0; i < count; ++i)
        stations.append(StoredStation{i, QStringLiteral("http://g%1/%2").arg(generation).arg(i), {}, {},
                                QStringLiteral("G%1 #%2").arg(generation).arg(i)});
    return stations;
}

float generationVolume(int generation)
{
    return float(generation % 97) / 100.0f;
}

// The helper: saves a new generation (catalogue, selection and volume in
// one transaction) over and over; says "ready" after the first.
int saveLoop(const QString& folder)
{
    Database container(QStringLiteral("Quillora"), folder);
    QString error;
    container.load([&](const Database::StoreError* failure) {
        if (failure)
            error = failure->description;
    });
    if (!error.isEmpty())
        return 2;
    StateStore store(container);
    for (int generation = 1;; ++generation) {
        store.setLastGoodCatalogue(remote, generationStations(generation), generation);
        store.setSelectedStationId(remote, generation);
        store.setVolume(generationVolume(generation));
        if (!store.save().isEmpty())
            return 3;
        if (generation == 1) {
            const char ready[] = "ready\n";
            if (::write(STDOUT_FILENO, ready, sizeof ready - 1) < 0)
                return 4;
        }
    }
}

// posix_spawn rather than QProcess: ThreadSanitizer loses track of the
// parent after QProcess's fork.
pid_t spawnSaver(const QString& folder, int* output)
{
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0)
        return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    const QByteArray program = QCoreApplication::applicationFilePath().toLocal8Bit();
    const QByteArray folderBytes = folder.toLocal8Bit();
    char* argv[] = {const_cast<char*>(program.constData()), const_cast<char*>("--save-loop"),
                    const_cast<char*>(folderBytes.constData()), nullptr};
    pid_t pid = -1;
    const int failed = posix_spawn(&pid, program.constData(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeEnds[1]);
    if (failed != 0) {
        ::close(pipeEnds[0]);
        return -1;
    }
    *output = pipeEnds[0];
    return pid;
}

bool waitForReady(int output)
{
    QByteArray line;
    char c = 0;
    pollfd ready{output, POLLIN, 0};
    while (!line.endsWith('\n') && ::poll(&ready, 1, 20000) > 0 && ::read(output, &c, 1) == 1)
        line += c;
    return line == "ready\n";
}

struct Opened {
    std::unique_ptr<Database> container;
    QString error;
};

Opened open(const QString& folder)
{
    Opened opened{std::make_unique<Database>(QStringLiteral("Quillora"), folder), {}};
    opened.container->load([&](const Database::StoreError* failure) {
        if (failure)
            opened.error = failure->description;
    });
    return opened;
}

QString firstValue(sqlite::Connection& database, const QString& statement)
{
    sqlite::Statement query(database, statement);
    if (!query.next())
        return QStringLiteral("<no answer>");
    return query.text(0);
}

} // namespace

class StoreTests : public QObject {
    Q_OBJECT

private slots:
    void rememberedAcrossRuns()
    {
        QTemporaryDir folder;
        const QList<StoredStation> stations{StoredStation{7, QStringLiteral("https://a/7"), {}, {}, QStringLiteral("Ö1")},
                                      StoredStation{-2, QStringLiteral("https://a/2"), QStringLiteral("https://a/l.png"),
                                              QStringLiteral("Jazz"), QStringLiteral("Two, with comma")}};
        const QDateTime loadedAt = QDateTime(QDate(2026, 12, 3), QTime(14, 20)).toUTC();
        {
            Opened first = open(folder.path());
            QVERIFY(first.error.isEmpty());
            StateStore store(*first.container);
            QVERIFY(!store.lastGoodCatalogue(remote));
            QVERIFY(!store.volume());
            store.setLastGoodCatalogue(remote, stations, 3, loadedAt);
            store.setSelectedStationId(remote, -2);
            store.setSelectedStationId(QStringLiteral("my-stations"), 16);
            store.setVolume(0.3f);
            // Read back before the save from memory...
            QCOMPARE(store.selectedStationId(remote), -2);
            // ...while the file still has nothing.
            Opened other = open(folder.path());
            QVERIFY(!StateStore(*other.container).selectedStationId(remote));
            QVERIFY(store.save().isEmpty());
        }
        Opened second = open(folder.path());
        StateStore store(*second.container);
        const std::optional<StoredCatalogue> stored = store.lastGoodCatalogue(remote);
        QVERIFY(stored);
        QCOMPARE(stored->loadedAt, loadedAt);
        QCOMPARE(stored->skippedRows, 3);
        QCOMPARE(stored->stations.size(), 2);
        for (int i = 0; i < 2; ++i) {
            QCOMPARE(stored->stations[i].id, stations[i].id);
            QCOMPARE(stored->stations[i].url, stations[i].url);
            QCOMPARE(stored->stations[i].image, stations[i].image);
            QCOMPARE(stored->stations[i].genre, stations[i].genre);
            QCOMPARE(stored->stations[i].title, stations[i].title);
        }
        QVERIFY(!store.lastGoodCatalogue(QStringLiteral("https://elsewhere.example/x.csv")));
        QCOMPARE(store.selectedStationId(remote), -2);
        QCOMPARE(store.selectedStationId(QStringLiteral("my-stations")), 16);
        QCOMPARE(*store.volume(), 0.3f);
    }

    void onlyTheLatestCataloguesAreKept()
    {
        QTemporaryDir folder;
        Opened opened = open(folder.path());
        StateStore store(*opened.container);
        const QDateTime start = QDateTime::currentDateTimeUtc();
        for (int i = 0; i <= StateStore::keptCatalogues; ++i) {
            store.setLastGoodCatalogue(QStringLiteral("https://c%1.example/s.csv").arg(i), generationStations(i), 0,
                                       start.addSecs(i));
            QVERIFY(store.save().isEmpty());
        }
        sqlite::Connection& database = opened.container->writeContext().connection();
        QCOMPARE(firstValue(database, QStringLiteral("SELECT count(*) FROM catalogue")).toInt(),
                 StateStore::keptCatalogues);
        QCOMPARE(firstValue(database, QStringLiteral("SELECT count(*) FROM catalogue_station WHERE address LIKE "
                                                     "'https://c0.%'")),
                 QStringLiteral("0"));
    }

    // A save that fails half way writes none of its changes and keeps them
    // pending.
    void aFailedSaveWritesNothing()
    {
        QTemporaryDir folder;
        Opened opened = open(folder.path());
        StateStore store(*opened.container);
        store.setSelectedStationId(remote, 5);
        store.setVolume(0.75f);
        QVERIFY(opened.container->writeContext().connection().exec(QStringLiteral("DROP TABLE setting")));
        QVERIFY(!store.save().isEmpty());
        QVERIFY(opened.container->writeContext().hasChanges());
        QCOMPARE(firstValue(opened.container->writeContext().connection(),
                            QStringLiteral("SELECT count(*) FROM selection")),
                 QStringLiteral("0"));
    }

    void olderStoresAreUpgradedNewerOnesLeftAlone()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("Quillora.sqlite"));
        for (const int version : {1, 99}) {
            QFile::remove(path);
            {
                sqlite::Connection old;
                QVERIFY(old.open(path));
                QVERIFY(old.exec(QStringLiteral("PRAGMA user_version = %1").arg(version)));
            }
            StdoutCapture output;
            Opened opened = open(folder.path());
            const QByteArray printed = output.text();
            output.restore();
            QVERIFY(opened.error.isEmpty());
            QVERIFY(opened.container->movedAsidePath().isEmpty());
            sqlite::Connection& database = opened.container->writeContext().connection();
            if (version == 1) {
                QCOMPARE(firstValue(database, QStringLiteral("PRAGMA user_version")).toInt(),
                         StoreSchema::currentVersion());
                StateStore store(*opened.container);
                store.setVolume(0.5f);
                QVERIFY(store.save().isEmpty());
                QVERIFY(printed.isEmpty());
            } else {
                QCOMPARE(firstValue(database, QStringLiteral("PRAGMA user_version")), QStringLiteral("99"));
                QVERIFY(printed.contains("newer"));
            }
        }
    }

    void keptSongsOutlastARestartOfAnOlderStore()
    {
        QTemporaryDir folder;
        {
            // The store as the release before kept songs wrote it.
            sqlite::Connection old;
            QVERIFY(old.open(folder.filePath(QStringLiteral("Quillora.sqlite"))));
            for (const char* statement :
                 {"CREATE TABLE catalogue (address TEXT PRIMARY KEY, loaded_at INTEGER NOT NULL,"
                  " skipped_rows INTEGER NOT NULL DEFAULT 0)",
                  "CREATE TABLE catalogue_station (address TEXT NOT NULL, position INTEGER NOT NULL,"
                  " id INTEGER NOT NULL, url TEXT NOT NULL, image TEXT NOT NULL, genre TEXT NOT NULL,"
                  " title TEXT NOT NULL, uuid TEXT NOT NULL DEFAULT '', PRIMARY KEY (address, position)) WITHOUT ROWID",
                  "CREATE TABLE selection (source TEXT PRIMARY KEY, station_id INTEGER NOT NULL)",
                  "CREATE TABLE setting (name TEXT PRIMARY KEY, value)",
                  "CREATE TABLE recently_played (id INTEGER PRIMARY KEY AUTOINCREMENT, played_at INTEGER NOT NULL,"
                  " station TEXT NOT NULL, song TEXT NOT NULL)",
                  "INSERT INTO recently_played (played_at, station, song) VALUES"
                  " (1000, 'Radio', 'A'), (2000, 'Radio', 'B'), (3000, 'Radio', 'C'), (4000, 'Radio', 'A')",
                  "PRAGMA user_version = 3"})
                QVERIFY2(old.exec(QString::fromLatin1(statement)), qPrintable(old.lastError().message));
        }
        const QString cached = folder.filePath(QStringLiteral("A.mp3"));
        const QString saved = folder.filePath(QStringLiteral("B (2).mp3"));
        const QString gone = folder.filePath(QStringLiteral("C.mp3"));
        for (const QString& path : {cached, folder.filePath(QStringLiteral("B.mp3")), gone}) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        {
            Opened opened = open(folder.path());
            QVERIFY(opened.error.isEmpty());
            SongHistory history(*opened.container);
            RecentlyPlayed list(&history);
            QCOMPARE(list.count(), 4);
            list.markKept(QStringLiteral("Radio"), QStringLiteral("A"), cached, false);
            list.markKept(QStringLiteral("Radio"), QStringLiteral("B"), folder.filePath(QStringLiteral("B.mp3")), false);
            list.markKept(QStringLiteral("Radio"), QStringLiteral("C"), gone, true);
            QVERIFY(QFile::rename(folder.filePath(QStringLiteral("B.mp3")), saved));
            list.markSaved(folder.filePath(QStringLiteral("B.mp3")), saved);
        }
        QVERIFY(QFile::remove(gone));
        Opened again = open(folder.path());
        SongHistory history(*again.container);
        const RecentlyPlayed list(&history);
        struct Row {
            QString song;
            QString recording;
            bool saved;
        };
        // Newest first; only the newest A was kept.
        const QList<Row> expected{{QStringLiteral("A"), cached, false},
                                  {QStringLiteral("C"), QString(), true},
                                  {QStringLiteral("B"), saved, true},
                                  {QStringLiteral("A"), QString(), false}};
        QCOMPARE(list.count(), int(expected.size()));
        for (int row = 0; row < list.count(); ++row) {
            const QModelIndex index = list.index(row);
            QCOMPARE(list.data(index, RecentlyPlayed::SongRole).toString(), expected[row].song);
            QCOMPARE(list.data(index, RecentlyPlayed::RecordingRole).toString(), expected[row].recording);
            QCOMPARE(list.data(index, RecentlyPlayed::SavedRole).toBool(), expected[row].saved);
        }
    }

    // Killed at a random moment of saving, twenty times over: every next
    // start finds a sound store holding one whole generation.
    void aKilledSaveLeavesOneWholeState()
    {
        QTemporaryDir folder;
        QRandomGenerator random(20261206);
        for (int round = 0; round < 20; ++round) {
            int output = -1;
            const pid_t saver = spawnSaver(folder.path(), &output);
            QVERIFY(saver > 0);
            const bool ready = waitForReady(output);
            if (ready)
                QTest::qSleep(int(random.bounded(40)));
            ::kill(saver, SIGKILL);
            int status = 0;
            ::waitpid(saver, &status, 0);
            ::close(output);
            QVERIFY2(ready, "the saver did not start");
            QVERIFY(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);

            Opened opened = open(folder.path());
            QVERIFY2(opened.error.isEmpty(), qPrintable(opened.error));
            QVERIFY2(opened.container->movedAsidePath().isEmpty(), "a killed save must not damage the store");
            QCOMPARE(firstValue(opened.container->writeContext().connection(), QStringLiteral("PRAGMA integrity_check")),
                     QStringLiteral("ok"));
            StateStore store(*opened.container);
            const std::optional<StoredCatalogue> stored = store.lastGoodCatalogue(remote);
            QVERIFY(stored);
            const int generation = stored->skippedRows;
            QVERIFY(generation >= 1);
            QCOMPARE(stored->stations.size(), generationStations(generation).size());
            for (const StoredStation& station : stored->stations)
                QVERIFY2(station.title.startsWith(QStringLiteral("G%1 #").arg(generation)), qPrintable(station.title));
            QCOMPARE(store.selectedStationId(remote), generation);
            QCOMPARE(*store.volume(), generationVolume(generation));
        }
    }
};

int main(int argc, char* argv[])
{
    if (argc == 3 && std::strcmp(argv[1], "--save-loop") == 0) {
        QCoreApplication app(argc, argv);
        return saveLoop(QString::fromLocal8Bit(argv[2]));
    }
    QCoreApplication app(argc, argv);
    StoreTests tests;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&tests, argc, argv);
}

#include "StoreTests.moc"
