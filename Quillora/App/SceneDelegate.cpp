#include "App/SceneDelegate.h"

#include "App/AppDelegate.h"
#include "Catalogue/GSheetStationsLoader.h"
#include "Mpris/MprisRoot.h"
#include "Mpris/MprisService.h"
#include "NowPlaying/NowPlayingCenter.h"
#include "Playback/MpvMediaPlayer.h"
#include "Playback/Player.h"
#include "StartupTrace.h"
#include "Views/IconProvider.h"

#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QQuickWindow>

SceneDelegate::SceneDelegate(AppDelegate& appDelegate, QObject* parent)
    : QObject(parent)
    , m_appDelegate(appDelegate)
{
}

SceneDelegate::~SceneDelegate()
{
    // The screen goes first (it observes the player), then the bus
    // registration, so no call reaches a player being torn down.
    m_engine.reset();
    m_mpris.reset();
    if (m_player)
        m_player->stop();
}

bool SceneDelegate::willConnect(const QString& catalogueUrl)
{
    // Creating the container loads its store, or stops the application.
    m_appDelegate.persistentContainer().viewContext();

    m_nowPlaying = std::make_unique<NowPlayingCenter>();
    m_player = Player::create(std::make_shared<GSheetStationsLoader>(catalogueUrl), new MpvMediaPlayer(),
                              m_nowPlaying.get());
    m_mpris = std::make_unique<MprisService>(m_player, m_nowPlaying.get());
    connect(m_mpris.get(), &MprisService::quitRequested, qApp, &QCoreApplication::quit, Qt::QueuedConnection);
    connect(m_mpris.get(), &MprisService::raiseRequested, this, [this] {
        if (m_window) {
            m_window->show();
            m_window->raise();
            m_window->requestActivate();
        }
    });
    m_mpris->root()->setCanRaise(true);
    m_mpris->registerOnSessionBus();

    m_engine = std::make_unique<QQmlApplicationEngine>();
    m_engine->addImageProvider(QStringLiteral("icons"), new IconProvider);
    m_engine->setInitialProperties({{QStringLiteral("player"), QVariant::fromValue(m_player.get())}});
    m_engine->load(QUrl(QStringLiteral("qrc:/Quillora/Main.qml")));
    const QList<QObject*> roots = m_engine->rootObjects();
    m_window = roots.isEmpty() ? nullptr : qobject_cast<QQuickWindow*>(roots.first());
    if (!m_window)
        return false;

    connect(qGuiApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state != Qt::ApplicationActive)
            sceneDidEnterBackground();
    });
    connect(qApp, &QCoreApplication::aboutToQuit, this, &SceneDelegate::sceneDidEnterBackground);

    if (StartupTrace::enabled()) {
        // Stamped on the render thread at the swap itself, not when the main
        // thread gets round to it.
        connect(m_window, &QQuickWindow::frameSwapped, this, [] { StartupTrace::mark("first-frame"); },
                Qt::DirectConnection);
        connect(m_player.get(), &Player::stationsChanged, this, &SceneDelegate::traceFirstCard);
    }
    return true;
}

// The first frame swapped after the catalogue arrived is the first with
// cards in it: the list view builds them when the model resets.
void SceneDelegate::traceFirstCard()
{
    if (!m_player || m_player->stations().isEmpty() || !m_window)
        return;
    auto connection = std::make_shared<QMetaObject::Connection>();
    *connection = connect(
        m_window, &QQuickWindow::frameSwapped, this,
        [connection] {
            StartupTrace::mark("first-card");
            disconnect(*connection);
        },
        Qt::QueuedConnection);
}

void SceneDelegate::sceneDidEnterBackground()
{
    m_appDelegate.saveContext();
}
