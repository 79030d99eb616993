// Songs kept from a real stream: a local Icecast fed by ffmpeg whose title
// changes through its admin interface, the playback session on libmpv, the
// recorder; the files are judged by ffprobe and ffmpeg, as a listener's
// music player would read them.
#include "Playback/MpvMediaPlayer.h"
#include "Playback/PlaybackSession.h"
#include "Recording/Recorder.h"
#include "Recording/SongFile.h"
#include "Support/LivePeers.h"
#include "TestSupport.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

struct Probe {
    double seconds = -1;
    QString title;
    QString artist;
    QString album;
};

// What ffprobe reads from a file: its duration and its tags, wherever the
// container keeps them.
Probe probe(const QString& path)
{
    QProcess ffprobe;
    ffprobe.start(QStringLiteral("ffprobe"), {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-show_entries"),
                                              QStringLiteral("format=duration:format_tags:stream_tags"),
                                              QStringLiteral("-of"), QStringLiteral("json"), path});
    Probe result;
    if (!ffprobe.waitForFinished(30000) || ffprobe.exitCode() != 0)
        return result;
    const QJsonObject root = QJsonDocument::fromJson(ffprobe.readAllStandardOutput()).object();
    const QJsonObject format = root.value(QStringLiteral("format")).toObject();
    result.seconds = format.value(QStringLiteral("duration")).toString().toDouble();
    QJsonObject tags = format.value(QStringLiteral("tags")).toObject();
    const QJsonArray streams = root.value(QStringLiteral("streams")).toArray();
    if (!streams.isEmpty()) {
        const QJsonObject streamTags = streams.first().toObject().value(QStringLiteral("tags")).toObject();
        for (auto it = streamTags.begin(); it != streamTags.end(); ++it)
            tags.insert(it.key(), it.value());
    }
    for (auto it = tags.begin(); it != tags.end(); ++it) {
        const QString key = it.key().toLower();
        if (key == QLatin1String("title"))
            result.title = it.value().toString();
        else if (key == QLatin1String("artist"))
            result.artist = it.value().toString();
        else if (key == QLatin1String("album"))
            result.album = it.value().toString();
    }
    return result;
}

// ffmpeg's decoder reads the whole file without a complaint.
bool decodesCleanly(const QString& path)
{
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"), {QStringLiteral("-nostdin"), QStringLiteral("-v"), QStringLiteral("error"),
                                             QStringLiteral("-i"), path, QStringLiteral("-f"), QStringLiteral("null"),
                                             QStringLiteral("-")});
    return ffmpeg.waitForFinished(30000) && ffmpeg.exitCode() == 0 && ffmpeg.readAllStandardError().trimmed().isEmpty();
}

// Every file under `root`, hidden ones too, relative to it.
QStringList filesUnder(const QString& root)
{
    QStringList files;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext())
        files.append(QDir(root).relativeFilePath(it.next()));
    files.sort();
    return files;
}

} // namespace

class RecordingTests : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<LivePeers> m_peers;
    QString m_icecast;

    bool peers(const QString& command)
    {
        if (!m_peers->request(command).isNull())
            return true;
        qWarning("%s: %s", qPrintable(command.left(60)), qPrintable(m_peers->error()));
        return false;
    }

    struct Rig {
        std::unique_ptr<PlaybackSession> session;
        std::unique_ptr<Recorder> recorder;
    };

    // A session on libmpv (no sound device) and a recorder with `settings`,
    // whose cache is `root`/cache.
    Rig rig(const RecordingSettings& settings, const QString& root)
    {
        auto* media = new MpvMediaPlayer(MpvMediaPlayer::Options{{"ao", "null"}});
        Rig result;
        result.session = std::make_unique<PlaybackSession>(media, nullptr);
        result.recorder = std::make_unique<Recorder>(settings, root + QStringLiteral("/cache"), result.session.get(), media);
        return result;
    }

