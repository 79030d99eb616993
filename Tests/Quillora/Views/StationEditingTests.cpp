// The person's own stations from the main screen, in the real window on a
// real catalogue file: the marker of a station played from outside the
// catalogue (Add, or Copy as CSV row where the catalogue is a remote one),
// the card's menu, the station form and what it refuses, Remove and Undo,
// reordering in the wide window's list.
// The file is read back after every change.
#include "Views/ColorScheme.h"
#include "Catalogue/CatalogueFile.h"
#include "Model/Player.h"
#include "ScreenFixture.h"
#include "Support/LocalHttpServer.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QPointingDevice>
#include <QSignalSpy>
#include <QtQml/qqmlextensionplugin.h>

Q_IMPORT_QML_PLUGIN(QuilloraPlugin)
Q_IMPORT_QML_PLUGIN(RemoteImagePlugin)

namespace {

// A catalogue as a person keeps it: a column of their own and a row that
// is no station, both of which every rewrite must keep.
const QByteArray keptCatalogue = "id,url,image,genre,title,note\n"
                                 "1,http://127.0.0.1:9/one.mp3,,Jazz,One FM,mine\n"
                                 "2,http://127.0.0.1:9/two.mp3,,Rock,Two FM,\n"
                                 "x,not a station,,,,kept anyway\n"
                                 "3,http://127.0.0.1:9/three.mp3,,Pop,Three FM,third\n";

// The main window on a player whose catalogue is `source`, as the
// application wires them: an edit of the file reloads the player.
class EditingScreen : public ScreenFixture {
public:
    explicit EditingScreen(const QUrl& source)
        : ScreenFixture(QSize(440, 800), CatalogueSource::address(source))
    {
        // The station on screen stays on screen across reloads, as the
        // application's root keeps it: the one the fixture's first load
        // chose, and each one chosen after.
        const auto keepShown = [this] {
            if (player->station() && !player->isGuest())
                player->setPreferredStationId(player->station()->id);
        };
        QObject::connect(player.get(), &Player::stationChanged, player.get(), keepShown);
        keepShown();
    }

    QString titles() const
    {
        QStringList list;
        for (const Station& station : player->stations())
            list.append(station.title);
        return list.join(QLatin1Char(','));
    }

    QQuickItem* menuEntry(const QString& name) const
    {
        const QList<QQuickItem*> found = itemsNamed(window->contentItem(), name);
        return found.isEmpty() ? nullptr : found.first();
    }
    bool menuOpen() const
    {
        const QQuickItem* menu = item("contextMenu");
        return menu && menu->property("isOpen").toBool();
    }
    QQuickItem* form() const { return item("stationForm"); }
    bool formOpen() const { return form() && form()->property("isOpen").toBool(); }
    // Open and risen all the way, so that its fields are where they stay.
    bool formShown() const { return formOpen() && form()->property("position").toReal() == 1.0; }
    // Opens the card's menu from the keyboard and chooses an entry once it
    // has unfolded and been drawn so.
    bool choose(const QString& entry)
    {
        // A sheet still sliding away holds the clicks under it.
        if (!QTest::qWaitFor([&] { return !form() || form()->property("position").toReal() == 0.0; }))
            return false;
        QSignalSpy drawn(window, &QQuickWindow::frameSwapped);
        QTest::keyClick(window, Qt::Key_Menu);
        // Opacity alone is not enough: a menu opened again before its
        // fade-out took a step is opaque at once, while its new entries
        // still lie on top of one another until the next frame lays them
        // out; a click then lands on the last one.
        if (!menuOpen()
            || !QTest::qWaitFor([&] { return item("contextMenuPanel")->opacity() == 1.0 && !drawn.isEmpty(); }))
            return false;
        QQuickItem* found = menuEntry(entry);
        if (!found)
            return false;
        click(found);
        return !menuOpen();
    }
    QQuickItem* field(const char* name) const { return form()->findChild<QQuickItem*>(QString::fromLatin1(name)); }
    QQuickItem* input(const char* name) const
    {
        return field(name)->findChild<QQuickItem*>(QStringLiteral("formFieldInput"));
    }
    QQuickItem* problem(const char* name) const
    {
        return field(name)->findChild<QQuickItem*>(QStringLiteral("formFieldProblem"));
    }
    // Replaces what a field holds, as a person would: click, select all, type.
    void retype(const char* name, const QString& text)
    {
        click(input(name));
        QTest::keyClick(window, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(window, Qt::Key_Backspace);
        type(window, text);
    }
    // The notice's action, once it can be seen (and so be clicked).
    QQuickItem* toastAction() const
    {
        return QTest::qWaitFor([&] { return item("toastPill")->opacity() == 1.0; }) ? item("toastAction") : nullptr;
    }
    // A drawn frame settles the layouts: what is clicked next is where a
    // person sees it. The frame is kept as `name`.
    void drawn(const QString& name) const { keepGrab(name, grab()); }
    QString toast() const
    {
        return item("toast")->property("showing").toBool() ? item("toastText")->property("text").toString() : QString();
    }
};

Station guest()
{
    Station station{0, QStringLiteral("http://127.0.0.1:9/guest.ogg"), QStringLiteral("http://127.0.0.1:9/guest.png"),
                    QStringLiteral("Lounge"), QStringLiteral("Guest, \"the\" FM")};
    station.uuid = QStringLiteral("9a1e0000-0000-4000-8000-00000000abcd");
    return station;
}

} // namespace

class StationEditingTests : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_folder;

