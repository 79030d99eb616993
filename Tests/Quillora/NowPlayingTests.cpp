// Now-playing publication with real logo downloads from a local server:
// the stored artwork, overlapping selections, and failed or bogus logos.
#include "NowPlaying/NowPlayingCenter.h"
#include "NowPlaying/NowPlayingPublisher.h"
#include "Support/LocalHttpServer.h"

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
    std::unique_ptr<LocalHttpServer> m_server;

    QString logo(const QString& pathAndQuery) const { return m_server->url(pathAndQuery).toString(); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_root.isValid());
        QFile png(m_root.filePath(QStringLiteral("logo.png")));
        QVERIFY(png.open(QIODevice::WriteOnly) && png.write(pngBytes) == pngBytes.size());
        png.close();
        QFile text(m_root.filePath(QStringLiteral("page.html")));
        QVERIFY(text.open(QIODevice::WriteOnly) && text.write("<html>not a picture</html>") > 0);
        text.close();
        m_server = std::make_unique<LocalHttpServer>(m_root.path());
        QVERIFY(m_server->isRunning());
    }

    void publishesWithStoredArtwork()
    {
        NowPlayingCenter center;
        NowPlayingPublisher publisher(&center);
        QSignalSpy changed(&center, &NowPlayingCenter::infoChanged);
        publisher.showInfo(stationWithLogo(7, logo(QStringLiteral("/logo.png"))));
        QVERIFY(!center.info()); // only once the logo is in
        QTRY_COMPARE_WITH_TIMEOUT(changed.size(), 1, 5000);
        const NowPlayingInfo info = *center.info();
        QCOMPARE(info.stationId, 7);
        QCOMPARE(info.title, QStringLiteral("Station 7"));
        QCOMPARE(info.url, QStringLiteral("http://127.0.0.1:9/stream7"));
        QVERIFY(info.isLiveStream);
        const QUrl art(info.artUrl);
        QVERIFY(art.isLocalFile());
        QVERIFY(art.toLocalFile().startsWith(NowPlayingPublisher::artworkDirectory()));
        QVERIFY(art.toLocalFile().endsWith(QStringLiteral(".png")));
        QFile stored(art.toLocalFile());
        QVERIFY(stored.open(QIODevice::ReadOnly));
        QCOMPARE(stored.readAll(), pngBytes);
    }

    void onlyTheLatestStationIsPublished()
    {
        NowPlayingCenter center;
        NowPlayingPublisher publisher(&center);
        QSignalSpy changed(&center, &NowPlayingCenter::infoChanged);
        // A's logo is slow, B's is quick: A must not win when it arrives.
        publisher.showInfo(stationWithLogo(1, logo(QStringLiteral("/logo.png?delay=0.8"))));
        publisher.showInfo(stationWithLogo(2, logo(QStringLiteral("/logo.png"))));
        QTRY_COMPARE_WITH_TIMEOUT(changed.size(), 1, 5000);
        QCOMPARE(center.info()->stationId, 2);
        QTest::qWait(1200);
        QCOMPARE(changed.size(), 1);
        QCOMPARE(center.info()->stationId, 2);
    }

    void unusableLogoDropsTheArtwork()
    {
        NowPlayingCenter center;
        NowPlayingPublisher publisher(&center);
        publisher.showInfo(stationWithLogo(1, logo(QStringLiteral("/logo.png"))));
        QTRY_VERIFY_WITH_TIMEOUT(center.info() && !center.info()->artUrl.isEmpty(), 5000);

        const QStringList unusable = {
            logo(QStringLiteral("/missing.png")),            // 404 page
            logo(QStringLiteral("/logo.png?status=500")),    // error status with an image body
            logo(QStringLiteral("/page.html")),              // not a picture
            logo(QStringLiteral("/__body/9000000")),         // too big
            logo(QStringLiteral("/logo.png?truncate=20")),   // cut short
            QStringLiteral("http://127.0.0.1:1/logo.png"),   // nobody listening
            QStringLiteral("file:///etc/passwd"),            // not ours to read
            QString(),                                       // no address
        };
        qint64 id = 100;
        for (const QString& address : unusable) {
            publisher.showInfo(stationWithLogo(++id, address));
            QTRY_VERIFY2_WITH_TIMEOUT(center.info()->stationId == id, qPrintable(address), 10000);
            QVERIFY2(center.info()->artUrl.isEmpty(), qPrintable(address));
            QCOMPARE(center.info()->title, QStringLiteral("Station %1").arg(id));
        }
    }

    void noStationPublishesNothing()
    {
        NowPlayingCenter center;
        NowPlayingPublisher publisher(&center);
        QSignalSpy changed(&center, &NowPlayingCenter::infoChanged);
        publisher.showInfo(stationWithLogo(1, logo(QStringLiteral("/logo.png?delay=0.3"))));
        publisher.showInfo(std::nullopt);
        QTest::qWait(700);
        QCOMPARE(changed.size(), 0);
    }
};

QTEST_GUILESS_MAIN(NowPlayingTests)
#include "NowPlayingTests.moc"
