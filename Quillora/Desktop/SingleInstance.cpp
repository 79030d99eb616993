#include "Desktop/SingleInstance.h"

#include "Diagnostics/Diagnostics.h"

#include <QCoreApplication>
#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusVariant>

namespace {

class ApplicationAdaptor final : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Application")

public:
    ApplicationAdaptor(SingleInstance* instance)
        : QDBusAbstractAdaptor(instance)
        , m_instance(instance)
    {
    }

public slots:
    void Activate(const QVariantMap& platformData)
    {
        Q_UNUSED(platformData);
        emit m_instance->activated();
    }
    void Open(const QStringList& uris, const QVariantMap& platformData)
    {
        Q_UNUSED(platformData);
        if (uris.isEmpty())
            emit m_instance->activated();
        else
            emit m_instance->openRequested(uris.first());
    }
    void ActivateAction(const QString& name, const QVariantList& parameters, const QVariantMap& platformData)
    {
        Q_UNUSED(name);
        Q_UNUSED(parameters);
        Q_UNUSED(platformData);
        emit m_instance->activated();
    }

private:
    SingleInstance* m_instance;
};

} // namespace

SingleInstance::SingleInstance(const QString& appId, QObject* parent)
    : QObject(parent)
    , m_appId(appId)
{
    new ApplicationAdaptor(this);
}

SingleInstance::~SingleInstance()
{
    if (!m_registered)
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.unregisterObject(objectPath(m_appId));
    bus.unregisterService(m_appId);
}

QString SingleInstance::objectPath(const QString& appId)
{
    QString path = QLatin1Char('/') + appId;
    path.replace(QLatin1Char('.'), QLatin1Char('/'));
    path.replace(QLatin1Char('-'), QLatin1Char('_'));
    return path;
}

SingleInstance::Outcome SingleInstance::claim(const QString& catalogue)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return Outcome::noBus;
    // The object first, so that a second start that finds the name finds
    // someone answering on it.
    if (!bus.registerObject(objectPath(m_appId), this, QDBusConnection::ExportAdaptors))
        return Outcome::noBus;
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply = bus.interface()->registerService(
        m_appId, QDBusConnectionInterface::DontQueueService, QDBusConnectionInterface::DontAllowReplacement);
    if (reply.isValid() && reply.value() == QDBusConnectionInterface::ServiceRegistered) {
        m_registered = true;
        return Outcome::first;
    }
    bus.unregisterObject(objectPath(m_appId));
    if (!reply.isValid()) {
        printLine(QCoreApplication::translate("SingleInstance", "Cannot claim %1 on the session bus: %2").arg(m_appId, reply.error().message()));
        return Outcome::noBus;
    }

    QDBusMessage call = catalogue.isEmpty()
        ? QDBusMessage::createMethodCall(m_appId, objectPath(m_appId), QStringLiteral("org.freedesktop.Application"),
                                         QStringLiteral("Activate"))
        : QDBusMessage::createMethodCall(m_appId, objectPath(m_appId), QStringLiteral("org.freedesktop.Application"),
                                         QStringLiteral("Open"));
    if (!catalogue.isEmpty())
        call << QStringList{catalogue};
    call << QVariantMap();
    // A first process that hangs must not keep this one: the call is bounded.
    const QDBusMessage answer = bus.call(call, QDBus::Block, 900);
    if (answer.type() == QDBusMessage::ErrorMessage) {
        printLine(QCoreApplication::translate("SingleInstance", "Quillora is running but does not answer: %1").arg(answer.errorMessage()));
        return Outcome::noBus;
    }
    return Outcome::handedOver;
}

#include "SingleInstance.moc"