    QString freshCatalogue(const QString& name)
    {
        const QString path = m_folder.filePath(name);
        writeFile(path, keptCatalogue);
        return path;
    }

private slots:
    void initTestCase()
    {
        ColorScheme::setOverride(QStringLiteral("light"));
        QVERIFY(m_folder.isValid());
    }

    void aGuestIsMarkedAndAddedAsOneRowWithItsUuid()
    {
        const QString path = freshCatalogue(QStringLiteral("guest.csv"));
        EditingScreen screen(QUrl::fromLocalFile(path));
        QVERIFY(screen.ready());
        QTRY_COMPARE(screen.titles(), QStringLiteral("One FM,Two FM,Three FM"));
        QVERIFY(!screen.shows("guestMarker"));

        screen.player->listenTo(guest());
        QVERIFY(screen.player->isGuest());
        QTRY_VERIFY(screen.shows("guestMarker"));
        auto* marker = screen.item("guestMarker");
        auto* keep = screen.item("guestKeepButton");
        QCOMPARE(keep->property("text").toString(), QStringLiteral("Add to guest.csv"));
        QVERIFY(!screen.item("guestReason")->isVisible());
        QTRY_VERIFY(screen.shows("guestCard") && screen.item("guestCard")->opacity() == 1.0);
        QCOMPARE(screen.item("title")->property("text").toString(), guest().title);
        screen.drawn(QStringLiteral("guest"));

        // (The row written, and the stream playing on: SearchListenAddTests.)
        screen.click(keep);
        QCOMPARE(screen.toast(), QStringLiteral("Added “Guest, \"the\" FM” to guest.csv"));
        QTRY_COMPARE(screen.titles(), QStringLiteral("One FM,Two FM,Three FM,Guest, \"the\" FM"));
        QTRY_VERIFY(!screen.player->isGuest());
        QCOMPARE(screen.player->selectedStationIndex(), 3);
        QCOMPARE(screen.player->station()->uuid, guest().uuid);
        QTRY_VERIFY(!marker->isVisible());
    }

