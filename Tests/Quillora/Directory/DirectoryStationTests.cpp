// Pure logic of the directory layer: what survives of a hostile station
// record, how answers are read, and the names DNS discovery builds and
// accepts.
#include "Directory/DirectoryAnswer.h"
#include "Directory/DirectorySearchModel.h"
#include "Directory/DirectoryServerDiscovery.h"
#include "Directory/DirectoryStation.h"

#include <QHostAddress>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

namespace {

QJsonObject goodStation()
{
    return QJsonObject{{"stationuuid", "960E57C5-0601-11e8-ae97-52543be04c81"},
                       {"name", "Radio One"},
                       {"url", "http://stream.example/one.m3u"},
                       {"url_resolved", "http://stream.example/one.mp3"},
                       {"favicon", "https://stream.example/one.png"},
                       {"tags", "rock,pop"},
                       {"countrycode", "de"},
                       {"language", "german"},
                       {"codec", "MP3"},
                       {"bitrate", 128},
                       {"hls", 0},
                       {"lastcheckok", 1},
                       {"votes", 12},
                       {"clickcount", 345}};
}

DirectoryStation stationWith(const QString& key, const QJsonValue& value)
{
    QJsonObject object = goodStation();
    object.insert(key, value);
    const std::optional<DirectoryStation> station = DirectoryStation::fromJson(object);
    return station.value_or(DirectoryStation());
}

bool hasNoControlCharacters(const QString& text)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x20 || (u >= 0x7F && u <= 0x9F) || u == 0x2028 || u == 0x2029 || (u >= 0x202A && u <= 0x202E)
            || c.isSurrogate())
            return false;
    }
    return true;
}

} // namespace

class DirectoryStationTests : public QObject {
    Q_OBJECT

private slots:
    void readsAWellFormedStation()
    {
        const std::optional<DirectoryStation> station = DirectoryStation::fromJson(goodStation());
        QVERIFY(station);
        QCOMPARE(station->stationUuid, QStringLiteral("960e57c5-0601-11e8-ae97-52543be04c81"));
        QCOMPARE(station->name, QStringLiteral("Radio One"));
        QCOMPARE(station->streamUrl(), QStringLiteral("http://stream.example/one.mp3"));
        QCOMPARE(station->tags, QStringList({"rock", "pop"}));
        QCOMPARE(station->countryCode, QStringLiteral("DE"));
        QCOMPARE(station->bitrate, 128);
        QVERIFY(!station->hls);
        QVERIFY(station->lastCheckOk);
        QCOMPARE(station->clickCount, 345);

        const DirectoryCatalogueRow row = station->catalogueRow();
        QCOMPARE(row.url, QStringLiteral("http://stream.example/one.mp3"));
        QCOMPARE(row.image, QStringLiteral("https://stream.example/one.png"));
        QCOMPARE(row.genre, QStringLiteral("rock"));
        QCOMPARE(row.title, QStringLiteral("Radio One"));
        QCOMPARE(row.uuid, QStringLiteral("960e57c5-0601-11e8-ae97-52543be04c81"));
    }

    void keepsOnlyWebAddresses_data()
    {
        QTest::addColumn<QString>("raw");
        QTest::addColumn<QString>("kept");
        QTest::newRow("http") << "http://a.example/s" << "http://a.example/s";
        QTest::newRow("https, upper-case scheme") << "HTTPS://a.example/s" << "https://a.example/s";
        QTest::newRow("surrounding spaces") << "  http://a.example/s \t" << "http://a.example/s";
        QTest::newRow("non-ASCII path encoded") << "http://a.example/ra\u00efo" << "http://a.example/ra%C3%AFo";
        QTest::newRow("file") << "file:///etc/passwd" << "";
        QTest::newRow("javascript") << "javascript:alert(1)" << "";
        QTest::newRow("data") << "data:audio/mpeg;base64,AAAA" << "";
        QTest::newRow("ftp") << "ftp://a.example/s" << "";
        QTest::newRow("no scheme") << "//a.example/s" << "";
        QTest::newRow("no host") << "http://" << "";
        QTest::newRow("relative") << "stream.mp3" << "";
        QTest::newRow("space inside") << "http://a.example/a b" << "";
        QTest::newRow("NUL inside") << QString(QStringLiteral("http://a.example/a") + QChar(0) + "b") << "";
        QTest::newRow("line break inside") << "http://a.example/a\r\nX-Evil: 1" << "";
        QTest::newRow("direction override") << "http://a.example/\u202egpj.exe" << "";
        QTest::newRow("too long") << "http://a.example/" + QString(3000, 'a') << "";
    }
    void keepsOnlyWebAddresses()
    {
        QFETCH(QString, raw);
        QFETCH(QString, kept);
        QCOMPARE(DirectoryCleaning::webAddress(raw), kept);
    }

