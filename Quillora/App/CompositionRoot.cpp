#include "App/CompositionRoot.h"

#include "App/Application.h"
#include "Catalogue/ActiveCatalogue.h"
#include "Directory/DirectoryClient.h"
#include "Directory/DirectorySearchModel.h"
#include "MediaControls/MprisRoot.h"
#include "MediaControls/MprisService.h"
#include "MediaControls/NowPlayingSink.h"
#include "Model/Player.h"
#include "Model/RecentlyPlayed.h"
#include "Config.h"
#include "Playback/MpvMediaPlayer.h"
#include "Recording/Recorder.h"
#include "Store/StateStore.h"
#include "Support/NetworkReachability.h"

#include <QCoreApplication>
#include <QDir>
#include <QSettings>
#include <QStandardPaths>

CompositionRoot::CompositionRoot(Application& application, const QString& catalogueValue, QObject* parent)
    : QObject(parent)
    , m_application(application)
{
    Database& container = m_application.database();
    m_store = std::make_unique<StateStore>(container);
    m_reachability = new NetworkReachability(this);

    m_catalogue = std::make_shared<ActiveCatalogue>(CatalogueChoice::resolve(catalogueValue).source, m_store.get(),
                                                    m_reachability);
    m_nowPlaying = std::make_unique<NowPlayingSink>();
    auto* media = new MpvMediaPlayer();
    m_player = Player::create(m_catalogue, media, m_nowPlaying.get(), m_reachability);

    // What the listener had last time, before anything is shown: the
    // volume, the station (by id, per catalogue), the catalogue itself when
    // it is local or stored.
    if (const std::optional<float> volume = m_store->volume())
        m_player->setVolume(*volume);
    m_player->setPreferredStationId(m_store->selectedStationId(m_catalogue->source().storeKey()));
    m_catalogue->restoreFromDisk(*m_player);
    connect(m_player.get(), &Player::stationChanged, this, &CompositionRoot::rememberWhatIsPlaying);
    connect(m_player.get(), &Player::volumeChanged, this, [this] { m_store->setVolume(m_player->volume()); });
    connect(m_catalogue.get(), &ActiveCatalogue::sourceChanged, this, [this] {
        m_player->setPreferredStationId(m_store->selectedStationId(m_catalogue->source().storeKey()));
    });
    connect(m_catalogue.get(), &ActiveCatalogue::reloadRequested, m_player.get(), &Player::loadStations);

    m_recentlyPlayed = new RecentlyPlayed(&container, this);
    connect(m_player->session(), &PlaybackSession::songStarted, m_recentlyPlayed,
            [this](const QString& station, const QString& song) { m_recentlyPlayed->add(station, song); });

    // Songs kept as the [recording] settings say, in the window and headless.
    QSettings configuration(Config::configurationFile(), QSettings::IniFormat);
    m_recorder = new Recorder(RecordingSettings::read(configuration),
                              QDir(QStandardPaths::writableLocation(QStandardPaths::CacheLocation))
                                  .filePath(QStringLiteral("recordings")),
                              m_player->session(), media, this);
    connect(m_player.get(), &Player::stationChanged, m_recorder,
            [this] { m_recorder->setStation(m_player->session()->stream().toString()); });
    connect(m_recorder, &Recorder::songKept, m_recentlyPlayed, &RecentlyPlayed::markKept);
    connect(m_recorder, &Recorder::songSaved, m_recentlyPlayed, &RecentlyPlayed::markSaved);

    m_mediaControls = std::make_unique<MprisService>(m_player, m_nowPlaying.get());
    connect(m_mediaControls.get(), &MprisService::quitRequested, QCoreApplication::instance(), &QCoreApplication::quit,
            Qt::QueuedConnection);
    connect(m_mediaControls.get(), &MprisService::raiseRequested, this, &CompositionRoot::raiseRequested);
    connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this, &CompositionRoot::save);

    // Nothing is asked of the directory until the Discover sheet searches,
    // or a station found there plays (the directory counts the play).
    m_directory = new DirectoryClient(this);
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
    delete m_recorder; // before the media player it records from
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