    void aGuestOfARemoteCatalogueIsCopiedAsARowThatReadsBack()
    {
        QTemporaryDir served;
        QVERIFY(writeFile(served.filePath(QStringLiteral("stations.csv")), keptCatalogue));
        LocalHttpServer http(served.path());
        QVERIFY(http.isRunning());
        EditingScreen screen(http.url(QStringLiteral("/stations.csv")));
        QVERIFY(screen.ready());
        QTRY_COMPARE(screen.titles(), QStringLiteral("One FM,Two FM,Three FM"));
        QVERIFY(!screen.catalogue.canEdit());
        QGuiApplication::clipboard()->clear();

        screen.player->listenTo(guest());
        QTRY_VERIFY(screen.shows("guestMarker"));
        auto* keep = screen.item("guestKeepButton");
        QCOMPARE(keep->property("text").toString(), QStringLiteral("Copy as CSV row"));
        auto* reason = screen.item("guestReason");
        QVERIFY(reason->isVisible());
        QCOMPARE(reason->property("text").toString(), QStringLiteral("Quillora cannot write to 127.0.0.1"));
        QVERIFY(!screen.catalogue.addUnavailableReason().isEmpty());
        screen.drawn(QStringLiteral("guest-copy"));

        screen.click(keep);
        const QString row = QGuiApplication::clipboard()->text();
        QVERIFY(screen.toast().startsWith(QStringLiteral("Copied “Guest, \"the\" FM” as a CSV row")));
        // Pasted under the catalogue's header, our reader finds the station
        // again, numbered after the catalogue's highest id.
        const CatalogueTable::Parsed parsed
            = CatalogueTable::parse("id,url,image,genre,title,uuid\n" + row.toUtf8());
        QVERIFY(parsed.table);
        QCOMPARE(parsed.table->stations.size(), 1);
        const Station back = parsed.table->stations.first();
        QCOMPARE(back.id, 4);
        QCOMPARE(back.title, guest().title);
        QCOMPARE(back.url, guest().url);
        QCOMPARE(back.image, guest().image);
        QCOMPARE(back.genre, guest().genre);
        QCOMPARE(CatalogueTable::field(parsed.table->rows[0], 5), guest().uuid.toStdString());
        // Nothing was written anywhere.
        QCOMPARE(readAll(served.filePath(QStringLiteral("stations.csv"))), keptCatalogue);
        QVERIFY(screen.player->isGuest());
    }