private slots:
    void initTestCase()
    {
        m_peers = std::make_unique<LivePeers>();
        const QString port = m_peers->request(QStringLiteral("icecast"));
        QVERIFY2(!port.isEmpty(), qPrintable(m_peers->error()));
        m_icecast = QStringLiteral("http://127.0.0.1:%1").arg(port);
    }

    void cleanupTestCase() { m_peers.reset(); }

    void safeNames_data()
    {
        QTest::addColumn<QString>("artist");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("name");
        QTest::newRow("climbing") << QString() << QStringLiteral("../../x") << QStringLiteral("x");
        QTest::newRow("absolute") << QString() << QStringLiteral("/etc/passwd") << QStringLiteral("etc passwd");
        QTest::newRow("hidden") << QStringLiteral(".profile") << QStringLiteral("Song") << QStringLiteral("profile - Song");
        QTest::newRow("separators and controls")
            << QStringLiteral("AC/DC") << QStringLiteral("Back\tIn\u0001Black\\\u202eDark\u0007") << QStringLiteral("AC DC - Back In Black Dark");
        QTest::newRow("nothing left") << QString() << QStringLiteral("./..") << QStringLiteral("Untitled");
        QTest::newRow("long") << QString() << QString(300, QChar(0x00e9)) << QString(92, QChar(0x00e9));
        QTest::newRow("long, four-byte letters") << QString() << QString::fromUcs4(std::u32string(100, U'\U0001F3B5').c_str())
                                                 << QString::fromUcs4(std::u32string(46, U'\U0001F3B5').c_str());
    }

    void safeNames()
    {
        QFETCH(QString, artist);
        QFETCH(QString, title);
        QFETCH(QString, name);
        const QString base = SongFile::baseName(artist, title);
        QCOMPARE(base, name);
        QTemporaryDir dir;
        const QString path = SongFile::freePath(dir.path(), base, QStringLiteral(".mp3"));
        QCOMPARE(QFileInfo(path).absolutePath(), dir.path());
        QVERIFY(QFileInfo(path).fileName().toUtf8().size() <= SongFile::maxBytes);
        // A clash gets " (2)", still within the limit.
        QFile taken(path);
        QVERIFY(taken.open(QIODevice::WriteOnly));
        const QString second = SongFile::freePath(dir.path(), base, QStringLiteral(".mp3"));
        QCOMPARE(QFileInfo(second).fileName(), base + QStringLiteral(" (2).mp3"));
        QVERIFY(QFileInfo(second).fileName().toUtf8().size() <= SongFile::maxBytes);
    }

    void keepsCompleteSongs_data()
    {
        QTest::addColumn<QString>("codec");
        QTest::addColumn<QString>("extension");
        QTest::newRow("MP3") << QStringLiteral("mp3") << QStringLiteral(".mp3");
        QTest::newRow("AAC in ADTS") << QStringLiteral("aac") << QStringLiteral(".aac");
    }

    // Titles change every 12 s. The song on air at the start and the one
    // stopped in its middle are not kept; the others are, each named from
    // its song (even a title that tries to climb out of the folder), 12 s
    // long, tagged, and decoding without error.
    void keepsCompleteSongs()
    {
        QFETCH(QString, codec);
        QFETCH(QString, extension);
        const QString mount = QStringLiteral("/keep.") + codec;
        QVERIFY(peers(QStringLiteral("source %1 %2 440").arg(mount, codec)));
        QVERIFY(peers(QStringLiteral("song %1 Opening - Already On").arg(mount)));

        QTemporaryDir root;
        RecordingSettings settings;
        settings.mode = RecordingSettings::Mode::All;
        settings.folder = root.filePath(QStringLiteral("music"));
        settings.minimumSeconds = 5;
        Rig r = rig(settings, root.path());
        r.session->setStream(QUrl(m_icecast + mount), QStringLiteral("Test FM"));
        r.recorder->setStation(m_icecast + mount);
        r.session->play();
        QTRY_COMPARE_WITH_TIMEOUT(r.session->songText(), QStringLiteral("Opening \u2013 Already On"), 15000);
        QVERIFY(!r.recorder->writing()); // heard from its middle

        const QStringList titles = {QStringLiteral("Artist One - Song Two"), QStringLiteral("../../x"),
                                    QStringLiteral("AC/DC - Back\tIn\u0001Black"), QStringLiteral("Last - Cut Short")};
        QElapsedTimer onAir;
        onAir.start();
        for (qsizetype i = 0; i < titles.size(); ++i) {
            // The station's pace, not a wait for the program: a new title
            // every 12 s.
            QTest::qWait(int(std::max<qint64>(0, i * 12000 - onAir.elapsed())));
            QVERIFY(peers(QStringLiteral("song %1 %2").arg(mount, titles[i])));
            const QString before = r.session->songText();
            QTRY_VERIFY_WITH_TIMEOUT(r.session->songText() != before, 15000);
            QVERIFY(r.recorder->writing());
        }
        QTest::qWait(3000);
        r.session->stop();

        const QString music = settings.folder;
        // The session's cleaning drops the control characters; the file
        // name turns the slash into a space.
        const QStringList expected = {QStringLiteral("AC DC - Back InBlack") + extension,
                                      QStringLiteral("Artist One - Song Two") + extension, QStringLiteral("x") + extension};
        QTRY_COMPARE_WITH_TIMEOUT(filesUnder(music), expected, 20000);
        // Nothing outside the folder, no piece or temporary file left.
        QTRY_COMPARE_WITH_TIMEOUT(filesUnder(root.path()), QStringList({QStringLiteral("music/") + expected[0],
                                                                         QStringLiteral("music/") + expected[1],
                                                                         QStringLiteral("music/") + expected[2]}),
                                  10000);
        const QList<QPair<QString, QString>> tags = {{QStringLiteral("Back InBlack"), QStringLiteral("AC/DC")},
                                                     {QStringLiteral("Song Two"), QStringLiteral("Artist One")},
                                                     {QStringLiteral("../../x"), QString()}};
        for (qsizetype i = 0; i < expected.size(); ++i) {
            const QString path = QDir(music).filePath(expected[i]);
            const Probe p = probe(path);
            qInfo("%s: %.2f s, title \"%s\", artist \"%s\", album \"%s\"", qPrintable(expected[i]), p.seconds,
                  qPrintable(p.title), qPrintable(p.artist), qPrintable(p.album));
            QVERIFY2(std::abs(p.seconds - 12.0) <= 1.5, qPrintable(QString::number(p.seconds)));
            QCOMPARE(p.title, tags[i].first);
            QCOMPARE(p.artist, tags[i].second);
            QCOMPARE(p.album, QStringLiteral("Test FM"));
            QVERIFY(decodesCleanly(path));
        }
        QVERIFY(peers(QStringLiteral("kill ") + mount));
    }

    // Mode decide keeps songs in the cache until one is saved, now from the
    // cache or, for the song being written, once it is complete (the
    // notification's Save); with the mode set to off nothing more is written.
    void decidesThenStopsKeeping()
    {
        const QString mount = QStringLiteral("/decide.mp3");
        QVERIFY(peers(QStringLiteral("source %1 mp3 440").arg(mount)));
        QVERIFY(peers(QStringLiteral("song %1 On - Air").arg(mount)));
        QTemporaryDir root;
        RecordingSettings settings;
        settings.mode = RecordingSettings::Mode::Decide;
        settings.folder = root.filePath(QStringLiteral("music"));
        settings.minimumSeconds = 3;
        Rig r = rig(settings, root.path());
        QSignalSpy kept(r.recorder.get(), &Recorder::songKept);
        r.session->setStream(QUrl(m_icecast + mount), QStringLiteral("Decide FM"));
        r.recorder->setStation(m_icecast + mount);
        r.session->play();
        QTRY_COMPARE_WITH_TIMEOUT(r.session->songText(), QStringLiteral("On \u2013 Air"), 15000);
        const auto next = [&](const QString& title) {
            const QString before = r.session->songText();
            return peers(QStringLiteral("song %1 %2").arg(mount, title))
                && QTest::qWaitFor([&] { return r.session->songText() != before; }, 15000);
        };
        QVERIFY(next(QStringLiteral("Kept - Maybe")));
        QTest::qWait(6000); // the song's length on air
        QVERIFY(next(QStringLiteral("Next - One")));
        QTRY_COMPARE_WITH_TIMEOUT(kept.size(), 1, 20000);
        const QString cached = kept[0][2].toString();
        QCOMPARE(QFileInfo(cached).absolutePath(), root.filePath(QStringLiteral("cache")));
        QCOMPARE(QFileInfo(cached).fileName(), QStringLiteral("Kept - Maybe.mp3"));
        QCOMPARE(kept[0][3].toBool(), false);
        QVERIFY(filesUnder(settings.folder).isEmpty());

        const QString saved = r.recorder->save(cached);
        QCOMPARE(saved, QDir(settings.folder).filePath(QStringLiteral("Kept - Maybe.mp3")));
        QVERIFY(!QFileInfo::exists(cached));
        QVERIFY(r.recorder->save(root.filePath(QStringLiteral("elsewhere.mp3"))).isEmpty());
        QCOMPARE(r.recorder->lastCachedSong(), QString());

        QVERIFY(!r.recorder->saveSong(QStringLiteral("Decide FM"), QStringLiteral("Kept \u2013 Maybe"))); // saved already
        QVERIFY(r.recorder->saveSong(QStringLiteral("Decide FM"), QStringLiteral("Next \u2013 One")));
        QTest::qWait(4000);
        QVERIFY(next(QStringLiteral("Not - Kept")));
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(QDir(settings.folder).filePath(QStringLiteral("Next - One.mp3"))),
                                 20000);

        r.recorder->setMode(RecordingSettings::Mode::Off);
        QVERIFY(!r.recorder->keeping());
        QVERIFY(!r.recorder->writing());
        QTest::qWait(4000);
        QVERIFY(next(QStringLiteral("Also - Not")));
        r.session->stop();
        r.recorder->setKeeping(true); // the switch belongs to the station
        r.recorder.reset();           // waits for anything still being written
        QCOMPARE(filesUnder(root.path()),
                 QStringList({QStringLiteral("music/Kept - Maybe.mp3"), QStringLiteral("music/Next - One.mp3")}));
        QVERIFY(peers(QStringLiteral("kill ") + mount));
    }
};

QTEST_GUILESS_MAIN(RecordingTests)
#include "RecordingTests.moc"
