// The main screen and the catalogue behind it, against a local HTTP server:
// a failed load says why in the pager's place, with a Retry that asks the
// server again (never an endless indicator); stored stations stay
// on screen through a failed refresh with the offline note; an emptied
// catalogue says so; cards without a logo show initials on a colour of
// their own.
#include "Views/ColorScheme.h"
#include "Store/Database.h"
#include "Catalogue/Station.h"
#include "Support/Config.h"
#include "ScreenFixture.h"
#include "Store/StateStore.h"
#include "Support/LocalHttpServer.h"

#include <QDir>
#include <QFile>
#include <QQmlProperty>
#include <QTemporaryDir>
#include <QtQml/qqmlextensionplugin.h>

Q_IMPORT_QML_PLUGIN(QuilloraPlugin)
Q_IMPORT_QML_PLUGIN(RemoteImagePlugin)

namespace {

const QColor lightPrimary(0x5b, 0x3c, 0xc4);

// The pager's centre, where the selected card rests.
QColor cardColour(const ScreenFixture& screen, QPoint offset)
{
    return screen.grab().pixelColor(screen.centreOf(screen.item("pager")) + offset);
}

// The selected card's initials have faded in all the way.
bool placeholderShown(QQuickItem* strip)
{
    const auto found = itemsNamed(strip->property("currentItem").value<QQuickItem*>(), QStringLiteral("cardPlaceholder"));
    return !found.isEmpty() && found.first()->opacity() == 1.0;
}

} // namespace

class CatalogueScreenTests : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;
    QTemporaryDir m_www;
    std::unique_ptr<LocalHttpServer> m_server;

    QUrl at(const QString& path) const { return m_server->url(path); }

