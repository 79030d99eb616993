// Builds the application's one window: the player with the spreadsheet
// catalogue, its media controls on the session bus, and the main screen with
// the player as its model. Saves the persistent container's pending changes
// whenever the window stops being the active one, and at quit.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>

class AppDelegate;
class MprisService;
class NowPlayingCenter;
class Player;
class QQmlApplicationEngine;
#include <QQuickWindow>

class SceneDelegate final : public QObject {
    Q_OBJECT

public:
    explicit SceneDelegate(AppDelegate& appDelegate, QObject* parent = nullptr);
    ~SceneDelegate() override;

    // Returns false when the main screen could not be built.
    bool willConnect(const QString& catalogueUrl);
    void sceneDidEnterBackground();

    QQuickWindow* window() const { return m_window; }
    Player* player() const { return m_player.get(); }

private:
    void traceFirstCard();

    AppDelegate& m_appDelegate;
    std::unique_ptr<NowPlayingCenter> m_nowPlaying;
    std::shared_ptr<Player> m_player;
    std::unique_ptr<MprisService> m_mpris;
    std::unique_ptr<QQmlApplicationEngine> m_engine;
    QPointer<QQuickWindow> m_window;
};
