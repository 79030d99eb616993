// The Discover sheet in the real window, against a local directory server
// and a local logo server: opening and closing (keys, drag, backdrop) and
// where the focus goes, searching, logos, paging as the list scrolls, the
// keyboard, adding or copying, the empty and error states. (How many rows
// and logo downloads a long list keeps alive: Benchmarks/Directory.)
#include "Views/ColorScheme.h"
#include "ScreenFixture.h"
#include "Support/DirectoryWithLogos.h"

#include <QSignalSpy>
#include <QtQml/qqmlextensionplugin.h>

#include <cmath>

Q_IMPORT_QML_PLUGIN(QuilloraPlugin)
Q_IMPORT_QML_PLUGIN(RemoteImagePlugin)

namespace {

// A directory server with 120 stations and their logos, started before the
// window and stopped after it.
struct WithDirectory {
    DirectoryWithLogos web{120};
};

// The window with its directory client pointed at that server.
class Screen : public WithDirectory, public ScreenFixture {
public:
    Screen() { directoryClient.setServers({web.server().url()}); }

    bool ready() { return web.isRunning() && ScreenFixture::ready(); }

    QQuickItem* sheet() const { return item("discoverSheet"); }
    QQuickItem* results() const { return item("discoverResults"); }
    QQuickItem* field() const { return item("discoverSearchField"); }
    bool isOpen() const { return sheet() && sheet()->property("isOpen").toBool(); }
    qreal position() const { return sheet() ? sheet()->property("position").toReal() : 0; }

    bool open()
    {
        QTest::keyClick(window, Qt::Key_F, Qt::ControlModifier);
        return QTest::qWaitFor([&] { return position() == 1.0; }, 20000);
    }

    bool search(const QString& text)
    {
        type(window, text);
        QTest::keyClick(window, Qt::Key_Return);
        return QTest::qWaitFor([&] {
            const auto status = directory.status();
            return status != DirectorySearchModel::Loading && status != DirectorySearchModel::Idle;
        }, 10000);
    }

    // The row items that exist, on screen or not.
    QList<QQuickItem*> rows() const
    {
        return itemsNamed(results(), QStringLiteral("discoverRow"));
    }
    QQuickItem* row(int index) const
    {
        for (QQuickItem* row : rows()) {
            if (row->property("index").toInt() == index)
                return row;
        }
        return nullptr;
    }
    // Every row that exists shows its logo.
    bool logosLoaded() const
    {
        const QList<QQuickItem*> list = rows();
        return !list.isEmpty() && std::all_of(list.cbegin(), list.cend(), [](const QQuickItem* row) {
            return row->findChild<QQuickItem*>(QStringLiteral("rowLogo"))->property("loaded").toBool();
        });
    }
    QString nameOf(const QQuickItem* row) const
    {
        return row->findChild<QQuickItem*>(QStringLiteral("rowName"))->property("text").toString();
    }
    int currentIndex() const { return results()->property("currentIndex").toInt(); }

    bool focusIsInSheet() const
    {
        for (QQuickItem* item = window->activeFocusItem(); item; item = item->parentItem()) {
            if (item == sheet())
                return true;
        }
        return false;
    }
    bool fieldHasFocus() const
    {
        return window->activeFocusItem() == field()->findChild<QQuickItem*>(QStringLiteral("searchInput"));
    }

    void scrollTo(qreal contentY) { results()->setProperty("contentY", contentY); }
    qreal endOfList() const
    {
        return results()->property("contentHeight").toReal() + results()->property("originY").toReal()
            - results()->height();
    }
};

} // namespace

