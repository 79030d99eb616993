// When a dropped stream is tried again and when it is given up, on a clock
// the test moves by hand.
#include "Playback/ReconnectPolicy.h"

#include <QTest>

using namespace std::chrono_literals;
using Duration = ReconnectPolicy::Duration;

namespace {

const ReconnectPolicy::Clock::time_point t0{};

QList<qint64> delaysInSeconds(ReconnectPolicy& policy, EndCause cause, int count)
{
    QList<qint64> delays;
    for (int i = 0; i < count; ++i) {
        const auto delay = policy.afterEnd(cause, t0);
        delays.append(delay ? std::chrono::duration_cast<std::chrono::seconds>(*delay).count() : -1);
    }
    return delays;
}

} // namespace

class ReconnectPolicyTests : public QObject {
    Q_OBJECT

private slots:
    void doublesUpToThirtySecondsAndNeverGivesUpOnDrops_data()
    {
        QTest::addColumn<EndCause>("cause");
        QTest::newRow("stream ended") << EndCause::StreamEnded;
        QTest::newRow("server not answering") << EndCause::ServerNotAnswering;
        QTest::newRow("other") << EndCause::Other;
    }

    void doublesUpToThirtySecondsAndNeverGivesUpOnDrops()
    {
        QFETCH(EndCause, cause);
        ReconnectPolicy policy;
        policy.start();
        QCOMPARE(delaysInSeconds(policy, cause, 8), (QList<qint64>{1, 2, 4, 8, 16, 30, 30, 30}));
        const QList<qint64> later = delaysInSeconds(policy, cause, 500);
        QVERIFY(std::all_of(later.cbegin(), later.cend(), [](qint64 d) { return d == 30; }));
    }

    void aMinuteOfPlaybackStartsTheDelaysOver()
    {
        ReconnectPolicy policy;
        policy.start();
        QCOMPARE(delaysInSeconds(policy, EndCause::StreamEnded, 3), (QList<qint64>{1, 2, 4}));

        // 59 s of sound is not enough ...
        policy.audioStarted(t0);
        QCOMPARE(policy.afterEnd(EndCause::StreamEnded, t0 + 59s), Duration(8s));
        // ... a minute is.
        policy.audioStarted(t0 + 100s);
        QCOMPARE(policy.afterEnd(EndCause::StreamEnded, t0 + 160s), Duration(1s));
        QCOMPARE(policy.afterEnd(EndCause::StreamEnded, t0 + 161s), Duration(2s));

        // A stall in between breaks the minute: it counts from the restart.
        policy.audioStarted(t0 + 200s);
        policy.audioStopped();
        policy.audioStarted(t0 + 230s);
        QCOMPARE(policy.afterEnd(EndCause::StreamEnded, t0 + 270s), Duration(4s));
        // Sound reported twice does not move the start.
        policy.audioStarted(t0 + 300s);
        policy.audioStarted(t0 + 350s);
        QCOMPARE(policy.afterEnd(EndCause::StreamEnded, t0 + 360s), Duration(1s));
    }

    void givesUpOnLastingFailuresAfterThreeTries_data()
    {
        QTest::addColumn<EndCause>("cause");
        QTest::newRow("not found") << EndCause::NotFound;
        QTest::newRow("forbidden") << EndCause::Forbidden;
        QTest::newRow("unsupported format") << EndCause::UnsupportedFormat;
        QTest::newRow("no audio output") << EndCause::NoAudioOutput;
    }

    void givesUpOnLastingFailuresAfterThreeTries()
    {
        QFETCH(EndCause, cause);
        ReconnectPolicy policy;
        policy.start();
        // The first connection and two retries fail: no fourth.
        QCOMPARE(delaysInSeconds(policy, cause, 3), (QList<qint64>{1, 2, -1}));

        // Drops in between do not reset the count; a fresh start does.
        policy.start();
        QVERIFY(policy.afterEnd(cause, t0));
        QVERIFY(policy.afterEnd(EndCause::ServerNotAnswering, t0));
        QVERIFY(policy.afterEnd(cause, t0));
        QVERIFY(!policy.afterEnd(cause, t0));
    }

    void soundInBetweenResetsTheCount()
    {
        ReconnectPolicy policy;
        policy.start();
        QVERIFY(policy.afterEnd(EndCause::NoAudioOutput, t0));
        QVERIFY(policy.afterEnd(EndCause::NoAudioOutput, t0));
        policy.audioStarted(t0);
        QVERIFY(policy.afterEnd(EndCause::NoAudioOutput, t0 + 1s));
        QVERIFY(policy.afterEnd(EndCause::NoAudioOutput, t0 + 2s));
        QVERIFY(!policy.afterEnd(EndCause::NoAudioOutput, t0 + 3s));
    }

    void aMountThatPlayedIsWaitedFor()
    {
        // Icecast answers 404 while a station's source restarts: an address
        // that played is tried for as long as the listener wants it.
        ReconnectPolicy policy;
        policy.start();
        policy.audioStarted(t0);
        QVERIFY(policy.afterEnd(EndCause::StreamEnded, t0 + 5s));
        const QList<qint64> delays = delaysInSeconds(policy, EndCause::NotFound, 20);
        QVERIFY(!delays.contains(-1));
        QCOMPARE(delays.last(), 30);
        QVERIFY(policy.afterEnd(EndCause::Forbidden, t0));
        // A format it cannot play is still given up.
        QVERIFY(policy.afterEnd(EndCause::UnsupportedFormat, t0));
        QVERIFY(policy.afterEnd(EndCause::UnsupportedFormat, t0));
        QVERIFY(!policy.afterEnd(EndCause::UnsupportedFormat, t0));

        // Another station (a fresh start) has not played yet.
        policy.start();
        QCOMPARE(delaysInSeconds(policy, EndCause::NotFound, 3), (QList<qint64>{1, 2, -1}));
    }

    void honoursItsSettings()
    {
        ReconnectPolicy policy({.firstDelay = 50ms, .maxDelay = 120ms, .goodPlayback = 1s, .triesForLastingFailures = 2});
        policy.start();
        QCOMPARE(policy.afterEnd(EndCause::StreamEnded, t0), Duration(50ms));
        QCOMPARE(policy.afterEnd(EndCause::StreamEnded, t0), Duration(100ms));
        QCOMPARE(policy.afterEnd(EndCause::StreamEnded, t0), Duration(120ms));
        QVERIFY(policy.afterEnd(EndCause::NotFound, t0));
        QVERIFY(!policy.afterEnd(EndCause::NotFound, t0));
    }
};

QTEST_APPLESS_MAIN(ReconnectPolicyTests)
#include "ReconnectPolicyTests.moc"
