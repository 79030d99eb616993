// One player per session. The first window process owns the application's
// bus name (its desktop file id) and answers org.freedesktop.Application
// there, the interface desktops use to activate an application; a second
// start finds the name taken, asks the first to show its window (Activate)
// or to use its catalogue (Open), and exits.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class SingleInstance final : public QObject {
    Q_OBJECT

public:
    enum class Outcome { first, handedOver, noBus };

    // `appId` is the desktop file id (io.github.quillora.Quillora).
    explicit SingleInstance(const QString& appId, QObject* parent = nullptr);
    ~SingleInstance() override;

    // Takes the name, or hands `catalogue` (may be empty) to the process
    // that has it. With no session bus every start is a first one.
    Outcome claim(const QString& catalogue);

    // The object path org.freedesktop.Application expects for an id.
    static QString objectPath(const QString& appId);

signals:
    // Another start asked for the window (Activate, or Open with no address).
    void activated();
    // Another start passed on its --catalogue.
    void openRequested(const QString& catalogue);

private:
    QString m_appId;
    bool m_registered = false;
};
