#include "Desktop/SongNotifier.h"

#include "Diagnostics/Diagnostics.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QUrl>

SongNotifier::SongNotifier(QDBusConnection bus, QString appName, QString desktopEntry, QObject* parent)
    : QObject(parent)
    , m_bus(std::move(bus))
    , m_appName(std::move(appName))
    , m_desktopEntry(std::move(desktopEntry))
{
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
    if (m_portal) {
        QDBusMessage call = QDBusMessage::createMethodCall(
            QStringLiteral("org.freedesktop.portal.Desktop"), QStringLiteral("/org/freedesktop/portal/desktop"),
            QStringLiteral("org.freedesktop.portal.Notification"), QStringLiteral("AddNotification"));
        QVariantMap notification{{QStringLiteral("title"), song.song}, {QStringLiteral("body"), song.station}};
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
         << song.station.toHtmlEscaped() << QStringList() << hints << -1;
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
