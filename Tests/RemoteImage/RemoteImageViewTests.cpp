// The QML module on the offscreen platform: RemoteImage against the local
// HTTP server with the real loader service and disk cache, checked on window
// grabs; ImageProxyView's fill modes; the progress views.
#include "SanitizerDefaults.h"
#include "ImageTestSupport.h"
#include "Support/LocalHttpServer.h"

#include "RemoteImage/DownloadProgressWrapper.h"
#include "RemoteImage/ImageCache/RemoteFileCacheServiceImpl.h"
#include "RemoteImage/ImageLoader/Views/ImageProxyHandle.h"
#include "RemoteImage/ImageLoader/Views/ImageProxyView.h"
#include "RemoteImage/ImageLoader/Views/RemoteImage.h"
#include "RemoteImage/Processing/ImageProcessorClosure.h"
#include "RemoteImage/RemoteImageService.h"

#include <QGuiApplication>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickWindow>
#include <QTemporaryDir>
#include <QtPlugin>
#include <QtQml/qqmlextensionplugin.h>
#include <QtTest>

#include <csignal>
#include <memory>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace remoteimage;

extern char** environ;

Q_IMPORT_QML_PLUGIN(RemoteImagePlugin)

using namespace ImageTestSupport;

namespace {

QImage solid(QColor color, int width = 64, int height = 64)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

bool near(QColor actual, QColor expected)
{
    return ImageTestSupport::near(actual, expected, 40);
}

#define QCOMPARE_COLOR(image, x, y, expected)                                                              \
    do {                                                                                                   \
        const QColor actual_ = (image).pixelColor(x, y);                                                  \
        if (!near(actual_, expected))                                                                      \
            QFAIL(qPrintable(QStringLiteral("pixel (%1, %2) is %3, expected %4")                           \
                                 .arg(x).arg(y).arg(actual_.name(), QColor(expected).name())));            \
    } while (false)

// One window with one QML scene in it. The scene is built from source text;
// `import QtQuick` and `import RemoteImage` come first. `prepare` sees the
// root before it comes on screen.
class Scene {
public:
    explicit Scene(const QByteArray& body, const QVariantMap& properties = {}, QSize size = QSize(240, 240),
                   const std::function<void(QQuickItem*)>& prepare = {})
    {
        window.resize(size);
        window.setColor(Qt::white);
        QQmlComponent component(&engine);
        component.setData("import QtQuick\nimport RemoteImage\n" + body, QUrl(QStringLiteral("qrc:/Scene.qml")));
        if (!component.isReady()) {
            qWarning().noquote() << component.errorString();
            return;
        }
        root.reset(qobject_cast<QQuickItem*>(component.createWithInitialProperties(properties)));
        if (!root) {
            qWarning().noquote() << component.errorString();
            return;
        }
        if (prepare)
            prepare(root.get());
        root->setParentItem(window.contentItem());
        window.show();
        exposed = QTest::qWaitForWindowExposed(&window);
    }

    template <typename T = QQuickItem>
    T* find(const char* name) const
    {
        if (!root)
            return nullptr;
        if (root->objectName() == QLatin1String(name))
            return qobject_cast<T*>(root.get());
        return root->findChild<T*>(QString::fromLatin1(name));
    }

    QImage grab() { return window.grabWindow(); }

    QQmlEngine engine;
    QQuickWindow window;
    std::unique_ptr<QQuickItem> root;
    bool exposed = false;
};

// A card like the application's: a blue placeholder, the logo covering the
// square.
const QByteArray card = R"(
Item {
    id: root
    width: 240; height: 240
    required property url logo
    RemoteImage {
        objectName: "remote"
        anchors.fill: parent
        url: root.logo
        placeholder: Rectangle { width: 240; height: 240; color: "blue" }
        content: ImageProxyView { anchors.fill: parent; fillMode: ImageProxyView.PreserveAspectCrop; clip: true }
    }
}
)";

// Deadlines far above the normal time: sanitizer builds on a busy machine.
bool waitFor(const std::function<bool()>& condition, int timeoutMs = 20000)
{
    return QTest::qWaitFor(condition, timeoutMs);
}

