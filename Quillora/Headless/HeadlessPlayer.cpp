#include "Headless/HeadlessPlayer.h"

#include "Catalogue/GSheetStationsLoader.h"
#include "Diagnostics/Diagnostics.h"
#include "Headless/SignalWatcher.h"
#include "Mpris/MprisService.h"
#include "NowPlaying/NowPlayingCenter.h"
#include "Playback/AudioSession.h"
#include "Playback/MpvMediaPlayer.h"
#include "Playback/Player.h"

#include <QCoreApplication>

namespace Headless {

int run(const QString& catalogueUrl)
{
    SignalWatcher watcher;
    QObject::connect(&watcher, &SignalWatcher::terminationRequested, QCoreApplication::instance(),
                     &QCoreApplication::quit);

    // Before the media player starts: its audio threads read the environment.
    AudioSession::configureOrReport();

    NowPlayingCenter nowPlaying;
    std::shared_ptr<Player> player = Player::create(std::make_shared<GSheetStationsLoader>(catalogueUrl),
                                                    new MpvMediaPlayer(), &nowPlaying);
    int exitCode = 0;
    {
        MprisService mpris(player, &nowPlaying);
        QObject::connect(&mpris, &MprisService::quitRequested, QCoreApplication::instance(), &QCoreApplication::quit,
                         Qt::QueuedConnection);
        mpris.registerOnSessionBus();

        player->loadStations();
        exitCode = QCoreApplication::exec();
        // Leave the bus before the player goes, so no client call reaches a
        // player that is being torn down.
    }
    player->stop();
    return exitCode;
}

} // namespace Headless
