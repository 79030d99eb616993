// The one place where the player and everything it talks to are built, for
// the headless player and the window alike: the application's store (through
// the application delegate), the catalogue source, the media player, the
// now-playing registry and the media controls on the session bus. The window
// adds its QML engine and screen on top (SceneDelegate); the headless player
// runs the root as it is.
//
// It saves the store's pending changes when the application quits, and
// takes the media controls off the bus before the player goes, so that no
// call from the desktop reaches a player being torn down.
#pragma once

#include <QObject>
#include <QString>

#include <memory>

class AppDelegate;
class DirectoryClient;
class DirectorySearchModel;
class MprisService;
class NowPlayingCenter;
class Player;

class CompositionRoot final : public QObject {
    Q_OBJECT

public:
    // Opens the store first: a store that cannot be created ends the
    // application here, before anything else is built.
    CompositionRoot(AppDelegate& appDelegate, const QString& catalogueUrl, QObject* parent = nullptr);
    ~CompositionRoot() override;

    Player& player() const { return *m_player; }
    NowPlayingCenter& nowPlaying() const { return *m_nowPlaying; }
    MprisService& mediaControls() const { return *m_mediaControls; }
    DirectoryClient& directory() const { return *m_directory; }
    // The Discover sheet's results.
    DirectorySearchModel& directorySearch() const { return *m_directorySearch; }

    // Puts the media controls on the session bus (one line and on without
    // them when there is none). `canRaise`: there is a window to bring up.
    void registerMediaControls(bool canRaise);

    // Writes the store's pending changes.
    void save();

signals:
    // The desktop asked to show the window.
    void raiseRequested();

private:
    AppDelegate& m_appDelegate;
    std::unique_ptr<NowPlayingCenter> m_nowPlaying;
    std::shared_ptr<Player> m_player;
    std::unique_ptr<MprisService> m_mediaControls;
    DirectoryClient* m_directory;
    DirectorySearchModel* m_directorySearch;
};