// Runs this program again with the given arguments; its exit status, or -1.
// posix_spawn rather than QProcess, which ThreadSanitizer cannot follow.
int runSelf(const QStringList& arguments)
{
    std::vector<QByteArray> storage{QCoreApplication::applicationFilePath().toLocal8Bit()};
    for (const QString& argument : arguments)
        storage.push_back(argument.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& bytes : storage)
        argv.push_back(bytes.data());
    argv.push_back(nullptr);

    pid_t pid = -1;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
        return -1;
    int status = 0;
    for (int waited = 0; ::waitpid(pid, &status, WNOHANG) == 0; waited += 20) {
        if (waited > 60000) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            return -1;
        }
        ::usleep(20000);
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The child side of the second-start test: shows the card for `url` with
// the image cache below `cacheHome`, saves a grab to `output` once the logo
// is there. 0 when it was.
int showLogo(const QString& cacheHome, const QString& url, const QString& output)
{
    qputenv("XDG_CACHE_HOME", cacheHome.toLocal8Bit());
    Scene scene(card, {{QStringLiteral("logo"), QUrl(url)}});
    auto* remote = scene.find<RemoteImage>("remote");
    if (!scene.exposed || !remote)
        return 2;
    if (!waitFor([&] { return remote->isLoaded(); }))
        return 1;
    scene.grab().save(output);
    // The cache's index work ends before the process does.
    if (auto* cache = dynamic_cast<RemoteFileCacheServiceImpl*>(
            &RemoteImageService::shared().services().remoteFileCacheService()))
        cache->waitUntilIdle();
    return 0;
}

} // namespace

class RemoteImageViewTests : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void placeholderThenLogo();
    void defaultPlaceholderAndContent();
    void secondStartShowsLogoFromDisk();
    void leavingTheScreenCancelsTheDownload();
    void urlChangeDropsTheOldImage();
    void missingUrlKeepsThePlaceholder();
    void incrementalShowsPartialImages();
    void processorsApplyBeforeShowing();
    void imageProxyViewFillModes();
    void progressViews();

private:
    std::unique_ptr<QTemporaryDir> m_files;
    std::unique_ptr<QTemporaryDir> m_cache;
    std::unique_ptr<LocalHttpServer> m_server;
};

void RemoteImageViewTests::initTestCase()
{
    m_cache = std::make_unique<QTemporaryDir>();
    // Before the first RemoteImage makes the shared service.
    qputenv("XDG_CACHE_HOME", m_cache->path().toLocal8Bit());
    m_files = std::make_unique<QTemporaryDir>();
    const QString dir = m_files->path();
    QVERIFY(solid(Qt::red).save(dir + "/red.png"));
    QVERIFY(solid(Qt::green).save(dir + "/green.png"));
    QVERIFY(writeFile(dir + "/slow.png", encode(noiseImage(300, 300, 3), "PNG")));
    m_server = std::make_unique<LocalHttpServer>(dir);
    QVERIFY(m_server->isRunning());
}

void RemoteImageViewTests::cleanupTestCase()
{
    m_server.reset();
}

void RemoteImageViewTests::placeholderThenLogo()
{
    // The answer waits for the test, however long the window takes.
    const QUrl logo = m_server->url("/red.png?hold=first&tag=first");
    Scene scene(card, {{"logo", logo}});
    auto* remote = scene.find<RemoteImage>("remote");
    QVERIFY(scene.exposed && remote);

    QCOMPARE_COLOR(scene.grab(), 120, 120, Qt::blue);
    // Cached for the default seven days.
    QVERIFY(remote->loaderView() && remote->loaderView()->expiryDate());
    QVERIFY(std::abs(QDateTime::currentDateTimeUtc().secsTo(*remote->loaderView()->expiryDate()) - 604800) < 60);
    m_server->release("first");

    QVERIFY(waitFor([&] { return remote->isLoaded(); }));
    const QImage shown = scene.grab();
    // A 64-pixel logo covers the whole 240-point square.
    QCOMPARE_COLOR(shown, 120, 120, Qt::red);
    QCOMPARE_COLOR(shown, 2, 2, Qt::red);
    QCOMPARE_COLOR(shown, 237, 237, Qt::red);
    QCOMPARE(m_server->requestCount("#first"), 1);
}

