// Decoding a Station from CSV rows by column name, and which catalogue
// address is used.
#include "Catalogue/Station.h"
#include "CSV/CSVDecodingError.h"
#include "CSV/CSVReader.h"
#include "CSV/CSVRowDecoder.h"
#include "App/CommandLine.h"
#include "Config.h"

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

    void failsAsAWhole_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("no genre column") << QByteArray("id,url,image,title\n1,http://s,http://l,Radio\n");
        QTest::newRow("empty genre") << QByteArray("id,url,image,genre,title\n1,http://s,http://l,,Radio\n");
        QTest::newRow("id not a number") << QByteArray("id,url,image,genre,title\none,http://s,http://l,Rock,R\n");
        QTest::newRow("Title in another case") << QByteArray("id,url,image,genre,Title\n1,a,b,c,d\n");
        QTest::newRow("short row") << QByteArray("id,url,image,genre,title\n1,a,b\n");
    }

    void failsAsAWhole()
    {
        QFETCH(QByteArray, text);
        QVERIFY(!decodeRow(text.toStdString()));
    }

    void catalogueAddress()
    {
        qunsetenv("QUILLORA_CATALOGUE_URL");
        QCOMPARE(CommandLine::resolveCatalogueUrl({}), Config::gSheetCVSUrl());
        qputenv("QUILLORA_CATALOGUE_URL", "file:///srv/stations.csv");
        QCOMPARE(CommandLine::resolveCatalogueUrl({}), QStringLiteral("file:///srv/stations.csv"));
        QCOMPARE(CommandLine::resolveCatalogueUrl(QStringLiteral("http://127.0.0.1/s.csv")),
                 QStringLiteral("http://127.0.0.1/s.csv"));
        qunsetenv("QUILLORA_CATALOGUE_URL");
    }
};

QTEST_GUILESS_MAIN(CatalogueTests)
#include "CatalogueTests.moc"
