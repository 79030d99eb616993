// The spreadsheet loader against a local HTTP server: catalogue shapes,
// bad rows, hostile answers and addresses, fresh fetches, and the delegate
// contract (one callback, on the loading thread, delegate kept alive).
#include "Catalogue/GSheetStationsLoader.h"
#include "Support/LocalHttpServer.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <memory>

namespace {

class RecordingDelegate final : public StationsLoaderDelegate {
public:
    int loaded = 0;
    int failed = 0;
    QList<Station> stations;
    QThread* thread = nullptr;

    void onLoaded(const QList<Station>& list) override
    {
        ++loaded;
        stations = list;
        thread = QThread::currentThread();
    }
    void onFailed() override
    {
        ++failed;
        thread = QThread::currentThread();
    }
    int answers() const { return loaded + failed; }
};

// Counts its answers somewhere that outlives it.
class CountingDelegate final : public StationsLoaderDelegate {
public:
    explicit CountingDelegate(int* answers)
        : m_answers(answers)
    {
    }
    void onLoaded(const QList<Station>&) override { ++*m_answers; }
    void onFailed() override { ++*m_answers; }

private:
    int* m_answers;
};

const QByteArray canonical = "id,url,image,genre,title\n"
                             "1,http://a.example/s1,http://a.example/l1.png,Rock,One\n"
                             "2,http://a.example/s2.m3u,http://a.example/l2.png,Jazz,\"Two, quoted\"\n";

} // namespace

class GSheetStationsLoaderTests : public QObject {
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
    std::shared_ptr<RecordingDelegate> load(const QString& address)
    {
        auto delegate = std::make_shared<RecordingDelegate>();
        GSheetStationsLoader(address).load(delegate);
        if (!QTest::qWaitFor([&] { return delegate->answers() > 0; }, 10000))
            qWarning("no answer for %s", qPrintable(address));
        QTest::qWait(20); // a second answer would show up here
        return delegate;
    }

