// The playback session's decisions, against a scripted media player: when
// it connects, counts down, retries, gives up, and what it shows meanwhile.
// LiveStreamTests runs the same session on libmpv against real servers.
#include "Playback/PlaybackSession.h"
#include "Support/NetworkReachability.h"
#include "TestSupport.h"

#include <QSignalSpy>
#include <QTest>

using namespace std::chrono_literals;
using State = PlaybackSession::State;

namespace {

// Plays what it is told, and reports what the test says happens.
class ScriptedMediaPlayer final : public MediaPlayer {
public:
    QList<QUrl> items;
    int plays = 0;
    float currentRate = 0;
    bool broken = false; // cannot start, like a missing libmpv

    void replaceItem(const QUrl& url) override
    {
        items.append(url);
        setAudioPlaying(false); // a new stream starts silent
    }
    void play() override
    {
        ++plays;
        if (!broken)
            currentRate = 1;
    }
    void pause() override
    {
        currentRate = 0;
        setAudioPlaying(false);
    }
    float rate() const override { return currentRate; }
    float volume() const override { return 1; }
    void setVolume(float) override { }

    void sound(bool on) { setAudioPlaying(on); }
    void end(EndCause cause)
    {
        currentRate = 0;
        setAudioPlaying(false);
        emit playbackEnded(QStringLiteral("http://radio.test/live: why"), cause);
    }
};

PlaybackSession::Timing fastTiming(std::chrono::milliseconds firstDelay)
{
    PlaybackSession::Timing timing;
    timing.reconnect.firstDelay = firstDelay;
    timing.reconnect.maxDelay = firstDelay * 8;
    timing.stallGrace = 300ms;
    timing.songSettle = 100ms;
    return timing;
}

const QUrl stream(QStringLiteral("http://radio.test/live"));
const QUrl other(QStringLiteral("http://radio.test/other"));

} // namespace

class PlaybackSessionTests : public QObject {
    Q_OBJECT

private slots:
    void connectsPlaysAndStops()
    {
        auto* media = new ScriptedMediaPlayer;
        PlaybackSession session(media);
        session.play(); // nothing selected: nothing to want
        QCOMPARE(media->plays, 0);
        QCOMPARE(session.state(), State::Stopped);

        session.setStream(stream, QStringLiteral("Radio"));
        QCOMPARE(media->items, QList<QUrl>{stream});
        QCOMPARE(media->plays, 0);
        session.play();
        QCOMPARE(session.state(), State::Connecting);
        media->sound(true);
        QCOMPARE(session.state(), State::Playing);
        session.play(); // already playing: no reconnect
        QCOMPARE(media->plays, 1);

        // Another station while playing: opened at once.
        session.setStream(other, QStringLiteral("Other"));
        QCOMPARE(media->items.last(), other);
        QCOMPARE(session.state(), State::Connecting);
        media->sound(true);

        session.stop();
        QCOMPARE(session.state(), State::Stopped);
        QCOMPARE(media->rate(), 0.0f);
        media->end(EndCause::StreamEnded); // a late report changes nothing
        QCOMPARE(session.state(), State::Stopped);
    }

    void countsDownToTheNextAttempt()
    {
        auto* media = new ScriptedMediaPlayer;
        PlaybackSession session(media, nullptr, fastTiming(1000ms));
        QList<int> countdown;
        connect(&session, &PlaybackSession::retryInSecondsChanged, this,
                [&] { countdown.append(session.retryInSeconds()); });
        session.setStream(stream, QStringLiteral("Radio"));
        session.play();
        media->sound(true);

        StdoutCapture out;
        media->end(EndCause::StreamEnded);
        QCOMPARE(session.state(), State::Reconnecting);
        QCOMPARE(session.reason(), QStringLiteral("The stream ended"));
        QCOMPARE(media->plays, 1);
        QTRY_COMPARE_WITH_TIMEOUT(media->plays, 2, 20000);
        QCOMPARE(countdown, (QList<int>{1, 0}));
        // Still reconnecting while the attempt connects; playing once sound comes.
        QCOMPARE(session.state(), State::Reconnecting);
        media->sound(true);
        QCOMPARE(session.state(), State::Playing);
        QCOMPARE(session.reason(), QString());
        out.restore();
        QCOMPARE(out.text(), QByteArray("Reconnecting (attempt 2) after http://radio.test/live: why\n"));
    }