void RemoteImageViewTests::defaultPlaceholderAndContent()
{
    Scene scene(R"(
        RemoteImage { objectName: "remote"; width: 240; height: 240; url: logo
                      required property url logo }
    )", {{"logo", m_server->url("/red.png?hold=defaults&tag=defaults")}});
    auto* remote = scene.find<RemoteImage>("remote");
    QVERIFY(scene.exposed && remote);

    // The photo glyph, small and centred.
    QVERIFY(waitFor([&] {
        const QImage placeholder = scene.grab();
        int grey = 0;
        for (int y = 100; y < 140; ++y)
            for (int x = 100; x < 140; ++x)
                grey += placeholder.pixelColor(x, y).lightness() < 200;
        return grey > 20;
    }));
    const QImage placeholder = scene.grab();
    QCOMPARE_COLOR(placeholder, 60, 60, Qt::white);
    m_server->release("defaults");

    // The image at its natural size (64 × 64), centred.
    QVERIFY(waitFor([&] { return remote->isLoaded(); }));
    const QImage shown = scene.grab();
    QCOMPARE_COLOR(shown, 120, 120, Qt::red);
    QCOMPARE_COLOR(shown, 90, 90, Qt::red);
    QCOMPARE_COLOR(shown, 84, 120, Qt::white);
    QCOMPARE_COLOR(shown, 156, 120, Qt::white);
}

void RemoteImageViewTests::secondStartShowsLogoFromDisk()
{
    QTemporaryDir cache;
    QTemporaryDir files;
    QVERIFY(solid(Qt::red).save(files.path() + "/logo.png"));
    auto server = std::make_unique<LocalHttpServer>(files.path());
    QVERIFY(server->isRunning());
    const QString url = server->url("/logo.png").toString();

    const QString first = cache.path() + "/first.png";
    QCOMPARE(runSelf({"--show-logo", cache.path(), url, first}), 0);
    QCOMPARE_COLOR(QImage(first), 120, 120, Qt::red);

    server.reset();
    const QString second = cache.path() + "/second.png";
    QCOMPARE(runSelf({"--show-logo", cache.path(), url, second}), 0);
    QCOMPARE_COLOR(QImage(second), 120, 120, Qt::red);
}

void RemoteImageViewTests::leavingTheScreenCancelsTheDownload()
{
    // About 270 KB at 4 KB every 50 ms: more than three seconds.
    const QString slow = QStringLiteral("/slow.png?chunk=4096&delay=0.05&tag=");
    const auto requests = [&](const char* tag) { return m_server->requestCount(QStringLiteral("#") + tag); };
    const auto aborted = [&] { return m_server->requestCount("!aborted /slow.png"); };

    {
        // Destroyed mid-download.
        auto scene = std::make_unique<Scene>(card, QVariantMap{{"logo", m_server->url(slow + "gone")}});
        QVERIFY(scene->exposed);
        QVERIFY(waitFor([&] { return requests("gone") == 1; }));
        scene.reset();
        QVERIFY(waitFor([&] { return aborted() == 1; }));
    }
    {
        // Hidden mid-download, then shown again: a new download.
        Scene scene(card, {{"logo", m_server->url(slow + "hidden")}});
        auto* remote = scene.find<RemoteImage>("remote");
        QVERIFY(scene.exposed && remote);
        QVERIFY(waitFor([&] { return requests("hidden") == 1; }));
        scene.root->setVisible(false);
        QVERIFY(waitFor([&] { return aborted() == 2; }));
        scene.root->setVisible(true);
        QVERIFY(waitFor([&] { return requests("hidden") == 2; }));
        QVERIFY(waitFor([&] { return remote->isLoaded(); }));
    }
    {
        // Delegates made and dropped as a list scrolls by: none may be
        // reached by a late report.
        Scene scene("Item { width: 240; height: 240 }");
        QVERIFY(scene.exposed);
        QQmlComponent component(&scene.engine);
        component.setData("import QtQuick\nimport RemoteImage\n" + card, QUrl(QStringLiteral("qrc:/Card.qml")));
        // Slow downloads, and logos already on disk whose completion comes
        // from a background thread at any moment.
        for (int i = 0; i < 24; ++i) {
            const QUrl logo = i % 2 ? m_server->url(QStringLiteral("/red.png?tag=first"))
                                    : m_server->url(slow + QStringLiteral("scroll%1").arg(i % 3));
            std::unique_ptr<QQuickItem> item(qobject_cast<QQuickItem*>(
                component.createWithInitialProperties({{"logo", logo}})));
            QVERIFY(item);
            item->setParentItem(scene.root.get());
            for (int turn = 0; turn < i % 4; ++turn)
                QCoreApplication::processEvents();
        }
        // Until every download has ended: the late reports come meanwhile.
        QVERIFY(waitFor([&] {
            const QJsonObject stats = m_server->stats();
            return stats.value(QLatin1String("/slow.png")).toInt()
                == stats.value(QLatin1String("!done /slow.png")).toInt()
                    + stats.value(QLatin1String("!aborted /slow.png")).toInt();
        }, 60000));
    }
}

