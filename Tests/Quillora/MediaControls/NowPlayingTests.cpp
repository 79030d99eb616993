// Now-playing publication against a local logo server: the title at once,
// the artwork as the image library's cached file, one download shared with
// every other user of the logo, overlapping selections, unusable logos.
#include "MediaControls/NowPlayingSink.h"
#include "MediaControls/NowPlayingPublisher.h"
#include "RemoteImage/CachedImageFile.h"
#include "Support/LocalHttpServer.h"
#include "TestSupport.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

const QByteArray pngBytes = QByteArray::fromBase64(
    "iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAYAAAAfFcSJAAAADUlEQVR42mP8z8BQDwAEhQGAhKmMIQAAAABJRU5ErkJggg==");

Station stationWithLogo(qint64 id, const QString& logo)
{
    return Station{id, QStringLiteral("http://127.0.0.1:9/stream%1").arg(id), logo, QStringLiteral("Rock"),
                   QStringLiteral("Station %1").arg(id)};
}

} // namespace

class NowPlayingTests : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_root;
    QTemporaryDir m_cache;
    std::unique_ptr<LocalHttpServer> m_server;

    // Every test asks for logos no earlier test has cached.
    QString logo(const QString& query = {}) const
    {
        static int round = 0;
        return m_server->url(QStringLiteral("/logo.png?round=%1%2").arg(++round).arg(query)).toString();
    }
    int requests() const { return m_server->requestCount(QStringLiteral("/logo.png")); }
    // The logo is in the image cache: the download the publisher started for
    // it has ended, however slow the machine (a second request shares it, or
    // finds the file it left). Its completions run in the order they were
    // asked for, so what the publisher would do with the logo has happened.
    // (The server's counts could not say this: a request not yet arrived
    // looked settled.)
    static void waitUntilCached(const QString& address)
    {
        bool cached = false;
        const remoteimage::CachedImageFile file(QUrl(address), [&](const QUrl&) { cached = true; });
        QTRY_VERIFY_WITH_TIMEOUT(cached, 20000);
        QCoreApplication::processEvents();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_root.isValid() && m_cache.isValid());
        // The image cache of this run only, made on first use.
        qputenv("XDG_CACHE_HOME", m_cache.path().toUtf8());
        QVERIFY(writeFile(m_root.filePath(QStringLiteral("logo.png")), pngBytes));
        m_server = std::make_unique<LocalHttpServer>(m_root.path());
        QVERIFY(m_server->isRunning());
    }

    void init() { m_server->resetCounts(); }

    void titleAtOnceThenTheCachedLogo()
    {
        NowPlayingSink center;
        NowPlayingPublisher publisher(&center);
        const QString address = logo(QStringLiteral("&delay=0.3"));
        publisher.showInfo(stationWithLogo(7, address));
        QVERIFY(center.info());
        QCOMPARE(center.info()->title, QStringLiteral("Station 7"));
        QCOMPARE(center.info()->url, QStringLiteral("http://127.0.0.1:9/stream7"));
        QVERIFY(center.info()->artUrl.isEmpty());

        QTRY_VERIFY_WITH_TIMEOUT(!center.info()->artUrl.isEmpty(), 20000);
        QCOMPARE(center.info()->stationId, 7);
        const QUrl art(center.info()->artUrl);
        QVERIFY(art.isLocalFile());
        QVERIFY2(art.toLocalFile().startsWith(m_cache.path()), qPrintable(art.toLocalFile()));
        QFile stored(art.toLocalFile());
        QVERIFY(stored.open(QIODevice::ReadOnly));
        QCOMPARE(stored.readAll(), pngBytes);

        // Resuming the same station keeps its artwork without a flash.
        QSignalSpy changed(&center, &NowPlayingSink::infoChanged);
        publisher.showInfo(stationWithLogo(7, address));
        QCOMPARE(changed.size(), 0);
    }

    void oneDownloadForEveryUserOfALogo()
    {
        // Another user of the same logo (a card does the same through the
        // image view) and the media controls, while the logo is in flight.
        const QString shared = logo(QStringLiteral("&delay=0.5"));
        QUrl otherFile;
        remoteimage::CachedImageFile other(QUrl(shared), [&](const QUrl& file) { otherFile = file; });
        NowPlayingSink center;
        NowPlayingPublisher publisher(&center);
        for (qint64 id = 1; id <= 5; ++id)
            publisher.showInfo(stationWithLogo(id, shared));
        QTRY_VERIFY_WITH_TIMEOUT(!center.info()->artUrl.isEmpty() && otherFile.isValid(), 20000);
        QCOMPARE(center.info()->stationId, 5);
        QCOMPARE(QUrl(center.info()->artUrl), otherFile);
        QCOMPARE(requests(), 1);

        // Later, from the disk cache: no request at all.
        NowPlayingPublisher again(&center);
        again.showInfo(stationWithLogo(6, shared));
        QTRY_VERIFY_WITH_TIMEOUT(center.info()->stationId == 6 && !center.info()->artUrl.isEmpty(), 20000);
        QCOMPARE(requests(), 1);
    }

    void onlyTheLatestStationIsPublished()
    {
        NowPlayingSink center;
        NowPlayingPublisher publisher(&center);
        // A's logo is slow, B has none: A's logo must not land under B.
        const QString slow = logo(QStringLiteral("&delay=0.6"));
        publisher.showInfo(stationWithLogo(1, slow));
        publisher.showInfo(stationWithLogo(2, QString()));
        QCOMPARE(center.info()->stationId, 2);
        waitUntilCached(slow);
        QCOMPARE(center.info()->stationId, 2);
        QVERIFY(center.info()->artUrl.isEmpty());

        // Nothing selected: the pending logo is abandoned too.
        QSignalSpy changed(&center, &NowPlayingSink::infoChanged);
        const QString pending = logo(QStringLiteral("&delay=0.3"));
        publisher.showInfo(stationWithLogo(3, pending));
        publisher.showInfo(std::nullopt);
        waitUntilCached(pending);
        QCOMPARE(changed.size(), 1); // station 3 without artwork, nothing after
        QVERIFY(center.info()->artUrl.isEmpty());
    }

    void unusableLogosPublishTheStationWithoutArtwork()
    {
        // (Which answers are no image, and which addresses are refused: the
        // image library's tests.)
        const QStringList unusable = {
            m_server->url(QStringLiteral("/missing.png")).toString(), // 404 page
            QStringLiteral("file:///etc/passwd"),                     // not ours to read
        };
        // One publisher each, all at once, so every logo has its time.
        std::vector<std::unique_ptr<NowPlayingSink>> centers;
        std::vector<std::unique_ptr<NowPlayingPublisher>> publishers;
        for (const QString& address : unusable) {
            centers.push_back(std::make_unique<NowPlayingSink>());
            publishers.push_back(std::make_unique<NowPlayingPublisher>(centers.back().get()));
            publishers.back()->showInfo(stationWithLogo(qint64(centers.size()), address));
            QCOMPARE(centers.back()->info()->title, QStringLiteral("Station %1").arg(centers.size()));
        }
        QTest::qWait(2000);
        for (std::size_t i = 0; i < centers.size(); ++i)
            QVERIFY2(centers[i]->info()->artUrl.isEmpty(), qPrintable(unusable[qsizetype(i)]));
    }
};

QTEST_GUILESS_MAIN(NowPlayingTests)
#include "NowPlayingTests.moc"
