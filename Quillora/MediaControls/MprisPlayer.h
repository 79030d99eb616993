// org.mpris.MediaPlayer2.Player: the remote commands and the now-playing
// information of one live radio player. Qt property names are the D-Bus
// names. A live stream cannot seek and has no length.
//
// PlaybackStatus tells what a person would say: Playing while the listener
// wants it to play (also while it connects or reconnects); Paused after a
// pause (the play/pause toggle, on screen or here); Stopped after Stop,
// after the stream failed for good, and while there is no station at all.
//
// The metadata names the song on air where the stream sends one
// (xesam:title, and xesam:artist when the stream names the artist), the
// station as the album, and the station alone while there is no song. Play, pause and the station steps are offered
// only while the catalogue has stations.
#pragma once

#include <QDBusAbstractAdaptor>
#include <QDBusObjectPath>
#include <QVariantMap>

class Player;
class NowPlayingSink;

class MprisPlayer final : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
    Q_PROPERTY(QString PlaybackStatus READ playbackStatus)
    Q_PROPERTY(double Rate READ rate WRITE setRate)
    Q_PROPERTY(QVariantMap Metadata READ metadata)
    Q_PROPERTY(double Volume READ volume WRITE setVolume)
    Q_PROPERTY(qlonglong Position READ position)
    Q_PROPERTY(double MinimumRate READ rate)
    Q_PROPERTY(double MaximumRate READ rate)
    Q_PROPERTY(bool CanGoNext READ hasStations)
    Q_PROPERTY(bool CanGoPrevious READ hasStations)
    Q_PROPERTY(bool CanPlay READ hasStations)
    Q_PROPERTY(bool CanPause READ hasStations)
    Q_PROPERTY(bool CanSeek READ canSeek)
    Q_PROPERTY(bool CanControl READ canControl)

public:
    MprisPlayer(QObject* exported, Player* player, NowPlayingSink* nowPlaying);

    QString playbackStatus() const;
    double rate() const { return 1.0; }
    void setRate(double) {}
    QVariantMap metadata() const;
    double volume() const;
    void setVolume(double volume);
    qlonglong position() const { return 0; }
    bool hasStations() const;
    // Constant for the life of the object, as clients expect.
    bool canControl() const { return true; }
    bool canSeek() const { return false; }

public slots:
    void Next();
    void Previous();
    void Pause();
    void PlayPause();
    void Stop();
    void Play();
    void Seek(qlonglong offset);
    void SetPosition(const QDBusObjectPath& trackId, qlonglong position);
    void OpenUri(const QString& uri);

signals:
    void Seeked(qlonglong position);
    // Properties whose value changed (D-Bus names), for PropertiesChanged.
    void propertiesChanged(const QVariantMap& changed);

private:
    void checkChanges();

    Player* m_player; // not owned: the root removes the media controls first
    NowPlayingSink* m_nowPlaying;
    bool m_stopped = false; // Stop, or a stream that failed, since the last play
    QString m_lastStatus;
    bool m_lastHasStations = false;
    QVariantMap m_lastMetadata;
    double m_lastVolume = -1;
};
