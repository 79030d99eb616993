// org.mpris.MediaPlayer2: the application itself.
#pragma once

#include <QDBusAbstractAdaptor>
#include <QStringList>

class MprisRoot final : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2")
    Q_PROPERTY(bool CanQuit READ canQuit)
    Q_PROPERTY(bool CanRaise READ canRaise)
    Q_PROPERTY(bool HasTrackList READ hasTrackList)
    Q_PROPERTY(QString Identity READ identity)
    Q_PROPERTY(QString DesktopEntry READ desktopEntry)
    Q_PROPERTY(QStringList SupportedUriSchemes READ supportedUriSchemes)
    Q_PROPERTY(QStringList SupportedMimeTypes READ supportedMimeTypes)

public:
    explicit MprisRoot(QObject* exported);

    // A window can be raised; the headless player has none.
    void setCanRaise(bool canRaise) { m_canRaise = canRaise; }

    bool canQuit() const { return true; }
    bool canRaise() const { return m_canRaise; }
    bool hasTrackList() const { return false; }
    QString identity() const;
    // The desktop file id, so shells show our name and icon.
    QString desktopEntry() const;
    // Stations come from the catalogue only; nothing can be opened by URI.
    QStringList supportedUriSchemes() const { return {}; }
    QStringList supportedMimeTypes() const { return {}; }

public slots:
    void Raise();
    void Quit();

signals:
    void raiseRequested();
    void quitRequested();

private:
    bool m_canRaise = false;
};
