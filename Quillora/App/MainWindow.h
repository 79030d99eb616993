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

class Application;
class CompositionRoot;
class Player;
class QQmlApplicationEngine;

class MainWindow final : public QObject {
    Q_OBJECT

public:
    explicit MainWindow(Application& application, QObject* parent = nullptr);
    ~MainWindow() override;

    // Returns false when the main screen could not be built.
    bool show(const QString& catalogue);
    void saveOnDeactivation();

    QQuickWindow* window() const { return m_window; }
    Player* player() const;

private:
    void raise();
    void traceFirstCard();

    Application& m_application;
    std::unique_ptr<CompositionRoot> m_root;
    std::unique_ptr<QQmlApplicationEngine> m_engine;
    QPointer<QQuickWindow> m_window;
};
