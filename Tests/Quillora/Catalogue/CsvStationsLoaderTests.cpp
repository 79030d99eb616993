// The spreadsheet loader against a local HTTP server: catalogue shapes,
// bad rows, hostile answers (each with its reason) and addresses, fresh
// fetches, and the reply (one finished(), on the loading thread, never from
// inside load(); a deleted reply cancels the load).
#include "Catalogue/CsvStationsLoader.h"
#include "Support/LocalHttpServer.h"
#include "TestSupport.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <memory>

namespace {

// What one reply said, recorded as it finished.
struct Answer {
    int loaded = 0;
    int failed = 0;
    QList<Station> stations;
    CatalogueReport report;
    std::optional<LoadFailure> failure;
    QThread* thread = nullptr;
    int answers() const { return loaded + failed; }
};

std::shared_ptr<Answer> record(StationsReply* reply)
{
    auto answer = std::make_shared<Answer>();
    QObject::connect(reply, &StationsReply::finished, reply, [reply, answer] {
        reply->deleteLater();
        ++(reply->failure() ? answer->failed : answer->loaded);
        answer->stations = reply->stations();
        answer->report = reply->report();
        answer->failure = reply->failure();
        answer->thread = QThread::currentThread();
    });
    return answer;
}

const QByteArray canonical = "id,url,image,genre,title\n"
                             "1,http://a.example/s1,http://a.example/l1.png,Rock,One\n"
                             "2,http://a.example/s2.m3u,http://a.example/l2.png,Jazz,\"Two, quoted\"\n";

} // namespace