class DiscoverSheetTests : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        ColorScheme::setOverride(QStringLiteral("light"));
        // Chips and rows name countries in the person's language.
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    }

    void opensOnDemandWithTheFieldFocusedAndTheTagsAsChips()
    {
        Screen screen;
        QVERIFY(screen.ready());
        // Nothing of the sheet exists before it is asked for.
        QVERIFY(!screen.sheet());
        QCOMPARE(screen.web.server().requests().size(), 0);

        QVERIFY(screen.open());
        QVERIFY(screen.isOpen());
        QVERIFY(screen.fieldHasFocus());
        QCOMPARE(screen.sheet()->property("title").toString(), QStringLiteral("Discover"));

        // The popular tags arrive as chips, behind the country chip.
        QTRY_COMPARE(itemsNamed(screen.sheet(), QStringLiteral("tagChip")).size(), 4);
        QCOMPARE(screen.web.server().requestsTo(QStringLiteral("/json/tags")).size(), 1);
        auto* country = screen.item("countryChip");
        QCOMPARE(country->property("text").toString(), QStringLiteral("Deutschland"));

        // The country chip searches that country; again, it lets go.
        screen.click(country);
        QTRY_COMPARE(screen.directory.count(), 40);
        auto searches = screen.web.server().requestsTo(QStringLiteral("/json/stations/search"));
        QCOMPARE(DirectoryTestServer::parameter(searches.last(), QStringLiteral("countrycode")), QStringLiteral("DE"));
        QTRY_VERIFY(screen.row(0));
        QCOMPARE(screen.row(0)->findChild<QQuickItem*>(QStringLiteral("rowDetails"))->property("text").toString(),
                 QStringLiteral("Deutschland · MP3 · 128 kbit/s"));
        QVERIFY(country->property("checked").toBool());
        screen.click(country);
        QTRY_COMPARE(screen.directory.count(), 50);
        QVERIFY(!country->property("checked").toBool());
        // A row of Austria, named in German too.
        QTRY_VERIFY(screen.row(1));
        QVERIFY(screen.row(1)->findChild<QQuickItem*>(QStringLiteral("rowDetails"))->property("text").toString()
                    .startsWith(QStringLiteral("Österreich · ")));

        // Closed and opened again by the search button: the same sheet, the
        // tags not asked for twice.
        QTest::keyClick(screen.window, Qt::Key_Escape);
        QTRY_VERIFY(!screen.sheet()->isVisible());
        QQuickItem* sheet = screen.sheet();
        screen.click("searchButton");
        QTRY_COMPARE(screen.position(), 1.0);
        QCOMPARE(screen.sheet(), sheet);
        QVERIFY(screen.fieldHasFocus());
        QCOMPARE(screen.web.server().requestsTo(QStringLiteral("/json/tags")).size(), 1);
    }

    void scrollingToTheEndLoadsTheNextPage()
    {
        Screen screen;
        QVERIFY(screen.ready());
        QVERIFY(screen.open());
        QVERIFY(screen.search(QStringLiteral("Station")));
        QCOMPARE(screen.directory.count(), 50);
        QTRY_VERIFY(screen.row(0));
        // Nothing more is asked for while the end is out of sight, not even
        // once the rows in sight have settled with their logos.
        QTRY_VERIFY(screen.logosLoaded());
        QCOMPARE(screen.web.server().requestsTo(QStringLiteral("/json/stations/search")).size(), 1);

        // The next page takes a while: the list says so at its end.
        screen.web.server().setMode(QStringLiteral("slow"), 1.0);
        screen.scrollTo(screen.endOfList());
        QTRY_VERIFY(screen.item("discoverMoreProgress") && screen.item("discoverMoreProgress")->isVisible());
        QTRY_COMPARE_WITH_TIMEOUT(screen.directory.count(), 100, 10000);
        screen.web.server().setMode(QStringLiteral("normal"));
        QCOMPARE(screen.web.server().requestsTo(QStringLiteral("/json/stations/search")).size(), 2);

        // A failed page says so at the end, and Retry asks for it again.
        screen.web.server().setMode(QStringLiteral("status500"));
        screen.scrollTo(screen.endOfList());
        QTRY_VERIFY_WITH_TIMEOUT(screen.item("discoverMoreRetry") && screen.item("discoverMoreRetry")->isVisible(), 10000);
        QCOMPARE(screen.directory.count(), 100);
        // In sight, below the last row.
        auto* retry = screen.item("discoverMoreRetry");
        QTRY_VERIFY(retry->mapToItem(screen.results(), QPointF(0, retry->height())).y() <= screen.results()->height());
        screen.web.server().setMode(QStringLiteral("normal"));
        screen.click("discoverMoreRetry");
        QTRY_COMPARE(screen.directory.count(), 120);
    }

    void keysMoveThroughTheResultsListenAndAdd()
    {
        Screen screen;
        QVERIFY(screen.ready());
        // With stations on the main screen its keys would play and skip:
        // in the sheet they must not.
        screen.loader->deliver({testStation(1), testStation(2), testStation(3)});
        QTRY_VERIFY(screen.item("playButton")->isEnabled());
        const float volume = screen.player->volume();
        QSignalSpy listen(screen.window, SIGNAL(listenToDirectoryStation(int)));
        QSignalSpy add(screen.window, SIGNAL(addDirectoryStation(int)));
        QSignalSpy copy(screen.window, SIGNAL(copyDirectoryStationRow(int)));

        QVERIFY(screen.open());
        // Spaces and arrows typed in the field stay in the field.
        type(screen.window, QStringLiteral("Station 0 "));
        QCOMPARE(screen.field()->property("text").toString(), QStringLiteral("Station 0 "));
        QVERIFY(!screen.player->isPlaying());
        QCOMPARE(screen.player->selectedStationIndex(), 0);
        QTest::keyClick(screen.window, Qt::Key_Left);
        QCOMPARE(screen.player->selectedStationIndex(), 0);

        QTest::keyClick(screen.window, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(screen.window, Qt::Key_Backspace);
        QVERIFY(screen.search(QStringLiteral("Station")));
        QTRY_VERIFY(screen.row(0));
        QCOMPARE(screen.currentIndex(), -1);

        // Down enters the list; up and down move; Enter listens.
        QTest::keyClick(screen.window, Qt::Key_Down);
        QCOMPARE(screen.currentIndex(), 0);
        QVERIFY(!screen.fieldHasFocus());
        QVERIFY(screen.focusIsInSheet());
        QTest::keyClick(screen.window, Qt::Key_Down);
        QTest::keyClick(screen.window, Qt::Key_Down);
        QTest::keyClick(screen.window, Qt::Key_Down);
        QTest::keyClick(screen.window, Qt::Key_Up);
        QCOMPARE(screen.currentIndex(), 2);
        QCOMPARE(screen.player->volume(), volume);
        QTest::keyClick(screen.window, Qt::Key_Return);
        QCOMPARE(listen.size(), 1);
        QCOMPARE(listen.first().first().toInt(), 2);
        QCOMPARE(screen.directory.stationAt(2).name, QStringLiteral("Station 0002"));

        // Ctrl+D adds the row the keyboard is on.
        QTest::keyClick(screen.window, Qt::Key_D, Qt::ControlModifier);
        QCOMPARE(add.size(), 1);
        QCOMPARE(add.first().first().toInt(), 2);

        // Far down the list, the current row stays in sight.
        for (int i = 0; i < 20; ++i)
            QTest::keyClick(screen.window, Qt::Key_Down);
        QCOMPARE(screen.currentIndex(), 22);
        QQuickItem* current = screen.row(22);
        QVERIFY(current);
        const QPointF top = current->mapToItem(screen.results(), QPointF(0, 0));
        QVERIFY2(top.y() >= -1 && top.y() + current->height() <= screen.results()->height() + 1,
                 qPrintable(QString::number(top.y())));

        // A click on a row listens to it; its button adds it, and only that.
        QTest::mouseClick(screen.window, Qt::LeftButton, {}, screen.centreOf(current) - QPoint(60, 0));
        QCOMPARE(listen.size(), 2);
        QCOMPARE(listen.last().first().toInt(), 22);
        QTest::mouseClick(screen.window, Qt::LeftButton, {},
                          screen.centreOf(current->findChild<QQuickItem*>(QStringLiteral("rowAddButton"))));
        QCOMPARE(add.size(), 2);
        QCOMPARE(add.last().first().toInt(), 22);
        QCOMPARE(listen.size(), 2);
        QCOMPARE(copy.size(), 0);

        // Typing on the list goes on in the field; Up from the first row
        // goes back to it.
        type(screen.window, QStringLiteral("x"));
        QVERIFY(screen.fieldHasFocus());
        QCOMPARE(screen.field()->property("text").toString(), QStringLiteral("Stationx"));
        QTest::keyClick(screen.window, Qt::Key_Down);
        QTest::keyClick(screen.window, Qt::Key_Delete);
        QVERIFY(!screen.fieldHasFocus());
        QTest::keyClick(screen.window, Qt::Key_Backspace);
        QVERIFY(screen.fieldHasFocus());
        QCOMPARE(screen.field()->property("text").toString(), QStringLiteral("Station"));
        QTest::keyClick(screen.window, Qt::Key_Down);
        QTest::keyClick(screen.window, Qt::Key_Home);
        QVERIFY(screen.focusIsInSheet());
        screen.results()->setProperty("currentIndex", 0);
        QTest::keyClick(screen.window, Qt::Key_Up);
        QVERIFY(screen.fieldHasFocus());
        // Still listening to the result chosen: no key reached the main
        // screen's play/stop or station shortcuts.
        QVERIFY(screen.player->isPlaying() && screen.player->isGuest());
        QCOMPARE(screen.player->station()->title, QStringLiteral("Station 0022"));
    }

    void withoutAddingRowsOfferToCopyACsvRow()
    {
        Screen screen;
        QVERIFY(screen.ready());
        QSignalSpy add(screen.window, SIGNAL(addDirectoryStation(int)));
        QSignalSpy copy(screen.window, SIGNAL(copyDirectoryStationRow(int)));
        const QString why = QStringLiteral("Your stations come from a spreadsheet Quillora cannot change.");
        screen.window->setProperty("directoryCanAdd", false);
        screen.window->setProperty("directoryAddUnavailableReason", why);

        QVERIFY(screen.open());
        QVERIFY(screen.search(QStringLiteral("Station")));
        QTRY_VERIFY(screen.row(3));
        auto* reason = screen.item("addUnavailableReason");
        QVERIFY(reason->isVisible());
        QCOMPARE(reason->property("text").toString(), why);
        // Said once, not on every row.
        QCOMPARE(itemsNamed(screen.sheet(), QStringLiteral("addUnavailableReason")).size(), 1);
        for (QQuickItem* row : screen.rows())
            QCOMPARE(row->findChild<QQuickItem*>(QStringLiteral("rowAddButton"))->property("text").toString(),
                     QStringLiteral("Copy as CSV row"));

        screen.keepGrab(QStringLiteral("copy"));
        QTest::mouseClick(screen.window, Qt::LeftButton, {},
                          screen.centreOf(screen.row(3)->findChild<QQuickItem*>(QStringLiteral("rowAddButton"))));
        QCOMPARE(copy.size(), 1);
        QCOMPARE(copy.first().first().toInt(), 3);
        QTest::keyClick(screen.window, Qt::Key_D, Qt::ControlModifier);
        QCOMPARE(copy.size(), 2);
        QCOMPARE(copy.last().first().toInt(), 3);
        QCOMPARE(add.size(), 0);

        // A writable catalogue again: the rows add, the reason goes.
        screen.window->setProperty("directoryCanAdd", true);
        QVERIFY(!reason->isVisible());
        QCOMPARE(screen.row(3)->findChild<QQuickItem*>(QStringLiteral("rowAddButton"))->property("text").toString(),
                 QStringLiteral("Add"));
        QTest::keyClick(screen.window, Qt::Key_D, Qt::ControlModifier);
        QCOMPARE(add.size(), 1);
        QCOMPARE(copy.size(), 2);
    }

    void nothingFoundAndErrorsSaySoAndRetryRecovers()
    {
        Screen screen;
        QVERIFY(screen.ready());
        QVERIFY(screen.open());
        QVERIFY(screen.item("discoverHint")->isVisible());

        QVERIFY(screen.search(QStringLiteral("no such station")));
        QCOMPARE(screen.directory.status(), DirectorySearchModel::Empty);
        QTRY_VERIFY(screen.item("discoverEmpty")->isVisible());
        QCOMPARE(screen.item("discoverEmpty")->property("text").toString(), QStringLiteral("No stations found"));
        screen.keepGrab(QStringLiteral("empty"));
        QVERIFY(!screen.item("discoverHint")->isVisible());
        QVERIFY(!screen.item("discoverRetry")->isVisible());

        // The directory fails: the message, a Retry; no rows, no "nothing".
        screen.web.server().setMode(QStringLiteral("html"));
        QTest::keyClick(screen.window, Qt::Key_A, Qt::ControlModifier);
        QVERIFY(screen.search(QStringLiteral("Station")));
        QCOMPARE(screen.directory.status(), DirectorySearchModel::Error);
        QTRY_VERIFY(screen.item("discoverRetry")->isVisible());
        QCOMPARE(screen.item("discoverError")->property("text").toString(), screen.directory.statusMessage());
        QVERIFY(!screen.item("discoverError")->property("text").toString().isEmpty());
        QVERIFY(!screen.item("discoverEmpty")->isVisible());
        QVERIFY(screen.rows().isEmpty());
        screen.keepGrab(QStringLiteral("error"));

        // While the directory answers slowly, the sheet shows it is busy.
        screen.web.server().setMode(QStringLiteral("slow"), 1.0);
        screen.click("discoverRetry");
        QTRY_VERIFY(screen.item("discoverProgress")->isVisible());
        QVERIFY(!screen.item("discoverRetry")->isVisible());
        QTRY_COMPARE_WITH_TIMEOUT(screen.directory.count(), 50, 10000);
        QTRY_VERIFY(screen.row(0));
        QVERIFY(!screen.item("discoverProgress")->isVisible());
        QCOMPARE(screen.nameOf(screen.row(0)), QStringLiteral("Station 0000"));
    }

    void escapeDragAndBackdropCloseAndGiveTheFocusBack()
    {
        Screen screen;
        QVERIFY(screen.ready());
        screen.loader->deliver({testStation(1), testStation(2)});
        QTRY_VERIFY(screen.item("playButton")->isEnabled());

        // Escape, from the list as from the field.
        QVERIFY(screen.open());
        QVERIFY(screen.search(QStringLiteral("Station")));
        QTest::keyClick(screen.window, Qt::Key_Down);
        QTest::keyClick(screen.window, Qt::Key_Escape);
        QVERIFY(!screen.isOpen());
        QVERIFY(!screen.focusIsInSheet());
        QTRY_VERIFY(!screen.sheet()->isVisible());
        // The main screen's keys work again.
        QTest::keyClick(screen.window, Qt::Key_Space);
        QVERIFY(screen.player->isPlaying());
        QTest::keyClick(screen.window, Qt::Key_Space);
        QVERIFY(!screen.player->isPlaying());

        // Opening again keeps the results and focuses the field.
        QVERIFY(screen.open());
        QVERIFY(screen.fieldHasFocus());
        QCOMPARE(screen.directory.count(), 50);

        // A short drag of the header settles back; a long one closes.
        auto* header = screen.item("sheetHeader");
        const QPoint grip = screen.centreOf(header) - QPoint(60, 0);
        auto drag = [&](int dy) {
            QTest::mousePress(screen.window, Qt::LeftButton, {}, grip);
            for (int i = 1; i <= 10; ++i)
                QTest::mouseMove(screen.window, grip + QPoint(0, dy * i / 10), 20);
            QTest::mouseRelease(screen.window, Qt::LeftButton, {}, grip + QPoint(0, dy), 200);
        };
        drag(40);
        QVERIFY(screen.isOpen());
        QTRY_COMPARE(screen.position(), 1.0);
        drag(320);
        QVERIFY(!screen.isOpen());
        QTRY_VERIFY(!screen.sheet()->isVisible());
        QVERIFY(!screen.focusIsInSheet());

        // A click on the dimmed screen above the sheet closes it, and
        // reaches nothing beneath.
        QVERIFY(screen.open());
        screen.click("searchButton");
        QVERIFY(!screen.isOpen());
        QTRY_VERIFY(!screen.sheet()->isVisible());
        QVERIFY(!screen.focusIsInSheet());
        QTest::keyClick(screen.window, Qt::Key_Right);
        QCOMPARE(screen.player->selectedStationIndex(), 1);
    }

    void theSheetOverTheDimmedScreenInBothSchemes()
    {
        for (const char* scheme : {"light", "dark"}) {
            ColorScheme::setOverride(QString::fromLatin1(scheme));
            Screen screen;
            ColorScheme::setOverride(QStringLiteral("light"));
            QVERIFY(screen.ready());
            screen.loader->deliver({testStation(1), testStation(2)});
            const QImage closed = screen.grab();

            QVERIFY(screen.open());
            QTRY_COMPARE(itemsNamed(screen.sheet(), QStringLiteral("tagChip")).size(), 4);
            QVERIFY(screen.search(QStringLiteral("Station")));
            QTest::keyClick(screen.window, Qt::Key_Down);
            QTest::keyClick(screen.window, Qt::Key_Down);
            QTRY_VERIFY(screen.row(0)
                        && screen.row(0)->findChild<QQuickItem*>(QStringLiteral("rowLogo"))->property("loaded").toBool());
            QTRY_VERIFY(screen.stillFrame());
            const QImage open = screen.grab();
            screen.keepGrab(QLatin1String(scheme), open);

            // Above the sheet the band is still there, dimmed.
            const QColor band = closed.pixelColor(20, 20);
            const QColor dimmed = open.pixelColor(20, 20);
            QVERIFY2(dimmed.lightness() < band.lightness() - 10 && dimmed.hue() >= 0 && std::abs(dimmed.hue() - band.hue()) < 20,
                     qPrintable(band.name() + QLatin1Char(' ') + dimmed.name()));
            // The sheet's surface: white in the light scheme, dark in the dark.
            const QColor surface = open.pixelColor(screen.window->width() - 6, screen.window->height() - 6);
            if (QByteArray(scheme) == "light")
                QVERIFY2(near(surface, Qt::white, 2), qPrintable(surface.name()));
            else
                QVERIFY2(surface.lightness() < 50, qPrintable(surface.name()));
            // Its top corners are rounded: the very corner shows the dimmed
            // screen, a little further in the surface.
            const int top = int(screen.item("sheetPanel")->y());
            QVERIFY(!near(open.pixelColor(0, top), surface, 10));
            QVERIFY(near(open.pixelColor(20, top + 1), surface, 10));
            // The rows' text is readable: dark on light, light on dark.
            auto* name = screen.row(0)->findChild<QQuickItem*>(QStringLiteral("rowName"));
            const QColor text = name->property("color").value<QColor>();
            QVERIFY(std::abs(text.lightness() - surface.lightness()) > 150);
        }
    }
};

QTEST_MAIN(DiscoverSheetTests)
#include "DiscoverSheetTests.moc"
