// A desktop notification when the song changes: the song, the station and
// its logo. One notification, updated in place (replaces_id) rather than a
// new one per song, and none while the window has focus (the song is on
// screen). Off unless the listener turned it on.
//
// Outside a sandbox it talks to org.freedesktop.Notifications; inside one
// (Flatpak) to the portal's org.freedesktop.portal.Notification, whose
// notification id does the replacing.
//
// A song that can be saved (songs kept in mode decide) carries a "Save"
// action; choosing it emits saveRequested() for the song the notification
// shows.
#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QVariantList>

#include <optional>

class QDBusPendingCallWatcher;

class SongNotifier final : public QObject {
    Q_OBJECT

public:
    struct Song {
        QString song;
        QString station;
        QString artPath; // a local file, or empty
        bool canSave = false;

        bool operator==(const Song&) const = default;
    };

    SongNotifier(QDBusConnection bus, QString appName, QString desktopEntry, QObject* parent = nullptr);

    void setEnabled(bool enabled) { m_enabled = enabled; }
    // The window has focus: songs are not announced.
    void setSuppressed(bool suppressed) { m_suppressed = suppressed; }
    void setUsePortal(bool portal) { m_portal = portal; }

    void songStarted(const Song& song);

signals:
    void saveRequested(const QString& station, const QString& song);

private slots:
    // org.freedesktop.Notifications.ActionInvoked(u id, s action_key)
    void onActionInvoked(uint id, const QString& action);
    // org.freedesktop.portal.Notification.ActionInvoked(s id, s action, av parameter)
    void onPortalActionInvoked(const QString& id, const QString& action, const QVariantList& parameter);

private:
    void send(const Song& song);
    void onReply(QDBusPendingCallWatcher* call);

    QDBusConnection m_bus;
    QString m_appName;
    QString m_desktopEntry;
    bool m_enabled = false;
    bool m_suppressed = false;
    bool m_portal = false;
    // The server's id of our notification, once it answered.
    uint m_id = 0;
    bool m_waiting = false;
    // The song that came while a call was out; sent when it returns.
    std::optional<Song> m_next;
    // The song the notification shows (its Save action is for this one).
    Song m_shown;
};