class CsvStationsLoaderTests : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_root;
    std::unique_ptr<LocalHttpServer> m_server;

    void put(const QString& name, const QByteArray& body)
    {
        QFile file(m_root.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(body) == body.size());
    }

    // Loads the address and waits for the one answer.
    std::shared_ptr<Answer> load(const QString& address, int transferTimeoutMs = 30000, int deadlineMs = 120000)
    {
        CsvStationsLoader loader(address);
        loader.transferTimeoutMs = transferTimeoutMs;
        loader.deadlineMs = deadlineMs;
        const auto answer = record(loader.load());
        if (!QTest::qWaitFor([&] { return answer->answers() > 0; }, 10000))
            qWarning("no answer for %s", qPrintable(address));
        QTest::qWait(20); // a second answer would show up here
        return answer;
    }

    QString at(const QString& pathAndQuery) const { return m_server->url(pathAndQuery).toString(); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_root.isValid());
        put(QStringLiteral("canonical.csv"), canonical);
        put(QStringLiteral("bad-rows.csv"),
            "id,url,image,genre,title\n"
            "1,http://a.example/s1,http://a.example/l1.png,Rock,One\n"
            "x,http://a.example/sx,http://a.example/lx.png,Rock,Ex\n"
            "3,http://a.example/s3,http://a.example/l3.png,Rock,\n"
            "4,http://a.example/s4\n"
            " 5,http://a.example/s5,http://a.example/l5.png,Rock,Spaced\n"
            "6,http://a.example/s6,http://a.example/l6.png,Pop,Six\n"
            "6,http://a.example/s6b,http://a.example/l6.png,Pop,Six again\n");
        put(QStringLiteral("utf16.csv"), QByteArray("\xff\xfe", 2) + [] {
            const QString text = QString::fromUtf8(canonical);
            return QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
        }());
        put(QStringLiteral("page.html"), "<!DOCTYPE html>\n<html><head><title>Sign in</title></head></html>\n");
        m_server = std::make_unique<LocalHttpServer>(m_root.path());
        QVERIFY(m_server->isRunning());
    }

    void decodesByColumnName()
    {
        const auto answer = load(at(QStringLiteral("/canonical.csv")));
        QCOMPARE(answer->loaded, 1);
        QCOMPARE(answer->failed, 0);
        QCOMPARE(answer->thread, QThread::currentThread());
        QCOMPARE(answer->stations.size(), 2);
        const Station& second = answer->stations[1];
        QCOMPARE(second.id, 2);
        QCOMPARE(second.url, QStringLiteral("http://a.example/s2.m3u"));
        QCOMPARE(second.image, QStringLiteral("http://a.example/l2.png"));
        QCOMPARE(second.genre, QStringLiteral("Jazz"));
        QCOMPARE(second.title, QStringLiteral("Two, quoted"));
    }

    void skipsRowsThatDoNotDecode()
    {
        StdoutCapture output;
        const auto answer = load(at(QStringLiteral("/bad-rows.csv")));
        const QByteArray printed = output.text();
        output.restore();
        QCOMPARE(answer->loaded, 1);
        QList<qint64> ids;
        for (const Station& station : answer->stations)
            ids.append(station.id);
        QCOMPARE(ids, (QList<qint64>{1, 6, 6}));
        QCOMPARE(answer->report.skippedRows, 4);
        QCOMPARE(answer->report.source, QStringLiteral("127.0.0.1"));
        QCOMPARE(printed.count("Skipped row "), 4);
        QVERIFY(printed.contains("Skipped row 3 of 127.0.0.1: the id \"x\" is not a whole number"));
    }

    // Every hostile answer ends in exactly one failure with its reason, in
    // bounded time, on the loading thread. (Which texts are no station list:
    // CatalogueTests.)
    void unusableAnswersFailWithTheirReason_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("reason");
        QTest::addColumn<QString>("message");
        using R = LoadFailure::Reason;
        QTest::newRow("404") << QStringLiteral("/missing.csv") << int(R::httpStatus)
                             << QStringLiteral("the server answered 404");
        QTest::newRow("500 with a good body") << QStringLiteral("/canonical.csv?status=500") << int(R::httpStatus)
                                              << QStringLiteral("the server answered 500");
        QTest::newRow("web page with 200") << QStringLiteral("/page.html") << int(R::notAStationList)
                                           << QStringLiteral("the answer is not a station list");
        QTest::newRow("stops half way") << QStringLiteral("/canonical.csv?truncate=40") << int(R::truncated)
                                        << QStringLiteral("the transfer stopped half way");
        QTest::newRow("stalls half way") << QStringLiteral("/canonical.csv?chunk=40&delay=3") << int(R::truncated)
                                         << QStringLiteral("the transfer stopped half way");
        QTest::newRow("20 MB") << QStringLiteral("/__body/20000000") << int(R::tooLarge)
                               << QStringLiteral("the answer is too large");
    }

    void unusableAnswersFailWithTheirReason()
    {
        QFETCH(QString, path);
        QFETCH(int, reason);
        QFETCH(QString, message);
        const auto answer = load(at(path), 1000);
        QCOMPARE(answer->failed, 1);
        QCOMPARE(answer->answers(), 1);
        QCOMPARE(answer->thread, QThread::currentThread());
        QCOMPARE(int(answer->failure->reason), reason);
        QCOMPARE(answer->failure->message(), QStringLiteral("Could not load the stations from 127.0.0.1: ") + message);
    }

    void serversThatDoNotAnswer()
    {
        const auto refused = load(QStringLiteral("http://127.0.0.1:1/stations.csv"));
        QCOMPARE(refused->failed, 1);
        QCOMPARE(refused->failure->reason, LoadFailure::Reason::notAnswering);
        QCOMPARE(refused->failure->reasonText(), QStringLiteral("the server is not answering"));
        // One that drips the body out slower than the whole load may take.
        const auto dripping = load(at(QStringLiteral("/canonical.csv?chunk=5&delay=0.2")), 30000, 800);
        QCOMPARE(dripping->answers(), 1);
        QCOMPARE(dripping->failure->reason, LoadFailure::Reason::notAnswering);
    }

    void unusableAddressesFailAtOnce()
    {
        for (const QString& address : {QStringLiteral("not a url"), QStringLiteral("ftp://127.0.0.1/x.csv"),
                                       QStringLiteral("http://"), QString()}) {
            StationsReply* reply = CsvStationsLoader(address).load();
            const auto answer = record(reply);
            // Known at once, yet announced from the event loop.
            QVERIFY2(reply->isFinished() && reply->failure(), qPrintable(address));
            QCOMPARE(answer->answers(), 0);
            QTRY_COMPARE(answer->answers(), 1);
            QCOMPARE(answer->failure->reason, LoadFailure::Reason::invalidAddress);
        }
    }

    void readsLocalFilesInAnyEncoding()
    {
        // (Every encoding and dialect: CatalogueTests.)
        for (const QString& name : {QStringLiteral("canonical.csv"), QStringLiteral("utf16.csv")}) {
            const auto local = load(QUrl::fromLocalFile(m_root.filePath(name)).toString());
            QCOMPARE(local->stations.size(), 2);
            QCOMPARE(local->stations[1].title, QStringLiteral("Two, quoted"));
            QCOMPARE(local->report.source, name);
            const auto remote = load(at(QLatin1Char('/') + name));
            QCOMPARE(remote->stations.size(), 2);
            QCOMPARE(remote->stations[1].title, QStringLiteral("Two, quoted"));
        }
        const auto missing = load(QUrl::fromLocalFile(m_root.filePath(QStringLiteral("nothing.csv"))).toString());
        QCOMPARE(missing->failed, 1);
        QCOMPARE(missing->failure->message(),
                 QStringLiteral("Could not load the stations from nothing.csv: the file does not exist"));
    }

    void everyLoadReachesTheServer()
    {
        m_server->resetCounts();
        CsvStationsLoader loader(at(QStringLiteral("/canonical.csv")));
        const auto first = record(loader.load());
        const auto second = record(loader.load());
        QTRY_VERIFY_WITH_TIMEOUT(first->answers() == 1 && second->answers() == 1, 10000);
        QCOMPARE(second->stations.size(), 2);
        QCOMPARE(m_server->requestCount(QStringLiteral("/canonical.csv")), 2);
    }

    // A reply deleted before it finished takes its load with it: nothing
    // arrives later, whether the server or the parser was still at work.
    void deletingTheReplyCancelsTheLoad()
    {
        const QString local = QUrl::fromLocalFile(m_root.filePath(QStringLiteral("canonical.csv"))).toString();
        for (const QString& address : {at(QStringLiteral("/canonical.csv?delay=0.3")), local}) {
            m_server->resetCounts();
            StationsReply* cancelled = CsvStationsLoader(address).load();
            const auto dropped = record(cancelled);
            if (address != local)
                QTRY_VERIFY_WITH_TIMEOUT(m_server->requestCount(QStringLiteral("/canonical.csv")) == 1, 10000);
            delete cancelled;
            // A later load of the same answers after the cancelled one would have.
            const auto later = load(address);
            QCOMPARE(later->loaded, 1);
            QCOMPARE(dropped->answers(), 0);
        }
    }
};

QTEST_GUILESS_MAIN(CsvStationsLoaderTests)
#include "CsvStationsLoaderTests.moc"
