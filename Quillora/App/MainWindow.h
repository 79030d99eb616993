// Builds the application's one window on top of the composition root: the
// QML engine and the main screen with the root's player as its model, and
// the tray icon. Saves the store's pending changes whenever the window stops
// being the active one (the root saves at quit).
//
// Closing the window while a station plays (and background playing is on)
// only hides it: the player, its media controls and the tray icon stay,
// and MPRIS Raise, the tray or a second start bring the window back.
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
class StatusNotifierItem;

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
    StatusNotifierItem* tray() const { return m_tray.get(); }

    // Shows the window again, in front.
    void raise();
    // Shows the window, or hides it when it is in front (the tray's click).
    void toggle();
    // Another start passed on its catalogue address.
    void open(const QString& catalogue);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void traceFirstCard();

    Application& m_application;
    std::unique_ptr<CompositionRoot> m_root;
    std::unique_ptr<QQmlApplicationEngine> m_engine;
    std::unique_ptr<StatusNotifierItem> m_tray;
    QPointer<QQuickWindow> m_window;
};
