// The tray icon, where the desktop has a panel that shows
// StatusNotifierItems (KDE Plasma, most panels; GNOME only with an
// extension): registered with org.kde.StatusNotifierWatcher when one is on
// the session bus, and again whenever a panel starts. With no watcher there
// is no icon, and the shell's media controls reach the player through MPRIS.
//
// Written on QtDBus rather than through QSystemTrayIcon: that one needs
// QtWidgets and a QApplication, which adds about 5.7 MB of resident memory
// to the window; this adds next to nothing to what the media controls
// already load.
//
// The tooltip names the station and the song; a left click shows or hides
// the window, a middle click plays or stops, scrolling sets the volume; the
// menu (DBusMenu) has Play/Stop, the first 20 stations, Show/Hide window and
// Quit.
#pragma once

#include "Tray/DBusMenu.h"

#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QImage>
#include <QObject>

class Player;
class QDBusServiceWatcher;

struct SniPixmap {
    int width = 0;
    int height = 0;
    QByteArray argb; // ARGB32, network byte order
};
using SniPixmaps = QList<SniPixmap>;
struct SniToolTip {
    QString iconName;
    SniPixmaps pixmaps;
    QString title;
    QString text;
};
Q_DECLARE_METATYPE(SniPixmap)
Q_DECLARE_METATYPE(SniToolTip)

class StatusNotifierItem final : public QObject {
    Q_OBJECT

public:
    static constexpr int stationsShown = 20;

    // `iconName`: the application's icon in the theme (its desktop file id);
    // `iconFile`: the same icon as a file (an SVG in the resources), drawn
    // for panels that cannot find the themed one.
    StatusNotifierItem(QDBusConnection bus, Player* player, QString iconName, QString iconFile,
                       QObject* parent = nullptr);
    ~StatusNotifierItem() override;

    // Whether a panel's watcher took the item.
    bool isRegistered() const { return m_registered; }
    // Tells the menu whether the window shows (Show window / Hide window).
    void setWindowShown(bool shown);

    QString toolTipTitle() const;
    QString toolTipText() const;
    SniPixmaps iconPixmaps() const;
    DBusMenu* menu() const { return m_menu; }

signals:
    void activateRequested();
    void quitRequested();
    void registeredChanged();
    // Properties hosts read again on these (NewToolTip, NewStatus ...).
    void toolTipChanged();

private:
    void registerWithWatcher();
    void updateMenu();

    QDBusConnection m_bus;
    Player* m_player;
    QString m_iconName;
    QString m_iconFile;
    QString m_serviceName;
    QObject* m_exported;
    QObject* m_menuObject;
    DBusMenu* m_menu;
    QDBusServiceWatcher* m_watcher;
    mutable SniPixmaps m_pixmaps; // drawn when a host first asks
    bool m_windowShown = true;
    bool m_registered = false;
};

class StatusNotifierItemAdaptor final : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierItem")
    Q_PROPERTY(QString Category READ category)
    Q_PROPERTY(QString Id READ id)
    Q_PROPERTY(QString Title READ title)
    Q_PROPERTY(QString Status READ status)
    Q_PROPERTY(int WindowId READ windowId)
    Q_PROPERTY(QString IconThemePath READ iconThemePath)
    Q_PROPERTY(QString IconName READ iconName)
    Q_PROPERTY(SniPixmaps IconPixmap READ iconPixmap)
    Q_PROPERTY(QString OverlayIconName READ empty)
    Q_PROPERTY(SniPixmaps OverlayIconPixmap READ noPixmaps)
    Q_PROPERTY(QString AttentionIconName READ empty)
    Q_PROPERTY(SniPixmaps AttentionIconPixmap READ noPixmaps)
    Q_PROPERTY(QString AttentionMovieName READ empty)
    Q_PROPERTY(SniToolTip ToolTip READ toolTip)
    Q_PROPERTY(bool ItemIsMenu READ itemIsMenu)
    Q_PROPERTY(QDBusObjectPath Menu READ menu)

public:
    StatusNotifierItemAdaptor(QObject* exported, StatusNotifierItem* item, Player* player, QString iconName);

    QString category() const { return QStringLiteral("ApplicationStatus"); }
    QString id() const;
    QString title() const;
    QString status() const { return QStringLiteral("Active"); }
    int windowId() const { return 0; }
    QString iconThemePath() const { return {}; }
    QString iconName() const { return m_iconName; }
    SniPixmaps iconPixmap() const { return m_item->iconPixmaps(); }
    QString empty() const { return {}; }
    SniPixmaps noPixmaps() const { return {}; }
    SniToolTip toolTip() const;
    bool itemIsMenu() const { return false; }
    QDBusObjectPath menu() const { return QDBusObjectPath(QStringLiteral("/MenuBar")); }

public slots:
    void Activate(int x, int y);
    void SecondaryActivate(int x, int y);
    void ContextMenu(int x, int y);
    void Scroll(int delta, const QString& orientation);

signals:
    void NewTitle();
    void NewIcon();
    void NewToolTip();
    void NewStatus(const QString& status);

private:
    StatusNotifierItem* m_item;
    Player* m_player;
    QString m_iconName;
};
