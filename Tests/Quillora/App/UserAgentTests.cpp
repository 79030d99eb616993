// Every request Quillora makes names it: the catalogue, a logo, a directory
// search and a counted click reach one local HTTP server from the player as
// the composition root builds it, each with User-Agent: Quillora/<version>.
#include "App/Application.h"
#include "App/CompositionRoot.h"
#include "Directory/DirectoryClient.h"
#include "Model/Player.h"
#include "RemoteImage/CachedImageFile.h"
#include "Support/LocalHttpServer.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonObject>
#include <QPointer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>

namespace {

bool finishes(DirectoryReply* reply)
{
    QPointer<DirectoryReply> watched = reply;
    QSignalSpy finished(reply, &DirectoryReply::finished);
    return QTest::qWaitFor([&] { return !finished.isEmpty() || !watched; }, 20000) && !finished.isEmpty();
}

} // namespace

class UserAgentTests : public QObject {
    Q_OBJECT

private slots:
    void everyRequestNamesQuillora()
    {
        QTemporaryDir served;
        QTemporaryDir data;
        LocalHttpServer server(served.path());
        QVERIFY(server.isRunning());
        const QString uuid = QStringLiteral("96062a7b-0601-11e8-ae97-52543be04c81");
        // A fresh query each run: the logo is never already in the image cache.
        const QUrl logo = server.url(QStringLiteral("/logo.png?run=") + QUuid::createUuid().toString(QUuid::Id128));
        QVERIFY(writeFile(served.filePath(QStringLiteral("stations.csv")),
            "id,url,image,genre,title,uuid\n1,http://127.0.0.1:1/stream," + logo.toEncoded() + ",Jazz,One,"
                + uuid.toLatin1() + "\n"));
        QImage image(8, 8, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        QVERIFY(image.save(served.filePath(QStringLiteral("logo.png"))));
        QVERIFY(writeFile(served.filePath(QStringLiteral("json/tags")), R"([{"name":"jazz","stationcount":3}])"));
        QVERIFY(writeFile(served.filePath(QStringLiteral("json/url/") + uuid), "{}"));

        Application application(data.filePath(QStringLiteral("store")));
        CompositionRoot root(application, server.url(QStringLiteral("/stations.csv")).toString());
        root.directory().setServers({server.url(QStringLiteral("/"))});
        root.player().loadStations();
        QTRY_VERIFY_WITH_TIMEOUT(root.player().station().has_value(), 20000);
        bool logoCached = false;
        remoteimage::CachedImageFile artwork(logo, [&](const QUrl&) { logoCached = true; });
        QTRY_VERIFY_WITH_TIMEOUT(logoCached, 20000);
        QVERIFY(finishes(root.directory().popularTags(3)));
        QVERIFY(finishes(root.directory().countClick(uuid)));

        const QJsonObject agents = server.agents();
        for (const QString& path : {QStringLiteral("/stations.csv"), QStringLiteral("/logo.png"),
                                    QStringLiteral("/json/tags"), QStringLiteral("/json/url/") + uuid})
            QCOMPARE(agents.value(path).toString(), QStringLiteral("Quillora/" QUILLORA_VERSION));
    }
};

QTEST_GUILESS_MAIN(UserAgentTests)
#include "UserAgentTests.moc"
