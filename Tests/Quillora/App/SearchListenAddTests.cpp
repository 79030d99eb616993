// One round as a person does it, in the window the application builds
// (application and scene delegates, the composition root, libmpv): search
// the station directory, listen to a result, add it to My stations. The
// directory is our own server on 127.0.0.1, the station a local Icecast
// playing a tone, and the sound is caught with libmpv's pcm output. The
// round's requests to the directory are printed: what was asked, in order,
// and the User-Agent each carried.
#include "App/Application.h"
#include "Support/AppInfo.h"
#include "App/MainWindow.h"
#include "Support/Config.h"
#include "Model/Player.h"
#include "Support/DirectoryTestServer.h"
#include "Support/LivePeers.h"
#include "Support/LocalHttpServer.h"
#include "ScreenFixture.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QQuickItem>
#include <QQuickWindow>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QtQml/qqmlextensionplugin.h>

#include <cmath>
#include <memory>

Q_IMPORT_QML_PLUGIN(QuilloraPlugin)
Q_IMPORT_QML_PLUGIN(RemoteImagePlugin)

namespace {

constexpr int sampleRate = 44100;
const QString toneUuid = QStringLiteral("0a7e0000-0000-4000-8000-000000000440");

// The pitch of the last second of s16 mono audio in `path`; 0 while there
// is not a loud second of it.
double lastSecondPitch(const QString& path)
{
    const QByteArray all = readAll(path);
    const qsizetype wanted = sampleRate * 2;
    return all.size() < wanted ? 0 : pitchOf(all.mid((all.size() - wanted) / 2 * 2, wanted), sampleRate);
}

} // namespace

class SearchListenAddTests : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_home;
    std::unique_ptr<LivePeers> m_peers;
    std::unique_ptr<LocalHttpServer> m_logos;
    std::unique_ptr<DirectoryTestServer> m_directory;
    QString m_pcm;
    QString m_toneUrl;