    void choosesTheStreamToPlay()
    {
        // The resolved address when usable, else the given one; neither: no station.
        QCOMPARE(stationWith("url_resolved", "javascript:alert(1)").streamUrl(),
                 QStringLiteral("http://stream.example/one.m3u"));
        QCOMPARE(stationWith("url_resolved", QJsonValue::Null).streamUrl(),
                 QStringLiteral("http://stream.example/one.m3u"));
        QCOMPARE(stationWith("url", "file:///x").streamUrl(), QStringLiteral("http://stream.example/one.mp3"));
        QJsonObject neither = goodStation();
        neither.insert("url", "data:,x");
        neither.insert("url_resolved", 42);
        QVERIFY(!DirectoryStation::fromJson(neither));
        neither.remove("url_resolved");
        neither.remove("url");
        QVERIFY(!DirectoryStation::fromJson(neither));
        // A logo that is not a web address is dropped, the station kept.
        QCOMPARE(stationWith("favicon", "file:///etc/passwd").favicon, QString());
    }

    void cleansText_data()
    {
        QTest::addColumn<QString>("raw");
        QTest::addColumn<QString>("clean");
        QTest::newRow("plain") << "Radio One" << "Radio One";
        QTest::newRow("controls become one space") << QStringLiteral("A\u0000\u0007\u001b[31mB") << "A [31mB";
        QTest::newRow("line breaks") << "First\r\nSecond\u2028Third\u0085Fourth" << "First Second Third Fourth";
        QTest::newRow("runs of space, trimmed") << "  a \t  b  " << "a b";
        QTest::newRow("direction overrides go") << "abc\u202Edef\u2066g" << "abcdefg";
        QTest::newRow("unpaired surrogates go") << QString(QString(QChar(0xD800)) + "x" + QChar(0xDC00)) << "x";
        QTest::newRow("pairs stay") << "Ra\U0001F4FBdio" << "Ra\U0001F4FBdio";
        QTest::newRow("only controls") << QStringLiteral("\u0001\u0002\n") << "";
    }
    void cleansText()
    {
        QFETCH(QString, raw);
        QFETCH(QString, clean);
        QCOMPARE(DirectoryCleaning::text(raw, 200), clean);
    }

    void capsText()
    {
        QCOMPARE(DirectoryCleaning::text(QString(100000, 'n'), 200).size(), 200);
        // A pair that would straddle the cap is left out whole.
        const QString emoji = QStringLiteral("\U0001F4FB");
        const QString capped = DirectoryCleaning::text(QString(199, 'a') + emoji, 200);
        QCOMPARE(capped, QString(199, 'a'));
        QCOMPARE(DirectoryCleaning::text(QString(198, 'a') + emoji, 200), QString(198, 'a') + emoji);
        // A hostile record as a whole: every text capped and clean.
        QJsonObject hostile = goodStation();
        const QString huge = QString(100000, QChar(0x202E)) + QString(100000, 'x') + QChar(0);
        for (const char* key : {"name", "tags", "language", "codec"})
            hostile.insert(key, huge);
        const std::optional<DirectoryStation> station = DirectoryStation::fromJson(hostile);
        QVERIFY(station);
        QCOMPARE(station->name.size(), DirectoryStation::maxNameLength);
        QCOMPARE(station->tags, QStringList{QString(DirectoryStation::maxTagLength, 'x')});
        QCOMPARE(station->language.size(), DirectoryStation::maxLanguageLength);
        QCOMPARE(station->codec.size(), DirectoryStation::maxCodecLength);
        QVERIFY(hasNoControlCharacters(station->name));
    }

    void readsTags()
    {
        QCOMPARE(DirectoryCleaning::tags(QStringLiteral(" rock , ,Pop,ROCK,\u202e,jazz\u0000club,")),
                 QStringList({"rock", "Pop", "jazz club"}));
        QString many;
        for (int i = 0; i < 40; ++i)
            many += QStringLiteral("t%1,").arg(i);
        QCOMPARE(DirectoryCleaning::tags(many).size(), DirectoryStation::maxTags);
        QVERIFY(DirectoryCleaning::tags(QString()).isEmpty());
    }

    void treatsWrongTypesAsMissing()
    {
        // Numbers as strings, objects, arrays and nulls: each field counts as
        // missing, the station stays.
        const DirectoryStation typed = stationWith("bitrate", "128");
        QCOMPARE(typed.bitrate, 0);
        QCOMPARE(stationWith("votes", "5").votes, 0);
        QCOMPARE(stationWith("clickcount", QJsonValue::Null).clickCount, 0);
        QCOMPARE(stationWith("tags", QJsonArray{"rock", "pop"}).tags, QStringList());
        QCOMPARE(stationWith("countrycode", 49).countryCode, QString());
        QCOMPARE(stationWith("language", QJsonObject{{"x", 1}}).language, QString());
        QCOMPARE(stationWith("favicon", QJsonArray{"http://a.example/l.png"}).favicon, QString());
        QVERIFY(!stationWith("hls", "1").hls);
        QVERIFY(!stationWith("lastcheckok", "true").lastCheckOk);
        QVERIFY(stationWith("lastcheckok", true).lastCheckOk);
        QCOMPARE(stationWith("stationuuid", 12345).stationUuid, QString());
        QCOMPARE(stationWith("stationuuid", "../../json/stations").stationUuid, QString());
        // A name that is not text falls back to the stream's host.
        QCOMPARE(stationWith("name", QJsonObject{{"text", "x"}}).name, QStringLiteral("stream.example"));
        QCOMPARE(stationWith("name", "\u0001 \u0002").name, QStringLiteral("stream.example"));
        // Not an object at all: no station.
        for (const QJsonValue& value : {QJsonValue(), QJsonValue(7), QJsonValue("station"), QJsonValue(QJsonArray{1})})
            QVERIFY(!DirectoryStation::fromJson(value));
    }

