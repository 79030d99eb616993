// A catalogue's text and where it comes from: decoding stations by column
// name, which rows are kept, skipped or ignored, texts that are no station
// list, every Unicode encoding and the rewrite that keeps what it does not
// understand, the built-in starter catalogue, addresses a person pastes,
// and the order in which the active catalogue is chosen.
#include "Catalogue/ActiveCatalogue.h"
#include "Catalogue/CatalogueSource.h"
#include "Catalogue/CatalogueTable.h"
#include "Catalogue/StarterCatalogue.h"
#include "Support/Config.h"
#include "TestSupport.h"

#include "CSV/CSVDecodingError.h"
#include "CSV/CSVReader.h"
#include "CSV/CSVRowDecoder.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Decodes the single data row of a catalogue text; none when it fails.
std::optional<Station> decodeRow(const std::string& text)
{
    csv::CSVReader reader(text, true);
    if (!reader.next())
        return std::nullopt;
    try {
        return csv::CSVRowDecoder().decode<Station>(reader);
    } catch (const csv::DecodingError&) {
        return std::nullopt;
    }
}

QList<qint64> idsOf(const QList<Station>& stations)
{
    QList<qint64> ids;
    for (const Station& station : stations)
        ids.append(station.id);
    return ids;
}

QByteArray encoded(const QString& text, QStringConverter::Encoding encoding)
{
    QStringEncoder encoder(encoding, QStringConverter::Flag::WriteBom);
    return encoder(text);
}

const QString mixed = QStringLiteral("id,url,image,genre,title,uuid\r\n"
                                     "1,http://a/s1,,Rock,Ö1 Klassik,0A1B\r\n"
                                     "two,http://a/s2,http://a/l2,,Broken id,0A1C\r\n"
                                     "3,http://a/s3,http://a/l3,,\"Three, with a comma\",0A1D\r\n"
                                     ",,,,,\r\n");

} // namespace

class CatalogueTests : public QObject {
    Q_OBJECT

private slots:
    void decodesInAnyColumnOrder()
    {
        const auto canonical = decodeRow("id,url,image,genre,title\n-7,http://s,http://l,Rock,Radio\n");
        const auto shuffled = decodeRow("genre,title,id,image,url,extra\nRock,Radio,-7,http://l,http://s,x\n");
        QVERIFY(canonical && shuffled);
        for (const Station& s : {*canonical, *shuffled}) {
            QCOMPARE(s.id, -7);
            QCOMPARE(s.url, QStringLiteral("http://s"));
            QCOMPARE(s.image, QStringLiteral("http://l"));
            QCOMPARE(s.genre, QStringLiteral("Rock"));
            QCOMPARE(s.title, QStringLiteral("Radio"));
        }
        const auto unicode = decodeRow("id,url,image,genre,title\n1,http://s,http://l,Поп,Радіо Люкс\n");
        QCOMPARE(unicode->title, QStringLiteral("Радіо Люкс"));
    }

