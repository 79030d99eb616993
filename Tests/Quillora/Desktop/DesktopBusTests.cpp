// What the player asks of the desktop, on a private session bus against
// stand-ins for its services (Tests/Support/desktopstandins.py): song
// notifications replace one another and offer Save for a song that can be
// saved, through the notification server or the portal, suspend is inhibited while playing and
// released after, and the tray icon registers with the panel's watcher and
// answers the panel's menu calls.
#include "Desktop/SongNotifier.h"
#include "Desktop/SuspendInhibitor.h"
#include "Model/Player.h"
#include "TestSupport.h"
#include "Tray/DBusMenu.h"
#include "Tray/StatusNotifierItem.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusReply>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace {

// The stand-ins, and the calls they reported so far.
class StandIns {
public:
    explicit StandIns(const QString& only = {})
    {
        QStringList arguments{QStringLiteral(QUILLORA_TEST_SUPPORT_DIR "/desktopstandins.py"), QStringLiteral("110")};
        if (!only.isEmpty())
            arguments << QStringLiteral("--only") << only;
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(QStringLiteral("/usr/bin/python3"), arguments);
    }
    ~StandIns()
    {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
    bool ready()
    {
        return !calls(QString()).isEmpty() || std::any_of(m_lines.begin(), m_lines.end(), [](const QJsonObject& line) {
            return line.value(QStringLiteral("ready")).toBool();
        });
    }
    // The calls of one method, in order (all lines for an empty name).
    QList<QJsonObject> calls(const QString& method)
    {
        while (m_process.canReadLine())
            m_lines.append(QJsonDocument::fromJson(m_process.readLine()).object());
        QList<QJsonObject> found;
        for (const QJsonObject& line : std::as_const(m_lines)) {
            if (method.isEmpty() ? line.contains(QStringLiteral("call"))
                                 : line.value(QStringLiteral("call")).toString() == method)
                found.append(line);
        }
        return found;
    }

private:
    QProcess m_process;
    QList<QJsonObject> m_lines;
};

// The player and the loader it reads its stations from.
struct PlayerWith {
    std::unique_ptr<FixedLoader> loader;
    std::unique_ptr<Player> player;
    Player* operator->() const { return player.get(); }
    Player* get() const { return player.get(); }
};

PlayerWith playerWith(int stations)
{
    QList<Station> list;
    for (int i = 1; i <= stations; ++i) {
        Station station = testStation(i);
        station.title = QStringLiteral("Station %1").arg(i);
        list.append(station);
    }
    PlayerWith made{std::make_unique<FixedLoader>(list), nullptr};
    made.player = std::make_unique<Player>(made.loader.get(), new RecordingMediaPlayer);
    made.player->loadStations();
    return made;
}

// Our notifier on the session bus, switched on (through the portal, as
// inside a sandbox, when asked).
std::unique_ptr<SongNotifier> enabledNotifier(bool portal = false)
{
    auto notifier = std::make_unique<SongNotifier>(QDBusConnection::sessionBus(), QStringLiteral("Quillora"),
                                                   QStringLiteral("io.github.quillora.Quillora"));
    notifier->setUsePortal(portal);
    notifier->setEnabled(true);
    return notifier;
}

// A click on a notification's button, through the stand-in showing it.
bool invokeAction(const QString& service, const QString& path, const QVariant& id, const QString& action)
{
    QDBusMessage click = QDBusMessage::createMethodCall(service, path, QStringLiteral("io.github.quillora.Tests"),
                                                        QStringLiteral("InvokeAction"));
    click << id << action;
    return QDBusConnection::sessionBus().call(click).type() == QDBusMessage::ReplyMessage;
}

} // namespace

