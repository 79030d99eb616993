// The directory client against local directory servers: what every request
// carries, click counting, moving on from a failing server and remembering
// the one that works, a server given by address, and cancelling.
#include "Directory/DirectoryClient.h"
#include "Support/DirectoryTestServer.h"

#include <QPointer>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTest>

#include <memory>

namespace {

// Waits for the reply's one finished() and copies what it said.
struct Outcome {
    bool finished = false;
    DirectoryReply::Error error = DirectoryReply::Error::None;
    QString message;
    QUrl server;
    DirectoryAnswer answer;
};

Outcome waitFor(DirectoryReply* reply, int timeoutMs = 15000)
{
    auto outcome = std::make_shared<Outcome>();
    QObject::connect(reply, &DirectoryReply::finished, reply, [reply, outcome] {
        outcome->finished = true;
        outcome->error = reply->error();
        outcome->message = reply->errorMessage();
        outcome->server = reply->server();
        outcome->answer = reply->answer();
    });
    (void)QTest::qWaitFor([&] { return outcome->finished; }, timeoutMs);
    return *outcome;
}

// A local port nothing listens on: connections to it are refused.
QUrl refusingServer()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    const quint16 port = probe.serverPort();
    probe.close();
    return QUrl(QStringLiteral("http://127.0.0.1:%1").arg(port));
}

const QString stationFive = QStringLiteral("00000005-0000-4000-8000-000000000005");

} // namespace

class DirectoryClientTests : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<DirectoryTestServer> m_server;

