// Station lists in and out: each format as its program writes it, export
// and import back, hostile files, and the import into a real stations.csv
// (duplicates, counts, one rewrite, nothing written when refused).
#include "Catalogue/CatalogueFile.h"
#include "Catalogue/Exchange/StationExchange.h"
#include "Catalogue/Exchange/StationImport.h"
#include "Support/EnglishPlurals.h"
#include "TestSupport.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

using Format = StationExchange::Format;

// One station a line: "title|url|image|genre".
QString describe(const QList<ExchangeStation>& stations)
{
    QStringList lines;
    for (const ExchangeStation& s : stations)
        lines.append(QStringList{s.title, s.url, s.image, s.genre}.join(QLatin1Char('|')));
    return lines.join(QLatin1Char('\n'));
}

QByteArray utf16LE(const QString& text)
{
    return QByteArray("\xFF\xFE", 2) + QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
}

const QByteArray myStations = "id,url,image,genre,title\n"
                              "1,https://somafm.example/groovesalad.pls,,Ambient,Groove Salad\n";

} // namespace

class ExchangeTests : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QCoreApplication::installTranslator(new EnglishPlurals(this)); }

    // The messages above read in English through this: only the counted word takes the "s".
    void englishPluralsTouchOnlyTheCountedWord()
    {
        const EnglishPlurals plurals;
        QCOMPARE(plurals.translate("", "%n station(s), not http(s)", nullptr, 1), QStringLiteral("%n station, not http(s)"));
        QCOMPARE(plurals.translate("", "%n row(s) of %n file(s)", nullptr, 2), QStringLiteral("%n rows of %n files"));
        QCOMPARE(plurals.translate("", "Loaded %n stations", nullptr, 2), QString());
        QCOMPARE(plurals.translate("", "%n (s) and %n x y(s)", nullptr, 2), QString());
    }

    void eachFormatAsItsProgramWritesIt_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("stations");
        QTest::addColumn<int>("notWeb");
        QTest::newRow("extended M3U") << QByteArray("#EXTM3U\r\n#EXTINF:-1,Radio Paradise\r\n"
                                                    "http://stream.rp.example/mp3-192\r\n"
                                                    "#EXTINF:-1 tvg-logo=\"https://fip.example/l.png\" "
                                                    "group-title=\"Eclectic, French\",FIP, Paris\r\n"
                                                    "https://fip.example/hifi.aac\r\n"
                                                    "#EXTINF:-1,Local\r\nrtsp://cam.example/live\r\n")
                                      << int(Format::m3u)
                                      << QStringLiteral("Radio Paradise|http://stream.rp.example/mp3-192||\n"
                                                        "FIP, Paris|https://fip.example/hifi.aac|"
                                                        "https://fip.example/l.png|Eclectic, French")
                                      << 1;
        QTest::newRow("plain M3U") << QByteArray("http://a.example/one\n/home/me/song.mp3\nhttp://b.example/two\n")
                                   << int(Format::m3u)
                                   << QStringLiteral("a.example|http://a.example/one||\nb.example|http://b.example/two||")
                                   << 1;
        QTest::newRow("PLS") << QByteArray("[playlist]\nnumberofentries=2\n"
                                           "File2=http://ice2.soma.example/gs-128\nTitle2=SomaFM: Groove Salad (2)\n"
                                           "File1=http://ice1.soma.example/gs-128\nTitle1=SomaFM: Groove Salad\n"
                                           "Length1=-1\nLength2=-1\nVersion=2\n")
                             << int(Format::pls)
                             << QStringLiteral("SomaFM: Groove Salad|http://ice1.soma.example/gs-128||\n"
                                               "SomaFM: Groove Salad (2)|http://ice2.soma.example/gs-128||")
                             << 0;
        QTest::newRow("XSPF") << QByteArray(
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<playlist xmlns=\"http://xspf.org/ns/0/\" xmlns:vlc=\"http://www.videolan.org/vlc/playlist/ns/0/\" "
            "version=\"1\">\n\t<title>Playlist</title>\n\t<trackList>\n\t\t<track>\n"
            "\t\t\t<location>http://jazz.example/live</location>\n\t\t\t<title>Jazz &amp; Blues</title>\n"
            "\t\t\t<image>https://jazz.example/logo.png</image>\n"
            "\t\t\t<extension application=\"http://www.videolan.org/vlc/playlist/0\">\n"
            "\t\t\t\t<vlc:id>0</vlc:id>\n\t\t\t</extension>\n\t\t</track>\n"
            "\t\t<track><location>file:///music/a.ogg</location></track>\n"
            "\t</trackList>\n</playlist>\n")
                              << int(Format::xspf)
                              << QStringLiteral("Jazz & Blues|http://jazz.example/live|https://jazz.example/logo.png|")
                              << 1;
        QTest::newRow("Goodvibes") << QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Stations>\n"
                                                 "  <Station>\n    <uri>http://radioking.example/pink-unicorn</uri>\n"
                                                 "    <name>Pink Unicorn Radio</name>\n  </Station>\n"
                                                 "  <Station>\n    <uri>https://goa.example/stream</uri>\n"
                                                 "  </Station>\n</Stations>\n")
                                   << int(Format::goodvibes)
                                   << QStringLiteral("Pink Unicorn Radio|http://radioking.example/pink-unicorn||\n"
                                                     "goa.example|https://goa.example/stream||")
                                   << 0;
        QTest::newRow("Radiotray-NG") << QByteArray(
            "[\n    {\n        \"group\": \"root\",\n        \"image\": null,\n        \"stations\": [\n"
            "            {\n                \"name\": \"Groove Salad\",\n"
            "                \"url\": \"http://soma.example/groovesalad.pls\",\n"
            "                \"image\": null,\n                \"notifications\": true\n            }\n"
            "        ]\n    },\n    {\n        \"group\": \"Jazz\",\n        \"image\": \"\",\n"
            "        \"stations\": [\n            {\n                \"name\": \"Jazz24\",\n"
            "                \"url\": \"https://jazz24.example/aac\",\n"
            "                \"image\": \"https://jazz24.example/logo.png\"\n            },\n"
            "            {\n                \"name\": \"Disk\",\n                \"url\": \"file:///x.mp3\"\n"
            "            }\n        ]\n    }\n]\n")
                                      << int(Format::radiotray)
                                      << QStringLiteral("Groove Salad|http://soma.example/groovesalad.pls||\n"
                                                        "Jazz24|https://jazz24.example/aac|"
                                                        "https://jazz24.example/logo.png|Jazz")
                                      << 1;
        QTest::newRow("pyradio") << QByteArray("# Find lots more stations at http://www.iheart.com\n"
                                               "DEFCON Radio (SomaFM),https://soma.example/defcon.pls\n"
                                               "Dronezone (SomaFM),https://soma.example/dronezone.pls,,"
                                               "https://soma.example/dronezone120.jpg\n"
                                               "\"Title, with comma\",http://x.example/s,utf-8\n")
                                 << int(Format::pyradio)
                                 << QStringLiteral("DEFCON Radio (SomaFM)|https://soma.example/defcon.pls||\n"
                                                   "Dronezone (SomaFM)|https://soma.example/dronezone.pls|"
                                                   "https://soma.example/dronezone120.jpg|\n"
                                                   "Title, with comma|http://x.example/s||")
                                 << 0;
        QTest::newRow("spreadsheet CSV, semicolons")
            << QByteArray("\xEF\xBB\xBFName; Stream URL ;Genre\r\nRadio Eins;https://eins.example/live;Pop\r\n"
                          "Ftp;ftp://x.example/s;\r\n")
            << int(Format::csv) << QStringLiteral("Radio Eins|https://eins.example/live||Pop") << 1;
        QTest::newRow("Unicode text, tabs") << utf16LE(QStringLiteral("TITLE\tURL\tLogo\r\nÖ1\thttps://oe1.example/"
                                                                      "hq\thttps://oe1.example/l.png\r\n"))
                                            << int(Format::csv)
                                            << QStringLiteral("Ö1|https://oe1.example/hq|https://oe1.example/l.png|")
                                            << 0;
    }

    void eachFormatAsItsProgramWritesIt()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, format);
        QFETCH(QString, stations);
        QFETCH(int, notWeb);
        const StationExchange::Read read = StationExchange::read(bytes);
        QVERIFY2(read.ok(), qPrintable(read.problem));
        QCOMPARE(int(*read.format), format);
        QCOMPARE(describe(read.stations), stations);
        QCOMPARE(read.notWebAddresses, notWeb);
    }

    // Exporting, then importing into an empty list, gives the same stations
    // in order, with what each format has a place for.
    void exportThenImportGivesTheSameStations_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<bool>("logos");
        QTest::addColumn<bool>("genres");
        QTest::newRow("m3u") << QStringLiteral("m3u") << true << true;
        QTest::newRow("pls") << QStringLiteral("pls") << false << false;
        QTest::newRow("xspf") << QStringLiteral("xspf") << true << false;
        QTest::newRow("csv") << QStringLiteral("csv") << true << true;
    }

    void exportThenImportGivesTheSameStations()
    {
        QFETCH(QString, format);
        QFETCH(bool, logos);
        QFETCH(bool, genres);
        const QList<Station> stations{
            {7, QStringLiteral("https://a.example/s?x=1&y=2"), QStringLiteral("https://a.example/l.png"),
             QStringLiteral("Rock, Pop"), QStringLiteral("Radio \"A\", <the> first")},
            {3, QStringLiteral("http://b.example:8000/live"), {}, {}, QStringLiteral("Радіо Б")},
        };
        const QByteArray bytes = StationExchange::write(*StationExchange::writableFormat(format), stations);
        const StationExchange::Read read = StationExchange::read(bytes);
        QVERIFY2(read.ok(), qPrintable(read.problem));
        QCOMPARE(read.stations.size(), stations.size());
        for (qsizetype i = 0; i < stations.size(); ++i) {
            QCOMPARE(read.stations[i].title, stations[i].title);
            QCOMPARE(read.stations[i].url, stations[i].url);
            QCOMPARE(read.stations[i].image, logos ? stations[i].image : QString());
            QCOMPARE(read.stations[i].genre, genres ? stations[i].genre : QString());
        }
    }

    // Refused outright, and stations.csv is left byte for byte.
    void hostileFilesAreRefusedAndWriteNothing_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("problem");
        QByteArray laughs = "<?xml version=\"1.0\"?>\n<!DOCTYPE lolz [\n <!ENTITY lol \"lol\">\n";
        for (int i = 1; i < 10; ++i)
            laughs += QStringLiteral(" <!ENTITY lol%1 \"%2\">\n")
                          .arg(i)
                          .arg(QStringLiteral("&lol%1;").arg(i == 1 ? QString() : QString::number(i - 1)).repeated(10))
                          .toUtf8();
        laughs += "]>\n<Stations><Station><uri>http://a.example/</uri><name>&lol9;</name></Station></Stations>\n";
        QTest::newRow("entity bomb") << laughs << QStringLiteral("entity declarations");
        QTest::newRow("external entity")
            << QByteArray("<?xml version=\"1.0\"?>\n<!DOCTYPE playlist [<!ENTITY xxe SYSTEM \"file:///etc/passwd\">]>\n"
                          "<playlist><trackList><track><location>http://a.example/</location><title>&xxe;</title>"
                          "</track></trackList></playlist>\n")
            << QStringLiteral("entity declarations");
        QTest::newRow("20 MB") << QByteArray("#EXTM3U\n").append(20 * 1024 * 1024, '\n')
                               << QStringLiteral("larger than 10 MB");
        QByteArray lines;
        for (int i = 0; i < 200000; ++i)
            lines += "http://s.example/" + QByteArray::number(i) + "\n";
        QTest::newRow("200,000 lines") << lines << QStringLiteral("more than 10,000 stations");
        QTest::newRow("deep JSON") << QByteArray(100000, '[') << QStringLiteral("nested deeper than 32");
        QTest::newRow("JSON object") << QByteArray("{\"stations\": []}")
                                     << QStringLiteral("not a list: a JSON object");
        QTest::newRow("other XML") << QByteArray("<html><body>Sign in</body></html>")
                                   << QStringLiteral("whose root is <html>");
        QTest::newRow("table without URLs") << QByteArray("name,address\nx,y\n")
                                            << QStringLiteral("a table without a URL column");
        QTest::newRow("binary") << QByteArray("ID3\x03\0\0\0\0\x0fvTIT2", 14) << QStringLiteral("not text");
    }

    void hostileFilesAreRefusedAndWriteNothing()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, problem);
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("stations.csv"));
        QVERIFY(writeFile(path, myStations));
        CatalogueFile file(path);
        const StationImport::Result result = StationImport::run({{QStringLiteral("list"), bytes}}, file);
        QVERIFY(!result.ok());
        QVERIFY2(result.summary().contains(problem), qPrintable(result.summary()));
        QVERIFY(result.summary().startsWith(QStringLiteral("Nothing imported: list is ")));
        QCOMPARE(readAll(path), myStations);
    }

    // Into a real stations.csv: what is there already (or twice in the
    // files) is counted, not added; one rewrite adds the rest, and Undo
    // takes them out again.
    void importsIntoMyStationsOnce()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("stations.csv"));
        QVERIFY(writeFile(path, myStations));
        CatalogueFile file(path);
        const QByteArray m3u = "#EXTM3U\n#EXTINF:-1,Groove Salad\nhttps://somafm.example/groovesalad.pls\n"
                               "#EXTINF:-1,New One\nhttp://new.example/one\nmms://old.example/s\n";
        const QByteArray pls = "[playlist]\nFile1=http://new.example/one\nFile2=http://new.example/two\n"
                               "Title2=New Two\nNumberOfEntries=2\n";
        const StationImport::Result result
            = StationImport::run({{QStringLiteral("a.m3u"), m3u}, {QStringLiteral("b.pls"), pls}}, file);
        QVERIFY2(result.ok(), qPrintable(result.error));
        QCOMPARE(result.summary(),
                 QStringLiteral("Imported 2 stations (2 already in My stations, 1 skipped: not an http(s) address)"));
        QCOMPARE(result.ids, (QList<qint64>{2, 3}));
        QCOMPARE(readAll(path), myStations + "2,http://new.example/one,,,New One\n3,http://new.example/two,,,New Two\n");

        const StationImport::Result again = StationImport::run({{QStringLiteral("b.pls"), pls}}, file);
        QCOMPARE(again.summary(), QStringLiteral("Imported 0 stations (2 already in My stations)"));
        const QByteArray one = "http://new.example/three\n";
        QCOMPARE(StationImport::run({{QStringLiteral("c.m3u"), one}}, file).summary(),
                 QStringLiteral("Imported 1 station"));

        QVERIFY(file.removeAll(result.ids).ok());
        QCOMPARE(readAll(path), myStations + "4,http://new.example/three,,,new.example\n");
    }
};

QTEST_GUILESS_MAIN(ExchangeTests)
#include "ExchangeTests.moc"
