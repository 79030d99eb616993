#include "Desktop/SongNotifier.h"

#include "Diagnostics/Diagnostics.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QUrl>

SongNotifier::SongNotifier(QDBusConnection bus, QString appName, QString desktopEntry, QObject* parent)
    : QObject(parent)
    , m_bus(std::move(bus))
    , m_appName(std::move(appName))
    , m_desktopEntry(std::move(desktopEntry))
{
    qDBusRegisterMetaType<QList<QVariantMap>>(); // the portal's buttons, aa{sv}
    // Only the notification server's and the portal's own signals count.
    m_bus.connect(QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("/org/freedesktop/Notifications"),
                  QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("ActionInvoked"), this,
                  SLOT(onActionInvoked(uint, QString)));
    m_bus.connect(QStringLiteral("org.freedesktop.portal.Desktop"), QStringLiteral("/org/freedesktop/portal/desktop"),
                  QStringLiteral("org.freedesktop.portal.Notification"), QStringLiteral("ActionInvoked"), this,
                  SLOT(onPortalActionInvoked(QString, QString, QVariantList)));
}

void SongNotifier::songStarted(const Song& song)
{
    if (!m_enabled || m_suppressed || song.song.isEmpty() || !m_bus.isConnected())
        return;
    if (m_waiting) {
        // The id of the first notification is not known yet: a second call
        // now would open a second one.
        m_next = song;
        return;
    }
    send(song);
}

void SongNotifier::send(const Song& song)
{
    m_shown = song;
    const QString saveLabel = tr("Save");
    if (m_portal) {
        QDBusMessage call = QDBusMessage::createMethodCall(
            QStringLiteral("org.freedesktop.portal.Desktop"), QStringLiteral("/org/freedesktop/portal/desktop"),
            QStringLiteral("org.freedesktop.portal.Notification"), QStringLiteral("AddNotification"));
        QVariantMap notification{{QStringLiteral("title"), song.song}, {QStringLiteral("body"), song.station}};
        if (song.canSave) {
            const QVariantMap button{{QStringLiteral("label"), saveLabel}, {QStringLiteral("action"), QStringLiteral("save")}};
            notification.insert(QStringLiteral("buttons"), QVariant::fromValue(QList<QVariantMap>{button}));
        }
        // The same id replaces the one shown.
        call << QStringLiteral("song") << notification;
        m_bus.asyncCall(call);
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    QVariantMap hints{{QStringLiteral("desktop-entry"), m_desktopEntry},
                      {QStringLiteral("category"), QStringLiteral("x-quillora.song")},
                      // Songs are news of the moment, not for the history.
                      {QStringLiteral("transient"), true}};
    if (!song.artPath.isEmpty())
        hints.insert(QStringLiteral("image-path"), QUrl::fromLocalFile(song.artPath).toString());
    call << m_appName << m_id << (song.artPath.isEmpty() ? m_desktopEntry : song.artPath) << song.song
         << song.station.toHtmlEscaped()
         << (song.canSave ? QStringList{QStringLiteral("save"), saveLabel} : QStringList()) << hints << -1;
    m_waiting = true;
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, &SongNotifier::onReply);
}

void SongNotifier::onReply(QDBusPendingCallWatcher* call)
{
    call->deleteLater();
    m_waiting = false;
    const QDBusPendingReply<uint> reply = *call;
    if (reply.isError())
        printLine(QCoreApplication::translate("SongNotifier", "The song notification failed: %1").arg(reply.error().message()));
    else
        m_id = reply.value();
    if (m_next) {
        const Song next = *m_next;
        m_next.reset();
        send(next);
    }
}

void SongNotifier::onActionInvoked(uint id, const QString& action)
{
    if (m_portal || id == 0 || id != m_id || action != QLatin1String("save") || !m_shown.canSave)
        return;
    emit saveRequested(m_shown.station, m_shown.song);
}

void SongNotifier::onPortalActionInvoked(const QString& id, const QString& action, const QVariantList& parameter)
{
    Q_UNUSED(parameter)
    if (!m_portal || id != QLatin1String("song") || action != QLatin1String("save") || !m_shown.canSave)
        return;
    emit saveRequested(m_shown.station, m_shown.song);
}
