// The colour scheme follows the desktop portal's preference, read at start
// and announced later, over a private session bus (the test runs under
// dbus-run-session) with a stand-in portal.
#include "Views/ColorScheme.h"

#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusVariant>
#include <QGuiApplication>
#include <QSignalSpy>
#include <QTest>

namespace {

// The part of org.freedesktop.portal.Settings that the scheme reads.
class PortalSettings : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Settings")

public:
    explicit PortalSettings(QObject* parent)
        : QDBusAbstractAdaptor(parent)
    {
    }
    uint preference = 1;

public slots:
    QDBusVariant Read(const QString& group, const QString& key)
    {
        if (group == QLatin1String("org.freedesktop.appearance") && key == QLatin1String("color-scheme"))
            // Older portals wrap the value twice.
            return QDBusVariant(QVariant::fromValue(QDBusVariant(preference)));
        return QDBusVariant(QString());
    }

signals:
    void SettingChanged(const QString& group, const QString& key, const QDBusVariant& value);
};

} // namespace

class ColorSchemeTests : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { ColorScheme::setOverride({}); }

    void followsThePortal()
    {
        QObject portal;
        auto* settings = new PortalSettings(&portal);
        // The portal on a connection of its own, as another process would be.
        QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("portal"));
        QVERIFY(bus.isConnected());
        QVERIFY(bus.registerObject(QStringLiteral("/org/freedesktop/portal/desktop"), &portal));
        QVERIFY(bus.registerService(QStringLiteral("org.freedesktop.portal.Desktop")));

        ColorScheme scheme;
        QTRY_VERIFY(scheme.dark());

        QSignalSpy changed(&scheme, &ColorScheme::darkChanged);
        emit settings->SettingChanged(QStringLiteral("org.freedesktop.appearance"), QStringLiteral("color-scheme"),
                                      QDBusVariant(uint(2)));
        QTRY_COMPARE(changed.count(), 1);
        QVERIFY(!scheme.dark());
        // Other settings are not the scheme's business: one of another group,
        // then the scheme's own, unchanged and then dark, arrive in order;
        // only the last is a change.
        emit settings->SettingChanged(QStringLiteral("org.gnome.desktop.interface"), QStringLiteral("color-scheme"),
                                      QDBusVariant(uint(1)));
        for (const uint preference : {2u, 1u})
            emit settings->SettingChanged(QStringLiteral("org.freedesktop.appearance"), QStringLiteral("color-scheme"),
                                          QDBusVariant(preference));
        QTRY_VERIFY(scheme.dark());
        QCOMPARE(changed.count(), 2);

        // The override wins over the portal.
        ColorScheme::setOverride(QStringLiteral("dark"));
        ColorScheme forced;
        QVERIFY(forced.dark());
        ColorScheme::setOverride({});
    }
};

QTEST_MAIN(ColorSchemeTests)
#include "ColorSchemeTests.moc"