    QString at(const QString& pathAndQuery) const { return m_server->url(pathAndQuery).toString(); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_root.isValid());
        put(QStringLiteral("canonical.csv"), canonical);
        put(QStringLiteral("reordered.csv"),
            "title,genre,image,url,id\n"
            "One,Rock,http://a.example/l1.png,http://a.example/s1,1\n"
            "\"Two, quoted\",Jazz,http://a.example/l2.png,http://a.example/s2.m3u,2\n");
        put(QStringLiteral("header.csv"), "id,url,image,genre,title\n");
        put(QStringLiteral("bad-rows.csv"),
            "id,url,image,genre,title\n"
            "1,http://a.example/s1,http://a.example/l1.png,Rock,One\n"
            "x,http://a.example/sx,http://a.example/lx.png,Rock,Ex\n"
            "3,http://a.example/s3,http://a.example/l3.png,Rock,\n"
            "4,http://a.example/s4\n"
            " 5,http://a.example/s5,http://a.example/l5.png,Rock,Spaced\n"
            "6,http://a.example/s6,http://a.example/l6.png,Pop,Six\n"
            "6,http://a.example/s6b,http://a.example/l6.png,Pop,Six again\n");
        put(QStringLiteral("empty.csv"), "");
        put(QStringLiteral("latin1.csv"), "id,url,image,genre,title\n1,http://a/s,http://a/l,Rock,Caf\xe9\n");
        put(QStringLiteral("bom.csv"), "\xef\xbb\xbf" + canonical);
        m_server = std::make_unique<LocalHttpServer>(m_root.path());
        QVERIFY(m_server->isRunning());
    }

    void decodesByColumnName()
    {
        for (const QString& name : {QStringLiteral("/canonical.csv"), QStringLiteral("/reordered.csv")}) {
            const auto delegate = load(at(name));
            QCOMPARE(delegate->loaded, 1);
            QCOMPARE(delegate->failed, 0);
            QCOMPARE(delegate->thread, QThread::currentThread());
            QCOMPARE(delegate->stations.size(), 2);
            const Station& second = delegate->stations[1];
            QCOMPARE(second.id, 2);
            QCOMPARE(second.url, QStringLiteral("http://a.example/s2.m3u"));
            QCOMPARE(second.image, QStringLiteral("http://a.example/l2.png"));
            QCOMPARE(second.genre, QStringLiteral("Jazz"));
            QCOMPARE(second.title, QStringLiteral("Two, quoted"));
        }
    }

    void skipsRowsThatDoNotDecode()
    {
        const auto delegate = load(at(QStringLiteral("/bad-rows.csv")));
        QCOMPARE(delegate->loaded, 1);
        QList<qint64> ids;
        for (const Station& station : delegate->stations)
            ids.append(station.id);
        QCOMPARE(ids, (QList<qint64>{1, 6, 6}));
    }

    void headerOnlyIsAnEmptyCatalogue()
    {
        const auto delegate = load(at(QStringLiteral("/header.csv")));
        QCOMPARE(delegate->loaded, 1);
        QVERIFY(delegate->stations.isEmpty());
        QCOMPARE(delegate->thread, QThread::currentThread());
    }

    void unusableAnswersFail_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("empty body") << QStringLiteral("/empty.csv");
        QTest::newRow("not UTF-8") << QStringLiteral("/latin1.csv");
        QTest::newRow("404 page") << QStringLiteral("/missing.csv");
        QTest::newRow("error status, good body") << QStringLiteral("/canonical.csv?status=500");
        QTest::newRow("truncated") << QStringLiteral("/canonical.csv?truncate=40");
        QTest::newRow("oversized") << QStringLiteral("/__body/20000000");
    }

    void unusableAnswersFail()
    {
        QFETCH(QString, path);
        const auto delegate = load(at(path));
        QCOMPARE(delegate->failed, 1);
        QCOMPARE(delegate->loaded, 0);
        QCOMPARE(delegate->thread, QThread::currentThread());
    }

    void unusableAddressesFailAtOnce()
    {
        for (const QString& address : {QStringLiteral("not a url"), QStringLiteral("ftp://127.0.0.1/x.csv"),
                                       QStringLiteral("http://"), QString()}) {
            auto delegate = std::make_shared<RecordingDelegate>();
            GSheetStationsLoader(address).load(delegate);
            QVERIFY2(delegate->failed == 1 && delegate->loaded == 0, qPrintable(address));
        }
        const auto refused = load(QStringLiteral("http://127.0.0.1:1/stations.csv"));
        QCOMPARE(refused->failed, 1);
    }

    void readsLocalFilesAndByteOrderMarks()
    {
        const auto local = load(QUrl::fromLocalFile(m_root.filePath(QStringLiteral("canonical.csv"))).toString());
        QCOMPARE(local->stations.size(), 2);
        const auto missing = load(QUrl::fromLocalFile(m_root.filePath(QStringLiteral("nothing.csv"))).toString());
        QCOMPARE(missing->failed, 1);
        const auto bom = load(at(QStringLiteral("/bom.csv")));
        QCOMPARE(bom->stations.size(), 2);
    }

    void everyLoadReachesTheServer()
    {
        m_server->resetCounts();
        GSheetStationsLoader loader(at(QStringLiteral("/canonical.csv")));
        auto first = std::make_shared<RecordingDelegate>();
        auto second = std::make_shared<RecordingDelegate>();
        loader.load(first);
        loader.load(second);
        QTRY_VERIFY_WITH_TIMEOUT(first->answers() == 1 && second->answers() == 1, 10000);
        QCOMPARE(second->stations.size(), 2);
        QCOMPARE(m_server->requestCount(QStringLiteral("/canonical.csv")), 2);
    }

    void keepsTheDelegateUntilItAnswered()
    {
        int answers = 0;
        auto delegate = std::make_shared<CountingDelegate>(&answers);
        const std::weak_ptr<CountingDelegate> watch = delegate;
        GSheetStationsLoader(at(QStringLiteral("/canonical.csv?delay=0.2"))).load(std::move(delegate));
        // The loader is gone and we hold no reference: the load keeps it
        // until it has answered, then lets go.
        QVERIFY(!watch.expired());
        QTRY_COMPARE_WITH_TIMEOUT(answers, 1, 10000);
        QTRY_VERIFY_WITH_TIMEOUT(watch.expired(), 5000);
    }
};

QTEST_GUILESS_MAIN(GSheetStationsLoaderTests)
#include "GSheetStationsLoaderTests.moc"