    void theMenuOpensByRightClickAndKeyAndTheFormRefusesWhatIsNotAStream()
    {
        const QString path = freshCatalogue(QStringLiteral("edit.csv"));
        EditingScreen screen(QUrl::fromLocalFile(path));
        QVERIFY(screen.ready());
        QTRY_COMPARE(screen.titles(), QStringLiteral("One FM,Two FM,Three FM"));
        QTest::keyClick(screen.window, Qt::Key_Right);
        QCOMPARE(screen.player->station()->title, QStringLiteral("Two FM"));

        // The Menu key opens it on the card; Escape closes it and the main
        // screen's keys work again.
        QTest::keyClick(screen.window, Qt::Key_Menu);
        QVERIFY(screen.menuOpen());
        QCOMPARE(screen.item("contextMenuTitle")->property("text").toString(), QStringLiteral("Two FM"));
        QVERIFY(screen.menuEntry(QStringLiteral("editEntry")));
        QVERIFY(screen.menuEntry(QStringLiteral("removeEntry")));
        QVERIFY(screen.menuEntry(QStringLiteral("addEntry")));
        QVERIFY(!screen.menuEntry(QStringLiteral("keepEntry")));
        QTest::keyClick(screen.window, Qt::Key_Right);
        QCOMPARE(screen.player->selectedStationIndex(), 1);
        QTest::keyClick(screen.window, Qt::Key_Escape);
        QVERIFY(!screen.menuOpen());
        QTest::keyClick(screen.window, Qt::Key_Left);
        QCOMPARE(screen.player->selectedStationIndex(), 0);
        QTest::keyClick(screen.window, Qt::Key_Right);

        // A right click on the card opens it at the pointer; a click
        // elsewhere closes it and reaches nothing beneath.
        screen.click(screen.item("cardMenuArea"), Qt::RightButton);
        QVERIFY(screen.menuOpen());
        screen.click(screen.item("playButton"));
        QVERIFY(!screen.menuOpen());
        QVERIFY(!screen.player->isPlaying());

        // A long press on a touch screen opens it too.
        QPointingDevice* touch = QTest::createTouchDevice();
        QTest::touchEvent(screen.window, touch).press(0, screen.centreOf(screen.item("cardMenuArea")));
        QTRY_VERIFY(screen.menuOpen());
        QTest::touchEvent(screen.window, touch).release(0, screen.centreOf(screen.item("cardMenuArea")));
        QTest::keyClick(screen.window, Qt::Key_Escape);
        QVERIFY(!screen.menuOpen());

        // Edit, chosen from the keyboard: the form, filled in.
        screen.click(screen.item("cardMenuArea"), Qt::RightButton);
        QTRY_COMPARE(screen.item("contextMenuPanel")->opacity(), 1.0);
        screen.drawn(QStringLiteral("menu"));
        QTest::keyClick(screen.window, Qt::Key_Return);
        QTRY_VERIFY(screen.formShown());
        QCOMPARE(screen.form()->property("title").toString(), QStringLiteral("Edit station"));
        QCOMPARE(screen.field("titleField")->property("text").toString(), QStringLiteral("Two FM"));
        QCOMPARE(screen.field("urlField")->property("text").toString(), QStringLiteral("http://127.0.0.1:9/two.mp3"));
        QVERIFY(!screen.problem("urlField")->isVisible());

        // What is not an http(s) stream is said next to the field, and not
        // saved; neither is an empty title nor a logo that is no address.
        screen.retype("urlField", QStringLiteral("ftp://127.0.0.1/two.mp3"));
        QVERIFY(screen.problem("urlField")->isVisible());
        QCOMPARE(screen.problem("urlField")->property("text").toString(),
                 QStringLiteral("The stream address must be an http:// or https:// address."));
        screen.retype("titleField", QString());
        screen.retype("imageField", QStringLiteral("javascript:alert(1)"));
        screen.click(screen.item("stationFormSave"));
        QVERIFY(screen.formOpen());
        QVERIFY(screen.problem("titleField")->isVisible());
        QVERIFY(screen.problem("imageField")->isVisible());
        QTRY_COMPARE(screen.item("stationFormSave")->opacity(), 0.5);
        // The focus goes to the first field that is wrong.
        QCOMPARE(screen.window->activeFocusItem(), screen.input("titleField"));
        screen.drawn(QStringLiteral("form-problems"));
        QCOMPARE(readAll(path), keptCatalogue);

        // Mended, Return saves: only that row changes, the rest of the file
        // is as it was.
        screen.retype("titleField", QStringLiteral("Two FM Live"));
        screen.retype("urlField", QStringLiteral("https://127.0.0.1:9/two-live.mp3"));
        screen.retype("imageField", QString());
        QVERIFY(!screen.problem("urlField")->isVisible());
        QTest::keyClick(screen.window, Qt::Key_Return);
        QTRY_VERIFY(!screen.formOpen());
        QCOMPARE(screen.toast(), QStringLiteral("Saved “Two FM Live”"));
        QByteArray expected = keptCatalogue;
        expected.replace("2,http://127.0.0.1:9/two.mp3,,Rock,Two FM,",
                         "2,https://127.0.0.1:9/two-live.mp3,,Rock,Two FM Live,");
        QCOMPARE(readAll(path), expected);
        QTRY_COMPARE(screen.item("title")->property("text").toString(), QStringLiteral("Two FM Live"));

        // Escape leaves the form without saving.
        QTest::keyClick(screen.window, Qt::Key_Menu);
        QTest::keyClick(screen.window, Qt::Key_Return);
        QTRY_VERIFY(screen.formShown());
        screen.retype("genreField", QStringLiteral("Never saved"));
        QTest::keyClick(screen.window, Qt::Key_Escape);
        QTRY_VERIFY(!screen.formOpen());
        QCOMPARE(readAll(path), expected);
    }

