// The song on air from a stream's tags: hostile text made safe to show,
// ICY's "Artist - Title" split, Ogg's separate comments preferred, and
// titles that are no song dropped.
#include "Playback/SongMetadata.h"
#include "TestSupport.h"

#include <QRandomGenerator>
#include <QTest>

namespace {

StreamTags icy(const QByteArray& title)
{
    return {{QStringLiteral("icy-title"), title}};
}

} // namespace

class SongMetadataTests : public QObject {
    Q_OBJECT

private slots:
    void cleansText_data()
    {
        QTest::addColumn<QByteArray>("raw");
        QTest::addColumn<QString>("expected");
        QTest::newRow("plain") << QByteArray("Daft Punk - One More Time") << QStringLiteral("Daft Punk - One More Time");
        QTest::newRow("C0 controls and escape sequences")
            << QByteArray("Evil\x01\x1b[31m Song\x07") << QStringLiteral("Evil[31m Song");
        QTest::newRow("line breaks and tabs are spaces")
            << QByteArray("  Artist\r\n\tTitle \n") << QStringLiteral("Artist Title");
        QTest::newRow("C1 controls (as UTF-8)")
            << QByteArray("Art\xc2\x80ist\xc2\x9b Name") << QStringLiteral("Artist Name");
        QTest::newRow("next-line is a space") << QByteArray("A\xc2\x85" "B") << QStringLiteral("A B");
        QTest::newRow("direction overrides and isolates")
            << QByteArray("\xe2\x80\xae" "3pm.exe\xe2\x80\xac \xe2\x81\xa6x\xe2\x81\xa9\xe2\x80\x8f")
            << QStringLiteral("3pm.exe x");
        QTest::newRow("byte order mark") << QByteArray("\xef\xbb\xbfTitle") << QStringLiteral("Title");
        QTest::newRow("emoji and joiners kept")
            << QByteArray("Fam \xf0\x9f\x91\xa9\xe2\x80\x8d\xf0\x9f\x91\xa7")
            << QStringLiteral("Fam \U0001F469\u200D\U0001F467");
        QTest::newRow("Latin-1 from an old server") << QByteArray("Beyonc\xe9 - D\xe9j\xe0 Vu")
                                                    << QStringLiteral("Beyonc\u00e9 - D\u00e9j\u00e0 Vu");
        QTest::newRow("Windows-1252 quotes") << QByteArray("Don\x92t Stop \x96 Live")
                                             << QStringLiteral("Don\u2019t Stop \u2013 Live");
        QTest::newRow("only junk") << QByteArray("\x01\x02\x03\x04") << QString();
    }

    void cleansText()
    {
        QFETCH(QByteArray, raw);
        QFETCH(QString, expected);
        QCOMPARE(SongMetadata::clean(raw), expected);
    }

    void capsLengthOnCharacterBoundaries()
    {
        QCOMPARE(SongMetadata::clean(QString(300, QLatin1Char('a'))).size(), SongMetadata::maxLength);

        // A character outside the BMP straddles the cap: it goes whole.
        const QString face = QStringLiteral("\U0001F600");
        QString text = QString(SongMetadata::maxLength - 1, QLatin1Char('a')) + face + QStringLiteral("tail");
        QString cleaned = SongMetadata::clean(text);
        QCOMPARE(cleaned.size(), SongMetadata::maxLength - 1);
        QVERIFY(isCleanText(cleaned));
        text = QString(SongMetadata::maxLength - 2, QLatin1Char('a')) + face + QStringLiteral("tail");
        QCOMPARE(SongMetadata::clean(text), QString(SongMetadata::maxLength - 2, QLatin1Char('a')) + face);

        // A space at the cap is not left dangling.
        text = QString(SongMetadata::maxLength, QLatin1Char('a')) + QStringLiteral(" b");
        QCOMPARE(SongMetadata::clean(text).size(), SongMetadata::maxLength);

        // Half a pair in the input is dropped, not passed on.
        text = QStringLiteral("a") + QChar(0xD83D) + QStringLiteral("b") + QChar(0xDE00);
        QCOMPARE(SongMetadata::clean(text), QStringLiteral("ab"));
    }

    void hostileTitlesComeOutCappedAndClean()
    {
        // 64 KB of title with control characters and overrides sprinkled in.
        QByteArray huge;
        while (huge.size() < 65536)
            huge += "Evil\x1b[2J\xe2\x80\xae Artist\x07\x7f - \xc2\x9d Title\t\r\n";
        const Song song = SongMetadata::songFrom(icy(huge), QStringLiteral("Station"));
        QVERIFY(!song.isEmpty());
        QVERIFY(song.text.size() <= SongMetadata::maxLength);
        QVERIFY(isCleanText(song.text));
        QVERIFY(isCleanText(song.artist));
        QVERIFY(isCleanText(song.title));
        QCOMPARE(song.artist, QStringLiteral("Evil[2J Artist"));

        // Binary junk is no title at all, however it decodes.
        QRandomGenerator random(42);
        for (int round = 0; round < 20; ++round) {
            QByteArray junk(4096, Qt::Uninitialized);
            for (char& byte : junk)
                byte = static_cast<char>(random.bounded(256));
            QVERIFY(SongMetadata::songFrom(icy(junk), QString()).isEmpty());
        }
    }