    void networkBackRetriesAtOnce()
    {
        auto* media = new ScriptedMediaPlayer;
        NetworkReachability reachability;
        PlaybackSession session(media, &reachability, fastTiming(10s));
        session.setStream(stream, QStringLiteral("Radio"));
        session.play();
        emit reachability.becameOnline(); // nothing pending: nothing to do
        QCOMPARE(media->plays, 1);

        media->end(EndCause::ServerNotAnswering);
        QCOMPARE(session.retryInSeconds(), 10);
        StdoutCapture out;
        emit reachability.becameOnline();
        QCOMPARE(media->plays, 2);
        QCOMPARE(session.retryInSeconds(), 0);
        QCOMPARE(session.state(), State::Reconnecting);
        QVERIFY(out.text().contains("attempt 2, the network is back"));
    }

    void stopAndStationChangeCancelThePendingAttempt()
    {
        auto* media = new ScriptedMediaPlayer;
        PlaybackSession session(media, nullptr, fastTiming(200ms));
        session.setStream(stream, QStringLiteral("Radio"));
        session.play();
        media->end(EndCause::StreamEnded);
        QCOMPARE(session.state(), State::Reconnecting);
        session.stop();
        QTest::qWait(300);
        QCOMPARE(media->plays, 1);
        QCOMPARE(session.state(), State::Stopped);
        QCOMPARE(session.reason(), QString());

        session.play();
        media->end(EndCause::StreamEnded);
        session.setStream(other, QStringLiteral("Other"));
        QCOMPARE(media->plays, 3);
        QCOMPARE(session.state(), State::Connecting);
        QCOMPARE(session.retryInSeconds(), 0);
        QTest::qWait(300);
        QCOMPARE(media->plays, 3);

        // Play while waiting to reconnect: try now.
        media->end(EndCause::StreamEnded);
        session.play();
        QCOMPARE(media->plays, 4);
        QCOMPARE(session.state(), State::Reconnecting);
    }

    void lastingFailuresEndInFailed()
    {
        auto* media = new ScriptedMediaPlayer;
        PlaybackSession session(media, nullptr, fastTiming(50ms));
        QList<State> states;
        connect(&session, &PlaybackSession::stateChanged, this, [&] { states.append(session.state()); });
        session.setStream(stream, QStringLiteral("Radio"));
        session.play();
        StdoutCapture out;
        media->end(EndCause::NotFound);
        QTRY_COMPARE(media->plays, 2);
        media->end(EndCause::NotFound);
        QTRY_COMPARE(media->plays, 3);
        media->end(EndCause::NotFound);
        QCOMPARE(session.state(), State::Failed);
        QCOMPARE(session.reason(), QStringLiteral("Not found (404)"));
        QTest::qWait(300);
        QCOMPARE(media->plays, 3);
        QCOMPARE(states, (QList<State>{State::Connecting, State::Reconnecting, State::Failed}));
        out.restore();
        QVERIFY(out.text().endsWith("Playback failed after 3 tries: http://radio.test/live: why\n"));

        // Play starts over; so does another station while the listener
        // still wants to listen.
        session.play();
        QCOMPARE(session.state(), State::Connecting);
        QCOMPARE(session.reason(), QString());
        media->end(EndCause::NoAudioOutput);
        media->end(EndCause::NoAudioOutput);
        media->end(EndCause::NoAudioOutput);
        QCOMPARE(session.state(), State::Failed);
        QCOMPARE(session.reason(), QStringLiteral("No audio output"));
        session.setStream(other, QStringLiteral("Other"));
        QCOMPARE(session.state(), State::Connecting);
        QCOMPARE(media->items.last(), other);
    }

    void refusesWhatItCannotPlay()
    {
        auto* media = new ScriptedMediaPlayer;
        PlaybackSession session(media);
        session.setStream(QUrl(QStringLiteral("file:///etc/passwd")), QStringLiteral("Local"));
        session.play();
        QCOMPARE(session.state(), State::Failed);
        QCOMPARE(session.reason(), QStringLiteral("Unsupported stream format"));
        QCOMPARE(media->plays, 0);

        auto* broken = new ScriptedMediaPlayer;
        broken->broken = true;
        PlaybackSession withoutPlayer(broken);
        withoutPlayer.setStream(stream, QStringLiteral("Radio"));
        withoutPlayer.play();
        QCOMPARE(withoutPlayer.state(), State::Failed);
        QCOMPARE(withoutPlayer.reason(), QStringLiteral("The media player cannot start"));
    }

