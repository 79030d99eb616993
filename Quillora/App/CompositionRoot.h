// The one place where the player and everything it talks to are built, for
// the headless player and the window alike: the application's store
// (through the Application) and what it remembers, the catalogue
// in use, the media player, the now-playing registry, the media controls on
// the session bus and the station directory. The window adds its QML engine
// and screen on top (MainWindow); the headless player runs the root as
// it is.
//
// It is the one part that names more than one module: it reads the
// environment and the settings file once and hands each value down, and
// connects the player's changes to the now-playing publisher, the
// directory's click counting and the store.
//
// It saves the store's pending changes when the application quits, and
// takes the media controls off the bus before the player goes, so that no
// call from the desktop reaches a player being torn down.
#pragma once

#include "Support/Config.h"

#include <QObject>
#include <QString>

#include <memory>

class ActiveCatalogue;
class Application;
class DirectoryClient;
class DirectorySearchModel;
class MprisService;
class NetworkReachability;
class NowPlayingPublisher;
class NowPlayingSink;
class Player;
class Preferences;
class RecentlyPlayed;
class Recorder;
class SleepTimer;
class SongHistory;
class SongNotifier;
class StateStore;
class SuspendInhibitor;

class CompositionRoot final : public QObject {
    Q_OBJECT

public:
    // Opens the store first: a store that cannot be created ends the
    // application here, before anything else is built. `catalogueValue` is
    // --catalogue as given (empty: the environment, the settings, else My
    // stations).
    CompositionRoot(Application& application, const QString& catalogueValue, QObject* parent = nullptr);
    ~CompositionRoot() override;

    Player& player() const { return *m_player; }
    ActiveCatalogue& catalogue() const { return *m_catalogue; }
    RecentlyPlayed& recentlyPlayed() const { return *m_recentlyPlayed; }
    Recorder& recorder() const { return *m_recorder; }
    NowPlayingSink& nowPlaying() const { return *m_nowPlaying; }
    MprisService& mediaControls() const { return *m_mediaControls; }
    DirectoryClient& directory() const { return *m_directory; }
    // The Discover sheet's results.
    DirectorySearchModel& directorySearch() const { return *m_directorySearch; }
    // The desktop settings (quillora.conf), read once at construction.
    Preferences& preferences() const { return *m_preferences; }
    SleepTimer& sleepTimer() const { return *m_sleepTimer; }
    // Song notifications; the window silences them while it has focus.
    SongNotifier& songNotifier() const { return *m_notifier; }
    // The environment variables, read once at construction.
    const Environment& environment() const { return m_environment; }

    // Puts the media controls on the session bus (one line and on without
    // them when there is none). `canRaise`: there is a window to bring up.
    void registerMediaControls(bool canRaise);

    // Writes the store's pending changes.
    void save();

signals:
    // The desktop asked to show the window.
    void raiseRequested();

private:
    void rememberWhatIsPlaying();

    Application& m_application;
    const Environment m_environment;
    std::unique_ptr<StateStore> m_store;
    std::unique_ptr<SongHistory> m_songHistory;
    NetworkReachability* m_reachability;
    std::unique_ptr<ActiveCatalogue> m_catalogue;
    std::unique_ptr<NowPlayingSink> m_nowPlaying;
    std::unique_ptr<Player> m_player;
    NowPlayingPublisher* m_publisher;
    std::unique_ptr<MprisService> m_mediaControls;
    RecentlyPlayed* m_recentlyPlayed;
    Recorder* m_recorder;
    DirectoryClient* m_directory;
    DirectorySearchModel* m_directorySearch;
    Preferences* m_preferences;
    SleepTimer* m_sleepTimer;
    SongNotifier* m_notifier;
    SuspendInhibitor* m_inhibitor;
};
