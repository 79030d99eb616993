// The player on the session bus as org.mpris.MediaPlayer2.<application name>
// (org.mpris.MediaPlayer2.quillora), object
// /org/mpris/MediaPlayer2, with one adaptor per interface. Qt's adaptors do
// not announce property changes, so this sends
// org.freedesktop.DBus.Properties.PropertiesChanged itself.
#pragma once

#include <QObject>
#include <QString>

class MprisPlayer;
class MprisRoot;
class NowPlayingSink;
class Player;

class MprisService final : public QObject {
    Q_OBJECT

public:
    static constexpr const char* objectPath = "/org/mpris/MediaPlayer2";
    static QString serviceName();

    MprisService(Player* player, NowPlayingSink* nowPlaying, QObject* parent = nullptr);
    ~MprisService() override;

    // Registers on the session bus; prints one line and returns false when
    // there is no bus. The application runs on without media controls.
    bool registerOnSessionBus();
    const QString& registeredName() const { return m_registeredName; }

    MprisRoot* root() const { return m_root; }

signals:
    void quitRequested();
    void raiseRequested();

private:
    void sendPropertiesChanged(const QString& interface, const QVariantMap& changed);

    QObject* m_exported;
    MprisRoot* m_root;
    MprisPlayer* m_playerAdaptor;
    QString m_registeredName;
};