    void addStationTakesATypedStreamAddress()
    {
        const QString path = freshCatalogue(QStringLiteral("add.csv"));
        EditingScreen screen(QUrl::fromLocalFile(path));
        QVERIFY(screen.ready());
        QTRY_COMPARE(screen.titles(), QStringLiteral("One FM,Two FM,Three FM"));

        QVERIFY(screen.choose(QStringLiteral("addEntry")));
        QTRY_VERIFY(screen.formShown());
        QCOMPARE(screen.form()->property("title").toString(), QStringLiteral("Add station"));
        // The empty form complains of nothing until something is tried.
        for (const char* name : {"titleField", "urlField", "imageField"})
            QVERIFY(!screen.problem(name)->isVisible());
        QCOMPARE(screen.window->activeFocusItem(), screen.input("titleField"));
        type(screen.window, QStringLiteral("Typed FM"));
        QTest::keyClick(screen.window, Qt::Key_Down);
        type(screen.window, QStringLiteral("Ambient"));
        QTest::keyClick(screen.window, Qt::Key_Tab);
        type(screen.window, QStringLiteral("127.0.0.1:9/typed"));
        QTest::keyClick(screen.window, Qt::Key_Return);
        QVERIFY(screen.formOpen());
        QVERIFY(screen.problem("urlField")->isVisible());
        screen.retype("urlField", QStringLiteral("http://127.0.0.1:9/typed"));
        screen.click(screen.item("stationFormSave"));
        QTRY_VERIFY(!screen.formOpen());
        QCOMPARE(screen.toast(), QStringLiteral("Added “Typed FM” to add.csv"));
        QCOMPARE(readAll(path), keptCatalogue + "4,http://127.0.0.1:9/typed,,Ambient,Typed FM,\n");
        QTRY_COMPARE(screen.titles(), QStringLiteral("One FM,Two FM,Three FM,Typed FM"));

        // The same stream again is refused, and the form says why.
        QVERIFY(screen.choose(QStringLiteral("addEntry")));
        QTRY_VERIFY(screen.formShown());
        type(screen.window, QStringLiteral("Again FM"));
        screen.retype("urlField", QStringLiteral("http://127.0.0.1:9/typed"));
        QTest::keyClick(screen.window, Qt::Key_Return);
        QVERIFY(screen.formOpen());
        QVERIFY(screen.item("stationFormError")->isVisible());
        QCOMPARE(screen.item("stationFormError")->property("text").toString(),
                 QStringLiteral("“Typed FM” is already in add.csv."));
        QCOMPARE(readAll(path), keptCatalogue + "4,http://127.0.0.1:9/typed,,Ambient,Typed FM,\n");
    }

