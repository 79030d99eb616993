// The Stations sheet in the real window, on a real catalogue: what it shows
// of the catalogue in use, bad choices explained while the cards stay, a
// good file or address switching the cards, My stations again, a file or an
// address dropped on the window, and the desktop's file dialog through a
// stand-in portal on a private session bus (the test runs under
// dbus-run-session).
#include "Views/ColorScheme.h"
#include "Catalogue/CatalogueSource.h"
#include "Support/Config.h"
#include "Support/EnglishPlurals.h"
#include "ScreenFixture.h"
#include "Support/LocalHttpServer.h"
#include "Views/FileChooser.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDir>
#include <QFile>
#include <QJsonObject>
#include <QMimeData>
#include <QSettings>
#include <QTemporaryDir>
#include <QtQml/qqmlextensionplugin.h>

Q_IMPORT_QML_PLUGIN(QuilloraPlugin)
Q_IMPORT_QML_PLUGIN(RemoteImagePlugin)

namespace {

// The globs and MIME types of the portal's filters, a(sa(us)).
QStringList filterPatterns(const QVariant& value)
{
    QStringList patterns;
    const QDBusArgument argument = value.value<QDBusArgument>();
    argument.beginArray();
    while (!argument.atEnd()) {
        QString name;
        argument.beginStructure();
        argument >> name;
        argument.beginArray();
        while (!argument.atEnd()) {
            uint kind = 0;
            QString pattern;
            argument.beginStructure();
            argument >> kind >> pattern;
            argument.endStructure();
            patterns.append(pattern);
        }
        argument.endArray();
        argument.endStructure();
    }
    argument.endArray();
    return patterns;
}

// The desktop portal's file chooser, as another process would offer it:
// it answers OpenFile with a request path and, a moment later, a Response
// signal on that path with what the test has it "choose".
class StandInFileChooser : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.FileChooser")
    Q_PROPERTY(uint version READ version)

public:
    explicit StandInFileChooser(QDBusConnection bus)
        : m_bus(std::move(bus))
    {
    }
    uint version() const { return 3; }

    // What the next dialog ends with: 0 chosen (with `uri`), 1 cancelled.
    uint response = 0;
    QString uri;

    int calls = 0;
    QString title;
    QString parentWindow;
    QStringList patterns;

public slots:
    QDBusObjectPath OpenFile(const QString& parent, const QString& dialogTitle, const QVariantMap& options)
    {
        ++calls;
        parentWindow = parent;
        title = dialogTitle;
        patterns = filterPatterns(options.value(QStringLiteral("filters")));
        const QString path = FileChooser::requestPath(message().service(),
                                                      options.value(QStringLiteral("handle_token")).toString());
        QTimer::singleShot(50, this, [this, path] {
            QDBusMessage answer = QDBusMessage::createSignal(path, QStringLiteral("org.freedesktop.portal.Request"),
                                                             QStringLiteral("Response"));
            QVariantMap results;
            if (response == 0)
                results.insert(QStringLiteral("uris"), QStringList{uri});
            answer << response << results;
            m_bus.send(answer);
        });
        return QDBusObjectPath(path);
    }

private:
    QDBusConnection m_bus;
};

// The portal on a connection of its own for as long as it lives.
class StandInPortal {
public:
    StandInPortal()
        : bus(QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("portal")))
        , chooser(bus)
    {
        registered = bus.isConnected()
            && bus.registerObject(QStringLiteral("/org/freedesktop/portal/desktop"), &chooser,
                                  QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllProperties)
            && bus.registerService(QStringLiteral("org.freedesktop.portal.Desktop"));
    }
    ~StandInPortal()
    {
        bus.unregisterService(QStringLiteral("org.freedesktop.portal.Desktop"));
        bus.unregisterObject(QStringLiteral("/org/freedesktop/portal/desktop"));
        QDBusConnection::disconnectFromBus(QStringLiteral("portal"));
    }

    QDBusConnection bus;
    StandInFileChooser chooser;
    bool registered = false;
};

