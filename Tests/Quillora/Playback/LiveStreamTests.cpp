// The playback session on libmpv against real servers on 127.0.0.1: a local
// Icecast fed by ffmpeg (song changes through its admin interface, Ogg title
// comments, a source that dies and comes back), a hostile ICY server of our
// own, and a server that does not answer. Sound is captured with mpv's pcm
// output and its pitch measured. (How many tries, the countdown, what Stop
// or another station cancels: PlaybackSessionTests; why a stream ended,
// 404 or no sound device: MpvMediaPlayerTests.)
#include "Playback/MpvMediaPlayer.h"
#include "Playback/PlaybackSession.h"
#include "Support/LivePeers.h"
#include "Support/LocalHttpServer.h"
#include "TestSupport.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <memory>

using namespace std::chrono_literals;
using State = PlaybackSession::State;

namespace {

constexpr int sampleRate = 44100;

// The frequency of one second of s16 mono audio written to `path` after
// byte `offset`, from its zero crossings; 0 when it is silent or does not
// come within 10 s.
double pitchAfter(const QString& path, qint64 offset)
{
    const qint64 wanted = sampleRate * 2;
    QElapsedTimer waited;
    waited.start();
    while (QFileInfo(path).size() < offset + wanted) {
        if (waited.elapsed() > 10000)
            return 0;
        QTest::qWait(50);
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || !file.seek(offset))
        return 0;
    return pitchOf(file.read(wanted), sampleRate);
}

QString hex(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toHex());
}

} // namespace

class LiveStreamTests : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_root;
    std::unique_ptr<LocalHttpServer> m_http;
    std::unique_ptr<LivePeers> m_peers;
    QString m_icecast;

    QUrl icecast(const QString& mount) const { return QUrl(m_icecast + mount); }

    // Sends a command to the peers; fails the test when it fails.
    bool peers(const QString& command)
    {
        if (!m_peers->request(command).isNull())
            return true;
        qWarning("%s: %s", qPrintable(command.left(60)), qPrintable(m_peers->error()));
        return false;
    }

    // A session on libmpv with the given extra options; the media player is
    // handed out too, for spying on what it reports.
    std::unique_ptr<PlaybackSession> session(MpvMediaPlayer::Options options = {{"ao", "null"}},
                                             MediaPlayer** media = nullptr,
                                             const PlaybackSession::Timing& timing = {})
    {
        auto* player = new MpvMediaPlayer(std::move(options));
        if (media)
            *media = player;
        return std::make_unique<PlaybackSession>(player, nullptr, timing);
    }

    MpvMediaPlayer::Options capture(const QString& path) const
    {
        return {{"ao", "pcm"},          {"ao-pcm-file", path.toUtf8()},     {"ao-pcm-waveheader", "no"},
                {"ao-pcm-append", "yes"}, {"audio-format", "s16"},          {"audio-channels", "mono"},
                {"audio-samplerate", QByteArray::number(sampleRate)}};
    }

