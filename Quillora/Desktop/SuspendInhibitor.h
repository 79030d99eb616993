// Keeps the machine from suspending while a station plays, and only that:
// the screen may still blank and lock. Asks the desktop portal
// (org.freedesktop.portal.Inhibit, flag "suspend"), which works inside a
// sandbox too; where there is no portal, logind on the system bus (a
// "sleep" block lock, held as a file descriptor). Released when playback
// stops.
#pragma once

#include <QDBusConnection>
#include <QDBusUnixFileDescriptor>
#include <QObject>
#include <QString>

class SuspendInhibitor final : public QObject {
    Q_OBJECT

public:
    // The portal's flag for suspending; the idle flag (8) would also keep
    // the screen saver away, which a radio must not.
    static constexpr uint suspendFlag = 4;

    SuspendInhibitor(QDBusConnection sessionBus, QString appName, QObject* parent = nullptr);
    ~SuspendInhibitor() override;

    // `reason` is shown by the desktop where it lists what blocks suspend.
    void setInhibited(bool inhibited, const QString& reason);
    bool isHeld() const { return !m_handle.isEmpty() || m_lock.isValid(); }

private:
    void askPortal(const QString& reason);
    void askLogind(const QString& reason);
    void release();

    QDBusConnection m_bus;
    QString m_appName;
    bool m_wanted = false;
    bool m_asking = false;
    int m_token = 0;
    QString m_handle;              // the portal's request object
    QDBusUnixFileDescriptor m_lock; // logind's lock
};