    // (An empty title or url and an id that is no number: the skipped rows
    // below.)
    void failsAsAWhole_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("no title column") << QByteArray("id,url,image,genre\n1,http://s,http://l,Rock\n");
        QTest::newRow("Title in another case") << QByteArray("id,url,image,genre,Title\n1,a,b,c,d\n");
        QTest::newRow("short row") << QByteArray("id,url,image,genre,title\n1,a,b\n");
    }

    void failsAsAWhole()
    {
        QFETCH(QByteArray, text);
        QVERIFY(!decodeRow(text.toStdString()));
    }

    // Rows with a station are kept, the others counted with their spreadsheet
    // row number and reason; rows of nothing but empty fields are neither.
    void skippedRowsAreCountedWithTheirReason()
    {
        const QByteArray text = "id,url,image,genre,title\n"
                                "1,http://a/s1,,,One\n"
                                "x,http://a/s2,,,Two\n"
                                ",,,,\n"
                                "\n"
                                "4,,,,Four\n"
                                "5,http://a/s5,http://a/l5,Jazz,\n"
                                "6,http://a/s6,,Pop,Six\n";
        const CatalogueTable::Parsed parsed = CatalogueTable::parse(text);
        QVERIFY(parsed.isStationList());
        QCOMPARE(idsOf(parsed.table->stations), (QList<qint64>{1, 6}));
        QCOMPARE(parsed.table->skipped.size(), 3);
        QCOMPARE(parsed.table->skipped[0].row, 3);
        QCOMPARE(parsed.table->skipped[0].reason, QStringLiteral("the id \"x\" is not a whole number"));
        QCOMPARE(parsed.table->skipped[1].row, 6);
        QCOMPARE(parsed.table->skipped[1].reason, QStringLiteral("the url is empty"));
        QCOMPARE(parsed.table->skipped[2].row, 7);
        QCOMPARE(parsed.table->skipped[2].reason, QStringLiteral("the title is empty"));
        QCOMPARE(parsed.table->rows.size(), std::size_t(7));

        StdoutCapture output;
        CatalogueTable::printSkipped(QStringLiteral("stations.csv"), parsed.table->skipped, 2);
        const QList<QByteArray> lines = output.text().trimmed().split('\n');
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines[0], QByteArray("Skipped row 3 of stations.csv: the id \"x\" is not a whole number"));
        QCOMPARE(lines[2], QByteArray("Skipped 1 more rows of stations.csv"));
    }

    void textsThatAreNoStationList_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("problem");
        QTest::addColumn<bool>("editable");
        QTest::newRow("empty") << QByteArray() << QStringLiteral("empty") << false;
        QTest::newRow("web page") << QByteArray("<!DOCTYPE html>\n<html><body>Sign in</body></html>\n")
                                  << QStringLiteral("a web page") << false;
        QTest::newRow("other columns") << QByteArray("name,address\nx,y\n")
                                       << QStringLiteral("no id, url or title column in its first row") << false;
        QTest::newRow("broken UTF-8") << QByteArray("id,url,image,genre,title\n1,http://s,,,Caf\xe9\n")
                                      << QStringLiteral("not UTF-8 text") << false;
        QTest::newRow("broken UTF-16") << QByteArray("\xFF\xFEi\0d\0,\0u\0r\0l\0,\0t\0i\0t\0l\0e\0\n\0"
                                                     "1\0,\0h\0,\0\x00\xD8x\0\n\0",
                                                     40)
                                       << QStringLiteral("not UTF-16 text") << false;
        QTest::newRow("every row bad") << QByteArray("id,url,title\nx,http://s,A\n2,,B\n")
                                       << QStringLiteral("none of its 2 rows is a station") << true;
    }

    void textsThatAreNoStationList()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, problem);
        QFETCH(bool, editable);
        const CatalogueTable::Parsed parsed = CatalogueTable::parse(text);
        QVERIFY(!parsed.isStationList());
        QCOMPARE(parsed.problem, problem);
        QCOMPARE(parsed.table.has_value(), editable);
        // A header alone is an empty catalogue, not a failure.
        QVERIFY(CatalogueTable::parse("id,url,image,genre,title\n").isStationList());
    }

    // Any Unicode encoding with its mark reads the same, and a rewrite keeps
    // the encoding, the mark, the line breaks, the extra column, the row that
    // is no station and the empty row.
    void everyEncodingReadsAndRewritesAsItWas_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("UTF-8") << mixed.toUtf8();
        QTest::newRow("UTF-8 with mark") << encoded(mixed, QStringConverter::Utf8);
        QTest::newRow("UTF-16LE") << encoded(mixed, QStringConverter::Utf16LE);
        QTest::newRow("UTF-16BE") << encoded(mixed, QStringConverter::Utf16BE);
        QTest::newRow("UTF-32LE") << encoded(mixed, QStringConverter::Utf32LE);
        QTest::newRow("UTF-32BE") << encoded(mixed, QStringConverter::Utf32BE);
    }

    void everyEncodingReadsAndRewritesAsItWas()
    {
        QFETCH(QByteArray, bytes);
        const CatalogueTable::Parsed parsed = CatalogueTable::parse(bytes);
        QVERIFY2(parsed.isStationList(), qPrintable(parsed.problem));
        const CatalogueTable& table = *parsed.table;
        QCOMPARE(idsOf(table.stations), (QList<qint64>{1, 3}));
        QCOMPARE(table.stations[0].title, QStringLiteral("Ö1 Klassik"));
        QCOMPARE(table.stations[1].title, QStringLiteral("Three, with a comma"));
        QCOMPARE(table.skipped.size(), 1);
        QCOMPARE(table.header.back(), std::string("uuid"));
        QCOMPARE(table.serialize(), bytes);
    }

    // What spreadsheet programs save as "CSV" in many locales, and as
    // "Unicode text": read by any header case and spacing, and rewritten in
    // the same dialect.
    void spreadsheetDialectsReadAndRewriteAsTheyWere_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<char>("delimiter");
        const QString semicolons = QStringLiteral("ID;Url;Image;Genre; Title \r\n"
                                                  "1;http://a/s1;;Rock;Ö1 Klassik\r\n"
                                                  "3;http://a/s3;http://a/l3;;\"Three; with a semicolon\"\r\n");
        QTest::newRow("semicolons, UTF-8 mark, CRLF") << encoded(semicolons, QStringConverter::Utf8) << ';';
        const QString tabs = QStringLiteral("ID\tUrl\tImage\tGenre\t Title \r\n"
                                            "1\thttp://a/s1\t\tRock\tÖ1 Klassik\r\n"
                                            "3\thttp://a/s3\thttp://a/l3\t\tThree, with a comma\r\n");
        QTest::newRow("tabs, UTF-16LE") << encoded(tabs, QStringConverter::Utf16LE) << '\t';
        QTest::newRow("commas in a semicolon table")
            << QByteArray("id;url;title;notes\n1;http://a/s1;Ö1 Klassik;a, b, c\n3;http://a/s3;Three;x\n") << ';';
    }

    void spreadsheetDialectsReadAndRewriteAsTheyWere()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(char, delimiter);
        const CatalogueTable::Parsed parsed = CatalogueTable::parse(bytes);
        QVERIFY2(parsed.isStationList(), qPrintable(parsed.problem));
        QCOMPARE(parsed.table->delimiter, delimiter);
        QCOMPARE(idsOf(parsed.table->stations), (QList<qint64>{1, 3}));
        QCOMPARE(parsed.table->stations[0].title, QStringLiteral("Ö1 Klassik"));
        QCOMPARE(parsed.table->serialize(), bytes);
    }

    // Shipped inside the application, reachable from any program that links
    // the application's library.
    void starterCatalogueIsBuiltIn()
    {
        const QByteArray bytes = StarterCatalogue::bytes();
        QVERIFY(!bytes.isEmpty());
        const CatalogueTable::Parsed parsed = CatalogueTable::parse(bytes);
        QVERIFY(parsed.isStationList());
        QVERIFY(!parsed.table->stations.isEmpty());
        QVERIFY(parsed.table->skipped.isEmpty());
        for (const Station& station : parsed.table->stations) {
            QVERIFY(station.url.startsWith(QLatin1String("http")));
            QVERIFY(!station.genre.isEmpty());
        }
        // Read as UTF-8: a name beyond ASCII comes out whole.
        QCOMPARE(parsed.table->stations.last().title, QStringLiteral("Ö1"));
    }

    void addressesAPersonPastes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected"); // the address, or a piece of the error
        QTest::newRow("https") << QStringLiteral("  https://docs.example.org/pub?output=csv ")
                               << QStringLiteral("https://docs.example.org/pub?output=csv");
        QTest::newRow("existing file") << QStringLiteral("FILE") << QStringLiteral("file://");
        QTest::newRow("plain path") << QStringLiteral("PATH") << QStringLiteral("file://");
        QTest::newRow("missing file") << QStringLiteral("file:///nowhere/stations.csv")
                                      << QStringLiteral("There is no file");
        QTest::newRow("folder") << QStringLiteral("FOLDER") << QStringLiteral("is a folder");
        QTest::newRow("ftp") << QStringLiteral("ftp://example.org/s.csv") << QStringLiteral("not ftp:");
        QTest::newRow("no scheme") << QStringLiteral("docs.example.org/s.csv") << QStringLiteral("not an address");
        QTest::newRow("no server") << QStringLiteral("https://") << QStringLiteral("no server");
        QTest::newRow("remote file") << QStringLiteral("file://server/s.csv") << QStringLiteral("this computer");
        QTest::newRow("localhost file") << QStringLiteral("LOCALHOST") << QStringLiteral("file:///");
        QTest::newRow("empty") << QStringLiteral("  ") << QStringLiteral("Paste");
    }

    void addressesAPersonPastes()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QTemporaryDir folder;
        const QString file = folder.filePath(QStringLiteral("my list.csv"));
        QFile(file).open(QIODevice::WriteOnly);
        text.replace(QStringLiteral("FILE"), QUrl::fromLocalFile(file).toString())
            .replace(QStringLiteral("PATH"), file)
            .replace(QStringLiteral("FOLDER"), folder.path())
            .replace(QStringLiteral("LOCALHOST"), QStringLiteral("file://localhost") + file);
        const CheckedAddress checked = CatalogueSource::check(text);
        if (checked.source) {
            QVERIFY2(checked.source->url().toString().startsWith(expected), qPrintable(checked.source->url().toString()));
            QVERIFY(checked.error.isEmpty());
        } else {
            QVERIFY2(checked.error.contains(expected), qPrintable(checked.error));
        }
    }

    // --catalogue, then the environment, then quillora.conf, else My
    // stations; an unusable value is skipped with one line.
    void theActiveCatalogueIsChosenInOrder()
    {
        QTemporaryDir folder;
        const QString conf = folder.filePath(QStringLiteral("quillora/quillora.conf"));
        QCOMPARE(Config::catalogueSetting(conf), QString());
        QVERIFY(CatalogueChoice::resolve({}, {}, {}, conf).source.isMyStations());

        // A file a person wrote by hand, without a section.
        QVERIFY(writeFile(conf, "catalogue=https://conf.example.org/pub?output=csv&gid=1,2\n"));
        const QString configured = Config::catalogueSetting(conf);
        QCOMPARE(configured, QStringLiteral("https://conf.example.org/pub?output=csv&gid=1,2"));
        CatalogueChoice choice = CatalogueChoice::resolve({}, {}, configured, conf);
        QCOMPARE(choice.origin, CatalogueChoice::Origin::configuration);
        QCOMPARE(choice.source.url().toString(), configured);

        const QString environment = QStringLiteral("file:///srv/env.csv");
        choice = CatalogueChoice::resolve({}, environment, configured, conf);
        QCOMPARE(choice.origin, CatalogueChoice::Origin::environment);
        QCOMPARE(choice.source.localPath(), QStringLiteral("/srv/env.csv"));

        choice = CatalogueChoice::resolve(QStringLiteral("http://127.0.0.1/cli.csv"), environment, configured, conf);
        QCOMPARE(choice.origin, CatalogueChoice::Origin::commandLine);

        StdoutCapture output;
        choice = CatalogueChoice::resolve(QStringLiteral("gopher://x/y"), environment, configured, conf);
        QCOMPARE(choice.origin, CatalogueChoice::Origin::environment);
        QVERIFY(output.text().startsWith("Ignoring the catalogue of --catalogue: "));
        output.restore();
    }

    void aChoiceMadeInTheWindowIsRemembered()
    {
        QTemporaryDir folder;
        const QString conf = folder.filePath(QStringLiteral("quillora/quillora.conf"));
        const QUrl address(QStringLiteral("https://docs.example.org/pub?output=csv&gid=1,2"));
        QVERIFY(CatalogueChoice::remember(CatalogueSource::address(address), conf).isEmpty());
        QCOMPARE(QUrl(Config::catalogueSetting(conf)), address);
        QVERIFY(CatalogueChoice::remember(CatalogueSource::myStations(), conf).isEmpty());
        QCOMPARE(Config::catalogueSetting(conf), QString());
        QVERIFY(!QSettings(conf, QSettings::IniFormat).contains(QStringLiteral("catalogue")));
    }

    // The note over stored stations: the year only when it is not this one.
    void theOfflineNoteDatesTheStoredStations()
    {
        const QDateTime loadedAt = QDateTime(QDate(2026, 12, 3), QTime(14, 20)).toUTC();
        QCOMPARE(ActiveCatalogue::offlineNote(loadedAt, QDateTime(QDate(2026, 12, 6), QTime(9, 0))),
                 QStringLiteral("Offline: stations from 3 December, 14:20"));
        QCOMPARE(ActiveCatalogue::offlineNote(loadedAt, QDateTime(QDate(2027, 1, 2), QTime(9, 0))),
                 QStringLiteral("Offline: stations from 3 December 2026, 14:20"));
    }
};

QTEST_GUILESS_MAIN(CatalogueTests)
#include "CatalogueTests.moc"
