// The application's one model object: the catalogue as loaded, the selected
// station and whether it plays.
//
// Every assignment of a published property first emits objectWillChange(),
// then stores, then emits its ...Changed signal (only when the value
// differs, so QML bindings do not loop). Every assignment of
// selectedStationIndex - even of the same value - loads the selected
// station's stream into the media player and republishes the now-playing
// information. Main thread only.
//
// The catalogue reaches the screens through stationModel, a list model the
// player owns and keeps in step with `stations`; the list and the playing
// flag change only through the player's commands and its catalogue source.
//
// Create it with Player::create(): it hands itself to its catalogue source
// as a shared delegate.
#pragma once

#include "Catalogue/StationsLoader.h"
#include "Model/StationListModel.h"

#include <QList>
#include <QObject>
#include <QVariant>

#include <memory>
#include <optional>

class MediaPlayer;
class NowPlayingCenter;
class NowPlayingPublisher;

class Player final : public QObject,
                     public StationsLoaderDelegate,
                     public std::enable_shared_from_this<Player> {
    Q_OBJECT
    Q_PROPERTY(QList<Station> stations READ stations NOTIFY stationsChanged)
    Q_PROPERTY(StationListModel* stationModel READ stationModel CONSTANT)
    Q_PROPERTY(qint64 selectedStationIndex READ selectedStationIndex WRITE setSelectedStationIndex NOTIFY
                   selectedStationIndexChanged)
    Q_PROPERTY(bool isPlaying READ isPlaying NOTIFY isPlayingChanged)
    Q_PROPERTY(QVariant station READ stationValue NOTIFY stationChanged)
    Q_PROPERTY(float volume READ volume WRITE setVolume NOTIFY volumeChanged)

    struct Passkey {
        explicit Passkey() = default;
    };

public:
    // Takes ownership of mediaPlayer. nowPlaying may be null (no publication).
    static std::shared_ptr<Player> create(std::shared_ptr<StationsLoader> loader, MediaPlayer* mediaPlayer,
                                          NowPlayingCenter* nowPlaying = nullptr);
    Player(Passkey, std::shared_ptr<StationsLoader> loader, MediaPlayer* mediaPlayer, NowPlayingCenter* nowPlaying);
    ~Player() override;

    const QList<Station>& stations() const { return m_stations; }
    // The catalogue as the screens list it; owned by the player.
    StationListModel* stationModel() const { return m_stationModel; }
    qint64 selectedStationIndex() const { return m_selectedStationIndex; }
    void setSelectedStationIndex(qint64 index);
    bool isPlaying() const { return m_isPlaying; }

    // The selected station; none for an empty catalogue (or, transiently, an
    // index outside the list).
    std::optional<Station> station() const;
    float volume() const;
    void setVolume(float volume);

    Q_INVOKABLE void loadStations();
    Q_INVOKABLE void tooglePlayback();
    Q_INVOKABLE void resume();
    Q_INVOKABLE void stop();
    Q_INVOKABLE void next();
    Q_INVOKABLE void prev();

    void onLoaded(const QList<Station>& stations) override;
    void onFailed() override;

signals:
    void objectWillChange();
    void stationsChanged();
    void selectedStationIndexChanged();
    void isPlayingChanged();
    void stationChanged();
    void volumeChanged();
    // The stream failed or ended by itself and playback stopped.
    void playbackStopped(const QString& reason);

private:
    void setStations(const QList<Station>& stations);
    void setIsPlaying(bool playing);
    QVariant stationValue() const;
    void loadStation();
    void showInfo(const std::optional<Station>& station);
    void onPlaybackEnded(const QString& message);

    std::shared_ptr<StationsLoader> m_loader;
    MediaPlayer* m_player;
    NowPlayingPublisher* m_publisher = nullptr;
    StationListModel* m_stationModel;
    QList<Station> m_stations;
    qint64 m_selectedStationIndex = 0;
    bool m_isPlaying = false;
};
