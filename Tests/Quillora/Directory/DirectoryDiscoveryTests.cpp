// Server discovery against a real DNS server of our own on a loopback
// address: addresses (A and AAAA) turned back into host names (PTR), in
// random order; hostile names, missing names and a silent server. Port 53
// needs root: without it the tests are skipped.
#include "Directory/DirectoryClient.h"
#include "Directory/DirectoryServerDiscovery.h"
#include "Support/DirectoryTestServer.h"

#include <QSet>
#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace {

const QString name = QStringLiteral("all.api.radio-browser.info");

struct Discovered {
    bool answered = false;
    QList<QUrl> servers;
    QString failure;
};

Discovered discover(const QString& nameserver, const QString& lookupName = name, int timeoutMs = 5000)
{
    DirectoryServerDiscovery discovery(lookupName);
    discovery.setNameserver(QHostAddress(nameserver));
    discovery.setTimeout(timeoutMs);
    Discovered result;
    int answers = 0;
    QObject::connect(&discovery, &DirectoryServerDiscovery::finished, [&](const QList<QUrl>& servers) {
        ++answers;
        result.servers = servers;
    });
    QObject::connect(&discovery, &DirectoryServerDiscovery::failed, [&](const QString& message) {
        ++answers;
        result.failure = message;
    });
    discovery.start();
    (void)QTest::qWaitFor([&] { return answers > 0; }, timeoutMs + 5000);
    QTest::qWait(50); // a second answer would show up here
    result.answered = answers == 1;
    return result;
}

} // namespace

class DirectoryDiscoveryTests : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<DnsTestServer> m_dns;

private slots:
    void initTestCase()
    {
        m_dns = std::make_unique<DnsTestServer>(QStringList{
            name + " A 127.0.0.1",
            name + " A 127.0.0.2",
            name + " A 127.0.0.3",
            name + " A 127.0.0.4",
            name + " AAAA ::1",
            "1.0.0.127.in-addr.arpa PTR de1.example.org",
            "2.0.0.127.in-addr.arpa PTR NL1.Example.org.",
            // An address whose name is no host name, and one without a name.
            "3.0.0.127.in-addr.arpa PTR evil.example/x",
            "1.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.ip6.arpa PTR at1.example.org",
            "only-nameless.example A 127.0.0.4",
        });
        if (m_dns->address().isEmpty())
            QSKIP("cannot run a DNS server on port 53 here (needs root)");
    }

    void findsEveryServerByName()
    {
        const Discovered found = discover(m_dns->address());
        QVERIFY(found.answered);
        QCOMPARE(found.failure, QString());
        QSet<QUrl> servers(found.servers.begin(), found.servers.end());
        QCOMPARE(servers, QSet<QUrl>({QUrl("https://de1.example.org"), QUrl("https://nl1.example.org"),
                                      QUrl("https://at1.example.org")}));
        QCOMPARE(found.servers.size(), 3);
    }

    void offersTheServersInRandomOrder()
    {
        QSet<QString> orders;
        for (int round = 0; round < 12 && orders.size() < 2; ++round) {
            QStringList hosts;
            for (const QUrl& server : discover(m_dns->address()).servers)
                hosts.append(server.host());
            orders.insert(hosts.join(' '));
        }
        // Twelve rounds of three servers in one order by chance: 6^-11.
        QVERIFY(orders.size() >= 2);
    }

    void failsClearlyWithoutServers()
    {
        for (const QString& missing : {QStringLiteral("nothing.example"), QStringLiteral("only-nameless.example")}) {
            const Discovered found = discover(m_dns->address(), missing);
            QVERIFY(found.answered);
            QVERIFY(found.servers.isEmpty());
            QCOMPARE(found.failure, QStringLiteral("The station directory cannot be reached."));
        }
    }

    void givesUpOnASilentServer()
    {
        DnsTestServer silent({}, true);
        QVERIFY(!silent.address().isEmpty());
        const Discovered found = discover(silent.address(), name, 500);
        QVERIFY(found.answered);
        QCOMPARE(found.failure, QStringLiteral("The station directory cannot be reached."));

        // A search through a client that cannot find servers says so too.
        DirectoryClient client;
        client.setDiscoveryNameserver(QHostAddress(silent.address()));
        client.setDiscoveryTimeout(500);
        DirectoryReply* reply = client.searchStations({}, 0, 50);
        QSignalSpy finished(reply, &DirectoryReply::finished);
        QString message;
        connect(reply, &DirectoryReply::finished, this, [&] { message = reply->errorMessage(); });
        QVERIFY(finished.wait(5000));
        QCOMPARE(message, QStringLiteral("The station directory cannot be reached."));
        QVERIFY(client.workingServer().isEmpty());
    }
};

QTEST_GUILESS_MAIN(DirectoryDiscoveryTests)
#include "DirectoryDiscoveryTests.moc"
