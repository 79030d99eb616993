#include "App/MainWindow.h"

#include "App/Application.h"
#include "App/CompositionRoot.h"
#include "Recording/Recorder.h"
#include "App/StartupTrace.h"
#include "Catalogue/ActiveCatalogue.h"
#include "Directory/DirectorySearchModel.h"
#include "Model/RecentlyPlayed.h"
#include "Model/Player.h"
#include "Views/IconProvider.h"

#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QQuickWindow>

MainWindow::MainWindow(Application& application, QObject* parent)
    : QObject(parent)
    , m_application(application)
{
}

MainWindow::~MainWindow()
{
    // The screen goes first: it observes the player.
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

    m_engine = std::make_unique<QQmlApplicationEngine>();
    m_engine->addImageProvider(QStringLiteral("icons"), new IconProvider);
    m_engine->setInitialProperties({{QStringLiteral("player"), QVariant::fromValue(&m_root->player())},
                                    {QStringLiteral("catalogue"), QVariant::fromValue(&m_root->catalogue())},
                                    {QStringLiteral("recentlyPlayed"), QVariant::fromValue(&m_root->recentlyPlayed())},
                                    {QStringLiteral("directory"), QVariant::fromValue(&m_root->directorySearch())},
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
