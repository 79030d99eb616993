// Builds the application's one window on top of the composition root: the
// QML engine and the main screen with the root's player as its model. Saves
// the store's pending changes whenever the window stops being the active
// one (the root saves at quit).
#pragma once

#include <QObject>
#include <QPointer>
#include <QQuickWindow>
#include <QString>

#include <memory>

class AppDelegate;
class CompositionRoot;
class Player;
class QQmlApplicationEngine;

class SceneDelegate final : public QObject {
    Q_OBJECT

public:
    explicit SceneDelegate(AppDelegate& appDelegate, QObject* parent = nullptr);
    ~SceneDelegate() override;

    // Returns false when the main screen could not be built.
    bool willConnect(const QString& catalogue);
    void sceneDidEnterBackground();

    QQuickWindow* window() const { return m_window; }
    Player* player() const;

private:
    void raise();
    void traceFirstCard();

    AppDelegate& m_appDelegate;
    std::unique_ptr<CompositionRoot> m_root;
    std::unique_ptr<QQmlApplicationEngine> m_engine;
    QPointer<QQuickWindow> m_window;
};
