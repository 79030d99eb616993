// The main screen on window grabs: the band, the card, the busy indicator,
// the controls' states, and the pager building only the pages (and fetching
// only the logos) near the visible one.
#include "Views/ColorScheme.h"
#include "Catalogue/Station.h"
#include "ScreenFixture.h"
#include "Support/LocalHttpServer.h"

#include <QDateTime>
#include <QJsonObject>
#include <QPainter>
#include <QQmlProperty>
#include <QTemporaryDir>
#include <QtQml/qqmlextensionplugin.h>

Q_IMPORT_QML_PLUGIN(QuilloraPlugin)
Q_IMPORT_QML_PLUGIN(RemoteImagePlugin)

namespace {

const QColor lightPrimary(0x5b, 0x3c, 0xc4);
const QColor lightBackground(0xf3, 0xf1, 0xf9);

// The first row, from the top, where column x stops being the band colour.
int bandEdge(const QImage& image, int x)
{
    for (int y = 0; y < image.height(); ++y) {
        if (!near(image.pixelColor(x, y), lightPrimary, 40))
            return y;
    }
    return -1;
}

// Cards the list view holds: its delegates carry a title.
int liveCards(QQuickItem* strip)
{
    const auto items = QQmlProperty::read(strip, QStringLiteral("contentItem")).value<QQuickItem*>()->childItems();
    return int(std::count_if(items.cbegin(), items.cend(),
                             [](const QQuickItem* item) { return item->property("title").isValid(); }));
}

} // namespace

