// The sleep timer over the player: the fade's curve, and a short timer that
// fades, stops the player and gives the volume back.
#include "Model/Player.h"
#include "Model/SleepTimer.h"
#include "TestSupport.h"

#include <QSignalSpy>
#include <QTest>

using namespace std::chrono_literals;

class SleepTimerTests : public QObject {
    Q_OBJECT

private slots:
    void fadeFactor_data()
    {
        QTest::addColumn<int>("remainingMs");
        QTest::addColumn<double>("factor");
        QTest::newRow("before the fade") << 45000 << 1.0;
        QTest::newRow("at its start") << 30000 << 1.0;
        QTest::newRow("half way") << 15000 << 0.25;
        QTest::newRow("the end") << 0 << 0.0;
        QTest::newRow("past the end") << -200 << 0.0;
    }

    void fadeFactor()
    {
        QFETCH(int, remainingMs);
        QTEST(SleepTimer::fadeFactor(std::chrono::milliseconds(remainingMs), 30s), "factor");
    }

    void fadesStopsAndRestoresTheVolume()
    {
        auto* media = new RecordingMediaPlayer;
        FixedLoader loader(QList<Station>{testStation(1)});
        const auto player = std::make_unique<Player>(&loader, media);
        player->loadStations();
        QTRY_VERIFY(!player->stations().isEmpty());
        player->setVolume(0.8f);
        player->togglePlayback();
        QVERIFY(player->isPlaying());

        SleepTimer timer(player.get(), 600ms);
        float quietest = 1.0f;
        connect(player.get(), &Player::volumeChanged, this, [&] { quietest = std::min(quietest, player->volume()); });
        QSignalSpy expired(&timer, &SleepTimer::expired);
        timer.startFor(900ms);
        QVERIFY(timer.active());
        QVERIFY(timer.remainingSeconds() >= 1);
        QTRY_VERIFY_WITH_TIMEOUT(!player->isPlaying(), 20000);
        QCOMPARE(expired.size(), 1);
        QVERIFY(!timer.active());
        QVERIFY2(quietest < 0.5f, "the volume did not fade");
        QCOMPARE(player->volume(), 0.8f);
        QCOMPARE(media->currentRate, 0.0f);
    }

    // Stopping by hand, or setting the volume during the fade, ends the
    // timer; the listener's volume stays.
    void listenerEndsTheTimer()
    {
        auto* media = new RecordingMediaPlayer;
        FixedLoader loader(QList<Station>{testStation(1)});
        const auto player = std::make_unique<Player>(&loader, media);
        player->loadStations();
        QTRY_VERIFY(!player->stations().isEmpty());
        player->setVolume(0.6f);
        player->togglePlayback();

        SleepTimer timer(player.get(), 60s);
        timer.startFor(50s); // fading from the start
        QVERIFY(timer.active());
        QVERIFY(player->volume() < 0.6f);
        player->setVolume(0.3f);
        QVERIFY(!timer.active());
        QCOMPARE(player->volume(), 0.3f);
        QVERIFY(player->isPlaying());

        timer.startFor(50s);
        player->stop();
        QVERIFY(!timer.active());
        QCOMPARE(player->volume(), 0.3f);
    }
};

QTEST_GUILESS_MAIN(SleepTimerTests)
#include "SleepTimerTests.moc"
