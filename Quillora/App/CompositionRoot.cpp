#include "App/CompositionRoot.h"

#include "App/Application.h"
#include "Catalogue/ActiveCatalogue.h"
#include "Directory/DirectoryClient.h"
#include "Directory/DirectorySearchModel.h"
#include "MediaControls/MprisRoot.h"
#include "MediaControls/MprisService.h"
#include "MediaControls/NowPlayingPublisher.h"
#include "MediaControls/NowPlayingSink.h"
#include "Model/Player.h"
#include "Model/RecentlyPlayed.h"
#include "Playback/MpvMediaPlayer.h"
#include "RemoteImage/Services.h"
#include "Store/SongHistory.h"
#include "Store/StateStore.h"
#include "Support/Config.h"
#include "Support/NetworkPolicy.h"
#include "Support/NetworkReachability.h"

#include <QCoreApplication>

CompositionRoot::CompositionRoot(Application& application, const QString& catalogueValue, QObject* parent)
    : QObject(parent)
    , m_application(application)
{
    // The logos' servers hear the same name as the catalogue's and the
    // directory's.
    remoteimage::NetworkConfiguration images;
    images.userAgent = NetworkPolicy::userAgent();
    remoteimage::setNetworkConfiguration(images);

    Database& container = m_application.database();
    m_store = std::make_unique<StateStore>(container);
    m_reachability = new NetworkReachability(this);

    // The environment and the settings file, read once, here.
    const Environment environment = Environment::read();
    const QString settingsFile = Config::configurationFile();
    const CatalogueChoice choice = CatalogueChoice::resolve(catalogueValue, environment.catalogue,
                                                            Config::catalogueSetting(settingsFile), settingsFile);
    m_catalogue = std::make_unique<ActiveCatalogue>(choice.source, m_store.get(), m_reachability);
    m_nowPlaying = std::make_unique<NowPlayingSink>();
    m_player = std::make_unique<Player>(
        m_catalogue.get(), new MpvMediaPlayer(MpvMediaPlayer::parseOptions(environment.mpvOptions)), m_reachability);
    m_publisher = new NowPlayingPublisher(m_nowPlaying.get(), this);
    connect(m_player.get(), &Player::nowPlayingChanged, m_publisher,
            [this] { m_publisher->showInfo(m_player->station()); });

    // What the listener had last time, before anything is shown: the
    // volume, the station (by id, per catalogue), the catalogue itself when
    // it is local or stored.
    if (const std::optional<float> volume = m_store->volume())
        m_player->setVolume(*volume);
    m_player->setPreferredStationId(m_store->selectedStationId(m_catalogue->source().storeKey()));
    if (const QList<Station> stored = m_catalogue->restoreFromDisk(); !stored.isEmpty())
        m_player->applyCatalogue(stored);
    connect(m_player.get(), &Player::stationChanged, this, &CompositionRoot::rememberWhatIsPlaying);
    connect(m_player.get(), &Player::volumeChanged, this, [this] { m_store->setVolume(m_player->volume()); });
    connect(m_catalogue.get(), &ActiveCatalogue::sourceChanged, this, [this] {
        m_player->setPreferredStationId(m_store->selectedStationId(m_catalogue->source().storeKey()));
    });
    connect(m_catalogue.get(), &ActiveCatalogue::reloadRequested, m_player.get(), &Player::loadStations);

    m_songHistory = std::make_unique<SongHistory>(container);
    m_recentlyPlayed = new RecentlyPlayed(m_songHistory.get(), this);
    connect(m_player->session(), &PlaybackSession::songStarted, m_recentlyPlayed,
            [this](const QString& station, const QString& song) { m_recentlyPlayed->add(station, song); });

    m_mediaControls = std::make_unique<MprisService>(m_player.get(), m_nowPlaying.get());
    connect(m_mediaControls.get(), &MprisService::quitRequested, QCoreApplication::instance(), &QCoreApplication::quit,
            Qt::QueuedConnection);
    connect(m_mediaControls.get(), &MprisService::raiseRequested, this, &CompositionRoot::raiseRequested);
    connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this, &CompositionRoot::save);

    // Nothing is asked of the directory until the Discover sheet searches,
    // or a station found there plays (the directory counts the play).
    m_directory = new DirectoryClient(environment.directory, this);
    m_directorySearch = new DirectorySearchModel(m_directory, this);
    connect(m_player.get(), &Player::stationStarted, m_directory, [this](const Station& station) {
        if (!station.uuid.isEmpty())
            m_directory->countClick(station.uuid);
    });
}

CompositionRoot::~CompositionRoot()
{
    delete m_directorySearch;
    m_mediaControls.reset();
    m_player->stop();
    disconnect(m_player.get(), nullptr, this, nullptr);
}

void CompositionRoot::rememberWhatIsPlaying()
{
    const std::optional<Station> station = m_player->station();
    if (!station || m_player->isGuest())
        return;
    m_store->setSelectedStationId(m_catalogue->source().storeKey(), station->id);
    m_player->setPreferredStationId(station->id);
}

void CompositionRoot::registerMediaControls(bool canRaise)
{
    m_mediaControls->root()->setCanRaise(canRaise);
    m_mediaControls->registerOnSessionBus();
}

void CompositionRoot::save()
{
    m_application.saveChanges();
}
