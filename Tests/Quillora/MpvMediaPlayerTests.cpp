// The libmpv media player against a local HTTP server, with mpv's null
// audio output: what it opens and when, failures and the end of a stream,
// addresses it refuses, and volume.
#include "Playback/MpvMediaPlayer.h"
#include "Support/LocalHttpServer.h"

#include <QDataStream>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <memory>

namespace {

// A mono 16-bit 8 kHz sine tone as a WAV file.
void writeTone(const QString& path, double seconds)
{
    const int rate = 8000;
    const auto samples = static_cast<quint32>(seconds * rate);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QDataStream out(&file);
    out.setByteOrder(QDataStream::LittleEndian);
    out.writeRawData("RIFF", 4);
    out << quint32(36 + samples * 2);
    out.writeRawData("WAVEfmt ", 8);
    out << quint32(16) << quint16(1) << quint16(1) << quint32(rate) << quint32(rate * 2) << quint16(2)
        << quint16(16);
    out.writeRawData("data", 4);
    out << quint32(samples * 2);
    for (quint32 i = 0; i < samples; ++i)
        out << qint16(8000 * std::sin(2 * M_PI * 440 * i / rate));
}

} // namespace

class MpvMediaPlayerTests : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_root;
    std::unique_ptr<LocalHttpServer> m_server;

    QUrl url(const QString& path) const { return m_server->url(path); }

private slots:
    void initTestCase()
    {
        qputenv("QUILLORA_MPV_OPTIONS", "ao=null");
        QVERIFY(m_root.isValid());
        writeTone(m_root.filePath(QStringLiteral("long.wav")), 30);
        writeTone(m_root.filePath(QStringLiteral("other.wav")), 30);
        writeTone(m_root.filePath(QStringLiteral("short.wav")), 0.3);
        m_server = std::make_unique<LocalHttpServer>(m_root.path());
        QVERIFY(m_server->isRunning());
    }

    void init() { m_server->resetCounts(); }

    void opensOnlyWhilePlaying()
    {
        MpvMediaPlayer player;
        QVERIFY(player.isValid());
        QCOMPARE(player.rate(), 0.0f);
        player.replaceItem(url(QStringLiteral("/long.wav")));
        QTest::qWait(400);
        QCOMPARE(m_server->requestCount(QStringLiteral("/long.wav")), 0);

        player.play();
        QCOMPARE(player.rate(), 1.0f);
        QTRY_VERIFY_WITH_TIMEOUT(m_server->requestCount(QStringLiteral("/long.wav")) >= 1, 5000);

        // Pausing drops the stream; resuming opens it again (live, not behind).
        player.pause();
        QCOMPARE(player.rate(), 0.0f);
        const int opened = m_server->requestCount(QStringLiteral("/long.wav"));
        player.play();
        QCOMPARE(player.rate(), 1.0f);
        QTRY_VERIFY_WITH_TIMEOUT(m_server->requestCount(QStringLiteral("/long.wav")) > opened, 5000);
    }

    void replacingKeepsPlaying()
    {
        MpvMediaPlayer player;
        QSignalSpy ended(&player, &MediaPlayer::playbackEnded);
        player.replaceItem(url(QStringLiteral("/long.wav")));
        player.play();
        QTRY_VERIFY_WITH_TIMEOUT(m_server->requestCount(QStringLiteral("/long.wav")) >= 1, 5000);
        player.replaceItem(url(QStringLiteral("/other.wav")));
        QCOMPARE(player.rate(), 1.0f);
        QTRY_VERIFY_WITH_TIMEOUT(m_server->requestCount(QStringLiteral("/other.wav")) >= 1, 5000);
        QTest::qWait(300);
        QCOMPARE(ended.size(), 0);

        // Replacing while paused keeps it paused and opens nothing.
        player.pause();
        player.replaceItem(url(QStringLiteral("/long.wav")));
        QCOMPARE(player.rate(), 0.0f);
    }

    void failureIsReportedOnce()
    {
        MpvMediaPlayer player;
        QSignalSpy ended(&player, &MediaPlayer::playbackEnded);
        player.replaceItem(url(QStringLiteral("/missing.mp3")));
        player.play();
        QTRY_COMPARE_WITH_TIMEOUT(ended.size(), 1, 10000);
        QVERIFY(ended[0][0].toString().contains(QStringLiteral("/missing.mp3")));
        QCOMPARE(player.rate(), 0.0f);
        QTest::qWait(300);
        QCOMPARE(ended.size(), 1);
    }

    void endOfStreamIsReported()
    {
        MpvMediaPlayer player;
        QSignalSpy ended(&player, &MediaPlayer::playbackEnded);
        player.replaceItem(url(QStringLiteral("/short.wav")));
        player.play();
        QTRY_COMPARE_WITH_TIMEOUT(ended.size(), 1, 10000);
        QVERIFY(ended[0][0].toString().endsWith(QStringLiteral("end of stream")));
        QCOMPARE(player.rate(), 0.0f);
    }

    void failureOfALeftStreamIsIgnored()
    {
        MpvMediaPlayer player;
        QSignalSpy ended(&player, &MediaPlayer::playbackEnded);
        player.replaceItem(url(QStringLiteral("/missing.mp3")));
        player.play();
        player.replaceItem(url(QStringLiteral("/long.wav")));
        QTRY_VERIFY_WITH_TIMEOUT(m_server->requestCount(QStringLiteral("/long.wav")) >= 1, 5000);
        QTest::qWait(1000);
        QCOMPARE(ended.size(), 0);
        QCOMPARE(player.rate(), 1.0f);
    }

    void refusesOtherSchemes()
    {
        MpvMediaPlayer player;
        QSignalSpy ended(&player, &MediaPlayer::playbackEnded);
        player.replaceItem(QUrl::fromLocalFile(m_root.filePath(QStringLiteral("long.wav"))));
        player.play();
        QCOMPARE(player.rate(), 0.0f);
        player.replaceItem(QUrl(QStringLiteral("av://lavfi:sine")));
        player.play();
        QCOMPARE(player.rate(), 0.0f);
        QTest::qWait(300);
        QCOMPARE(ended.size(), 0);
    }

    void volumeIsClamped()
    {
        MpvMediaPlayer player;
        player.setVolume(0.5f);
        QCOMPARE(player.volume(), 0.5f);
        player.setVolume(1.7f);
        QCOMPARE(player.volume(), 1.0f);
        player.setVolume(-3.0f);
        QCOMPARE(player.volume(), 0.0f);
        player.setVolume(std::nanf(""));
        QCOMPARE(player.volume(), 0.0f);
    }
};

QTEST_GUILESS_MAIN(MpvMediaPlayerTests)
#include "MpvMediaPlayerTests.moc"
