// quillora: the internet-radio player.
#include "App/AppDelegate.h"
#include "App/SceneDelegate.h"
#include "CommandLine.h"
#include "Headless/HeadlessPlayer.h"
#include "Headless/SignalWatcher.h"
#include "StartupTrace.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QtQml/qqmlextensionplugin.h>

#include <cstring>
#include <memory>

Q_IMPORT_QML_PLUGIN(QuilloraPlugin)
Q_IMPORT_QML_PLUGIN(RemoteImagePlugin)

namespace {

// Headless play, and the options that only print, need no display.
bool needsNoWindow(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i) {
        for (const char* option : {"--headless", "--help", "-h", "--help-all", "-?", "--version", "-v"}) {
            if (std::strcmp(argv[i], option) == 0)
                return true;
        }
    }
    return false;
}

void describe()
{
    QCoreApplication::setApplicationName(QStringLiteral("quillora"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUILLORA_VERSION));
}

} // namespace

int main(int argc, char* argv[])
{
    StartupTrace::start();

    // The headless player must run where there is no display at all.
    if (needsNoWindow(argc, argv)) {
        QCoreApplication app(argc, argv);
        describe();
        const CommandLine options = CommandLine::parse(QCoreApplication::arguments());
        return Headless::run(options.catalogueUrl);
    }

    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.quillora.Quillora"));
    QGuiApplication app(argc, argv);
    describe();
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Quillora"));
    const CommandLine options = CommandLine::parse(QCoreApplication::arguments());

    // The end of the session (SIGTERM) or Ctrl+C closes the window cleanly,
    // saving what is pending.
    SignalWatcher watcher;
    QObject::connect(&watcher, &SignalWatcher::terminationRequested, &app, &QCoreApplication::quit);

    AppDelegate appDelegate;
    appDelegate.didFinishLaunching();
    auto scene = std::make_unique<SceneDelegate>(appDelegate);
    if (!scene->willConnect(options.catalogueUrl))
        return 1;
    const int exitCode = QGuiApplication::exec();
    scene.reset();
    return exitCode;
}
