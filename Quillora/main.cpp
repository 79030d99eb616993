// quillora: the internet-radio player. Reads the command line and starts
// either the window or the headless player; both build the same composition
// root (App/CompositionRoot.h).
#include "App/Application.h"
#include "Support/AppInfo.h"
#include "App/CommandLine.h"
#include "App/CompositionRoot.h"
#include "App/ExchangeCommands.h"
#include "App/RendererChoice.h"
#include "App/MainWindow.h"
#include "App/SignalWatcher.h"
#include "Desktop/SingleInstance.h"
#include "Support/StartupTrace.h"
#include "Diagnostics/Diagnostics.h"
#include "Model/Player.h"
#include "Support/Translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QtQml/qqmlextensionplugin.h>

#include <cstring>

Q_IMPORT_QML_PLUGIN(QuilloraPlugin)
Q_IMPORT_QML_PLUGIN(RemoteImagePlugin)

namespace {

// Headless play, and the options that only print, need no display.
bool needsNoWindow(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--export=", 9) == 0)
            return true;
        for (const char* option :
             {"--headless", "--help", "-h", "--help-all", "-?", "--version", "-v", "--import", "--export"}) {
            if (std::strcmp(argv[i], option) == 0)
                return true;
        }
    }
    return false;
}

void describe()
{
    QCoreApplication::setApplicationName(AppInfo::applicationName());
    QCoreApplication::setApplicationVersion(AppInfo::version());
    Translations::install();
}

// The end of the session (SIGTERM) or Ctrl+C quits cleanly, saving what is
// pending.
void quitOnTermination(SignalWatcher& watcher)
{
    // QCoreApplication::instance(), not qApp: with QtGui included, qApp is a
    // QGuiApplication, which the headless player does not create.
    QObject::connect(&watcher, &SignalWatcher::terminationRequested, QCoreApplication::instance(),
                     &QCoreApplication::quit);
}

// The catalogue as the running window will read it: a path relative to
// this process's folder made absolute.
QString absoluteCatalogue(const QString& value)
{
    if (value.isEmpty() || value.contains(QLatin1String("://")))
        return value;
    return QFileInfo(QDir::current(), value).absoluteFilePath();
}

// The player without a window, driven by the media controls.
int runHeadless(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    describe();
    const CommandLine options = CommandLine::parse(QCoreApplication::arguments());
    if (!options.importFiles.isEmpty())
        return ExchangeCommands::runImport(options.importFiles);
    if (!options.exportFormat.isNull())
        return ExchangeCommands::runExport(options.exportFormat, options.exportFile, options.catalogue);
    SignalWatcher watcher;
    quitOnTermination(watcher);

    Application application;
    Application::setUpAudio();
    CompositionRoot root(application, options.catalogue);
    root.registerMediaControls(false);
    root.player().loadStations();
    return QCoreApplication::exec();
}

int runWindow(int argc, char* argv[])
{
    QGuiApplication::setDesktopFileName(AppInfo::desktopFileId());
    QGuiApplication app(argc, argv);
    describe();
    QGuiApplication::setApplicationDisplayName(AppInfo::displayName());
    const CommandLine options = CommandLine::parse(QCoreApplication::arguments());
    // One window per session: a second start shows the first one (passing
    // on its catalogue) and ends here.
    SingleInstance instance(AppInfo::desktopFileId());
    if (instance.claim(absoluteCatalogue(options.catalogue)) == SingleInstance::Outcome::handedOver)
        return 0;
    const RendererChoice::Decision renderer = RendererChoice::apply();
    if (StartupTrace::enabled())
        printLine(QStringLiteral("renderer: %1 (%2)")
                      .arg(renderer.renderer == RendererChoice::Renderer::software ? QStringLiteral("software")
                                                                                    : QStringLiteral("default"),
                           renderer.reason));
    SignalWatcher watcher;
    quitOnTermination(watcher);

    Application application;
    Application::setUpAudio();
    MainWindow window(application);
    if (!window.show(options.catalogue))
        return 1;
    QObject::connect(&instance, &SingleInstance::activated, &window, &MainWindow::raise);
    QObject::connect(&instance, &SingleInstance::openRequested, &window, &MainWindow::open);
    return QGuiApplication::exec();
}

} // namespace

int main(int argc, char* argv[])
{
    StartupTrace::start(qEnvironmentVariableIntValue("QUILLORA_TRACE_STARTUP") != 0);
    return needsNoWindow(argc, argv) ? runHeadless(argc, argv) : runWindow(argc, argv);
}
