// The search results model against a local directory server: paging 50 at
// a time, filters, a newer search superseding a slow older one, every
// hostile answer ending in a status with a message, and Retry.
#include "Directory/DirectorySearchModel.h"
#include "Support/DirectoryTestServer.h"
#include "TestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

// Stations of a test's own JSON file, served by a server of its own.
std::unique_ptr<DirectoryTestServer> serve(QTemporaryDir& dir, const QJsonArray& stations)
{
    const QString path = dir.filePath(QStringLiteral("stations.json"));
    return writeFile(path, QJsonDocument(stations).toJson()) ? std::make_unique<DirectoryTestServer>(path) : nullptr;
}

QJsonObject station(int i, int clicks, const QString& url)
{
    return QJsonObject{{"stationuuid", QStringLiteral("%1-0000-4000-8000-000000000000").arg(i, 8, 10, QLatin1Char('0'))},
                       {"name", QStringLiteral("S%1").arg(i)},
                       {"url", url},
                       {"lastcheckok", 1},
                       {"clickcount", clicks}};
}

} // namespace

class DirectorySearchModelTests : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<DirectoryTestServer> m_server;
    std::unique_ptr<DirectoryClient> m_client;
    std::unique_ptr<DirectorySearchModel> m_model;

    bool settle(int timeoutMs = 15000)
    {
        return QTest::qWaitFor([&] { return m_model->status() != DirectorySearchModel::Loading; }, timeoutMs);
    }
    QString nameAt(int row) const { return m_model->data(m_model->index(row), DirectorySearchModel::NameRole).toString(); }
    QList<QJsonObject> searches() const { return m_server->requestsTo(QStringLiteral("/json/stations/search")); }

