// The media controls as a desktop sees them, on a private session bus (the
// test runs under dbus-run-session) with playerctl as the client: what
// PlaybackStatus says after each command and after a failed stream, and the
// Can* properties following the catalogue, each change announced.
#include "MediaControls/MprisService.h"
#include "MediaControls/NowPlayingPublisher.h"
#include "MediaControls/NowPlayingSink.h"
#include "Model/Player.h"
#include "TestSupport.h"

#include <QDBusConnection>
#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusVariant>
#include <QEventLoop>
#include <QProcess>
#include <QTest>
#include <QTimer>

class MprisTests : public QObject {
    Q_OBJECT

public slots:
    // org.freedesktop.DBus.Properties.PropertiesChanged, seen by another
    // connection as a desktop shell would see it.
    void onPropertiesChanged(const QDBusMessage& message)
    {
        const QVariantMap changed = qdbus_cast<QVariantMap>(message.arguments().value(1));
        for (auto it = changed.cbegin(); it != changed.cend(); ++it)
            m_announced.append({it.key(), it.value().toString()});
    }

private:
    QList<std::pair<QString, QString>> m_announced;

    // playerctl, run while the event loop answers its calls.
    static QString playerctl(const QStringList& arguments)
    {
        QProcess process;
        process.start(QStringLiteral("playerctl"), QStringList{QStringLiteral("-p"), QStringLiteral("quillora")} + arguments);
        QEventLoop loop;
        connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
        QTimer::singleShot(5000, &loop, &QEventLoop::quit);
        if (process.state() != QProcess::NotRunning)
            loop.exec();
        process.waitForFinished(100);
        return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
    }

    bool announced(const QString& property, const QString& value) const
    {
        return m_announced.contains(std::pair{property, value});
    }

private slots:
    void initTestCase()
    {
        QDBusConnection observer = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("shell"));
        QVERIFY(observer.isConnected());
        QVERIFY(observer.connect(QString(), QString::fromLatin1(MprisService::objectPath),
                                 QStringLiteral("org.freedesktop.DBus.Properties"),
                                 QStringLiteral("PropertiesChanged"), this, SLOT(onPropertiesChanged(QDBusMessage))));
    }

    void theControlsFollowTheCatalogueAndTheCommands()
    {
        auto loader = std::make_shared<ManualLoader>();
        auto* media = new RecordingMediaPlayer;
        NowPlayingSink nowPlaying;
        const auto player = std::make_unique<Player>(loader.get(), media);
        NowPlayingPublisher publisher(&nowPlaying);
        QObject::connect(player.get(), &Player::nowPlayingChanged, &publisher,
                         [&] { publisher.showInfo(player->station()); });
        MprisService service(player.get(), &nowPlaying);
        QVERIFY(service.registerOnSessionBus());

        // Nothing to play yet: the desktop offers nothing, and says Stopped.
        player->loadStations();
        QCOMPARE(playerctl({QStringLiteral("status")}), QStringLiteral("Stopped"));
        playerctl({QStringLiteral("next")});
        QCOMPARE(player->selectedStationIndex(), 0);

        loader->deliver({testStation(1), testStation(2)});
        QTRY_VERIFY(announced(QStringLiteral("CanPlay"), QStringLiteral("true")));
        QTRY_VERIFY(announced(QStringLiteral("CanGoNext"), QStringLiteral("true")));
        QVERIFY(announced(QStringLiteral("CanPause"), QStringLiteral("true")));
        QVERIFY(announced(QStringLiteral("CanGoPrevious"), QStringLiteral("true")));
        QCOMPARE(playerctl({QStringLiteral("status")}), QStringLiteral("Paused"));

        const QList<std::pair<QString, QStringList>> steps = {
            {QStringLiteral("Playing"), {QStringLiteral("play-pause")}},
            {QStringLiteral("Paused"), {QStringLiteral("play-pause")}},
            {QStringLiteral("Playing"), {QStringLiteral("play")}},
            {QStringLiteral("Paused"), {QStringLiteral("pause")}},
            {QStringLiteral("Stopped"), {QStringLiteral("stop")}}, // from Paused: the player itself does not change
            {QStringLiteral("Playing"), {QStringLiteral("play")}},
            {QStringLiteral("Stopped"), {QStringLiteral("stop")}},
        };
        for (const auto& [status, command] : steps) {
            m_announced.clear();
            playerctl(command);
            QCOMPARE(playerctl({QStringLiteral("status")}), status);
            QTRY_VERIFY2(announced(QStringLiteral("PlaybackStatus"), status), qPrintable(command.join(' ')));
        }

        // A stream that drops is reconnected: still Playing. One that is
        // not there at all fails after three tries: Stopped.
        playerctl({QStringLiteral("play")});
        QCOMPARE(playerctl({QStringLiteral("status")}), QStringLiteral("Playing"));
        media->fail(QStringLiteral("http://127.0.0.1:9/stream1: end of stream"), EndCause::StreamEnded);
        QCOMPARE(player->session()->state(), PlaybackSession::State::Reconnecting);
        QCOMPARE(playerctl({QStringLiteral("status")}), QStringLiteral("Playing"));
        m_announced.clear();
        for (int attempt = 0; attempt < 3; ++attempt) {
            player->resume(); // the next attempt at once, not after its delay
            QVERIFY(media->rate() > 0);
            media->fail(QStringLiteral("http://127.0.0.1:9/stream1: HTTP error 404"), EndCause::NotFound);
        }
        QCOMPARE(player->session()->state(), PlaybackSession::State::Failed);
        QCOMPARE(playerctl({QStringLiteral("status")}), QStringLiteral("Stopped"));
        QTRY_VERIFY(announced(QStringLiteral("PlaybackStatus"), QStringLiteral("Stopped")));

        // An empty reload takes the offers back.
        m_announced.clear();
        player->loadStations();
        loader->deliver({});
        QTRY_VERIFY(announced(QStringLiteral("CanPlay"), QStringLiteral("false")));
        QVERIFY(announced(QStringLiteral("CanGoNext"), QStringLiteral("false")));
        QCOMPARE(playerctl({QStringLiteral("status")}), QStringLiteral("Stopped"));
    }
};

QTEST_GUILESS_MAIN(MprisTests)
#include "MprisTests.moc"