// An item made without an address loads the one it is given later; a
// change of address drops the image shown.
void RemoteImageViewTests::urlChangeDropsTheOldImage()
{
    Scene scene(card, {{"logo", QUrl()}});
    auto* remote = scene.find<RemoteImage>("remote");
    QVERIFY(scene.exposed && remote);
    scene.root->setProperty("logo", m_server->url("/red.png?tag=change"));
    QVERIFY(waitFor([&] { return remote->isLoaded(); }));
    QCOMPARE_COLOR(scene.grab(), 120, 120, Qt::red);

    scene.root->setProperty("logo", m_server->url("/green.png?hold=change&tag=change"));
    QVERIFY(!remote->isLoaded());
    QCOMPARE_COLOR(scene.grab(), 120, 120, Qt::blue);
    m_server->release("change");
    QVERIFY(waitFor([&] { return remote->isLoaded(); }));
    QCOMPARE_COLOR(scene.grab(), 120, 120, Qt::green);    QCOMPARE(m_server->requestCount("#change"), 2);
}

void RemoteImageViewTests::missingUrlKeepsThePlaceholder()
{
    m_server->resetCounts();
    // No address, a malformed one, a local file, a missing logo.
    for (const QUrl& url : {QUrl(), QUrl(QStringLiteral("http://exa mple.org/%zz")),
                            QUrl(QStringLiteral("file:///etc/hostname")), m_server->url("/missing.png")}) {
        Scene scene(card, {{"logo", url}});
        auto* remote = scene.find<RemoteImage>("remote");
        QVERIFY(scene.exposed && remote);
        QTest::qWait(300);
        QVERIFY(!remote->isLoaded());
        QCOMPARE_COLOR(scene.grab(), 120, 120, Qt::blue);
    }
    QCOMPARE(m_server->requestCount("/missing.png"), 1);
}

void RemoteImageViewTests::incrementalShowsPartialImages()
{
    Scene scene(R"(
        Item {
            id: root
            width: 240; height: 240
            required property url logo
            RemoteImage {
                objectName: "remote"
                anchors.fill: parent
                url: root.logo
                incremental: true
                placeholder: Rectangle { width: 240; height: 240; color: "blue" }
                content: ImageProxyView { objectName: "content"; anchors.fill: parent }
            }
        }
    )", {{"logo", m_server->url("/slow.png?chunk=4096&delay=0.05&tag=incremental")}});
    auto* remote = scene.find<RemoteImage>("remote");
    QVERIFY(scene.exposed && remote);

    // The top rows arrive first: noise above, nothing yet below.
    const auto partial = [&] {
        if (remote->isLoaded() || !scene.find("content"))
            return false;
        const QImage shown = scene.grab();
        int noisy = 0;
        for (int x = 0; x < 240; x += 4)
            noisy += !near(shown.pixelColor(x, 2), Qt::blue);
        return noisy > 40;
    };
    QVERIFY(waitFor(partial));
    QVERIFY(!remote->isLoaded());
    QQuickItem* content = scene.find("content");
    QVERIFY(waitFor([&] { return remote->isLoaded(); }));
    // The final image goes to the content already shown.
    QCOMPARE(scene.find("content"), content);
}

void RemoteImageViewTests::processorsApplyBeforeShowing()
{
    // Set before the item comes on screen; red becomes green.
    Scene scene(card, {{"logo", m_server->url("/red.png?tag=processed")}}, QSize(240, 240), [](QQuickItem* root) {
        root->findChild<RemoteImage*>("remote")->setProcessors(RemoteImage::Processors{
            std::make_shared<ImageProcessorClosure>(
                [](const QImage& image) { return solid(Qt::green, image.width(), image.height()); })});
    });
    auto* remote = scene.find<RemoteImage>("remote");
    QVERIFY(scene.exposed && remote);
    QVERIFY(waitFor([&] { return remote->isLoaded(); }));
    QCOMPARE_COLOR(scene.grab(), 120, 120, Qt::green);

    // fitSize from QML: the image is kept at the size it is shown at.
    Scene small(R"(
Item {
    width: 40; height: 40
    required property url logo
    RemoteImage { objectName: "remote"; anchors.fill: parent; url: parent.logo; fitSize: Qt.size(40, 20) }
})",
                {{"logo", m_server->url("/red.png?tag=fit")}}, QSize(40, 40));
    auto* fitted = small.find<RemoteImage>("remote");
    QVERIFY(small.exposed && fitted);
    QVERIFY(waitFor([&] { return fitted->isLoaded(); }));
    QCOMPARE(fitted->imageProxy()->image().size(), QSize(40, 20));
}

