#include "App/MainWindow.h"

#include "App/Application.h"
#include "App/CompositionRoot.h"
#include "Recording/Recorder.h"
#include "Support/StartupTrace.h"
#include "Catalogue/ActiveCatalogue.h"
#include "Support/AppInfo.h"
#include "Desktop/SongNotifier.h"
#include "Directory/DirectorySearchModel.h"
#include "Model/SleepTimer.h"
#include "Settings/Preferences.h"
#include "Tray/StatusNotifierItem.h"
#include "Model/RecentlyPlayed.h"
#include "Model/Player.h"
#include "Views/ColorScheme.h"
#include "Views/IconProvider.h"

#include <QCloseEvent>
#include <QDBusConnection>
#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QQuickWindow>
#include <QTimer>

#ifdef __GLIBC__
#include <malloc.h>
#endif

MainWindow::MainWindow(Application& application, QObject* parent)
    : QObject(parent)
    , m_application(application)
{
}

MainWindow::~MainWindow()
{
    // The screen goes first: it observes the player. The window announces
    // its hiding while it is torn down, when it is a QQuickWindow no longer:
    // nothing of ours may look at it then.
    m_tray.reset();
    if (m_window) {
        m_window->removeEventFilter(this);
        disconnect(m_window, nullptr, this, nullptr);
    }
    m_engine.reset();
    m_root.reset();
}

Player* MainWindow::player() const
{
    return m_root ? &m_root->player() : nullptr;
}

bool MainWindow::show(const QString& catalogue)
{
    // Building the root loads the store, or stops the application.
    m_root = std::make_unique<CompositionRoot>(m_application, catalogue);
    connect(m_root.get(), &CompositionRoot::raiseRequested, this, &MainWindow::raise);
    m_root->registerMediaControls(true);
    StartupTrace::mark("root-built");

    ColorScheme::setOverride(m_root->environment().colorScheme);
    m_engine = std::make_unique<QQmlApplicationEngine>();
    m_engine->addImageProvider(QStringLiteral("icons"), new IconProvider);
    m_engine->setInitialProperties({{QStringLiteral("player"), QVariant::fromValue(&m_root->player())},
                                    {QStringLiteral("catalogue"), QVariant::fromValue(&m_root->catalogue())},
                                    {QStringLiteral("recentlyPlayed"), QVariant::fromValue(&m_root->recentlyPlayed())},
                                    {QStringLiteral("directory"), QVariant::fromValue(&m_root->directorySearch())},
                                    {QStringLiteral("preferences"), QVariant::fromValue(&m_root->preferences())},
                                    {QStringLiteral("sleepTimer"), QVariant::fromValue(&m_root->sleepTimer())},
                                    {QStringLiteral("recorder"), QVariant::fromValue(&m_root->recorder())}});
    m_engine->load(QUrl(QStringLiteral("qrc:/Quillora/Main.qml")));
    StartupTrace::mark("screen-built");
    const QList<QObject*> roots = m_engine->rootObjects();
    m_window = roots.isEmpty() ? nullptr : qobject_cast<QQuickWindow*>(roots.first());
    if (!m_window)
        return false;

    connect(qGuiApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state != Qt::ApplicationActive)
            saveOnDeactivation();
    });

    // Closing the window while a station plays keeps the player (and its
    // media controls and tray icon); the close button quits otherwise.
    QGuiApplication::setQuitOnLastWindowClosed(false);
    m_window->installEventFilter(this);
    // The song is on screen while the window has focus: no notification.
    SongNotifier& notifier = m_root->songNotifier();
    // A closed window loses the focus without announcing it: its visibility
    // counts too.
    const auto updateSuppression = [this, &notifier] {
        notifier.setSuppressed(m_window->isVisible() && m_window->isActive());
    };
    connect(m_window, &QWindow::activeChanged, this, updateSuppression);
    connect(m_window, &QWindow::visibleChanged, this, updateSuppression);

    if (QDBusConnection::sessionBus().isConnected()) {
        m_tray = std::make_unique<StatusNotifierItem>(QDBusConnection::sessionBus(), &m_root->player(),
                                                      AppInfo::desktopFileId(),
                                                      QStringLiteral(":/Quillora/Icon/%1.svg").arg(AppInfo::desktopFileId()));
        connect(m_tray.get(), &StatusNotifierItem::activateRequested, this, &MainWindow::toggle);
        connect(m_tray.get(), &StatusNotifierItem::quitRequested, qGuiApp, &QCoreApplication::quit, Qt::QueuedConnection);
        connect(m_window, &QWindow::visibleChanged, m_tray.get(),
                [this] { m_tray->setWindowShown(m_window->isVisible()); });
    }

    // Start-up frees much of what it built (the QML compiler's work, the
    // catalogue's parse); glibc keeps freed pages unless asked. Once the
    // first frames are out, give them back.
    connect(
        m_window, &QQuickWindow::frameSwapped, this,
        [] {
            QTimer::singleShot(2000, [] {
#ifdef __GLIBC__
                malloc_trim(0);
#endif
            });
        },
        Qt::SingleShotConnection);

    if (StartupTrace::enabled()) {
        // Stamped on the render thread at the swap itself, not when the main
        // thread gets round to it.
        connect(m_window, &QQuickWindow::frameSwapped, this, [] { StartupTrace::mark("first-frame"); },
                Qt::DirectConnection);
        connect(&m_root->player(), &Player::stationsChanged, this, &MainWindow::traceFirstCard);
        // A stored or local catalogue arrived while the screen was built.
        traceFirstCard();
    }
    return true;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Close && watched == m_window) {
        const bool keepPlaying = m_root->preferences().background() && m_root->player().isPlaying();
        if (!keepPlaying)
            QMetaObject::invokeMethod(qGuiApp, &QCoreApplication::quit, Qt::QueuedConnection);
        // Either way the window goes; the player stays until it quits.
        m_application.saveChanges();
    }
    return QObject::eventFilter(watched, event);
}

void MainWindow::toggle()
{
    if (m_window && m_window->isVisible() && m_window->isActive())
        m_window->hide();
    else
        raise();
}

void MainWindow::open(const QString& catalogue)
{
    if (m_root)
        m_root->catalogue().useAddress(catalogue);
    raise();
}

void MainWindow::raise()
{
    if (!m_window)
        return;
    m_window->show();
    m_window->raise();
    m_window->requestActivate();
}

// The first frame swapped after the catalogue arrived is the first with
// cards in it: the list view builds them when the model resets. Stamped on
// the render thread at the swap, like the first frame, so that a catalogue
// ready before the first frame gives the same time for both.
void MainWindow::traceFirstCard()
{
    if (!m_root || m_root->player().stations().isEmpty() || !m_window)
        return;
    connect(m_window, &QQuickWindow::frameSwapped, this, [] { StartupTrace::mark("first-card"); },
            Qt::DirectConnection);
}

void MainWindow::saveOnDeactivation()
{
    m_application.saveChanges();
}
