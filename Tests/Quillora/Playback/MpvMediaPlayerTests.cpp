// The libmpv media player against a local HTTP server, with mpv's null
// audio output: what it opens and when, what it reports (sound, tags, codec
// and bit rate), why a stream ended, addresses it refuses, and volume.
#include "Playback/MpvEndClassifier.h"
#include "Playback/MpvMediaPlayer.h"
#include "Support/LocalHttpServer.h"
#include "TestSupport.h"

#include <mpv/client.h>

#include <QDataStream>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <memory>

namespace {

// A mono 16-bit 8 kHz sine tone as a WAV file, with a title and an artist
// in its INFO list when given.
void writeTone(const QString& path, double seconds, const QByteArray& title = {}, const QByteArray& artist = {})
{
    const int rate = 8000;
    const auto samples = static_cast<quint32>(seconds * rate);
    QByteArray info;
    QDataStream infoOut(&info, QIODevice::WriteOnly);
    infoOut.setByteOrder(QDataStream::LittleEndian);
    const auto addInfo = [&infoOut](const char* id, QByteArray text) {
        text.append('\0');
        if (text.size() % 2)
            text.append('\0');
        infoOut.writeRawData(id, 4);
        infoOut << quint32(text.size());
        infoOut.writeRawData(text.constData(), static_cast<int>(text.size()));
    };
    if (!title.isEmpty())
        addInfo("INAM", title);
    if (!artist.isEmpty())
        addInfo("IART", artist);
    const quint32 listSize = info.isEmpty() ? 0 : 8 + 4 + info.size();
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QDataStream out(&file);
    out.setByteOrder(QDataStream::LittleEndian);
    out.writeRawData("RIFF", 4);
    out << quint32(36 + listSize + samples * 2);
    out.writeRawData("WAVEfmt ", 8);
    out << quint32(16) << quint16(1) << quint16(1) << quint32(rate) << quint32(rate * 2) << quint16(2)
        << quint16(16);
    if (listSize) {
        out.writeRawData("LIST", 4);
        out << quint32(listSize - 8);
        out.writeRawData("INFO", 4);
        out.writeRawData(info.constData(), static_cast<int>(info.size()));
    }
    out.writeRawData("data", 4);
    out << quint32(samples * 2);
    for (quint32 i = 0; i < samples; ++i)
        out << qint16(8000 * std::sin(2 * M_PI * 440 * i / rate));
}

const MpvMediaPlayer::Options nullAudio{{"ao", "null"}};

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
        qunsetenv("QUILLORA_MPV_OPTIONS");
        QVERIFY(m_root.isValid());
        writeTone(m_root.filePath(QStringLiteral("long.wav")), 30);
        writeTone(m_root.filePath(QStringLiteral("tagged.wav")), 30, "Song A", "Band");
        QVERIFY(writeFile(m_root.filePath(QStringLiteral("notaudio.txt")), QByteArray(20000, 'x')));
        writeTone(m_root.filePath(QStringLiteral("other.wav")), 30);
        writeTone(m_root.filePath(QStringLiteral("short.wav")), 0.3);
        m_server = std::make_unique<LocalHttpServer>(m_root.path());
        QVERIFY(m_server->isRunning());
    }

    void init() { m_server->resetCounts(); }

    void opensOnlyWhilePlaying()
    {
        MpvMediaPlayer player(nullAudio);
        QVERIFY(player.isValid());
        QCOMPARE(player.rate(), 0.0f);
        player.replaceItem(url(QStringLiteral("/long.wav")));
        QTest::qWait(400);
        QCOMPARE(m_server->requestCount(QStringLiteral("/long.wav")), 0);

        player.play();
        QCOMPARE(player.rate(), 1.0f);
        QTRY_VERIFY_WITH_TIMEOUT(m_server->requestCount(QStringLiteral("/long.wav")) >= 1, 20000);

        // Pausing drops the stream; resuming opens it again (live, not behind).
        player.pause();
        QCOMPARE(player.rate(), 0.0f);
        const int opened = m_server->requestCount(QStringLiteral("/long.wav"));
        player.play();
        QCOMPARE(player.rate(), 1.0f);
        QTRY_VERIFY_WITH_TIMEOUT(m_server->requestCount(QStringLiteral("/long.wav")) > opened, 20000);
    }

    void replacingKeepsPlaying()
    {
        MpvMediaPlayer player(nullAudio);
        QSignalSpy ended(&player, &MediaPlayer::playbackEnded);
        player.replaceItem(url(QStringLiteral("/long.wav")));
        player.play();
        QTRY_VERIFY_WITH_TIMEOUT(m_server->requestCount(QStringLiteral("/long.wav")) >= 1, 20000);
        player.replaceItem(url(QStringLiteral("/other.wav")));
        QCOMPARE(player.rate(), 1.0f);
        QTRY_VERIFY_WITH_TIMEOUT(m_server->requestCount(QStringLiteral("/other.wav")) >= 1, 20000);
        QTest::qWait(300);
        QCOMPARE(ended.size(), 0);

        // Replacing while paused keeps it paused and opens nothing.
        player.pause();
        player.replaceItem(url(QStringLiteral("/long.wav")));
        QCOMPARE(player.rate(), 0.0f);
    }

    void failureOfALeftStreamIsIgnored()
    {
        MpvMediaPlayer player(nullAudio);
        QSignalSpy ended(&player, &MediaPlayer::playbackEnded);
        player.replaceItem(url(QStringLiteral("/missing.mp3")));
        player.play();
        player.replaceItem(url(QStringLiteral("/long.wav")));
        QTRY_VERIFY_WITH_TIMEOUT(m_server->requestCount(QStringLiteral("/long.wav")) >= 1, 20000);
        QTest::qWait(1000);
        QCOMPARE(ended.size(), 0);
        QCOMPARE(player.rate(), 1.0f);
    }

    void refusesOtherSchemes()
    {
        MpvMediaPlayer player(nullAudio);
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

    void reportsSoundTagsAndDetails()
    {
        MpvMediaPlayer player(nullAudio);
        QSignalSpy sound(&player, &MediaPlayer::audioPlayingChanged);
        QSignalSpy tags(&player, &MediaPlayer::metadataChanged);
        QSignalSpy details(&player, &MediaPlayer::streamDetailsChanged);
        player.replaceItem(url(QStringLiteral("/tagged.wav")));
        player.play();
        QTRY_VERIFY_WITH_TIMEOUT(player.isAudioPlaying(), 20000);
        QTRY_VERIFY_WITH_TIMEOUT(!tags.isEmpty(), 20000);
        const auto last = tags.last().at(0).value<StreamTags>();
        QCOMPARE(last.value(QStringLiteral("title")), QByteArray("Song A"));
        QCOMPARE(last.value(QStringLiteral("artist")), QByteArray("Band"));
        QVERIFY(!last.contains(QStringLiteral("encoder"))); // only what a song is read from
        QTRY_VERIFY_WITH_TIMEOUT(!details.isEmpty(), 20000);
        QCOMPARE(details.last().at(0).value<StreamDetails>().text(), QStringLiteral("PCM \u00b7 128 kbit/s"));

        player.pause();
        QVERIFY(!player.isAudioPlaying());
        QCOMPARE(sound.last().at(0).toBool(), false);
        // Nothing more arrives about the stream we left.
        const auto reports = tags.size() + details.size() + sound.size();
        QTest::qWait(500);
        QCOMPARE(tags.size() + details.size() + sound.size(), reports);
    }

    void tellsWhyAStreamEnded_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<EndCause>("cause");
        QTest::addColumn<QString>("detail");
        QTest::newRow("404") << QStringLiteral("/missing.mp3") << EndCause::NotFound
                             << QStringLiteral("HTTP error 404 Not Found");
        QTest::newRow("403") << QStringLiteral("/long.wav?status=403") << EndCause::Forbidden
                             << QStringLiteral("HTTP error 403 Forbidden");
        QTest::newRow("503") << QStringLiteral("/long.wav?status=503") << EndCause::Other
                             << QStringLiteral("HTTP error 503 Service Unavailable");
        QTest::newRow("not audio") << QStringLiteral("/notaudio.txt") << EndCause::UnsupportedFormat
                                   << QStringLiteral("unrecognized file format");
        QTest::newRow("end") << QStringLiteral("/short.wav") << EndCause::StreamEnded << QStringLiteral("end of stream");
        QTest::newRow("refused") << QString() << EndCause::ServerNotAnswering << QStringLiteral("Connection to tcp://");
    }

    void tellsWhyAStreamEnded()
    {
        QFETCH(QString, path);
        QFETCH(EndCause, cause);
        QFETCH(QString, detail);
        QUrl address = url(path);
        if (path.isEmpty()) {
            // A port where nothing listens any more.
            QTcpServer closed;
            QVERIFY(closed.listen(QHostAddress::LocalHost));
            address = QUrl(QStringLiteral("http://127.0.0.1:%1/stream").arg(closed.serverPort()));
        }
        MpvMediaPlayer player(nullAudio);
        QSignalSpy ended(&player, &MediaPlayer::playbackEnded);
        player.replaceItem(address);
        player.play();
        QTRY_COMPARE_WITH_TIMEOUT(ended.size(), 1, 10000);
        QCOMPARE(ended[0][1].value<EndCause>(), cause);
        const QString message = ended[0][0].toString();
        QVERIFY2(message.startsWith(address.toDisplayString() + QStringLiteral(": ")) && message.contains(detail),
                 qPrintable(message));
        QCOMPARE(player.rate(), 0.0f);
        // Reported once.
        QTest::qWait(300);
        QCOMPARE(ended.size(), 1);
    }

    void tellsWhenThereIsNoAudioOutput()
    {
        // The pcm output fails to open its file, as a missing sound card would.
        MpvMediaPlayer player({{"ao", "pcm"}, {"ao-pcm-file", "/nonexistent/folder/out.pcm"}});
        QSignalSpy ended(&player, &MediaPlayer::playbackEnded);
        QSignalSpy sound(&player, &MediaPlayer::audioPlayingChanged);
        player.replaceItem(url(QStringLiteral("/long.wav")));
        player.play();
        QTRY_COMPARE_WITH_TIMEOUT(ended.size(), 1, 10000);
        QCOMPARE(ended[0][1].value<EndCause>(), EndCause::NoAudioOutput);
        QCOMPARE(sound.size(), 0); // it never claimed to play
        QCOMPARE(player.rate(), 0.0f);
    }

    void classifiesFromLogLines_data()
    {
        QTest::addColumn<QStringList>("lines"); // "prefix|text"
        QTest::addColumn<int>("reason");
        QTest::addColumn<int>("error");
        QTest::addColumn<EndCause>("cause");
        const int failed = MPV_END_FILE_REASON_ERROR;
        const int loading = MPV_ERROR_LOADING_FAILED;
        QTest::newRow("410 gone") << QStringList{QStringLiteral("ffmpeg|http: HTTP error 410 Gone\n")} << failed
                                  << loading << EndCause::NotFound;
        QTest::newRow("401") << QStringList{QStringLiteral("ffmpeg|http: HTTP error 401 Unauthorized\n")} << failed
                             << loading << EndCause::Forbidden;
        QTest::newRow("name does not resolve")
            << QStringList{QStringLiteral("ffmpeg|tcp: Failed to resolve hostname radio.invalid: Name or service not known\n")}
            << failed << loading << EndCause::ServerNotAnswering;
        QTest::newRow("timeout")
            << QStringList{QStringLiteral("ffmpeg|tcp: Connection to tcp://10.0.0.1:80 failed: Connection timed out\n")}
            << failed << loading << EndCause::ServerNotAnswering;
        QTest::newRow("the last telling line wins")
            << QStringList{QStringLiteral("ffmpeg|http: HTTP error 404 Not Found\n"),
                           QStringLiteral("stream|Failed to open http://x/.\n"),
                           QStringLiteral("ffmpeg|tcp: Connection to tcp://x:80 failed: Connection refused\n")}
            << failed << loading << EndCause::ServerNotAnswering;
        QTest::newRow("other modules are not trusted")
            << QStringList{QStringLiteral("cplayer|http: HTTP error 404 Not Found\n"),
                           QStringLiteral("ffmpeg/demuxer|http: HTTP error 404 Not Found\n")}
            << failed << loading << EndCause::Other;
        QTest::newRow("malformed status") << QStringList{QStringLiteral("ffmpeg|http: HTTP error 40 x\n")} << failed
                                          << loading << EndCause::Other;
        QTest::newRow("an end after a 404 is an end")
            << QStringList{QStringLiteral("ffmpeg|http: HTTP error 404 Not Found\n")}
            << int(MPV_END_FILE_REASON_EOF) << 0 << EndCause::StreamEnded;
        QTest::newRow("no sound device wins over log lines")
            << QStringList{QStringLiteral("ffmpeg|http: HTTP error 404 Not Found\n")} << failed
            << int(MPV_ERROR_AO_INIT_FAILED) << EndCause::NoAudioOutput;
        QTest::newRow("nothing to play") << QStringList() << failed << int(MPV_ERROR_NOTHING_TO_PLAY)
                                         << EndCause::UnsupportedFormat;
    }

    void classifiesFromLogLines()
    {
        QFETCH(QStringList, lines);
        QFETCH(int, reason);
        QFETCH(int, error);
        QFETCH(EndCause, cause);
        MpvEndClassifier classifier;
        classifier.logMessage("ffmpeg", "http: HTTP error 403 Forbidden\n"); // the previous file's
        classifier.startFile();
        for (const QString& line : lines) {
            const QByteArray prefix = line.section(QLatin1Char('|'), 0, 0).toUtf8();
            const QByteArray text = line.section(QLatin1Char('|'), 1).toUtf8();
            classifier.logMessage(std::string_view(prefix.constData(), prefix.size()),
                                  std::string_view(text.constData(), text.size()));
        }
        QCOMPARE(classifier.classify(reason, error, QStringLiteral("error text")).cause, cause);
    }

    void describesTheStream_data()
    {
        QTest::addColumn<QString>("codec");
        QTest::addColumn<int>("kbitPerS");
        QTest::addColumn<QString>("text");
        QTest::newRow("AAC") << QStringLiteral("aac") << 128 << QStringLiteral("AAC \u00b7 128 kbit/s");
        QTest::newRow("FLAC") << QStringLiteral("flac") << 1411 << QStringLiteral("FLAC \u00b7 1411 kbit/s");
        QTest::newRow("rate unknown") << QStringLiteral("opus") << 0 << QStringLiteral("Opus");
        QTest::newRow("codec unknown") << QString() << 64 << QStringLiteral("64 kbit/s");
        QTest::newRow("nothing known") << QString() << 0 << QString();
        QTest::newRow("PCM variants") << QStringLiteral("pcm_s24le") << 2116 << QStringLiteral("PCM \u00b7 2116 kbit/s");
        QTest::newRow("other decoders") << QStringLiteral("adpcm_ms") << 0 << QStringLiteral("ADPCM-MS");
        QTest::newRow("odd names are not shown as they are")
            << QStringLiteral("<b>x\u202e</b>") << 0 << QStringLiteral("BXB");
    }

    void describesTheStream()
    {
        QFETCH(QString, codec);
        QFETCH(int, kbitPerS);
        QFETCH(QString, text);
        QCOMPARE((StreamDetails{codec, kbitPerS}.text()), text);
    }

    void volumeIsClamped()
    {
        MpvMediaPlayer player(nullAudio);
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
