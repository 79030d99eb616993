#include "Desktop/SuspendInhibitor.h"

#include "Diagnostics/Diagnostics.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace {
const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");
}

SuspendInhibitor::SuspendInhibitor(QDBusConnection sessionBus, QString appName, QObject* parent)
    : QObject(parent)
    , m_bus(std::move(sessionBus))
    , m_appName(std::move(appName))
{
}

SuspendInhibitor::~SuspendInhibitor()
{
    release();
}

void SuspendInhibitor::setInhibited(bool inhibited, const QString& reason)
{
    if (inhibited == m_wanted)
        return;
    m_wanted = inhibited;
    if (!inhibited) {
        release();
        return;
    }
    if (!m_asking && !isHeld())
        askPortal(reason);
}

void SuspendInhibitor::askPortal(const QString& reason)
{
    if (!m_bus.isConnected()) {
        askLogind(reason);
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(portalService, QStringLiteral("/org/freedesktop/portal/desktop"),
                                                       QStringLiteral("org.freedesktop.portal.Inhibit"),
                                                       QStringLiteral("Inhibit"));
    const QVariantMap options{{QStringLiteral("reason"), reason},
                              {QStringLiteral("handle_token"), QStringLiteral("quillora%1").arg(++m_token)}};
    call << QString() << suspendFlag << options;
    m_asking = true;
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, reason](QDBusPendingCallWatcher* call) {
        call->deleteLater();
        m_asking = false;
        const QDBusPendingReply<QDBusObjectPath> reply = *call;
        if (reply.isError()) {
            askLogind(reason);
            return;
        }
        m_handle = reply.value().path();
        // Playback stopped while the portal answered.
        if (!m_wanted)
            release();
    });
}

void SuspendInhibitor::askLogind(const QString& reason)
{
    QDBusConnection system = QDBusConnection::systemBus();
    if (!system.isConnected()) {
        printLine(QCoreApplication::translate("SuspendInhibitor", "Cannot keep the machine awake while playing: no portal and no logind"));
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("Inhibit"));
    call << QStringLiteral("sleep") << m_appName << reason << QStringLiteral("block");
    m_asking = true;
    auto* watcher = new QDBusPendingCallWatcher(system.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* call) {
        call->deleteLater();
        m_asking = false;
        const QDBusPendingReply<QDBusUnixFileDescriptor> reply = *call;
        if (reply.isError()) {
            printLine(QCoreApplication::translate("SuspendInhibitor", "Cannot keep the machine awake while playing: %1").arg(reply.error().message()));
            return;
        }
        m_lock = reply.value();
        if (!m_wanted)
            release();
    });
}

void SuspendInhibitor::release()
{
    if (!m_handle.isEmpty()) {
        m_bus.asyncCall(QDBusMessage::createMethodCall(portalService, m_handle,
                                                       QStringLiteral("org.freedesktop.portal.Request"),
                                                       QStringLiteral("Close")));
        m_handle.clear();
    }
    // Closing our copy of the descriptor ends logind's lock.
    m_lock = QDBusUnixFileDescriptor();
}