class ScreenTests : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { ColorScheme::setOverride(QStringLiteral("light")); }

    void bandEdgeSlopesFrom380To320AtAnyWidth()
    {
        for (const int width : {440, 720}) {
            ScreenFixture screen(QSize(width, 800));
            QVERIFY(screen.ready());
            const QImage image = screen.grab();
            QCOMPARE(image.width(), width);
            QVERIFY2(std::abs(bandEdge(image, 0) - 380) <= 1, qPrintable(QString::number(bandEdge(image, 0))));
            QVERIFY2(std::abs(bandEdge(image, width - 1) - 320) <= 1,
                     qPrintable(QString::number(bandEdge(image, width - 1))));
            // Straight in between.
            QVERIFY(std::abs(bandEdge(image, width / 4) - 365) <= 1);
            QVERIFY(near(image.pixelColor(2, 2), lightPrimary));
            QVERIFY(near(image.pixelColor(2, 790), lightBackground));
        }
    }

    void indicatorAndDisabledControlsUntilTheCatalogueArrives()
    {
        ScreenFixture screen;
        QVERIFY(screen.ready());
        QCOMPARE(screen.loader->loads, 1);
        auto* indicator = screen.item("activityIndicator");
        auto* strip = screen.item("strip");
        QVERIFY(indicator && strip);
        QVERIFY(indicator->isVisible());
        QCOMPARE(indicator->size(), QSizeF(40, 40));
        QVERIFY(!strip->isVisible());

        // White dots on the band where the card will be; nothing else there.
        const QPoint centre = screen.centreOf(screen.item("pager"));
        const QImage empty = screen.grab();
        int white = 0;
        for (int y = centre.y() - 20; y < centre.y() + 20; ++y)
            for (int x = centre.x() - 20; x < centre.x() + 20; ++x)
                white += near(empty.pixelColor(x, y), Qt::white, 30);
        QVERIFY(white > 10);
        QVERIFY(near(empty.pixelColor(centre.x() - 100, centre.y()), lightPrimary));

        for (const char* name : {"previousButton", "playButton", "nextButton", "volumeSlider"})
            QVERIFY2(!screen.item(name)->isEnabled(), name);
        screen.click("playButton");
        screen.click("nextButton");
        QVERIFY(!screen.player->isPlaying());
        QCOMPARE(screen.player->selectedStationIndex(), 0);
        QCOMPARE(screen.item("title")->property("text").toString(), QString());

        screen.loader->deliver({Station::luxfm(), Station::rockFm()});
        QTRY_VERIFY(strip->isVisible());
        QVERIFY(!indicator->isVisible());
        for (const char* name : {"previousButton", "playButton", "nextButton", "volumeSlider"})
            QVERIFY2(screen.item(name)->isEnabled(), name);
        QCOMPARE(screen.item("title")->property("text").toString(), QStringLiteral("Lux Lviv"));
        QCOMPARE(screen.item("genre")->property("text").toString(), QStringLiteral("Rocks"));

        // An empty catalogue later brings the indicator back.
        screen.player->applyCatalogue({});
        QTRY_VERIFY(indicator->isVisible());
        QVERIFY(!screen.item("previousButton")->isEnabled());
    }

    void cardIsARoundedWhiteSquareWithAnOutline()
    {
        ColorScheme::setOverride(QStringLiteral("dark"));
        ScreenFixture screen;
        ColorScheme::setOverride(QStringLiteral("light"));
        QVERIFY(screen.ready());
        screen.loader->deliver(stations(3));
        QTRY_VERIFY(screen.item("strip")->isVisible() && screen.stillFrame());
        const QImage image = screen.grab();
        const QPoint c = screen.centreOf(screen.item("pager"));

        // Inside the square, including near a corner within the radius.
        for (const QPoint at : {QPoint(0, 100), QPoint(-110, 0), QPoint(100, -100), QPoint(-100, 100)})
            QVERIFY2(near(image.pixelColor(c + at), Qt::white, 8),
                     qPrintable(QStringLiteral("%1,%2").arg(at.x()).arg(at.y())));
        // Cut away at the corners (radius 60), though inside the bounding square.
        for (const QPoint at : {QPoint(-116, -116), QPoint(116, -116), QPoint(-116, 116), QPoint(116, 116)})
            QVERIFY2(!near(image.pixelColor(c + at), Qt::white, 40),
                     qPrintable(QStringLiteral("%1,%2").arg(at.x()).arg(at.y())));
        // Outside the square: no card.
        QVERIFY(!near(image.pixelColor(c + QPoint(-125, 0)), Qt::white, 40));
        // The outline: a darker ring one point wide along the edge.
        const QColor edge = image.pixelColor(c + QPoint(-120, 0));
        QVERIFY2(edge.lightness() < 230, qPrintable(edge.name()));
        QVERIFY(near(image.pixelColor(c + QPoint(-117, 0)), Qt::white, 8));
    }

    void aWideLogoCoversTheCardAndIsCroppedAtTheSides()
    {
        // Red, then green in the middle half, then blue: scaled to cover the
        // square, only the green middle remains. The large one is reduced
        // before painting.
        QTemporaryDir www;
        for (const int width : {400, 2400}) {
            QImage logo(width, width / 2, QImage::Format_RGB32);
            QPainter painter(&logo);
            painter.fillRect(0, 0, width / 4, width / 2, Qt::red);
            painter.fillRect(width / 4, 0, width / 2, width / 2, Qt::green);
            painter.fillRect(width * 3 / 4, 0, width / 4, width / 2, Qt::blue);
            painter.end();
            QVERIFY(logo.save(www.filePath(QStringLiteral("wide%1.png").arg(width))));
        }
        LocalHttpServer server(www.path());

        for (const int width : {400, 2400}) {
            ScreenFixture screen;
            QVERIFY(screen.ready());
            Station station = testStation(1);
            station.image = server.url(QStringLiteral("/wide%1.png").arg(width)).toString();
            screen.loader->deliver({station});
            const QPoint c = screen.centreOf(screen.item("pager"));
            QTRY_VERIFY(near(screen.grab().pixelColor(c), Qt::green, 30));
            const QImage image = screen.grab();
            for (const QPoint at : {QPoint(-117, 0), QPoint(117, 0), QPoint(0, -117), QPoint(0, 117), QPoint(-90, -90)})
                QVERIFY2(near(image.pixelColor(c + at), Qt::green, 60),
                         qPrintable(QStringLiteral("%1: %2,%3 %4").arg(width).arg(at.x()).arg(at.y())
                                        .arg(image.pixelColor(c + at).name())));
            for (const QPoint at : {QPoint(-116, -116), QPoint(116, 116)})
                QVERIFY(!near(image.pixelColor(c + at), Qt::green, 60));
        }
    }

    void playSymbolSwitchesToStop()
    {
        ScreenFixture screen;
        QVERIFY(screen.ready());
        screen.loader->deliver(stations(2));
        auto* button = screen.item("playButton");
        QTRY_VERIFY(button->isEnabled());
        const QPoint centre = screen.centreOf(button);
        // Up and left of the centre lies inside the stop square, outside the
        // play triangle.
        const QPoint probe = centre + QPoint(-8, -8);
        QVERIFY(!near(screen.grab().pixelColor(probe), Qt::white, 40));

        QTest::mouseClick(screen.window, Qt::LeftButton, {}, centre);
        QVERIFY(screen.player->isPlaying());
        QTRY_VERIFY(near(screen.grab().pixelColor(probe), Qt::white, 40));

        QTest::mouseClick(screen.window, Qt::LeftButton, {}, centre);
        QVERIFY(!screen.player->isPlaying());
        QTRY_VERIFY(!near(screen.grab().pixelColor(probe), Qt::white, 40));
    }

    void keysAndSliderDriveThePlayer()
    {
        ScreenFixture screen;
        QVERIFY(screen.ready());
        screen.loader->deliver(stations(3));
        QTRY_VERIFY(screen.item("playButton")->isEnabled());
        QTest::keyClick(screen.window, Qt::Key_Right);
        QCOMPARE(screen.player->selectedStationIndex(), 1);
        QTest::keyClick(screen.window, Qt::Key_Left);
        QTest::keyClick(screen.window, Qt::Key_Left);
        QCOMPARE(screen.player->selectedStationIndex(), 2);
        QTest::keyClick(screen.window, Qt::Key_Space);
        QVERIFY(screen.player->isPlaying());
        QTest::keyClick(screen.window, Qt::Key_Down);
        QTest::keyClick(screen.window, Qt::Key_Down);
        QCOMPARE(screen.player->volume(), 0.8f);
        QTest::keyClick(screen.window, Qt::Key_Up);
        QCOMPARE(screen.player->volume(), 0.9f);
        QCOMPARE(screen.window->title(), QStringLiteral("Station 3 — Quillora"));

        // The slider snaps to tenths.
        auto* slider = screen.item("volumeSlider");
        const QPointF left = slider->mapToScene(QPointF(slider->property("leftPadding").toReal(), slider->height() / 2));
        const qreal track = slider->property("availableWidth").toReal();
        QTest::mouseClick(screen.window, Qt::LeftButton, {}, (left + QPointF(track * 0.33, 0)).toPoint());
        QTRY_COMPARE(screen.player->volume(), 0.3f);
    }

    void aLongSlideFetchesOnlyTheLogoItLandsOn()
    {
        QTemporaryDir www;
        QImage logo(32, 32, QImage::Format_RGB32);
        logo.fill(Qt::green);
        QVERIFY(logo.save(www.filePath(QStringLiteral("logo.png"))));
        LocalHttpServer server(www.path());
        // Addresses of this run only: the image cache outlives the test.
        const QString run = QString::number(QDateTime::currentMSecsSinceEpoch());
        QList<Station> list = stations(10000);
        for (qsizetype i = 0; i < list.size(); ++i)
            list[i].image = server.url(QStringLiteral("/logo.png?run=%1&i=%2").arg(run).arg(i)).toString();

        ScreenFixture screen;
        QVERIFY(screen.ready());
        screen.loader->deliver(list);
        auto* strip = screen.item("strip");
        // The card on screen shows its logo, and no logo is on its way.
        const auto settled = [&] {
            const auto logos = itemsNamed(strip->property("currentItem").value<QQuickItem*>(), QStringLiteral("logo"));
            const QJsonObject stats = server.stats();
            return !logos.isEmpty() && logos.first()->property("loaded").toBool()
                && stats.value(QLatin1String("/logo.png")).toInt()
                == stats.value(QLatin1String("!done /logo.png")).toInt()
                    + stats.value(QLatin1String("!aborted /logo.png")).toInt();
        };
        QTRY_VERIFY_WITH_TIMEOUT(settled(), 10000);
        QTRY_VERIFY2(liveCards(strip) >= 1 && liveCards(strip) <= 3, qPrintable(QString::number(liveCards(strip))));
        server.resetCounts();

        // Across the whole row and back round to the start: the last
        // station's logo (and a neighbour's) and, cached, the first one's.
        screen.player->setSelectedStationIndex(9999);
        QTRY_COMPARE(strip->property("contentX").toReal(), 9999.0 * strip->width());
        screen.click("nextButton");
        QCOMPARE(screen.player->selectedStationIndex(), 0);
        QTRY_COMPARE(strip->property("contentX").toReal(), 0.0);
        QTRY_VERIFY_WITH_TIMEOUT(settled(), 10000);
        QVERIFY2(server.requestCount(QStringLiteral("/logo.png")) <= 3,
                 qPrintable(QString::number(server.requestCount(QStringLiteral("/logo.png")))));
        // Wrapping from the last station back to the first crossed the row
        // without piling cards up.
        QTRY_VERIFY2(liveCards(strip) >= 1 && liveCards(strip) <= 3, qPrintable(QString::number(liveCards(strip))));
    }

    void aReloadedRecordReachesItsCard()
    {
        ScreenFixture screen;
        QVERIFY(screen.ready());
        QList<Station> list = stations(2);
        screen.loader->deliver(list);
        auto* strip = screen.item("strip");
        QTRY_VERIFY(strip->isVisible());
        QQuickItem* card = nullptr;
        QTRY_VERIFY((card = QQmlProperty::read(strip, QStringLiteral("currentItem")).value<QQuickItem*>()));
        QCOMPARE(card->property("image").toString(), list[0].image);

        list[0].image = QStringLiteral("http://127.0.0.1:9/new-logo.png");
        list[0].title = QStringLiteral("Renamed");
        screen.player->applyCatalogue(list);
        QCOMPARE(QQmlProperty::read(strip, QStringLiteral("currentItem")).value<QQuickItem*>(), card);
        QCOMPARE(card->property("image").toString(), list[0].image);
        QCOMPARE(screen.item("title")->property("text").toString(), QStringLiteral("Renamed"));
    }
};

QTEST_MAIN(ScreenTests)
#include "ScreenTests.moc"