private slots:
    void initTestCase()
    {
        ColorScheme::setOverride(QStringLiteral("light"));
        // My stations and the settings live in the test's own folders.
        qputenv("XDG_DATA_HOME", m_home.filePath(QStringLiteral("data")).toUtf8());
        qputenv("XDG_CONFIG_HOME", m_home.filePath(QStringLiteral("config")).toUtf8());

        QVERIFY(writeFile(m_www.filePath(QStringLiteral("stations.csv")),
                      catalogueText({QStringLiteral("One"), QStringLiteral("Two"), QStringLiteral("Three")})));
        m_server = std::make_unique<LocalHttpServer>(m_www.path());
        QVERIFY(m_server->isRunning());
    }

    void cleanupTestCase() { m_server.reset(); }

    // An answer that brings no catalogue ends the indicator with its reason
    // and Retry; Retry asks the server again. (Which answers fail, and why:
    // CsvStationsLoaderTests.)
    void aFailedLoadSaysWhyAndRetryAsksAgain()
    {
        const QString served = QStringLiteral("/missing.csv");
        const int before = m_server->requestCount(served);
        ScreenFixture screen(QSize(440, 800), CatalogueSource::address(at(served)));
        QVERIFY(screen.ready());
        const QString message = QStringLiteral("Could not load the stations from 127.0.0.1: the server answered 404");

        // The indicator turns while the answer is awaited, then gives way.
        QTRY_VERIFY_WITH_TIMEOUT(screen.shows("catalogueFailure"), 10000);
        QCOMPARE(screen.textOf("catalogueFailure"), message);
        QVERIFY(!screen.shows("activityIndicator"));
        QVERIFY(screen.shows("catalogueRetry"));
        QVERIFY(!screen.shows("catalogueEmpty"));
        for (const char* name : {"previousButton", "playButton", "nextButton", "volumeSlider"})
            QVERIFY2(!screen.item(name)->isEnabled(), name);
        QCOMPARE(m_server->requestCount(served), before + 1);
        // The message on the band, in white, where the card would be.
        const QImage image = screen.grab();
        screen.keepGrab(QStringLiteral("error-light"), image);
        const QRectF area = screen.item("catalogueFailure")->mapRectToScene(
            QRectF(QPointF(), screen.item("catalogueFailure")->size()));
        int white = 0;
        for (int y = int(area.top()); y < int(area.bottom()); ++y)
            for (int x = int(area.left()); x < int(area.right()); ++x)
                white += near(image.pixelColor(x, y), Qt::white, 30);
        QVERIFY2(white > 100, qPrintable(QString::number(white)));
        QVERIFY(near(image.pixelColor(int(area.left()) - 4, int(area.top()) - 4), lightPrimary, 8));

        // Retry: the indicator in the reason's place while the server is
        // asked again, then the reason again. A local answer can come back
        // within the click's own event processing, so the test watches for
        // the moment the indicator stood there rather than looking once.
        bool indicatorInPlaceOfReason = false;
        const auto look = [&] {
            indicatorInPlaceOfReason |= screen.shows("activityIndicator") && !screen.shows("catalogueFailure");
        };
        const QMetaObject::Connection watches[] = {
            connect(screen.item("activityIndicator"), &QQuickItem::visibleChanged, this, look),
            connect(screen.item("catalogueFailure"), &QQuickItem::visibleChanged, this, look)};
        screen.click("catalogueRetry");
        QTRY_VERIFY_WITH_TIMEOUT(indicatorInPlaceOfReason && m_server->requestCount(served) == before + 2
                                     && screen.shows("catalogueFailure"),
                                 10000);
        for (const QMetaObject::Connection& watch : watches)
            disconnect(watch);
        QCOMPARE(screen.textOf("catalogueFailure"), message);
        QCOMPARE(m_server->requestCount(served), before + 2);
    }

    // The stored copy is on screen before the first frame; a refresh that
    // fails keeps it and says so at the top; one that works replaces it and
    // the note goes.
    void storedStationsStayThroughAFailedRefresh()
    {
        QTemporaryDir storeFolder;
        Database container(QStringLiteral("Quillora"), storeFolder.path());
        bool opened = false;
        container.load([&](const Database::StoreError* failure) { opened = !failure; });
        QVERIFY(opened);
        StateStore store(container);
        const QUrl address = at(QStringLiteral("/later.csv"));
        const CatalogueSource source = CatalogueSource::address(address);
        QList<StoredStation> stored;
        for (const QString& title : {QStringLiteral("Stored One"), QStringLiteral("Stored Two")})
            stored.append(StoredStation{stored.size() + 1, QStringLiteral("http://127.0.0.1:9/s"), QString(),
                                  QStringLiteral("Genre"), title});
        const QDateTime loadedAt(QDate(QDate::currentDate().year(), 12, 3), QTime(14, 20));
        store.setLastGoodCatalogue(source.storeKey(), stored, 0, loadedAt.toUTC());
        QVERIFY(store.save().isEmpty());

        ScreenFixture screen(QSize(440, 800), source, &store);
        QVERIFY(screen.ready());
        // At once, before any answer: the stored cards, no indicator.
        QVERIFY(screen.shows("strip"));
        QCOMPARE(screen.textOf("title"), QStringLiteral("Stored One"));
        QVERIFY(!screen.shows("activityIndicator"));

        // The server has no such file: the cards stay, with the note.
        QTRY_VERIFY_WITH_TIMEOUT(screen.shows("offlineNote") && screen.item("offlineNote")->opacity() == 1.0, 10000);
        QCOMPARE(screen.textOf("offlineNoteText"), ActiveCatalogue::offlineNote(loadedAt.toUTC()));
        QVERIFY(screen.textOf("offlineNoteText").startsWith(QStringLiteral("Offline: stations from 3 December, 14:20")));
        QVERIFY(screen.shows("strip"));
        QVERIFY(!screen.shows("catalogueState"));
        QCOMPARE(screen.textOf("title"), QStringLiteral("Stored One"));
        QVERIFY(screen.item("playButton")->isEnabled());
        screen.keepGrab(QStringLiteral("offline-note-light"));

        // The file appears; a tap on the note tries again: new cards, no note.
        QVERIFY(writeFile(m_www.filePath(QStringLiteral("later.csv")), catalogueText({QStringLiteral("Fresh One")})));
        const int asked = m_server->requestCount(QStringLiteral("/later.csv"));
        screen.click("offlineNote");
        QTRY_COMPARE_WITH_TIMEOUT(screen.textOf("title"), QStringLiteral("Fresh One"), 10000);
        QCOMPARE(m_server->requestCount(QStringLiteral("/later.csv")), asked + 1);
        QTRY_VERIFY(!screen.shows("offlineNote"));
        QFile::remove(m_www.filePath(QStringLiteral("later.csv")));

        // Quillora cannot write a catalogue it reads from a server: the wide
        // list offers no reorder handle.
        screen.window->resize(1000, 800);
        QQuickItem* list = nullptr;
        QTRY_VERIFY((list = screen.item("stationList")) && list->property("count").toInt() == 1);
        const QList<QQuickItem*> rows = itemsNamed(list, QStringLiteral("stationRow"));
        QVERIFY(!rows.isEmpty());
        for (QQuickItem* row : rows)
            QVERIFY(itemsNamed(row, QStringLiteral("reorderHandle")).isEmpty());
    }

    // My stations emptied in a spreadsheet: no indicator, the reason, and
    // the ways to find stations.
    void anEmptyCatalogueSaysSoAndOffersWaysOut()
    {
        QVERIFY(writeFile(Config::myStationsFile(), "id,url,image,genre,title\n"));
        ScreenFixture screen(QSize(440, 800), CatalogueSource::myStations());
        QVERIFY(screen.ready());
        QTRY_VERIFY(screen.shows("catalogueEmpty"));
        QCOMPARE(screen.textOf("catalogueEmpty"), QStringLiteral("My stations is empty"));
        QVERIFY(!screen.shows("activityIndicator"));
        QVERIFY(!screen.shows("catalogueFailure"));
        QVERIFY(!screen.shows("catalogueRetry"));
        QVERIFY(!screen.item("playButton")->isEnabled());
        screen.keepGrab(QStringLiteral("empty-light"));

        screen.click("catalogueChoose");
        QTRY_VERIFY(screen.item("stationsSheet") && screen.item("stationsSheet")->property("position").toReal() == 1.0);
        QTest::keyClick(screen.window, Qt::Key_Escape);
        QTRY_VERIFY(!screen.item("stationsSheet")->isVisible());
        screen.click("catalogueDiscover");
        QTRY_VERIFY(screen.item("discoverSheet") && screen.item("discoverSheet")->property("position").toReal() == 1.0);

        // Stations written into the file while the window is open: cards.
        QVERIFY(writeFile(Config::myStationsFile(), catalogueText({QStringLiteral("Added Later")})));
        QTRY_COMPARE_WITH_TIMEOUT(screen.textOf("title"), QStringLiteral("Added Later"), 10000);
        QVERIFY(!screen.shows("catalogueState"));
        QFile::remove(Config::myStationsFile());
    }

    // No logo, or one that does not load: the card keeps its shape and
    // shows the initials on the title's colour, the same for the same title.
    void cardsWithoutALogoShowInitialsOnTheTitlesColour()
    {
        ScreenFixture screen;
        QVERIFY(screen.ready());
        QList<Station> list;
        list.append(Station{1, QStringLiteral("http://127.0.0.1:9/s1"), QString(), QStringLiteral("Rock"),
                            QStringLiteral("KEXP")});
        list.append(Station{2, QStringLiteral("http://127.0.0.1:9/s2"), at(QStringLiteral("/no-logo.png")).toString(),
                            QStringLiteral("Freeform"), QStringLiteral("WFMU")});
        list.append(Station{3, QStringLiteral("http://127.0.0.1:9/s3"), QString(), QStringLiteral("Rock"),
                            QStringLiteral("KEXP")});
        screen.loader->deliver(list);
        auto* strip = screen.item("strip");
        QTRY_VERIFY(strip->isVisible());

        // Below the letters, inside the rounded square.
        const QPoint body(0, 85);
        QTRY_VERIFY(!near(cardColour(screen, body), Qt::white, 30));
        const QColor first = cardColour(screen, body);
        const QImage image = screen.grab();
        screen.keepGrab(QStringLiteral("placeholder-light"), image);
        const QPoint c = screen.centreOf(screen.item("pager"));
        // White letters in the middle; the corners still cut round.
        int white = 0;
        for (int y = c.y() - 30; y < c.y() + 30; ++y)
            for (int x = c.x() - 60; x < c.x() + 60; ++x)
                white += near(image.pixelColor(x, y), Qt::white, 40);
        QVERIFY2(white > 200, qPrintable(QString::number(white)));
        for (const QPoint corner : {QPoint(-116, -116), QPoint(116, 116)})
            QVERIFY(!near(image.pixelColor(c + corner), first, 30));
        QVERIFY(near(image.pixelColor(c + QPoint(-100, 0)), first, 8));
        QStringList initials;
        for (QQuickItem* text : itemsNamed(strip, QStringLiteral("initials")))
            initials.append(text->property("text").toString());
        QVERIFY2(initials.contains(QStringLiteral("K")), qPrintable(initials.join(u',')));

        // The logo that is not there: the initials come after a moment, on
        // another colour.
        screen.player->setSelectedStationIndex(1);
        QTRY_COMPARE(strip->property("contentX").toReal(), strip->width());
        QTRY_VERIFY_WITH_TIMEOUT(!near(cardColour(screen, body), Qt::white, 30)
                                     && near(cardColour(screen, body), cardColour(screen, body + QPoint(60, 0)), 2),
                                 10000);
        QTRY_VERIFY(placeholderShown(strip));
        const QColor second = cardColour(screen, body);
        QVERIFY2(!near(second, first, 30), qPrintable(first.name() + QLatin1Char(' ') + second.name()));
        QCOMPARE(m_server->requestCount(QStringLiteral("/no-logo.png")), 1);

        // The same title, the same colour.
        screen.player->setSelectedStationIndex(2);
        QTRY_COMPARE(strip->property("contentX").toReal(), 2 * strip->width());
        QTRY_VERIFY(near(cardColour(screen, body), first, 3));
    }
};

QTEST_MAIN(CatalogueScreenTests)
#include "CatalogueScreenTests.moc"