// The window on My stations, with the sheet's parts at hand.
class Screen : public ScreenFixture {
public:
    explicit Screen(const CatalogueSource& source = CatalogueSource::myStations())
        : ScreenFixture(QSize(440, 800), source)
    {
    }

    QQuickItem* sheet() const { return item("stationsSheet"); }
    bool isOpen() const { return sheet() && sheet()->property("position").toReal() == 1.0; }
    bool open()
    {
        QTest::keyClick(window, Qt::Key_L, Qt::ControlModifier);
        return QTest::qWaitFor([&] { return isOpen(); }, 20000);
    }
    QString title() const { return textOf("title"); }
    QString error() const { return shows("switchError") ? item("switchError")->property("message").toString() : QString(); }

    // Types into the address field (emptied first) and presses Enter.
    void use(const QString& text)
    {
        item("addressField")->forceActiveFocus();
        QMetaObject::invokeMethod(item("addressField"), "clear");
        type(window, text);
        QTest::keyClick(window, Qt::Key_Return);
    }
    // Waits until the choice has been read, however it went.
    bool settled()
    {
        return QTest::qWaitFor([&] { return !catalogue.isSwitching(); }, 10000);
    }

    // A drag from another program carrying `mime`, dropped on the window.
    void drop(QMimeData* mime)
    {
        const QPointF point(220, 300);
        QDragEnterEvent enter(point.toPoint(), Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window, &enter);
        QDragMoveEvent move(point.toPoint(), Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window, &move);
        QDropEvent dropped(point, Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window, &dropped);
    }
};

QString remembered()
{
    const QSettings settings(Config::configurationFile(), QSettings::IniFormat);
    return settings.value(QStringLiteral("catalogue")).toString();
}

} // namespace

class StationsSheetTests : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;
    QTemporaryDir m_files;
    QTemporaryDir m_www;
    std::unique_ptr<LocalHttpServer> m_server;

    QString file(const QString& name) const { return m_files.filePath(name); }