private slots:
    void initTestCase()
    {
        m_server = std::make_unique<DirectoryTestServer>(200);
        QVERIFY(m_server->isRunning());
    }

    void init() { m_server->reset(); }

    void sendsTheDirectorysParameters()
    {
        DirectoryClient client;
        client.setServers({m_server->url()});
        const QString text = QStringLiteral("Jazz+Blues & Co #1 ?a=b/c");
        Outcome search = waitFor(client.searchStations({text, QStringLiteral(" rock "), QStringLiteral("de")}, 100, 50));
        QVERIFY(search.finished);
        QCOMPARE(search.error, DirectoryReply::Error::None);
        QCOMPARE(waitFor(client.popularTags(8)).error, DirectoryReply::Error::None);

        const QList<QJsonObject> searches = m_server->requestsTo(QStringLiteral("/json/stations/search"));
        QCOMPARE(searches.size(), 1);
        const QJsonObject& request = searches.first();
        // Reserved characters arrive as typed, not as spaces or new parameters.
        QCOMPARE(DirectoryTestServer::parameter(request, "name"), text);
        QCOMPARE(DirectoryTestServer::parameter(request, "tag"), QStringLiteral("rock"));
        QCOMPARE(DirectoryTestServer::parameter(request, "countrycode"), QStringLiteral("DE"));
        QCOMPARE(DirectoryTestServer::parameter(request, "order"), QStringLiteral("clickcount"));
        QCOMPARE(DirectoryTestServer::parameter(request, "reverse"), QStringLiteral("true"));
        QCOMPARE(DirectoryTestServer::parameter(request, "hidebroken"), QStringLiteral("true"));
        QCOMPARE(DirectoryTestServer::parameter(request, "limit"), QStringLiteral("50"));
        QCOMPARE(DirectoryTestServer::parameter(request, "offset"), QStringLiteral("100"));
        QCOMPARE(request.value("query").toObject().size(), 8);

        const QList<QJsonObject> tags = m_server->requestsTo(QStringLiteral("/json/tags"));
        QCOMPARE(tags.size(), 1);
        QCOMPARE(DirectoryTestServer::parameter(tags.first(), "order"), QStringLiteral("stationcount"));
        QCOMPARE(DirectoryTestServer::parameter(tags.first(), "reverse"), QStringLiteral("true"));
        QCOMPARE(DirectoryTestServer::parameter(tags.first(), "limit"), QStringLiteral("8"));

        // An empty search asks for the most played stations, without filters.
        QCOMPARE(waitFor(client.searchStations({}, 0, 50)).answer.stations.size(), 50);
        const QJsonObject plain = m_server->requestsTo(QStringLiteral("/json/stations/search")).last();
        QVERIFY(!plain.value("query").toObject().contains("name"));
        QVERIFY(!plain.value("query").toObject().contains("countrycode"));
    }

    void countsAClickOnce()
    {
        DirectoryClient client;
        client.setServers({m_server->url()});
        const Outcome click = waitFor(client.countClick(stationFive.toUpper()));
        QCOMPARE(click.error, DirectoryReply::Error::None);
        QCOMPARE(m_server->clicks(), QJsonObject({{stationFive, 1}}));
        QCOMPARE(m_server->requestsTo(QStringLiteral("/json/url/") + stationFive).size(), 1);

        // An identifier that is not a UUID never reaches the path.
        for (const QString& bad : {QStringLiteral("../../__reset"), QStringLiteral("x?y=1"), QString(),
                                   QStringLiteral("00000005-0000-4000-8000-00000000000/")})
            QVERIFY(!client.countClick(bad));
        QTest::qWait(100);
        QCOMPARE(m_server->requests().size(), 1);
    }

    void movesToTheNextServerAndRemembersIt()
    {
        DirectoryTestServer failing(20);
        QVERIFY(failing.isRunning());
        failing.setMode(QStringLiteral("status500"));
        DirectoryClient client;
        const QUrl refusing = refusingServer();
        client.setServers({refusing, failing.url(), m_server->url()});

        const Outcome first = waitFor(client.searchStations({}, 0, 50));
        QCOMPARE(first.error, DirectoryReply::Error::None);
        QCOMPARE(first.server, m_server->url());
        QCOMPARE(client.workingServer(), m_server->url());
        QCOMPARE(failing.requests().size(), 1);

        // The next requests go straight to the server that worked.
        QCOMPARE(waitFor(client.popularTags(5)).server, m_server->url());
        QCOMPARE(waitFor(client.searchStations({}, 50, 50)).server, m_server->url());
        QCOMPARE(failing.requests().size(), 1);
        QCOMPARE(m_server->requests().size(), 3);
    }

    void failsWhenEveryServerFails()
    {
        DirectoryTestServer failing(20);
        failing.setMode(QStringLiteral("status500"));
        DirectoryClient client;
        client.setServers({refusingServer(), failing.url()});
        const Outcome outcome = waitFor(client.searchStations({}, 0, 50));
        QVERIFY(outcome.finished);
        QCOMPARE(outcome.error, DirectoryReply::Error::HttpStatus);
        QCOMPARE(outcome.message, QStringLiteral("The station directory is not working right now (HTTP 500)."));
        QVERIFY(outcome.answer.stations.isEmpty());
        QCOMPARE(failing.requests().size(), 1);

        // Nothing answers at all.
        client.setServers({refusingServer()});
        const Outcome refused = waitFor(client.searchStations({}, 0, 50));
        QCOMPARE(refused.error, DirectoryReply::Error::Unreachable);
        QCOMPARE(refused.message, QStringLiteral("The station directory cannot be reached."));
    }

    void doesNotMoveOnForARefusedRequest()
    {
        // A request the directory refuses (404) is refused by every server:
        // asking the next one would only double the traffic.
        DirectoryTestServer second(20);
        DirectoryClient client;
        client.setServers({m_server->url(), second.url()});
        const Outcome outcome = waitFor(client.countClick(QStringLiteral("99999999-0000-4000-8000-000000000000")));
        QCOMPARE(outcome.error, DirectoryReply::Error::HttpStatus);
        QCOMPARE(second.requests().size(), 0);
        QCOMPARE(client.workingServer(), m_server->url());
    }

    void takesTheServerItIsGiven()
    {
        DirectoryClient mirror(m_server->url().toString() + "/mirror/");
        waitFor(mirror.popularTags(3));
        QCOMPARE(m_server->requestsTo(QStringLiteral("/mirror/json/tags")).size(), 1);

        DirectoryClient direct(m_server->url().toString());
        QCOMPARE(waitFor(direct.popularTags(3)).answer.tags.size(), 3);

        for (const char* bad : {"ftp://127.0.0.1:21", "127.0.0.1:8080", "http://", "file:///tmp/x"}) {
            DirectoryClient broken(QString::fromLatin1(bad));
            const Outcome outcome = waitFor(broken.searchStations({}, 0, 50), 5000);
            QVERIFY2(outcome.finished, bad);
            QCOMPARE(outcome.error, DirectoryReply::Error::BadAddress);
            QCOMPARE(outcome.message, QStringLiteral("QUILLORA_DIRECTORY_URL is not an http or https address."));
        }
    }

    // A reply aborted, or whose client goes away, ends without a word.
    void abortedRepliesStaySilent()
    {
        m_server->setMode(QStringLiteral("slow"), 1);
        for (const bool clientGoes : {false, true}) {
            auto client = std::make_unique<DirectoryClient>();
            client->setServers({m_server->url()});
            const qsizetype asked = m_server->requests().size();
            QPointer<DirectoryReply> reply = client->searchStations({}, 0, 50);
            QSignalSpy finished(reply.data(), &DirectoryReply::finished);
            QVERIFY(QTest::qWaitFor([&] { return m_server->requests().size() == asked + 1; }, 20000));
            if (clientGoes)
                client.reset();
            else
                reply->abort();
            QTRY_VERIFY(!reply); // deleted itself, or with its client
            QTest::qWait(1500);
            QCOMPARE(finished.size(), 0);
        }
        m_server->setMode(QStringLiteral("normal"));
    }

    void refusesAnswersThatAreTooLargeWhileDownloading()
    {
        DirectoryClient client;
        client.setServers({m_server->url()});
        // Announced as 10 MB, and one that announces nothing and never ends.
        for (const QString& mode : {QStringLiteral("huge"), QStringLiteral("endless")}) {
            m_server->setMode(mode);
            const Outcome outcome = waitFor(client.searchStations({}, 0, 50));
            QVERIFY(outcome.finished);
            QCOMPARE(outcome.error, DirectoryReply::Error::TooLarge);
            QCOMPARE(outcome.message, QStringLiteral("The station directory sent an answer too large to read."));
        }
        // The client hung up long before the end.
        QVERIFY(QTest::qWaitFor([&] { return m_server->abortedAnswers().size() == 1; }, 10000));
        QVERIFY(m_server->abortedAnswers().first().toDouble() < 64 * 1024 * 1024);
        m_server->setMode(QStringLiteral("normal"));
    }
};

QTEST_GUILESS_MAIN(DirectoryClientTests)
#include "DirectoryClientTests.moc"
