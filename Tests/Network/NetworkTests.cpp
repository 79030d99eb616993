// The one address rule, and the bounded GET against a real HTTP server on
// 127.0.0.1 playing every hostile peer: each ends in one finished() with its
// reason, in bounded time, on the thread that made it.
#include "Network/BoundedGet.h"
#include "Network/WebAddress.h"
#include "Support/LocalHttpServer.h"

#include <QFile>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <memory>

using Kind = net::GetError::Kind;

class NetworkTests : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_root;
    std::unique_ptr<LocalHttpServer> m_server;
    const QByteArray m_body = QByteArray(100, 'b');

    QUrl at(const QString& path) const
    {
        return path.startsWith(QLatin1Char('/')) ? m_server->url(path) : QUrl(path);
    }

private slots:
    void initTestCase()
    {
        QFile file(m_root.filePath(QStringLiteral("ok.csv")));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(m_body) == m_body.size());
        file.close();
        m_server = std::make_unique<LocalHttpServer>(m_root.path());
        QVERIFY(m_server->isRunning());
    }

    void webAddresses_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("strict");
        QTest::addColumn<bool>("tolerant");
        QTest::newRow("http") << "http://a.example/s.mp3" << true << true;
        QTest::newRow("https, port, query") << "https://a.example:8443/s?x=1" << true << true;
        QTest::newRow("scheme in capitals") << "HTTPS://A.example/s" << true << true;
        QTest::newRow("spaces round it") << "  http://a.example/s \n" << true << true;
        QTest::newRow("space inside") << "http://a.example/my stream" << false << true;
        QTest::newRow("no server") << "http://" << false << false;
        QTest::newRow("no server, a path") << "https:///etc/passwd" << false << false;
        QTest::newRow("relative") << "a.example/s.mp3" << false << false;
        QTest::newRow("local file") << "file:///etc/passwd" << false << false;
        QTest::newRow("resource") << "qrc:/Quillora/Main.qml" << false << false;
        QTest::newRow("data") << "data:image/png;base64,AAAA" << false << false;
        QTest::newRow("ftp") << "ftp://a.example/s" << false << false;
        QTest::newRow("empty") << "" << false << false;
    }

    void webAddresses()
    {
        QFETCH(QString, text);
        QFETCH(bool, strict);
        QFETCH(bool, tolerant);
        QCOMPARE(net::webAddress(text).has_value(), strict);
        QCOMPARE(net::webAddress(text, net::Parsing::Tolerant).has_value(), tolerant);
        if (const auto url = net::webAddress(text, net::Parsing::Tolerant))
            QVERIFY(net::isWebAddress(*url));
    }

    void boundedGet_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<qint64>("maxBytes");
        QTest::addColumn<int>("transferTimeoutMs");
        QTest::addColumn<int>("deadlineMs");
        QTest::addColumn<int>("maxRedirects");
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<int>("status");
        const qint64 mb = 1024 * 1024;
        QTest::newRow("whole") << "/ok.csv" << mb << 0 << 0 << 5 << Kind::None << 200;
        QTest::newRow("exactly the limit") << "/ok.csv" << qint64(100) << 0 << 0 << 5 << Kind::None << 200;
        QTest::newRow("404") << "/missing" << mb << 0 << 0 << 5 << Kind::HttpStatus << 404;
        QTest::newRow("500 with a body") << "/ok.csv?status=500" << mb << 0 << 0 << 5 << Kind::HttpStatus << 500;
        QTest::newRow("announced too large") << "/__body/5000" << qint64(1000) << 0 << 0 << 5 << Kind::TooLarge << 200;
        QTest::newRow("grows too large") << "/ok.csv" << qint64(99) << 0 << 0 << 5 << Kind::TooLarge << 200;
        QTest::newRow("ends early") << "/ok.csv?truncate=10" << mb << 0 << 0 << 5 << Kind::Truncated << 200;
        QTest::newRow("stalls") << "/ok.csv?chunk=10&delay=5" << mb << 500 << 0 << 5 << Kind::Truncated << 200;
        QTest::newRow("drips past the deadline")
            << "/ok.csv?chunk=5&delay=0.2" << mb << 0 << 600 << 5 << Kind::TimedOut << 200;
        QTest::newRow("redirected") << "/hop?status=302&location=/ok.csv" << mb << 0 << 0 << 5 << Kind::None << 200;
        QTest::newRow("redirected too often")
            << "/hop?status=302&location=/ok.csv" << mb << 0 << 0 << 0 << Kind::BadRedirect << 0;
        QTest::newRow("redirected to a file")
            << "/hop?status=302&location=file:///etc/passwd" << mb << 0 << 0 << 5 << Kind::BadRedirect << 0;
        QTest::newRow("redirected to ftp")
            << "/hop?status=302&location=ftp://127.0.0.1/x" << mb << 0 << 0 << 5 << Kind::BadRedirect << 0;
        QTest::newRow("nobody listens") << "http://127.0.0.1:1/x" << mb << 0 << 0 << 5 << Kind::NotAnswering << 0;
        QTest::newRow("a local file") << "file:///etc/passwd" << mb << 0 << 0 << 5 << Kind::BadAddress << 0;
    }

    void boundedGet()
    {
        QFETCH(QString, address);
        QFETCH(qint64, maxBytes);
        QFETCH(int, transferTimeoutMs);
        QFETCH(int, deadlineMs);
        QFETCH(int, maxRedirects);
        QFETCH(Kind, kind);
        QFETCH(int, status);
        m_server->resetCounts();
        net::Policy policy;
        policy.userAgent = "Tester/2.5";
        policy.maxBytes = maxBytes;
        policy.transferTimeoutMs = transferTimeoutMs;
        policy.deadlineMs = deadlineMs;
        policy.maxRedirects = maxRedirects;
        net::BoundedGet get(QNetworkRequest(at(address)), policy);
        QSignalSpy finished(&get, &net::BoundedGet::finished);
        QVERIFY(finished.isEmpty()); // never from inside the constructor
        QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 20000);
        QCOMPARE(get.error().kind, kind);
        QCOMPARE(get.httpStatus(), status);
        QVERIFY(!get.error().message().isEmpty() || kind == Kind::None);
        QCOMPARE(get.takeBody(), kind == Kind::None ? m_body : QByteArray());
        if (kind == Kind::None) {
            // Every hop named its sender.
            const QJsonObject agents = m_server->agents();
            QVERIFY(!agents.isEmpty());
            for (const QJsonValue agent : agents)
                QCOMPARE(agent.toString(), QStringLiteral("Tester/2.5"));
        }
        QTest::qWait(50);
        QCOMPARE(finished.size(), 1);
    }

    // Streamed, on a thread of its own (with that thread's manager, gone
    // with the thread), stopped half way by abort().
    void streamsOnAnyThreadAndStops()
    {
        QThread thread;
        thread.start();
        qint64 total = 0;
        int chunks = 0;
        bool finishedOnThread = false;
        QObject context;
        context.moveToThread(&thread);
        std::unique_ptr<net::BoundedGet> whole;
        QMetaObject::invokeMethod(&context, [&] {
            whole = std::make_unique<net::BoundedGet>(QNetworkRequest(at(QStringLiteral("/ok.csv?chunk=30"))),
                                                      net::Policy(), net::BoundedGet::Body::Stream);
            connect(whole.get(), &net::BoundedGet::received, whole.get(), [&](const QByteArray& bytes, qint64 sum) {
                ++chunks;
                total = sum;
                QCOMPARE(bytes, m_body.left(bytes.size()));
            });
            connect(whole.get(), &net::BoundedGet::finished, whole.get(),
                    [&] { finishedOnThread = QThread::currentThread() == &thread; });
        });
        QTRY_VERIFY_WITH_TIMEOUT(finishedOnThread, 20000);
        QCOMPARE(total, m_body.size());
        QVERIFY(chunks >= 1);
        QMetaObject::invokeMethod(&context, [&] { whole.reset(); }, Qt::BlockingQueuedConnection);
        thread.quit();
        QVERIFY(thread.wait(20000));

        net::BoundedGet slow(QNetworkRequest(at(QStringLiteral("/ok.csv?chunk=10&delay=1"))), net::Policy());
        QSignalSpy finished(&slow, &net::BoundedGet::finished);
        slow.abort();
        QCOMPARE(finished.size(), 1);
        QCOMPARE(slow.error().kind, Kind::Cancelled);
        QTest::qWait(50);
        QCOMPARE(finished.size(), 1);
    }
};

QTEST_GUILESS_MAIN(NetworkTests)
#include "NetworkTests.moc"
