// The application's one model object: the catalogue as loaded, the selected
// station, whether the listener wants it to play, and what the stream does.
//
// Every assignment of a published property first emits objectWillChange(),
// then stores, then emits its ...Changed signal (only when the value
// differs, so QML bindings do not loop). Every assignment of
// selectedStationIndex - even of the same value - loads the selected
// station's stream and republishes the now-playing information. Main
// thread only.
//
// The catalogue reaches the screens through stationModel, a list model the
// player owns and keeps in step with `stations`; the list and the playing
// flag change only through the player's commands and its catalogue source.
//
// isPlaying is the listener's wish (the play/stop symbol); `session` says
// what actually happens: connecting, playing, reconnecting after a drop,
// failed with a reason, and the song on air.
//
// A catalogue that arrives selects the station with preferredStationId
// (the one remembered for its source), else the first. When that is the
// station already playing, its stream goes on undisturbed: a refreshed
// catalogue updates the cards without interrupting the music.
//
// A guest station (listenTo) is one played from outside the catalogue, a
// directory search result: it is the selected station until the listener
// picks one of the catalogue again.
//
// The root owns it and connects nowPlayingChanged() to the media
// controls' publisher: the model knows nothing of who shows what it plays.
#pragma once

#include "Catalogue/StationsLoader.h"
#include "Model/StationListModel.h"
#include "Playback/PlaybackSession.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QVariant>

#include <optional>

class MediaPlayer;
class NetworkReachability;

class Player final : public QObject {
    Q_OBJECT
    Q_PROPERTY(QList<Station> stations READ stations NOTIFY stationsChanged)
    Q_PROPERTY(StationListModel* stationModel READ stationModel CONSTANT)
    Q_PROPERTY(qint64 selectedStationIndex READ selectedStationIndex WRITE setSelectedStationIndex NOTIFY
                   selectedStationIndexChanged)
    Q_PROPERTY(bool isPlaying READ isPlaying NOTIFY isPlayingChanged)
    Q_PROPERTY(QVariant station READ stationValue NOTIFY stationChanged)
    Q_PROPERTY(bool isGuest READ isGuest NOTIFY stationChanged)
    Q_PROPERTY(float volume READ volume WRITE setVolume NOTIFY volumeChanged)
    Q_PROPERTY(PlaybackSession* session READ session CONSTANT)

public:
    // Takes ownership of mediaPlayer. The loader (the catalogue source) is
    // not owned and must outlive the player; reachability (not owned, may
    // be null) lets a dropped stream reconnect at once when the network
    // comes back.
    Player(StationsLoader* loader, MediaPlayer* mediaPlayer, NetworkReachability* reachability = nullptr,
           QObject* parent = nullptr);
    ~Player() override;

    const QList<Station>& stations() const { return m_stations; }
    // The catalogue as the screens list it; owned by the player.
    StationListModel* stationModel() const { return m_stationModel; }
    qint64 selectedStationIndex() const { return m_selectedStationIndex; }
    void setSelectedStationIndex(qint64 index);
    bool isPlaying() const { return m_isPlaying; }
    PlaybackSession* session() const { return m_session; }

    // The selected station: the guest while there is one, else the
    // catalogue's station at the selected index; none for an empty
    // catalogue (or, transiently, an index outside the list).
    std::optional<Station> station() const;
    bool isGuest() const { return m_guest.has_value(); }
    float volume() const;
    void setVolume(float volume);

    // The station a catalogue that arrives selects, by id; none: the first.
    void setPreferredStationId(std::optional<qint64> id) { m_preferredStationId = id; }

    // Asks the catalogue source for the stations; a load still in flight is
    // cancelled, only the newest answer counts. A source that has them at
    // hand answers at once.
    Q_INVOKABLE void loadStations();
    Q_INVOKABLE void togglePlayback();
    Q_INVOKABLE void resume();
    Q_INVOKABLE void stop();
    Q_INVOKABLE void next();
    Q_INVOKABLE void prev();
    // Plays a station that is not in the catalogue, at once; one on a
    // stream the catalogue holds selects that station instead.
    Q_INVOKABLE void listenTo(const Station& station);

    // A catalogue arrived (a load, or the stored copy shown before the first
    // one): it replaces the list and selects as described above.
    void applyCatalogue(const QList<Station>& stations);

signals:
    void objectWillChange();
    void stationsChanged();
    void selectedStationIndexChanged();
    void isPlayingChanged();
    void stationChanged();
    void volumeChanged();
    // The listener started this station: play after a stop, or another
    // station while playing (not a reconnect of the same one).
    void stationStarted(const Station& station);
    // The station to show as now playing, station(), is to be published
    // (again): after every selection, even of the same station, on play,
    // and for a guest.
    void nowPlayingChanged();

private:
    void setStations(const QList<Station>& stations);
    void setIsPlaying(bool playing);
    // Assigns the index; with keepStream the stream is not reloaded.
    void select(qint64 index, bool keepStream);
    bool dropGuest();
    QVariant stationValue() const;
    void loadStation();
    void answered(const StationsReply& reply);

    StationsLoader* m_loader;
    QPointer<StationsReply> m_loading;
    PlaybackSession* m_session;
    StationListModel* m_stationModel;
    QList<Station> m_stations;
    qint64 m_selectedStationIndex = 0;
    bool m_isPlaying = false;
    std::optional<Station> m_guest;
    std::optional<qint64> m_preferredStationId;
};
