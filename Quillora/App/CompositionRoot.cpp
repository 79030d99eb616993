#include "App/CompositionRoot.h"

#include "App/AppDelegate.h"
#include "Catalogue/GSheetStationsLoader.h"
#include "Directory/DirectoryClient.h"
#include "Directory/DirectorySearchModel.h"
#include "MediaControls/MprisRoot.h"
#include "MediaControls/MprisService.h"
#include "MediaControls/NowPlayingCenter.h"
#include "Model/Player.h"
#include "Playback/MpvMediaPlayer.h"

#include <QCoreApplication>

CompositionRoot::CompositionRoot(AppDelegate& appDelegate, const QString& catalogueUrl, QObject* parent)
    : QObject(parent)
    , m_appDelegate(appDelegate)
{
    m_appDelegate.persistentContainer();

    m_nowPlaying = std::make_unique<NowPlayingCenter>();
    m_player = Player::create(std::make_shared<GSheetStationsLoader>(catalogueUrl), new MpvMediaPlayer(),
                              m_nowPlaying.get());
    m_mediaControls = std::make_unique<MprisService>(m_player, m_nowPlaying.get());
    connect(m_mediaControls.get(), &MprisService::quitRequested, qApp, &QCoreApplication::quit,
            Qt::QueuedConnection);
    connect(m_mediaControls.get(), &MprisService::raiseRequested, this, &CompositionRoot::raiseRequested);
    connect(qApp, &QCoreApplication::aboutToQuit, this, &CompositionRoot::save);

    // Nothing is asked of the directory until the Discover sheet searches.
    m_directory = new DirectoryClient(this);
    m_directorySearch = new DirectorySearchModel(m_directory, this);
}

CompositionRoot::~CompositionRoot()
{
    delete m_directorySearch;
    m_mediaControls.reset();
    m_player->stop();
}

void CompositionRoot::registerMediaControls(bool canRaise)
{
    m_mediaControls->root()->setCanRaise(canRaise);
    m_mediaControls->registerOnSessionBus();
}

void CompositionRoot::save()
{
    m_appDelegate.saveContext();
}
