// What happens to the stream the listener asked for: connecting, playing,
// reconnecting after a drop, or failed, with a short reason; the song on air
// and the stream's codec and bit rate.
//
// The owner (the player) says which station's stream it is (setStream) and
// whether the listener wants it to play (play, stop); the session drives the
// media player and keeps the stream going: a stream that ends or fails while
// wanted is reopened after 1 s, 2 s, 4 s, ... at most 30 s (see
// ReconnectPolicy), at once when the network comes back, and each attempt
// prints one line. A failure that retrying cannot mend ends in Failed after
// three tries. Stopping, or another station, cancels a pending attempt. The
// media player reopens the live stream, so a reconnect never plays stale
// audio.
//
// Main thread only.
#pragma once

#include "Playback/ReconnectPolicy.h"
#include "Playback/SongMetadata.h"
#include "Playback/StreamReport.h"

#include <QDeadlineTimer>
#include <QObject>
#include <QTimer>
#include <QUrl>

#include <chrono>

class MediaPlayer;
class NetworkReachability;

class PlaybackSession final : public QObject {
    Q_OBJECT
    Q_PROPERTY(State state READ state NOTIFY stateChanged)
    Q_PROPERTY(QString reason READ reason NOTIFY reasonChanged)
    Q_PROPERTY(int retryInSeconds READ retryInSeconds NOTIFY retryInSecondsChanged)
    Q_PROPERTY(QString songText READ songText NOTIFY songChanged)
    Q_PROPERTY(QString songArtist READ songArtist NOTIFY songChanged)
    Q_PROPERTY(QString songTitle READ songTitle NOTIFY songChanged)
    Q_PROPERTY(QString streamDetails READ streamDetails NOTIFY streamDetailsChanged)

public:
    enum class State {
        Stopped,      // the listener does not want it to play
        Connecting,   // opening the stream, or waiting for data after a stall
        Playing,      // sound comes out
        Reconnecting, // the stream dropped; waiting to try again, or trying
        Failed,       // given up; reason says why
    };
    Q_ENUM(State)

    struct Timing {
        ReconnectPolicy::Settings reconnect;
        // A stall shorter than this still counts as playing.
        std::chrono::milliseconds stallGrace{2000};
        // A song counts as started once it has been on air this long: a
        // title corrected a moment later is one song, and a station that
        // changes its title with every packet cannot flood a list of
        // recently played songs.
        std::chrono::milliseconds songSettle{2000};
    };

    // Takes ownership of mediaPlayer. reachability (not owned, may be null)
    // tells when the network is back.
    explicit PlaybackSession(MediaPlayer* mediaPlayer, NetworkReachability* reachability = nullptr,
                             QObject* parent = nullptr);
    PlaybackSession(MediaPlayer* mediaPlayer, NetworkReachability* reachability, const Timing& timing,
                    QObject* parent = nullptr);
    ~PlaybackSession() override;

    // The selected station's stream, and its title (a song title that only
    // repeats it is no song). While playing, switches to it at once; always
    // clears the song and cancels a pending attempt. An address that is not
    // http(s) cannot be played: Failed, if the listener wants to play.
    void setStream(const QUrl& url, const QString& stationTitle);
    QUrl stream() const { return m_url; }
    QString stationTitle() const { return m_stationTitle; }

    // The listener wants it to play / to stop. play() after Failed starts
    // over; while reconnecting, it tries at once.
    void play();
    void stop();

    float volume() const;
    void setVolume(float volume);

    State state() const { return m_state; }
    // Why it is reconnecting or failed, e.g. "Not found (404)"; else empty.
    QString reason() const { return m_reason; }
    // Seconds until the next attempt while one is pending, else 0.
    int retryInSeconds() const { return m_retryInSeconds; }
    const Song& song() const { return m_song; }
    QString songText() const { return m_song.text; }
    QString songArtist() const { return m_song.artist; }
    QString songTitle() const { return m_song.title; }
    // "AAC · 128 kbit/s" while a stream is open, else empty.
    QString streamDetails() const { return m_streamDetails; }

signals:
    void stateChanged();
    void reasonChanged();
    void retryInSecondsChanged();
    void songChanged();
    void streamDetailsChanged();
    // Another song came on air and stayed (for a list of recently played
    // songs).
    void songStarted(const QString& stationTitle, const QString& song);

private:
    void connectStream(State whileConnecting);
    void retryNow(const QString& why);
    void fail(const QString& reason);
    void cancelRetry();
    void updateCountdown();
    void onAudioPlayingChanged(bool playing);
    void onPlaybackEnded(const QString& message, EndCause cause);
    void onMetadataChanged(const StreamTags& tags);
    void setState(State state);
    void setReason(const QString& reason);
    void setRetryInSeconds(int seconds);
    void setSong(const Song& song);
    void setStreamDetails(const QString& details);

    MediaPlayer* m_media;
    NetworkReachability* m_reachability;
    Timing m_timing;
    ReconnectPolicy m_policy;
    QUrl m_url;
    QString m_stationTitle;
    bool m_wantsToPlay = false;
    int m_attempt = 0; // connections since the listener's last play or station change
    QString m_lastFailure; // the diagnostics of the last drop, for the attempt's line

    QTimer m_retryTimer;
    QTimer m_countdownTimer;
    QDeadlineTimer m_retryDeadline;
    QTimer m_stallTimer;
    QTimer m_songTimer;

    State m_state = State::Stopped;
    QString m_reason;
    int m_retryInSeconds = 0;
    Song m_song;
    QString m_streamDetails;
};