    void shortStallsStillCountAsPlaying()
    {
        auto* media = new ScriptedMediaPlayer;
        PlaybackSession session(media, nullptr, fastTiming(1s));
        session.setStream(stream, QStringLiteral("Radio"));
        session.play();
        media->sound(true);
        QList<State> states;
        connect(&session, &PlaybackSession::stateChanged, this, [&] { states.append(session.state()); });
        // A stall that ends before the event loop turns, then the whole
        // grace (300 ms) and more: however slow the machine, the stall was
        // shorter than the grace, and nothing may change.
        media->sound(false);
        media->sound(true);
        QTest::qWait(400);
        QCOMPARE(states, QList<State>());
        media->sound(false);
        QTRY_COMPARE_WITH_TIMEOUT(session.state(), State::Connecting, 10000);
        media->sound(true);
        QCOMPARE(states, (QList<State>{State::Connecting, State::Playing}));
    }

    void showsTheSongAndTheStreamDetails()
    {
        auto* media = new ScriptedMediaPlayer;
        PlaybackSession session(media, nullptr, fastTiming(50ms));
        QSignalSpy started(&session, &PlaybackSession::songStarted);
        const StreamTags song{{QStringLiteral("icy-title"), "Band - Tune"}};

        session.setStream(stream, QStringLiteral("Radio"));
        emit media->metadataChanged(song); // not playing: ignored
        QCOMPARE(session.songText(), QString());
        session.play();
        media->sound(true);
        emit media->metadataChanged(song);
        emit media->streamDetailsChanged(StreamDetails{QStringLiteral("mp3"), 128});
        QCOMPARE(session.songText(), QStringLiteral("Band \u2013 Tune"));
        QCOMPARE(session.songArtist(), QStringLiteral("Band"));
        QCOMPARE(session.songTitle(), QStringLiteral("Tune"));
        QCOMPARE(session.streamDetails(), QStringLiteral("MP3 \u00b7 128 kbit/s"));
        QTRY_COMPARE(started.size(), 1);
        QCOMPARE(started[0], (QVariantList{QStringLiteral("Radio"), QStringLiteral("Band \u2013 Tune")}));

        // A reconnect opens the stream again: its first tags have no title
        // yet, then the same song. Neither is news.
        media->end(EndCause::StreamEnded);
        QTRY_COMPARE(media->plays, 2);
        media->sound(true);
        emit media->metadataChanged(StreamTags{{QStringLiteral("icy-name"), "Radio"}});
        QCOMPARE(session.songText(), QStringLiteral("Band \u2013 Tune"));
        emit media->metadataChanged(song);
        QTest::qWait(200);
        QCOMPARE(started.size(), 1);

        // The station's name between songs clears the song.
        emit media->metadataChanged(StreamTags{{QStringLiteral("icy-title"), "RADIO"}});
        QCOMPARE(session.songText(), QString());
        emit media->metadataChanged(song);
        QTRY_COMPARE(started.size(), 2);

        // Titles that change faster than a song: only the one that stays.
        for (int i = 0; i < 50; ++i)
            emit media->metadataChanged(StreamTags{{QStringLiteral("icy-title"), QByteArray::number(i)}});
        QCOMPARE(session.songText(), QStringLiteral("49"));
        QTRY_COMPARE(started.size(), 3);
        QTest::qWait(200);
        QCOMPARE(started.size(), 3);
        QCOMPARE(started.last().at(1).toString(), QStringLiteral("49"));

        session.setStream(other, QStringLiteral("Other"));
        QCOMPARE(session.songText(), QString());
        QCOMPARE(session.streamDetails(), QString());
        emit media->metadataChanged(song);
        emit media->streamDetailsChanged(StreamDetails{QStringLiteral("vorbis"), 0});
        QCOMPARE(session.streamDetails(), QStringLiteral("Vorbis"));
        session.stop(); // before the song settled: it never started
        QCOMPARE(session.songText(), QString());
        QCOMPARE(session.streamDetails(), QString());
        QTest::qWait(200);
        QCOMPARE(started.size(), 3);
    }
};

QTEST_GUILESS_MAIN(PlaybackSessionTests)
#include "PlaybackSessionTests.moc"