private slots:
    void initTestCase()
    {
        m_server = std::make_unique<DirectoryTestServer>(200);
        QVERIFY(m_server->isRunning());
    }

    void init()
    {
        m_server->reset();
        m_client = std::make_unique<DirectoryClient>();
        m_client->setServers({m_server->url()});
        m_model = std::make_unique<DirectorySearchModel>(m_client.get());
    }

    void cleanup()
    {
        m_model.reset();
        m_client.reset();
    }

    void pagesFiftyAtATime()
    {
        QCOMPARE(m_model->status(), DirectorySearchModel::Idle);
        QVERIFY(!m_model->canFetchMore());
        QSignalSpy statuses(m_model.get(), &DirectorySearchModel::statusChanged);
        m_model->search(QString());
        QCOMPARE(m_model->status(), DirectorySearchModel::Loading);
        QVERIFY(settle());
        QCOMPARE(m_model->status(), DirectorySearchModel::Loaded);
        QCOMPARE(m_model->count(), 50);
        QCOMPARE(nameAt(0), QStringLiteral("Station 0000")); // most clicks first
        QCOMPARE(DirectoryTestServer::parameter(searches().last(), "offset"), QStringLiteral("0"));
        QCOMPARE(DirectoryTestServer::parameter(searches().last(), "limit"), QStringLiteral("50"));

        QVERIFY(m_model->canFetchMore());
        m_model->fetchMore();
        QVERIFY(!m_model->canFetchMore()); // one page at a time
        QVERIFY(settle());
        QCOMPARE(m_model->count(), 100);
        QCOMPARE(DirectoryTestServer::parameter(searches().last(), "offset"), QStringLiteral("50"));

        // 200 stations, every 17th broken and hidden: 189 in four pages.
        while (m_model->canFetchMore()) {
            m_model->fetchMore();
            QVERIFY(settle());
        }
        QCOMPARE(m_model->count(), 189);
        QCOMPARE(searches().size(), 4);
        QSet<QString> uuids;
        for (int row = 0; row < m_model->count(); ++row)
            uuids.insert(m_model->stationAt(row).stationUuid);
        QCOMPARE(uuids.size(), 189);
        QVERIFY(!m_model->stationAt(188).streamUrl().isEmpty());
        QCOMPARE(m_model->stationAt(500).name, QString());
        QCOMPARE(m_model->status(), DirectorySearchModel::Loaded);
        QVERIFY(statuses.size() >= 2);
    }

    void filtersAndSaysWhenNothingIsFound()
    {
        m_model->search(QString(), QStringLiteral("jazz"), QStringLiteral("fr"));
        QVERIFY(settle());
        QCOMPARE(m_model->countryCode(), QStringLiteral("FR"));
        QVERIFY(m_model->count() > 0);
        for (int row = 0; row < m_model->count(); ++row) {
            const DirectoryStation found = m_model->stationAt(row);
            QCOMPARE(found.countryCode, QStringLiteral("FR"));
            QVERIFY(found.tags.contains(QStringLiteral("jazz")));
        }

        m_model->search(QStringLiteral("Station 0042"));
        QVERIFY(settle());
        QCOMPARE(m_model->count(), 1);
        const QVariantMap row = m_model->catalogueRowAt(0);
        QCOMPARE(row.value("title").toString(), QStringLiteral("Station 0042"));
        QCOMPARE(row.value("url").toString(), QStringLiteral("http://127.0.0.1:9/stream42.mp3"));
        QCOMPARE(row.value("image").toString(), QStringLiteral("http://127.0.0.1:9/logo42.png"));
        QCOMPARE(row.value("genre").toString(), QStringLiteral("news"));
        QCOMPARE(row.value("uuid").toString(), QStringLiteral("0000002a-0000-4000-8000-00000000002a"));
        QVERIFY(!m_model->canFetchMore());

        m_model->search(QStringLiteral("no such station"));
        QVERIFY(settle());
        QCOMPARE(m_model->count(), 0);
        QCOMPARE(m_model->status(), DirectorySearchModel::Empty);
        QCOMPARE(m_model->statusMessage(), QStringLiteral("No stations found"));
    }

    void aNewerSearchSupersedesAnOlderOne()
    {
        m_server->setMode(QStringLiteral("slow"), 1.5, QStringLiteral("Station 00"));
        m_model->search(QStringLiteral("Station 00"));
        QVERIFY(QTest::qWaitFor([&] { return searches().size() == 1; }, 20000));
        m_model->search(QStringLiteral("Station 012"));
        QVERIFY(settle());
        QCOMPARE(m_model->count(), 10);
        // The older answer comes and goes without a trace.
        QSignalSpy resets(m_model.get(), &QAbstractItemModel::modelReset);
        QSignalSpy inserts(m_model.get(), &QAbstractItemModel::rowsInserted);
        QTest::qWait(2500);
        QCOMPARE(resets.size(), 0);
        QCOMPARE(inserts.size(), 0);
        QCOMPARE(m_model->count(), 10);
        QCOMPARE(m_model->searchText(), QStringLiteral("Station 012"));
        for (int row = 0; row < m_model->count(); ++row)
            QVERIFY(nameAt(row).startsWith(QStringLiteral("Station 012")));
        QCOMPARE(m_model->status(), DirectorySearchModel::Loaded);
    }

    // (HTTP errors and answers too large: DirectoryClientTests.)
    void hostileAnswersEndInAClearStatus_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("message");
        QTest::newRow("slow") << "slow" << "The station directory did not answer in time.";
        QTest::newRow("html") << "html" << "The station directory sent an answer Quillora cannot read.";
        QTest::newRow("truncated") << "truncated" << "The station directory sent an answer Quillora cannot read.";
        QTest::newRow("cut") << "cut" << "The station directory cannot be reached.";
    }
    void hostileAnswersEndInAClearStatus()
    {
        QFETCH(QString, mode);
        QFETCH(QString, message);
        m_client->setRequestTimeout(1000);
        m_server->setMode(mode, 3);
        m_model->search(QStringLiteral("Station"));
        QVERIFY(settle(8000));
        QCOMPARE(m_model->status(), DirectorySearchModel::Error);
        QCOMPARE(m_model->statusMessage(), message);
        QCOMPARE(m_model->count(), 0);
        QVERIFY(!m_model->canFetchMore());

        // Retry once the directory behaves again.
        m_server->setMode(QStringLiteral("normal"));
        m_model->retry();
        QVERIFY(settle());
        QCOMPARE(m_model->status(), DirectorySearchModel::Loaded);
        QCOMPARE(m_model->count(), 50);
    }

    void aFailedNextPageKeepsTheRowsAndRetries()
    {
        m_model->search(QString());
        QVERIFY(settle());
        QCOMPARE(m_model->count(), 50);
        m_server->setMode(QStringLiteral("status500"));
        m_model->fetchMore();
        QVERIFY(settle());
        QCOMPARE(m_model->status(), DirectorySearchModel::Error);
        QCOMPARE(m_model->count(), 50);
        QVERIFY(!m_model->canFetchMore());

        m_server->setMode(QStringLiteral("normal"));
        m_model->retry();
        QVERIFY(settle());
        QCOMPARE(m_model->count(), 100);
        QCOMPARE(DirectoryTestServer::parameter(searches().last(), "offset"), QStringLiteral("50"));
    }

    void pagesOnPastBrokenAndRepeatedStations()
    {
        // The 50 most played stations have no usable stream: the model asks
        // for the next page by itself, since the list has nothing to scroll.
        QTemporaryDir dir;
        QJsonArray stations;
        for (int i = 0; i < 60; ++i)
            stations.append(station(i, 1000 - i, i < 50 ? QStringLiteral("file:///etc/passwd") : QStringLiteral("http://127.0.0.1:9/s")));
        auto broken = serve(dir, stations);
        QVERIFY(broken && broken->isRunning());
        m_client->setServers({broken->url()});
        m_model->search(QString());
        QVERIFY(settle());
        QCOMPARE(m_model->status(), DirectorySearchModel::Loaded);
        QCOMPARE(m_model->count(), 10);
        QCOMPARE(nameAt(0), QStringLiteral("S50"));
        const QList<QJsonObject> pages = broken->requestsTo(QStringLiteral("/json/stations/search"));
        QCOMPARE(pages.size(), 2);
        QCOMPARE(DirectoryTestServer::parameter(pages.last(), "offset"), QStringLiteral("50"));

        // The order by clicks shifted between two pages: a station is shown once.
        QJsonArray shifted;
        for (int i = 0; i < 60; ++i)
            shifted.append(station(i < 50 ? i : i - 10, 1000 - i, QStringLiteral("http://127.0.0.1:9/s")));
        QTemporaryDir otherDir;
        auto repeating = serve(otherDir, shifted);
        QVERIFY(repeating && repeating->isRunning());
        m_client->setServers({repeating->url()});
        m_model->search(QString());
        QVERIFY(settle());
        m_model->fetchMore();
        QVERIFY(settle());
        QCOMPARE(m_model->count(), 50);
        QVERIFY(!m_model->canFetchMore());

        // A directory that sends nothing usable, page after page, is not
        // asked forever.
        QJsonArray useless;
        for (int i = 0; i < 400; ++i)
            useless.append(station(i, 1000 - i, QStringLiteral("javascript:alert(1)")));
        QTemporaryDir uselessDir;
        auto endless = serve(uselessDir, useless);
        QVERIFY(endless && endless->isRunning());
        m_client->setServers({endless->url()});
        m_model->search(QString());
        QVERIFY(settle());
        QCOMPARE(m_model->status(), DirectorySearchModel::Empty);
        QCOMPARE(endless->requestsTo(QStringLiteral("/json/stations/search")).size(),
                 DirectorySearchModel::maxEmptyPagesInRow);
    }

    void offersPopularTags()
    {
        QSignalSpy changed(m_model.get(), &DirectorySearchModel::popularTagsChanged);
        m_model->loadPopularTags();
        QVERIFY(changed.wait(10000));
        QCOMPARE(m_model->popularTags(), QStringList({"pop", "rock", "jazz", "news", "talk", "classical", "dance"}));
        const QJsonObject request = m_server->requestsTo(QStringLiteral("/json/tags")).first();
        QCOMPARE(DirectoryTestServer::parameter(request, "limit"), QString::number(DirectorySearchModel::popularTagCount));
    }
};

QTEST_GUILESS_MAIN(DirectorySearchModelTests)
#include "DirectorySearchModelTests.moc"