private slots:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        // The application's own folders, all inside the test's.
        qputenv("XDG_DATA_HOME", m_home.filePath(QStringLiteral("data")).toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", m_home.filePath(QStringLiteral("config")).toLocal8Bit());
        qputenv("XDG_CACHE_HOME", m_home.filePath(QStringLiteral("cache")).toLocal8Bit());
        qunsetenv("QUILLORA_CATALOGUE_URL");
        qputenv("QUILLORA_COLOR_SCHEME", "light");
        QCoreApplication::setApplicationName(AppInfo::applicationName());
        QCoreApplication::setApplicationVersion(AppInfo::version());
        m_pcm = m_home.filePath(QStringLiteral("heard.pcm"));
        qputenv("QUILLORA_MPV_OPTIONS", QStringLiteral("ao=pcm,ao-pcm-file=%1,ao-pcm-waveheader=no,audio-format=s16,"
                                                       "audio-channels=mono,audio-samplerate=%2")
                                            .arg(m_pcm)
                                            .arg(sampleRate)
                                            .toLocal8Bit());

        m_peers = std::make_unique<LivePeers>();
        const QString port = m_peers->request(QStringLiteral("icecast"));
        QVERIFY2(!port.isEmpty(), qPrintable(m_peers->error()));
        QVERIFY2(!m_peers->request(QStringLiteral("source /tone.mp3 mp3 440")).isNull(), qPrintable(m_peers->error()));
        m_toneUrl = QStringLiteral("http://127.0.0.1:%1/tone.mp3").arg(port);

        // A logo, and a directory of three stations, one of them the tone.
        const QString files = m_home.filePath(QStringLiteral("served"));
        QDir().mkpath(files);
        QImage logo(48, 48, QImage::Format_RGB32);
        logo.fill(QColor(0x20, 0x90, 0x60));
        QVERIFY(logo.save(files + QStringLiteral("/tone.png")));
        m_logos = std::make_unique<LocalHttpServer>(files);
        QVERIFY(m_logos->isRunning());
        QJsonArray stations;
        auto station = [&](const QString& uuid, const QString& name, const QString& url, const QString& tags) {
            stations.append(QJsonObject{{QStringLiteral("stationuuid"), uuid},
                                        {QStringLiteral("name"), name},
                                        {QStringLiteral("url"), url},
                                        {QStringLiteral("url_resolved"), url},
                                        {QStringLiteral("favicon"), m_logos->url(QStringLiteral("/tone.png")).toString()},
                                        {QStringLiteral("tags"), tags},
                                        {QStringLiteral("countrycode"), QStringLiteral("DE")},
                                        {QStringLiteral("codec"), QStringLiteral("MP3")},
                                        {QStringLiteral("bitrate"), 128},
                                        {QStringLiteral("hls"), 0},
                                        {QStringLiteral("lastcheckok"), 1},
                                        {QStringLiteral("votes"), 3},
                                        {QStringLiteral("clickcount"), 10}});
        };
        station(toneUuid, QStringLiteral("Tone Radio 440"), m_toneUrl, QStringLiteral("test tones,sine"));
        station(QStringLiteral("0a7e0000-0000-4000-8000-000000000880"), QStringLiteral("Tone Radio 880"),
                QStringLiteral("http://127.0.0.1:9/880.mp3"), QStringLiteral("sine"));
        station(QStringLiteral("0b0e0000-0000-4000-8000-000000000001"), QStringLiteral("Other Radio"),
                QStringLiteral("http://127.0.0.1:9/other.mp3"), QStringLiteral("talk"));
        QVERIFY(writeFile(files + QStringLiteral("/stations.json"), QJsonDocument(stations).toJson()));
        m_directory = std::make_unique<DirectoryTestServer>(files + QStringLiteral("/stations.json"));
        QVERIFY(m_directory->isRunning());
        qputenv("QUILLORA_DIRECTORY_URL", m_directory->url().toString().toLocal8Bit());
    }

    void cleanupTestCase()
    {
        m_directory.reset();
        m_logos.reset();
        m_peers.reset();
        qunsetenv("QUILLORA_MPV_OPTIONS");
        qunsetenv("QUILLORA_DIRECTORY_URL");
    }

    void searchListenAndAddToMyStations()
    {
        // My stations as the person left it: one station of their own (on
        // a port where nothing answers) and a column of their own.
        const QString myStations = Config::myStationsFile();
        const QByteArray before = "id,url,image,genre,title,note\n"
                                  "7,http://127.0.0.1:9/mine.mp3,,Talk,Mine FM,kept by hand\n";
        QVERIFY(writeFile(myStations, before));

        Application application(m_home.filePath(QStringLiteral("store")));
        MainWindow scene(application);
        QVERIFY(scene.show(QString()));
        QQuickWindow* window = scene.window();
        window->resize(440, 800);
        QVERIFY(QTest::qWaitForWindowExposed(window));
        Player* player = scene.player();
        QTRY_COMPARE(player->stations().size(), 1);
        QCOMPARE(m_directory->requests().size(), 0);

        // Search.
        QTest::keyClick(window, Qt::Key_F, Qt::ControlModifier);
        auto* sheet = window->findChild<QQuickItem*>(QStringLiteral("discoverSheet"));
        QTRY_VERIFY(sheet && sheet->property("position").toReal() == 1.0);
        type(window, QStringLiteral("Tone"));
        QTest::keyClick(window, Qt::Key_Return);
        auto* results = window->findChild<QQuickItem*>(QStringLiteral("discoverResults"));
        QTRY_COMPARE(itemsNamed(results, QStringLiteral("discoverRow")).size(), 2);
        QTRY_VERIFY(itemsNamed(results, QStringLiteral("rowLogo")).first()->property("loaded").toBool());

        // Listen: the first result plays at once, as a guest of the main
        // screen, and the directory hears of it once.
        QTest::keyClick(window, Qt::Key_Down);
        QTest::keyClick(window, Qt::Key_Return);
        QVERIFY(player->isGuest());
        QVERIFY(player->isPlaying());
        QCOMPARE(player->station()->title, QStringLiteral("Tone Radio 440"));
        QTRY_VERIFY_WITH_TIMEOUT(std::abs(lastSecondPitch(m_pcm) - 440) < 10, 15000);
        QTRY_COMPARE(m_directory->clicks(), QJsonObject({{toneUuid, 1}}));
        QCOMPARE(readAll(myStations), before);

        // Add (Ctrl+D in the list): one new row with the directory's
        // identifier; the guest becomes the new card, still playing.
        QTest::keyClick(window, Qt::Key_D, Qt::ControlModifier);
        QTRY_COMPARE(player->stations().size(), 2);
        auto* toast = window->findChild<QQuickItem*>(QStringLiteral("toastText"));
        QCOMPARE(toast->property("text").toString(), QStringLiteral("Added “Tone Radio 440” to My stations"));
        const QByteArray after = readAll(myStations);
        QCOMPARE(after, "id,url,image,genre,title,note,uuid\n"
                        "7,http://127.0.0.1:9/mine.mp3,,Talk,Mine FM,kept by hand\n"
                            + QStringLiteral("8,%1,%2,test tones,Tone Radio 440,,%3\n")
                                  .arg(m_toneUrl, m_logos->url(QStringLiteral("/tone.png")).toString(), toneUuid)
                                  .toUtf8());
        QTRY_VERIFY(!player->isGuest());
        QCOMPARE(player->selectedStationIndex(), 1);
        QVERIFY(player->isPlaying());
        QTest::keyClick(window, Qt::Key_Escape);
        auto* pager = window->findChild<QQuickItem*>(QStringLiteral("pager"));
        QTRY_VERIFY(!sheet->isVisible());
        QTRY_COMPARE(pager->opacity(), 1.0);
        auto* strip = pager->findChild<QQuickItem*>(QStringLiteral("strip"));
        QTRY_COMPARE(strip->property("count").toInt(), 2);
        QTRY_VERIFY(strip->property("currentItem").value<QQuickItem*>());
        QCOMPARE(strip->property("currentItem").value<QQuickItem*>()->property("title").toString(),
                 QStringLiteral("Tone Radio 440"));
        const auto* marker = window->findChild<QQuickItem*>(QStringLiteral("guestMarker"));
        QVERIFY(!marker || !marker->isVisible());
        // Still the tone, without a second click: the stream went on.
        const qint64 heard = QFileInfo(m_pcm).size();
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(m_pcm).size() > heard + sampleRate, 10000);
        QVERIFY(std::abs(lastSecondPitch(m_pcm) - 440) < 10);
        QTRY_COMPARE(m_directory->clicks(), QJsonObject({{toneUuid, 1}}));

        // One search and one counted click for the round. (Their
        // User-Agent: UserAgentTests.)
        QCOMPARE(m_directory->requestsTo(QStringLiteral("/json/stations/search")).size(), 1);
        QCOMPARE(m_directory->requestsTo(QStringLiteral("/json/url/") + toneUuid).size(), 1);
        player->stop();
    }
};

QTEST_MAIN(SearchListenAddTests)
#include "SearchListenAddTests.moc"