    // On a wide window, Alt+Down and a drag of a row's handle reorder the
    // rows of the file; Undo and Ctrl+Z give back the file byte for byte.
    // (Where the other rows go: CatalogueFileTests.)
    void reorderByKeysAndDragRewritesTheFileUndoably()
    {
        const QString path = freshCatalogue(QStringLiteral("reorder.csv"));
        EditingScreen screen(QUrl::fromLocalFile(path));
        QVERIFY(screen.ready());
        screen.window->resize(1000, 800);
        QTRY_COMPARE(screen.titles(), QStringLiteral("One FM,Two FM,Three FM"));
        QQuickItem* list = nullptr;
        QTRY_VERIFY((list = screen.item("stationList")) && list->property("count").toInt() == 3);
        const auto row = [&](int index) {
            QQuickItem* found = nullptr;
            for (QQuickItem* candidate : itemsNamed(list, QStringLiteral("stationRow"))) {
                if (candidate->property("index").toInt() == index)
                    found = candidate;
            }
            return found;
        };
        // Built only on rows that can be reordered.
        const auto handle = [&](int index) {
            QQuickItem* found = row(index);
            return found ? itemsNamed(found, QStringLiteral("reorderHandle")).value(0) : nullptr;
        };
        QTRY_VERIFY(handle(2) && handle(2)->isVisible());

        list->forceActiveFocus();
        QTest::keyClick(screen.window, Qt::Key_Down, Qt::AltModifier);
        QTRY_COMPARE(screen.titles(), QStringLiteral("Two FM,One FM,Three FM"));
        QCOMPARE(screen.toast(), QStringLiteral("Moved “One FM”"));
        QTRY_COMPARE(screen.player->station()->title, QStringLiteral("One FM"));
        QTest::keyClick(screen.window, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(readAll(path), keptCatalogue);
        QTRY_COMPARE(screen.titles(), QStringLiteral("One FM,Two FM,Three FM"));

        // Three FM's handle dragged onto the first row.
        QTRY_VERIFY(row(0) && handle(2));
        const QPoint from = screen.centreOf(handle(2));
        const QPoint to(from.x(), screen.centreOf(row(0)).y() - 10);
        QTest::mousePress(screen.window, Qt::LeftButton, {}, from);
        for (int step = 1; step <= 8; ++step)
            QTest::mouseMove(screen.window, from + (to - from) * step / 8);
        QTest::mouseRelease(screen.window, Qt::LeftButton, {}, to);
        QTRY_COMPARE(screen.titles(), QStringLiteral("Three FM,One FM,Two FM"));
        screen.click(screen.toastAction());
        QCOMPARE(readAll(path), keptCatalogue);
    }

    void removeOffersUndoThatPutsTheRowBack()
    {
        const QString path = freshCatalogue(QStringLiteral("remove.csv"));
        EditingScreen screen(QUrl::fromLocalFile(path));
        QVERIFY(screen.ready());
        QTRY_COMPARE(screen.titles(), QStringLiteral("One FM,Two FM,Three FM"));

        // The first station, with the person's note in its row.
        QVERIFY(screen.choose(QStringLiteral("removeEntry")));
        QCOMPARE(screen.toast(), QStringLiteral("Removed “One FM”"));
        QVERIFY(screen.toastAction() && screen.toastAction()->isVisible());
        QCOMPARE(screen.toastAction()->property("text").toString(), QStringLiteral("Undo"));
        QVERIFY(!readAll(path).contains("One FM"));
        QTRY_COMPARE(screen.titles(), QStringLiteral("Two FM,Three FM"));
        screen.drawn(QStringLiteral("undo"));

        // Undo: the row is back where it was, byte for byte.
        QVERIFY(screen.catalogue.canUndo());
        screen.click(screen.toastAction());
        QCOMPARE(readAll(path), keptCatalogue);
        QTRY_COMPARE(screen.titles(), QStringLiteral("One FM,Two FM,Three FM"));
        QTRY_COMPARE(screen.toast(), QString());
        QVERIFY(!screen.catalogue.canUndo());

        // Ctrl+Z does the same; once Undo has expired the notice goes and
        // the key does nothing.
        screen.player->setSelectedStationIndex(1);
        QVERIFY(screen.choose(QStringLiteral("removeEntry")));
        QTRY_COMPARE(screen.titles(), QStringLiteral("One FM,Three FM"));
        QTest::keyClick(screen.window, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(readAll(path), keptCatalogue);
        QTRY_COMPARE(screen.titles(), QStringLiteral("One FM,Two FM,Three FM"));

        QVERIFY(screen.choose(QStringLiteral("removeEntry")));
        QVERIFY(screen.catalogue.canUndo());
        QTRY_VERIFY_WITH_TIMEOUT(!screen.catalogue.canUndo(), (ActiveCatalogue::undoSeconds + 2) * 1000);
        QTRY_COMPARE(screen.toast(), QString());
        const QByteArray removed = readAll(path);
        QTest::keyClick(screen.window, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(readAll(path), removed);
    }
};

QTEST_MAIN(StationEditingTests)
#include "StationEditingTests.moc"
