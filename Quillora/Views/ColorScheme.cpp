#include "ColorScheme.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QEvent>
#include <QGuiApplication>
#include <QPalette>

namespace {

const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString settingsInterface = QStringLiteral("org.freedesktop.portal.Settings");
const QString appearance = QStringLiteral("org.freedesktop.appearance");
const QString colorSchemeKey = QStringLiteral("color-scheme");

// The portal wraps the value in one or two variants, depending on its version.
uint unwrap(QVariant value)
{
    while (value.canConvert<QDBusVariant>() && value.userType() == qMetaTypeId<QDBusVariant>())
        value = value.value<QDBusVariant>().variant();
    bool ok = false;
    const uint preference = value.toUInt(&ok);
    return ok && preference <= 2 ? preference : 0;
}

QString overridden;

} // namespace

void ColorScheme::setOverride(const QString& scheme)
{
    overridden = scheme.trimmed().toLower();
}

ColorScheme::ColorScheme(QObject* parent)
    : QObject(parent)
{
    if (qApp)
        qApp->installEventFilter(this);
    update();
    askPortal();
}

void ColorScheme::askPortal()
{
    if (overridden == QLatin1String("light") || overridden == QLatin1String("dark"))
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    bus.connect(portalService, portalPath, settingsInterface, QStringLiteral("SettingChanged"), this,
                SLOT(onSettingChanged(QDBusMessage)));
    QDBusMessage read = QDBusMessage::createMethodCall(portalService, portalPath, settingsInterface,
                                                       QStringLiteral("Read"));
    read << appearance << colorSchemeKey;
    // Asynchronous: start-up does not wait for the portal.
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(read, 2000), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher] {
        watcher->deleteLater();
        const QDBusPendingReply<QVariant> reply = *watcher;
        if (reply.isValid()) {
            m_portalPreference = unwrap(reply.value());
            update();
        }
    });
}

void ColorScheme::onSettingChanged(const QDBusMessage& message)
{
    const QVariantList arguments = message.arguments();
    if (arguments.size() != 3 || arguments[0].toString() != appearance || arguments[1].toString() != colorSchemeKey)
        return;
    m_portalPreference = unwrap(arguments[2]);
    update();
}

bool ColorScheme::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == qApp && event->type() == QEvent::ApplicationPaletteChange)
        update();
    return false;
}

void ColorScheme::setPreference(const QString& preference)
{
    if (preference == m_preference)
        return;
    m_preference = preference;
    emit preferenceChanged();
    update();
}

void ColorScheme::update()
{
    bool dark;
    if (overridden == QLatin1String("dark"))
        dark = true;
    else if (overridden == QLatin1String("light"))
        dark = false;
    else if (m_preference == QLatin1String("dark") || m_preference == QLatin1String("light"))
        dark = m_preference == QLatin1String("dark");
    else if (m_portalPreference != 0)
        dark = m_portalPreference == 1;
    else
        dark = QGuiApplication::palette().color(QPalette::Window).lightness() < 128;
    if (dark == m_dark)
        return;
    m_dark = dark;
    emit darkChanged();
}
