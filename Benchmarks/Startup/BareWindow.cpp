// bare-window: the least a Qt Quick program does before its first frame.
// One window with one rectangle, no models, no network. Its first-frame time
// is the floor the player's start-up is compared with.
#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QQuickWindow>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <memory>

namespace {

const auto startTime = std::chrono::steady_clock::now();

double millisecondsSinceStart()
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - startTime).count();
}

constexpr char kScene[] = R"(
import QtQuick
Window {
    width: 480; height: 800
    visible: true
    title: "bare-window"
    color: "#F3F0FA"
    Rectangle {
        anchors.centerIn: parent
        width: 240; height: 240; radius: 60
        color: "#5B3CC4"
    }
}
)";

} // namespace

int main(int argc, char* argv[])
{
    millisecondsSinceStart(); // pins the clock's origin to the start of main()
    QGuiApplication app(argc, argv);

    QQmlApplicationEngine engine;
    QObject::connect(&engine, &QQmlApplicationEngine::objectCreated, &app, [](QObject* object, const QUrl&) {
        auto* window = qobject_cast<QQuickWindow*>(object);
        if (!window) {
            std::fputs("bare-window: the scene did not make a window\n", stderr);
            QCoreApplication::exit(1);
            return;
        }
        // frameSwapped comes from the render thread; a direct connection
        // stamps the swap itself, and the flag keeps only the first one.
        auto reported = std::make_shared<std::atomic<bool>>(false);
        QObject::connect(window, &QQuickWindow::frameSwapped, window, [reported] {
            if (reported->exchange(true))
                return;
            std::printf("startup: first-frame %.1f\n", millisecondsSinceStart());
            std::fflush(stdout);
        }, Qt::DirectConnection);
    });
    engine.loadData(QByteArray(kScene));
    return app.exec();
}