class DesktopBusTests : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY2(QDBusConnection::sessionBus().isConnected(), "no private session bus"); }

    void songNotificationsReplaceTheFirst()
    {
        StandIns desktop(QStringLiteral("notifications"));
        QTRY_VERIFY_WITH_TIMEOUT(desktop.ready(), 20000);
        SongNotifier notifier(QDBusConnection::sessionBus(), QStringLiteral("Quillora"),
                              QStringLiteral("io.github.quillora.Quillora"));
        notifier.songStarted({QStringLiteral("Off"), QStringLiteral("Radio"), {}});
        notifier.setEnabled(true);
        // Three songs in a row, the later ones before the first is answered.
        notifier.songStarted({QStringLiteral("Song A"), QStringLiteral("Radio <One>"), QStringLiteral("/tmp/logo.png")});
        notifier.songStarted({QStringLiteral("Song B"), QStringLiteral("Radio <One>"), {}});
        notifier.songStarted({QStringLiteral("Song C"), QStringLiteral("Radio <One>"), {}});
        QTRY_COMPARE_WITH_TIMEOUT(desktop.calls(QStringLiteral("Notify")).size(), 2, 20000);
        notifier.setSuppressed(true); // the window has focus
        notifier.songStarted({QStringLiteral("Song D"), QStringLiteral("Radio <One>"), {}});
        notifier.setSuppressed(false);
        notifier.songStarted({QStringLiteral("Song E"), QStringLiteral("Radio <One>"), {}});
        QTRY_COMPARE_WITH_TIMEOUT(desktop.calls(QStringLiteral("Notify")).size(), 3, 20000);

        const QList<QJsonObject> notes = desktop.calls(QStringLiteral("Notify"));
        // Song B was overtaken by C while the first call was out.
        const QStringList songs{QStringLiteral("Song A"), QStringLiteral("Song C"), QStringLiteral("Song E")};
        for (qsizetype i = 0; i < notes.size(); ++i) {
            QCOMPARE(notes[i].value(QStringLiteral("summary")).toString(), songs[i]);
            QCOMPARE(notes[i].value(QStringLiteral("body")).toString(), QStringLiteral("Radio &lt;One&gt;"));
            QCOMPARE(notes[i].value(QStringLiteral("replaces_id")).toInt(), i == 0 ? 0 : notes[0]["id"].toInt());
        }
        QCOMPARE(notes[0]["icon"].toString(), QStringLiteral("/tmp/logo.png"));
        QCOMPARE(notes[0]["hints"].toObject()["image-path"].toString(), QStringLiteral("file:///tmp/logo.png"));
    }

    // Only a song that can be saved offers Save; choosing it on our
    // notification (not another program's, not another button) asks to
    // save the song that notification shows.
    void aSongNotificationOffersSave()
    {
        StandIns desktop(QStringLiteral("notifications"));
        QTRY_VERIFY_WITH_TIMEOUT(desktop.ready(), 20000);
        const auto notifier = enabledNotifier();
        QSignalSpy saves(notifier.get(), &SongNotifier::saveRequested);
        notifier->songStarted({QStringLiteral("Song A"), QStringLiteral("Radio"), {}, false});
        QTRY_COMPARE_WITH_TIMEOUT(desktop.calls(QStringLiteral("Notify")).size(), 1, 20000);
        notifier->songStarted({QStringLiteral("Song B"), QStringLiteral("Radio"), {}, true});
        QTRY_COMPARE_WITH_TIMEOUT(desktop.calls(QStringLiteral("Notify")).size(), 2, 20000);
        const QList<QJsonObject> notes = desktop.calls(QStringLiteral("Notify"));
        QVERIFY(notes[0]["actions"].toArray().isEmpty());
        QCOMPARE(notes[1]["actions"].toArray(), (QJsonArray{QStringLiteral("save"), QStringLiteral("Save")}));
        const uint id = uint(notes[1]["id"].toInt());
        for (const auto& [notification, key] : {std::pair{id + 7, "save"}, {id, "default"}, {id, "save"}})
            QVERIFY(invokeAction(QStringLiteral("org.freedesktop.Notifications"),
                                 QStringLiteral("/org/freedesktop/Notifications"), notification,
                                 QString::fromLatin1(key)));
        QTRY_COMPARE_WITH_TIMEOUT(saves.size(), 1, 20000);
        QCOMPARE(saves[0], (QVariantList{QStringLiteral("Radio"), QStringLiteral("Song B")}));
    }

    // Inside a sandbox the portal shows the song: one id, so each song
    // replaces the last, and its Save button comes back as the portal's
    // ActionInvoked.
    void insideASandboxThePortalNotifies()
    {
        StandIns desktop(QStringLiteral("portal"));
        QTRY_VERIFY_WITH_TIMEOUT(desktop.ready(), 20000);
        const auto notifier = enabledNotifier(true);
        QSignalSpy saves(notifier.get(), &SongNotifier::saveRequested);
        notifier->songStarted({QStringLiteral("Song A"), QStringLiteral("Radio"), {}, false});
        notifier->songStarted({QStringLiteral("Song B"), QStringLiteral("Radio"), {}, true});
        QTRY_COMPARE_WITH_TIMEOUT(desktop.calls(QStringLiteral("AddNotification")).size(), 2, 20000);
        const QList<QJsonObject> notes = desktop.calls(QStringLiteral("AddNotification"));
        QCOMPARE(notes[0]["id"], notes[1]["id"]);
        QCOMPARE(notes[1]["title"].toString(), QStringLiteral("Song B"));
        QCOMPARE(notes[1]["body"].toString(), QStringLiteral("Radio"));
        QVERIFY(!notes[0].contains(QStringLiteral("buttons")));
        QCOMPARE(notes[1]["buttons"].toArray().first().toObject()["action"].toString(), QStringLiteral("save"));
        for (const char* action : {"default", "save"})
            QVERIFY(invokeAction(QStringLiteral("org.freedesktop.portal.Desktop"),
                                 QStringLiteral("/org/freedesktop/portal/desktop"), notes[1]["id"].toString(),
                                 QString::fromLatin1(action)));
        QTRY_COMPARE_WITH_TIMEOUT(saves.size(), 1, 20000);
        QCOMPARE(saves[0], (QVariantList{QStringLiteral("Radio"), QStringLiteral("Song B")}));
    }

    void suspendIsInhibitedWhilePlaying()
    {
        StandIns desktop(QStringLiteral("portal"));
        QTRY_VERIFY_WITH_TIMEOUT(desktop.ready(), 20000);
        SuspendInhibitor inhibitor(QDBusConnection::sessionBus(), QStringLiteral("Quillora"));
        inhibitor.setInhibited(true, QStringLiteral("Playing a radio station"));
        QTRY_VERIFY_WITH_TIMEOUT(inhibitor.isHeld(), 20000);
        const QList<QJsonObject> asked = desktop.calls(QStringLiteral("Inhibit"));
        QCOMPARE(asked.size(), 1);
        // Suspend only: never the idle flag, which would stop the screen saver.
        QCOMPARE(asked[0]["flags"].toInt(), 4);
        QCOMPARE(asked[0]["reason"].toString(), QStringLiteral("Playing a radio station"));
        inhibitor.setInhibited(false, {});
        QTRY_COMPARE_WITH_TIMEOUT(desktop.calls(QStringLiteral("Close")).size(), 1, 20000);
        QCOMPARE(desktop.calls(QStringLiteral("Close"))[0]["handle"], asked[0]["handle"]);

        // Stopped while the portal was still answering: released at once.
        inhibitor.setInhibited(true, QStringLiteral("again"));
        inhibitor.setInhibited(false, {});
        QTRY_COMPARE_WITH_TIMEOUT(desktop.calls(QStringLiteral("Close")).size(), 2, 20000);
        QVERIFY(!inhibitor.isHeld());
    }

    void trayRegistersAndAnswersItsMenu()
    {
        const auto player = playerWith(25);
        StatusNotifierItem tray(QDBusConnection::sessionBus(), player.get(), QStringLiteral("io.github.quillora.Quillora"),
                                QStringLiteral(":/Quillora/Icon/io.github.quillora.Quillora.svg"));
        QVERIFY(!tray.isRegistered()); // no panel yet: no icon
        // A panel starts: the item registers with its watcher.
        StandIns desktop(QStringLiteral("watcher"));
        QTRY_VERIFY_WITH_TIMEOUT(tray.isRegistered(), 20000);
        const QList<QJsonObject> registered = desktop.calls(QStringLiteral("RegisterStatusNotifierItem"));
        QCOMPARE(registered.size(), 1);
        const QString service = registered[0]["service"].toString();

        // The panel reads the tooltip and the menu, as a host does.
        QDBusConnection bus = QDBusConnection::sessionBus();
        QDBusMessage get = QDBusMessage::createMethodCall(service, QStringLiteral("/StatusNotifierItem"),
                                                          QStringLiteral("org.freedesktop.DBus.Properties"),
                                                          QStringLiteral("Get"));
        get << QStringLiteral("org.kde.StatusNotifierItem") << QStringLiteral("Menu");
        const QDBusReply<QDBusVariant> menuPath = bus.call(get);
        QVERIFY2(menuPath.isValid(), qPrintable(menuPath.error().message()));
        const QString path = qdbus_cast<QDBusObjectPath>(menuPath.value().variant()).path();
        get.setArguments({QStringLiteral("org.kde.StatusNotifierItem"), QStringLiteral("IconPixmap")});
        QVERIFY(bus.call(get).type() == QDBusMessage::ReplyMessage);

        QDBusMessage layoutCall = QDBusMessage::createMethodCall(service, path, QStringLiteral("com.canonical.dbusmenu"),
                                                                 QStringLiteral("GetLayout"));
        layoutCall << 0 << -1 << QStringList();
        const QDBusMessage layoutReply = bus.call(layoutCall);
        QCOMPARE(layoutReply.type(), QDBusMessage::ReplyMessage);
        DBusMenuLayout layout;
        layoutReply.arguments().at(1).value<QDBusArgument>() >> layout;
        QStringList labels;
        for (const DBusMenuLayout& item : std::as_const(layout.children))
            labels << item.properties.value(QStringLiteral("label")).toString();
        // Play, a separator, the first 20 stations, a separator, the window, Quit.
        QCOMPARE(labels.size(), 1 + 1 + 20 + 1 + 2);
        QCOMPARE(labels.first(), QStringLiteral("Play"));
        QCOMPARE(labels.mid(2, 20).first(), QStringLiteral("Station 1"));
        QCOMPARE(labels.mid(2, 20).last(), QStringLiteral("Station 20"));
        QCOMPARE(labels.last(), QStringLiteral("Quit"));

        // Clicking the third station plays it; the menu then offers Stop.
        QDBusMessage click = QDBusMessage::createMethodCall(service, path, QStringLiteral("com.canonical.dbusmenu"),
                                                            QStringLiteral("Event"));
        click << layout.children[4].id << QStringLiteral("clicked") << QVariant::fromValue(QDBusVariant(0)) << 0u;
        QCOMPARE(bus.call(click).type(), QDBusMessage::ReplyMessage);
        QTRY_VERIFY_WITH_TIMEOUT(player->isPlaying(), 20000);
        QCOMPARE(player->selectedStationIndex(), 2);
        QTRY_COMPARE_WITH_TIMEOUT(
            tray.menu()->propertiesOf(layout.children[0].id).value(QStringLiteral("label")).toString(),
            QStringLiteral("Stop"), 20000);
        QCOMPARE(tray.toolTipTitle(), QStringLiteral("Station 3"));

        // A left click on the icon asks for the window.
        QSignalSpy activate(&tray, &StatusNotifierItem::activateRequested);
        QDBusMessage left = QDBusMessage::createMethodCall(service, QStringLiteral("/StatusNotifierItem"),
                                                           QStringLiteral("org.kde.StatusNotifierItem"),
                                                           QStringLiteral("Activate"));
        left << 0 << 0;
        QCOMPARE(bus.call(left).type(), QDBusMessage::ReplyMessage);
        QTRY_COMPARE_WITH_TIMEOUT(activate.size(), 1, 20000);
    }
};

// The tray draws its icon with Qt GUI's image readers.
QTEST_MAIN(DesktopBusTests)
#include "DesktopBusTests.moc"