    void boundsForeignText()
    {
        QCOMPARE(SongMetadata::bounded("short", 10), QByteArray("short"));
        QCOMPARE(SongMetadata::bounded("exactly10!", 10), QByteArray("exactly10!"));
        QCOMPARE(SongMetadata::bounded(nullptr, 10), QByteArray());
        // "aé€" is 1 + 2 + 3 bytes: a cut inside a sequence moves before it.
        const char* text = "a\xc3\xa9\xe2\x82\xac";
        QCOMPARE(SongMetadata::bounded(text, 2), QByteArray("a"));
        QCOMPARE(SongMetadata::bounded(text, 3), QByteArray("a\xc3\xa9"));
        QCOMPARE(SongMetadata::bounded(text, 5), QByteArray("a\xc3\xa9"));
        QCOMPARE(SongMetadata::bounded(text, 6), QByteArray(text));
    }

    void readsSongs_data()
    {
        QTest::addColumn<StreamTags>("tags");
        QTest::addColumn<QString>("artist");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("text");
        const QString dash = QStringLiteral(" \u2013 ");
        QTest::newRow("ICY artist and title") << icy("Daft Punk - One More Time") << QStringLiteral("Daft Punk")
                                              << QStringLiteral("One More Time")
                                              << QStringLiteral("Daft Punk") + dash + QStringLiteral("One More Time");
        QTest::newRow("ICY splits at the first dash only")
            << icy("Artist - Song - Radio Edit") << QStringLiteral("Artist") << QStringLiteral("Song - Radio Edit")
            << QStringLiteral("Artist") + dash + QStringLiteral("Song - Radio Edit");
        QTest::newRow("ICY hyphen without spaces is part of the title")
            << icy("Jay-Z") << QString() << QStringLiteral("Jay-Z") << QStringLiteral("Jay-Z");
        QTest::newRow("ICY artist with an empty title") << icy("Artist - ") << QString() << QStringLiteral("Artist")
                                                        << QStringLiteral("Artist");
        QTest::newRow("ICY empty on both sides") << icy(" - ") << QString() << QString() << QString();
        QTest::newRow("ICY empty") << icy("") << QString() << QString() << QString();
        QTest::newRow("Ogg artist and title")
            << StreamTags{{QStringLiteral("title"), "Song"}, {QStringLiteral("artist"), "Band"}}
            << QStringLiteral("Band") << QStringLiteral("Song") << QStringLiteral("Band") + dash + QStringLiteral("Song");
        QTest::newRow("Ogg separate artist, dash kept in the title")
            << StreamTags{{QStringLiteral("title"), "Song - Live"}, {QStringLiteral("artist"), "Band"}}
            << QStringLiteral("Band") << QStringLiteral("Song - Live")
            << QStringLiteral("Band") + dash + QStringLiteral("Song - Live");
        QTest::newRow("Ogg title alone is split like ICY")
            << StreamTags{{QStringLiteral("title"), "Band - Song"}} << QStringLiteral("Band") << QStringLiteral("Song")
            << QStringLiteral("Band") + dash + QStringLiteral("Song");
        QTest::newRow("an artist alone is no song")
            << StreamTags{{QStringLiteral("artist"), "Band"}} << QString() << QString() << QString();
        QTest::newRow("ICY wins over a stale file title")
            << StreamTags{{QStringLiteral("icy-title"), "Live - Now"}, {QStringLiteral("title"), "Old"}}
            << QStringLiteral("Live") << QStringLiteral("Now") << QStringLiteral("Live") + dash + QStringLiteral("Now");
        QTest::newRow("an empty ICY title leaves the Ogg title")
            << StreamTags{{QStringLiteral("icy-title"), "\x01"}, {QStringLiteral("title"), "Song"}} << QString()
            << QStringLiteral("Song") << QStringLiteral("Song");
        QTest::newRow("station name repeated") << icy("  radio  ONE ") << QString() << QString() << QString();
        QTest::newRow("stream's own name repeated")
            << StreamTags{{QStringLiteral("icy-title"), "Best Hits 24/7"}, {QStringLiteral("icy-name"), "best hits 24/7"}}
            << QString() << QString() << QString();
        QTest::newRow("Ogg title repeating the station")
            << StreamTags{{QStringLiteral("title"), "Radio One"}} << QString() << QString() << QString();
        QTest::newRow("station name with a song is a song")
            << icy("Radio One - Morning Show") << QStringLiteral("Radio One") << QStringLiteral("Morning Show")
            << QStringLiteral("Radio One") + dash + QStringLiteral("Morning Show");
    }

    void readsSongs()
    {
        QFETCH(StreamTags, tags);
        QFETCH(QString, artist);
        QFETCH(QString, title);
        QFETCH(QString, text);
        const Song song = SongMetadata::songFrom(tags, QStringLiteral("Radio One"));
        QCOMPARE(song.artist, artist);
        QCOMPARE(song.title, title);
        QCOMPARE(song.text, text);
    }

    void capsTheDisplayedText()
    {
        const QByteArray long200(200, 'x');
        const Song song = SongMetadata::songFrom(
            StreamTags{{QStringLiteral("artist"), long200}, {QStringLiteral("title"), long200}}, QString());
        QCOMPARE(song.artist.size(), 200);
        QCOMPARE(song.title.size(), 200);
        QCOMPARE(song.text.size(), SongMetadata::maxLength);
        QVERIFY(song.text.startsWith(QString(200, QLatin1Char('x')) + QStringLiteral(" \u2013 ")));
    }
};

QTEST_APPLESS_MAIN(SongMetadataTests)
#include "SongMetadataTests.moc"