private slots:
    void initTestCase()
    {
        // The counts' English forms, as the application installs them.
        QCoreApplication::installTranslator(new EnglishPlurals(this));
        ColorScheme::setOverride(QStringLiteral("light"));
        qputenv("XDG_DATA_HOME", m_home.filePath(QStringLiteral("data")).toUtf8());
        qputenv("XDG_CONFIG_HOME", m_home.filePath(QStringLiteral("config")).toUtf8());
        QVERIFY(QDBusConnection::sessionBus().isConnected());
        QVERIFY(writeFile(file(QStringLiteral("other.csv")),
                      catalogueText({QStringLiteral("Other One"), QStringLiteral("Other Two")})));
        QVERIFY(writeFile(file(QStringLiteral("header-only.csv")), "id,url,image,genre,title\n"));
        QVERIFY(writeFile(m_www.filePath(QStringLiteral("remote.csv")), catalogueText({QStringLiteral("Remote One")})));
        m_server = std::make_unique<LocalHttpServer>(m_www.path());
        QVERIFY(m_server->isRunning());
    }

    void init()
    {
        // My stations: two stations and a row that carries none.
        QVERIFY(writeFile(Config::myStationsFile(),
                      catalogueText({QStringLiteral("Mine One"), QStringLiteral("Mine Two")}, "x,http://a,,,Bad id\n")));
        QFile::remove(Config::configurationFile());
    }

    void cleanupTestCase() { m_server.reset(); }

    void opensFromItsButtonAndShowsTheCatalogueInUse()
    {
        Screen screen;
        QVERIFY(screen.ready());
        QTRY_COMPARE(screen.title(), QStringLiteral("Mine One"));
        // Built only when first asked for.
        QVERIFY(!screen.sheet());
        screen.click("stationsButton");
        QTRY_VERIFY(screen.isOpen());
        QCOMPARE(screen.textOf("sourceName"), QStringLiteral("My stations"));
        QCOMPARE(screen.textOf("sourceAddress"), Config::myStationsFile());
        QCOMPARE(screen.textOf("stationCount"), QStringLiteral("2 stations"));
        QVERIFY(screen.shows("skippedRows"));
        QCOMPARE(screen.textOf("skippedRows"), QStringLiteral("1 row could not be read"));
        QVERIFY(!screen.shows("useMyStationsButton"));
        QVERIFY(!screen.shows("switchError"));
        QVERIFY(!screen.shows("sourceProblem"));
        // The field has the keys: Space types instead of playing.
        QTest::keyClick(screen.window, Qt::Key_Space);
        QVERIFY(!screen.player->isPlaying());
        screen.keepGrab(QStringLiteral("sheet-light"));

        QTest::keyClick(screen.window, Qt::Key_Escape);
        QTRY_VERIFY(!screen.sheet()->isVisible());
        QVERIFY(screen.open());
    }

    // A bad choice is explained in the sheet; the cards and the source stay
    // as they were. (Which addresses are refused, and why: CatalogueTests;
    // one refused at once: theLatestChoiceWins.)
    void badChoicesAreExplainedAndTheCardsStay()
    {
        const QString address = QStringLiteral("http://127.0.0.1:%1/gone.csv").arg(m_server->port());
        Screen screen;
        QVERIFY(screen.ready());
        QTRY_COMPARE(screen.title(), QStringLiteral("Mine One"));
        QVERIFY(screen.open());
        screen.use(address);
        QVERIFY(screen.settled());
        QTRY_COMPARE(screen.error(),
                     QStringLiteral("Could not load the stations from 127.0.0.1: the server answered 404"));
        QVERIFY(screen.textOf("switchErrorText").endsWith(QStringLiteral("The stations in use stay as they are.")));
        QCOMPARE(screen.title(), QStringLiteral("Mine One"));
        QCOMPARE(screen.textOf("sourceName"), QStringLiteral("My stations"));
        QVERIFY(screen.catalogue.isMyStations());
        // The address stays in the field, to be mended.
        QCOMPARE(screen.item("addressField")->property("text").toString(), address);
        QVERIFY(remembered().isEmpty());
        screen.keepGrab(QStringLiteral("sheet-error-light"));
    }

    // A good file, then a good address (read while the sheet shows
    // progress), then My stations again.
    void goodChoicesSwitchTheCardsAndMyStationsComesBack()
    {
        Screen screen;
        QVERIFY(screen.ready());
        QTRY_COMPARE(screen.title(), QStringLiteral("Mine One"));
        QVERIFY(screen.open());

        screen.use(file(QStringLiteral("other.csv")));
        QTRY_COMPARE(screen.title(), QStringLiteral("Other One"));
        QCOMPARE(screen.textOf("sourceName"), QStringLiteral("other.csv"));
        QCOMPARE(screen.textOf("sourceAddress"), file(QStringLiteral("other.csv")));
        QCOMPARE(screen.textOf("stationCount"), QStringLiteral("2 stations"));
        QVERIFY(!screen.shows("skippedRows"));
        QVERIFY(!screen.shows("switchError"));
        QVERIFY(screen.shows("useMyStationsButton"));
        QCOMPARE(screen.item("addressField")->property("text").toString(), QString());
        QCOMPARE(remembered(), QUrl::fromLocalFile(file(QStringLiteral("other.csv"))).toString());

        const QString remote = QStringLiteral("http://127.0.0.1:%1/remote.csv?delay=0.5").arg(m_server->port());
        screen.use(remote);
        QVERIFY(screen.catalogue.isSwitching());
        QTRY_VERIFY(screen.shows("switchProgress"));
        QVERIFY(!screen.item("useAddressButton")->isEnabled());
        QCOMPARE(screen.title(), QStringLiteral("Other One"));
        QTRY_COMPARE_WITH_TIMEOUT(screen.title(), QStringLiteral("Remote One"), 10000);
        QVERIFY(!screen.shows("switchProgress"));
        QCOMPARE(screen.textOf("sourceName"), QStringLiteral("127.0.0.1"));
        QCOMPARE(screen.textOf("sourceAddress"), remote);
        // The remote catalogue was read once, for the check, not again for the cards.
        QCOMPARE(m_server->requestCount(QStringLiteral("/remote.csv")), 1);

        screen.click("useMyStationsButton");
        QTRY_COMPARE(screen.title(), QStringLiteral("Mine One"));
        QCOMPARE(screen.textOf("sourceName"), QStringLiteral("My stations"));
        QVERIFY(!screen.shows("useMyStationsButton"));
        QVERIFY(remembered().isEmpty());
    }

    // A choice made while an earlier one is still being read wins, even a
    // bad one: the earlier one must not take over when it answers.
    void theLatestChoiceWins()
    {
        Screen screen;
        QVERIFY(screen.ready());
        QTRY_COMPARE(screen.title(), QStringLiteral("Mine One"));
        screen.catalogue.useAddress(QStringLiteral("http://127.0.0.1:%1/remote.csv?delay=0.4").arg(m_server->port()));
        screen.catalogue.useAddress(QStringLiteral("ftp://example.org/x.csv"));
        QVERIFY(!screen.catalogue.isSwitching());
        // The earlier answer has come, however slow the machine.
        const auto answered = [&] {
            const QJsonObject stats = m_server->stats();
            return stats.value(QStringLiteral("/remote.csv")).toInt()
                == stats.value(QStringLiteral("!done /remote.csv")).toInt()
                + stats.value(QStringLiteral("!aborted /remote.csv")).toInt();
        };
        QTRY_VERIFY_WITH_TIMEOUT(answered(), 20000);
        QTest::qWait(100);
        QCOMPARE(screen.title(), QStringLiteral("Mine One"));
        QVERIFY(screen.catalogue.isMyStations());
        QVERIFY(screen.catalogue.switchError().startsWith(QStringLiteral("A catalogue address begins with")));
    }

    void aDroppedFileOrAddressBecomesTheCatalogue()
    {
        Screen screen;
        QVERIFY(screen.ready());
        QTRY_COMPARE(screen.title(), QStringLiteral("Mine One"));

        // A file from a file manager: a file URL (the name has a space).
        QVERIFY(QFile::copy(file(QStringLiteral("other.csv")), file(QStringLiteral("my other.csv"))));
        QMimeData files;
        files.setUrls({QUrl::fromLocalFile(file(QStringLiteral("my other.csv")))});
        screen.drop(&files);
        QTRY_VERIFY(screen.isOpen());
        QTRY_COMPARE(screen.title(), QStringLiteral("Other One"));
        QCOMPARE(screen.textOf("sourceName"), QStringLiteral("my other.csv"));

        // An address dragged from a browser as text.
        QMimeData text;
        text.setText(QStringLiteral("\n  http://127.0.0.1:%1/remote.csv  \n").arg(m_server->port()));
        screen.drop(&text);
        QTRY_COMPARE_WITH_TIMEOUT(screen.title(), QStringLiteral("Remote One"), 10000);
        QCOMPARE(screen.textOf("sourceName"), QStringLiteral("127.0.0.1"));

        // Something that is no catalogue: said in the sheet, nothing changes.
        QMimeData words;
        words.setText(QStringLiteral("just some words"));
        screen.drop(&words);
        QVERIFY(screen.settled());
        QTRY_VERIFY(!screen.error().isEmpty());
        QCOMPARE(screen.title(), QStringLiteral("Remote One"));
    }

    // Without a portal the button cannot work: it is off, and the sheet
    // says to paste a path.
    void withoutAPortalTheSheetAsksForAPath()
    {
        Screen screen;
        QVERIFY(screen.ready());
        QVERIFY(screen.open());
        QTRY_VERIFY(screen.shows("noFileDialog"));
        QVERIFY(!screen.item("openFileButton")->isEnabled());
    }

    // The portal's dialog: a file chosen becomes the catalogue; a cancelled
    // dialog changes nothing.
    void theDesktopsFileDialogChoosesAFile()
    {
        StandInPortal portal;
        QVERIFY(portal.registered);
        Screen screen;
        QVERIFY(screen.ready());
        QTRY_COMPARE(screen.title(), QStringLiteral("Mine One"));
        QVERIFY(screen.open());
        QTRY_VERIFY(screen.item("openFileButton")->isEnabled());
        QVERIFY(!screen.shows("noFileDialog"));

        portal.chooser.response = 1;
        screen.click("openFileButton");
        QTRY_COMPARE(portal.chooser.calls, 1);
        QVERIFY(portal.chooser.patterns.contains(QStringLiteral("*.csv")));
        QVERIFY(portal.chooser.patterns.contains(QStringLiteral("text/csv")));
        QVERIFY(!portal.chooser.title.isEmpty());
        // Back from the dialog: nothing changed, nothing to complain about.
        QTRY_VERIFY(screen.item("openFileButton")->isEnabled());
        QVERIFY(!screen.shows("switchError"));
        QCOMPARE(screen.title(), QStringLiteral("Mine One"));

        portal.chooser.response = 0;
        portal.chooser.uri = QUrl::fromLocalFile(file(QStringLiteral("other.csv"))).toString();
        screen.click("openFileButton");
        QTRY_COMPARE(portal.chooser.calls, 2);
        QTRY_COMPARE(screen.title(), QStringLiteral("Other One"));
        QCOMPARE(screen.textOf("sourceName"), QStringLiteral("other.csv"));
        QVERIFY(!screen.shows("switchError"));

        // A file that holds no station: explained, the cards stay.
        portal.chooser.uri = QUrl::fromLocalFile(file(QStringLiteral("header-only.csv"))).toString();
        QTRY_VERIFY(screen.item("openFileButton")->isEnabled());
        screen.click("openFileButton");
        QTRY_COMPARE(portal.chooser.calls, 3);
        QTRY_COMPARE(screen.error(), QStringLiteral("header-only.csv holds no station."));
        QCOMPARE(screen.title(), QStringLiteral("Other One"));
    }

    // A playlist dropped on the window, or chosen with Import…, is added to
    // My stations; Ctrl+Z takes it out again.
    void playlistsAreImportedIntoMyStations()
    {
        StandInPortal portal;
        QVERIFY(portal.registered);
        Screen screen;
        QVERIFY(screen.ready());
        QTRY_COMPARE(screen.title(), QStringLiteral("Mine One"));
        const QByteArray before = readAll(Config::myStationsFile());

        QVERIFY(writeFile(file(QStringLiteral("radio.m3u")), "#EXTM3U\n#EXTINF:-1,Dropped\nhttp://d.example/s\n"));
        QMimeData files;
        files.setUrls({QUrl::fromLocalFile(file(QStringLiteral("radio.m3u")))});
        screen.drop(&files);
        QTRY_VERIFY(readAll(Config::myStationsFile()).contains(",Dropped\n"));
        QVERIFY(!screen.isOpen());
        QTRY_VERIFY(screen.catalogue.canUndo());
        QTest::keyClick(screen.window, Qt::Key_Z, Qt::ControlModifier);
        QTRY_COMPARE(readAll(Config::myStationsFile()), before);

        QVERIFY(writeFile(file(QStringLiteral("radio.pls")), "[playlist]\nFile1=https://p.example/s\nTitle1=Chosen\n"));
        portal.chooser.uri = QUrl::fromLocalFile(file(QStringLiteral("radio.pls"))).toString();
        QVERIFY(screen.open());
        QTRY_VERIFY(screen.item("importButton")->isEnabled());
        screen.click("importButton");
        QTRY_VERIFY(readAll(Config::myStationsFile()).contains(",Chosen\n"));
        QVERIFY(portal.chooser.patterns.contains(QStringLiteral("*.pls")));
    }
};

QTEST_MAIN(StationsSheetTests)
#include "StationsSheetTests.moc"