void RemoteImageViewTests::imageProxyViewFillModes()
{
    // 2:1 bands in a 100 × 100 box placed at (20, 20).
    Scene scene(R"(
        Item {
            width: 140; height: 140
            ImageProxyView { objectName: "view"; x: 20; y: 20; width: 100; height: 100 }
        }
    )", {}, QSize(140, 140));
    auto* view = scene.find<ImageProxyView>("view");
    QVERIFY(scene.exposed && view);

    for (const int scale : {1, 6}) {
        ImageProxyHandle handle(stripes(200 * scale, 100 * scale, {Qt::blue, Qt::red, Qt::green, Qt::yellow}));
        view->setImageProxy(&handle);
        QCOMPARE(view->implicitWidth(), 200.0 * scale);
        QCOMPARE(view->implicitHeight(), 100.0 * scale);

        view->setFillMode(ImageProxyView::Stretch);
        QImage shown = scene.grab();
        QCOMPARE_COLOR(shown, 25, 70, Qt::blue);
        QCOMPARE_COLOR(shown, 114, 70, Qt::yellow);
        QCOMPARE_COLOR(shown, 70, 23, Qt::green);

        view->setFillMode(ImageProxyView::PreserveAspectFit);
        shown = scene.grab();
        QCOMPARE_COLOR(shown, 70, 40, Qt::white);
        QCOMPARE_COLOR(shown, 70, 100, Qt::white);
        QCOMPARE_COLOR(shown, 25, 70, Qt::blue);
        QCOMPARE_COLOR(shown, 114, 70, Qt::yellow);

        // The middle half of the width: red and green only.
        view->setFillMode(ImageProxyView::PreserveAspectCrop);
        shown = scene.grab();
        QCOMPARE_COLOR(shown, 23, 70, Qt::red);
        QCOMPARE_COLOR(shown, 116, 70, Qt::green);
        QCOMPARE_COLOR(shown, 45, 23, Qt::red);
        QCOMPARE_COLOR(shown, 95, 116, Qt::green);
        view->setImageProxy(nullptr);
    }
}

void RemoteImageViewTests::progressViews()
{
    Scene scene(R"(
        Item {
            width: 140; height: 140
            required property DownloadProgressWrapper wrapper
            CircleProgressView { objectName: "ring"; x: 20; y: 20; width: 100; height: 100
                                 lineWidth: 6; progress: 0.25 }
            ProgressView {
                objectName: "progress"
                downloadProgressWrapper: wrapper
                content: Item { required property var progress; property var seen: progress }
            }
        }
    )", {{"wrapper", QVariant::fromValue<QObject*>(new DownloadProgressWrapper(std::nullopt, qApp))}},
                QSize(140, 140));
    QVERIFY(scene.exposed);

    // A quarter ring from twelve to three o'clock (centre (70, 70), radius 50).
    QVERIFY(waitFor([&] { return near(scene.grab().pixelColor(105, 35), Qt::black); }));
    QImage shown = scene.grab();
    QCOMPARE_COLOR(shown, 105, 35, Qt::black);
    QCOMPARE_COLOR(shown, 35, 35, Qt::white);
    QCOMPARE_COLOR(shown, 35, 105, Qt::white);
    scene.find("ring")->setProperty("progress", 1.5);
    QVERIFY(waitFor([&] { return near(scene.grab().pixelColor(35, 105), Qt::black); }));
    shown = scene.grab();
    QCOMPARE_COLOR(shown, 35, 105, Qt::black);
    QCOMPARE_COLOR(shown, 70, 70, Qt::white);

    // The content is built anew for every reported progress.
    auto* progressView = scene.find("progress");
    auto* wrapper = qvariant_cast<DownloadProgressWrapper*>(scene.root->property("wrapper"));
    QVERIFY(progressView && wrapper);
    const auto content = [&] { return progressView->childItems().value(0); };
    QVERIFY(content());
    QVERIFY(!content()->property("seen").isValid());
    QQuickItem* before = content();
    wrapper->setProgress(0.5f);
    QVERIFY(content() != before);
    QCOMPARE(content()->property("seen").toFloat(), 0.5f);
    wrapper->setProgress(std::nullopt);
    QVERIFY(!content()->property("seen").isValid());
}

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc == 5 && qstrcmp(argv[1], "--show-logo") == 0)
        return showLogo(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]),
                        QString::fromLocal8Bit(argv[4]));
    RemoteImageViewTests tests;
    return QTest::qExec(&tests, argc, argv);
}

#include "RemoteImageViewTests.moc"

