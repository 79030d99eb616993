#include "MediaControls/MprisService.h"

#include "Support/AppInfo.h"
#include "Diagnostics/Diagnostics.h"
#include "MediaControls/MprisPlayer.h"
#include "MediaControls/MprisRoot.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QStringList>

MprisService::MprisService(Player* player, NowPlayingSink* nowPlaying, QObject* parent)
    : QObject(parent)
    , m_exported(new QObject(this))
    , m_root(new MprisRoot(m_exported))
    , m_playerAdaptor(new MprisPlayer(m_exported, player, nowPlaying))
{
    connect(m_root, &MprisRoot::quitRequested, this, &MprisService::quitRequested);
    connect(m_root, &MprisRoot::raiseRequested, this, &MprisService::raiseRequested);
    connect(m_playerAdaptor, &MprisPlayer::propertiesChanged, this, [this](const QVariantMap& changed) {
        sendPropertiesChanged(QStringLiteral("org.mpris.MediaPlayer2.Player"), changed);
    });
}

MprisService::~MprisService()
{
    if (m_registeredName.isEmpty())
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.unregisterObject(QString::fromLatin1(objectPath));
    bus.unregisterService(m_registeredName);
}

QString MprisService::serviceName()
{
    return QStringLiteral("org.mpris.MediaPlayer2.") + AppInfo::applicationName();
}

bool MprisService::registerOnSessionBus()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        printLine(QCoreApplication::translate("MprisService", "No D-Bus session bus: media controls are off"));
        return false;
    }
    if (!bus.registerObject(QString::fromLatin1(objectPath), m_exported, QDBusConnection::ExportAdaptors)) {
        printLine(QCoreApplication::translate("MprisService", "Cannot export the media controls: %1").arg(bus.lastError().message()));
        return false;
    }
    // A second running player takes the name MPRIS reserves for instances.
    QString name = serviceName();
    if (!bus.registerService(name)) {
        name += QStringLiteral(".instance%1").arg(QCoreApplication::applicationPid());
        if (!bus.registerService(name)) {
            printLine(QCoreApplication::translate("MprisService", "Cannot register the media controls: %1").arg(bus.lastError().message()));
            bus.unregisterObject(QString::fromLatin1(objectPath));
            return false;
        }
    }
    m_registeredName = name;
    return true;
}

void MprisService::sendPropertiesChanged(const QString& interface, const QVariantMap& changed)
{
    if (m_registeredName.isEmpty())
        return;
    QDBusMessage signal = QDBusMessage::createSignal(QString::fromLatin1(objectPath),
                                                     QStringLiteral("org.freedesktop.DBus.Properties"),
                                                     QStringLiteral("PropertiesChanged"));
    signal << interface << changed << QStringList();
    QDBusConnection::sessionBus().send(signal);
}