    void rangeChecksNumbers()
    {
        QCOMPARE(stationWith("bitrate", -5).bitrate, 0);
        QCOMPARE(stationWith("bitrate", 1e12).bitrate, 0);
        QCOMPARE(stationWith("votes", 1e300).votes, 0);
        QCOMPARE(stationWith("clickcount", 12.7).clickCount, 12);
        QCOMPARE(stationWith("clickcount", 2147483647.0).clickCount, 2147483647);
        QCOMPARE(stationWith("clickcount", 2147483648.0).clickCount, 0);
        QVERIFY(!stationWith("hls", 2).hls);
        QCOMPARE(stationWith("countrycode", "DEU").countryCode, QString());
        QCOMPARE(stationWith("countrycode", "d1").countryCode, QString());
        QCOMPARE(stationWith("countrycode", "\u00c4T").countryCode, QString());
    }

    void readsAnswers()
    {
        QJsonArray stations;
        for (int i = 0; i < 5; ++i) {
            QJsonObject station = goodStation();
            station.insert("stationuuid", QStringLiteral("00000000-0000-4000-8000-00000000000%1").arg(i % 3));
            station.insert("name", QStringLiteral("S%1").arg(i));
            stations.append(station);
        }
        stations.append(QJsonValue());
        stations.append(QJsonObject{{"name", "no stream"}});
        const QByteArray body = QJsonDocument(stations).toJson();
        const DirectoryAnswer answer = DirectoryAnswer::readStations(body, 50);
        QVERIFY(answer.readable);
        // Every entry counts for paging; repeats and unusable ones are not kept.
        QCOMPARE(answer.received, 7);
        QCOMPARE(answer.stations.size(), 3);
        QCOMPARE(answer.stations.at(2).name, QStringLiteral("S2"));
        QCOMPARE(DirectoryAnswer::readStations(body, 2).stations.size(), 2);

        for (const QByteArray& unreadable : {QByteArray("<html><body>Welcome</body></html>"), QByteArray("{\"a\":1}"),
                                             body.left(body.size() / 2), QByteArray()}) {
            QVERIFY(!DirectoryAnswer::readStations(unreadable, 50).readable);
            QVERIFY(!DirectoryAnswer::readTags(unreadable, 50).readable);
        }

        const DirectoryAnswer tags = DirectoryAnswer::readTags(
            R"([{"name":"pop","stationcount":9},{"name":"POP"},{"name":7},{"name":"a,b"},"x",{"name":"rock\u0000"},)"
            R"({"name":"jazz"}])",
            2);
        QVERIFY(tags.readable);
        QCOMPARE(tags.tags, QStringList({"pop", "rock"}));
    }

    void buildsReverseLookupNames()
    {
        QCOMPARE(DirectoryServerDiscovery::reverseLookupName(QHostAddress("91.132.145.114")),
                 QStringLiteral("114.145.132.91.in-addr.arpa"));
        QCOMPARE(DirectoryServerDiscovery::reverseLookupName(QHostAddress("2001:db8::567:89ab")),
                 QStringLiteral("b.a.9.8.7.6.5.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.8.b.d.0.1.0.0.2.ip6.arpa"));
        QCOMPARE(DirectoryServerDiscovery::reverseLookupName(QHostAddress()), QString());
    }

    void acceptsOnlyHostNames()
    {
        QCOMPARE(DirectoryServerDiscovery::hostName("DE1.api.Radio-Browser.info."),
                 QStringLiteral("de1.api.radio-browser.info"));
        for (const char* bad : {"", ".", "evil.example/path", "a..b", ".a", "a b", "user@host", "host:443", "h\xc3\xa9"})
            QCOMPARE(DirectoryServerDiscovery::hostName(QString::fromUtf8(bad)), QString());
        QCOMPARE(DirectoryServerDiscovery::hostName(QString(254, 'a')), QString());
    }

    void takesTheCountryFromTheLocale()
    {
        QCOMPARE(DirectorySearchModel::countryCodeOf(QLocale(QStringLiteral("de_AT"))), QStringLiteral("AT"));
        QCOMPARE(DirectorySearchModel::countryCodeOf(QLocale(QStringLiteral("pt_BR"))), QStringLiteral("BR"));
        // The C locale names no country: no chip rather than a wrong one.
        QCOMPARE(DirectorySearchModel::countryCodeOf(QLocale::c()), QString());
    }
};

QTEST_GUILESS_MAIN(DirectoryStationTests)
#include "DirectoryStationTests.moc"