private slots:
    void initTestCase()
    {
        qunsetenv("QUILLORA_MPV_OPTIONS");
        QVERIFY(m_root.isValid());
        m_http = std::make_unique<LocalHttpServer>(m_root.path());
        QVERIFY(m_http->isRunning());
        m_peers = std::make_unique<LivePeers>();
        const QString port = m_peers->request(QStringLiteral("icecast"));
        QVERIFY2(!port.isEmpty(), qPrintable(m_peers->error()));
        m_icecast = QStringLiteral("http://127.0.0.1:") + port;
    }

    void cleanupTestCase()
    {
        m_peers.reset();
        m_http.reset();
    }

    void showsTheSongSetThroughIcecastsAdminInterface()
    {
        QVERIFY(peers(QStringLiteral("source /song.mp3 mp3 440")));
        auto player = session();
        QSignalSpy started(player.get(), &PlaybackSession::songStarted);
        player->setStream(icecast(QStringLiteral("/song.mp3")), QStringLiteral("Test FM"));
        player->play();
        QTRY_COMPARE_WITH_TIMEOUT(player->state(), State::Playing, 10000);
        QTRY_COMPARE_WITH_TIMEOUT(player->streamDetails(), QStringLiteral("MP3 \u00b7 128 kbit/s"), 20000);

        QElapsedTimer shown;
        shown.start();
        QVERIFY(peers(QStringLiteral("song /song.mp3 Artist One - First Song")));
        QTRY_COMPARE_WITH_TIMEOUT(player->songText(), QStringLiteral("Artist One \u2013 First Song"), 10000);
        qInfo("song shown %lld ms after the admin update", shown.elapsed());
        QCOMPARE(player->songArtist(), QStringLiteral("Artist One"));
        QCOMPARE(player->songTitle(), QStringLiteral("First Song"));
        QTRY_COMPARE_WITH_TIMEOUT(started.size(), 1, 20000);
        QCOMPARE(started[0], (QVariantList{QStringLiteral("Test FM"), QStringLiteral("Artist One \u2013 First Song")}));

        // The station's name between songs is no song.
        QVERIFY(peers(QStringLiteral("song /song.mp3 test fm")));
        QTRY_COMPARE_WITH_TIMEOUT(player->songText(), QString(), 10000);
        QVERIFY(peers(QStringLiteral("song /song.mp3 Second Song")));
        QTRY_COMPARE_WITH_TIMEOUT(player->songText(), QStringLiteral("Second Song"), 10000);
        QTRY_COMPARE_WITH_TIMEOUT(started.size(), 2, 20000);
        player->stop();
        QCOMPARE(player->songText(), QString());
    }

    void showsTheTitleCommentOfAnOggStream()
    {
        QVERIFY(peers(QStringLiteral("source /title.ogg vorbis 440 Ogg Title")));
        auto player = session();
        player->setStream(icecast(QStringLiteral("/title.ogg")), QStringLiteral("Ogg FM"));
        player->play();
        QTRY_COMPARE_WITH_TIMEOUT(player->songText(), QStringLiteral("Ogg Title"), 10000);
        QCOMPARE(player->songArtist(), QString());
        QTRY_COMPARE_WITH_TIMEOUT(player->streamDetails(), QStringLiteral("Vorbis \u00b7 64 kbit/s"), 20000);
        QTRY_COMPARE_WITH_TIMEOUT(player->state(), State::Playing, 10000);
    }

    void keepsHostileTitlesOut()
    {
        // An ICY title as long as the protocol allows, with escape sequences,
        // a bell, and a right-to-left override.
        QByteArray icyTitle = "Evil\x1b[31m\xe2\x80\xae Artist\x07 - ";
        while (icyTitle.size() < 4000)
            icyTitle += "Title \xe2\x80\xae\x1b[2J ";
        const QString icyPort = m_peers->request(QStringLiteral("icy ") + hex(icyTitle));
        QVERIFY2(!icyPort.isEmpty(), qPrintable(m_peers->error()));
        MediaPlayer* media = nullptr;
        auto player = session({{"ao", "null"}}, &media);
        QSignalSpy tags(media, &MediaPlayer::metadataChanged);
        player->setStream(QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(icyPort)), QStringLiteral("Hostile FM"));
        player->play();
        QTRY_VERIFY_WITH_TIMEOUT(!player->songText().isEmpty(), 10000);
        QVERIFY(player->songText().size() <= 256);
        QVERIFY2(isCleanText(player->songText()), qPrintable(player->songText()));
        QCOMPARE(player->songArtist(), QStringLiteral("Evil[31m Artist"));
        QVERIFY(player->songTitle().startsWith(QStringLiteral("Title [2J Title")));

        // A 64 KB Ogg title comment.
        QByteArray oggTitle = "Ogg\x01 Villain\x1b - ";
        while (oggTitle.size() < 65536)
            oggTitle += "Endless \xe2\x80\xae\x7f Title ";
        const QString path = m_root.filePath(QStringLiteral("hostile.ogg"));
        QVERIFY(peers(QStringLiteral("oggfile %1 %2").arg(path, hex(oggTitle))));
        tags.clear();
        player->setStream(m_http->url(QStringLiteral("/hostile.ogg")), QStringLiteral("Ogg FM"));
        QTRY_VERIFY_WITH_TIMEOUT(!player->songText().isEmpty(), 10000);
        QVERIFY(tags.last().at(0).value<StreamTags>().value(QStringLiteral("title")).size() <= 8192);
        QVERIFY(player->songText().size() <= 256);
        QVERIFY2(isCleanText(player->songText()), qPrintable(player->songText()));
        QCOMPARE(player->songArtist(), QStringLiteral("Ogg Villain"));
    }

    void reconnectsWhenTheSourceComesBack()
    {
        const QString pcm = m_root.filePath(QStringLiteral("reconnect.pcm"));
        QFile(pcm).open(QIODevice::WriteOnly);
        QVERIFY(peers(QStringLiteral("source /drop.ogg vorbis 440")));
        auto player = session(capture(pcm));
        QList<State> states;
        connect(player.get(), &PlaybackSession::stateChanged, this, [&] { states.append(player->state()); });
        player->setStream(icecast(QStringLiteral("/drop.ogg")), QStringLiteral("Drop FM"));
        player->play();
        QTRY_COMPARE_WITH_TIMEOUT(player->state(), State::Playing, 10000);
        double pitch = pitchAfter(pcm, QFileInfo(pcm).size());
        QVERIFY2(std::abs(pitch - 440) < 44, qPrintable(QString::number(pitch)));

        QElapsedTimer clock;
        clock.start();
        QVERIFY(peers(QStringLiteral("kill /drop.ogg")));
        QTRY_COMPARE_WITH_TIMEOUT(player->state(), State::Reconnecting, 15000);
        const qint64 noticed = clock.elapsed();
        // The station comes back with another tone: what plays next is live.
        QVERIFY(peers(QStringLiteral("source /drop.ogg vorbis 660")));
        const qint64 back = clock.elapsed();
        QTRY_COMPARE_WITH_TIMEOUT(player->state(), State::Playing, 40000);
        qInfo("source killed: reconnecting after %lld ms; source back: playing %lld ms later", noticed,
              clock.elapsed() - back);
        pitch = pitchAfter(pcm, QFileInfo(pcm).size());
        QVERIFY2(std::abs(pitch - 660) < 66, qPrintable(QString::number(pitch)));

        QVERIFY(!states.contains(State::Failed) && !states.contains(State::Stopped));
        const qsizetype dropped = states.indexOf(State::Reconnecting);
        QVERIFY(dropped > 0 && states.indexOf(State::Playing) < dropped
                && states.indexOf(State::Playing, dropped) > dropped);
        player->stop();
    }

    void keepsTryingAServerThatDoesNotAnswer()
    {
        QTcpServer closed;
        QVERIFY(closed.listen(QHostAddress::LocalHost));
        const QUrl address(QStringLiteral("http://127.0.0.1:%1/live").arg(closed.serverPort()));
        closed.close();
        PlaybackSession::Timing quick;
        quick.reconnect.firstDelay = 50ms;
        quick.reconnect.maxDelay = 200ms;
        auto player = session({{"ao", "null"}}, nullptr, quick);
        StdoutCapture out;
        player->setStream(address, QStringLiteral("Silent FM"));
        player->play();
        QTRY_VERIFY_WITH_TIMEOUT(out.text().count("Reconnecting (attempt") >= 6, 15000);
        out.restore();
        QCOMPARE(player->state(), State::Reconnecting);
        QCOMPARE(player->reason(), QStringLiteral("The station's server is not answering"));
        QVERIFY2(out.text().contains(QByteArray("Reconnecting (attempt 2) after ") + address.toEncoded()
                                     + ": Connection to tcp://"),
                 out.text().constData());
        player->stop();
    }

};

QTEST_GUILESS_MAIN(LiveStreamTests)
#include "LiveStreamTests.moc"
