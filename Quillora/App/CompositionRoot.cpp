#include "App/CompositionRoot.h"

#include "App/Application.h"
#include "Support/AppInfo.h"
#include "Catalogue/ActiveCatalogue.h"
#include "Desktop/SongNotifier.h"
#include "Desktop/SuspendInhibitor.h"
#include "Directory/DirectoryClient.h"
#include "Directory/DirectorySearchModel.h"
#include "MediaControls/MprisRoot.h"
#include "MediaControls/MprisService.h"
#include "MediaControls/NowPlayingPublisher.h"
#include "MediaControls/NowPlayingSink.h"
#include "Model/Player.h"
#include "Model/RecentlyPlayed.h"
#include "Model/SleepTimer.h"
#include "Playback/MpvMediaPlayer.h"
#include "Recording/Recorder.h"
#include "RemoteImage/Services.h"
#include "Settings/Preferences.h"
#include "Store/SongHistory.h"
#include "Store/StateStore.h"
#include "Support/Config.h"
#include "Support/NetworkPolicy.h"
#include "Support/NetworkReachability.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QUrl>

CompositionRoot::CompositionRoot(Application& application, const QString& catalogueValue, QObject* parent)
    : QObject(parent)
    , m_application(application)
    , m_environment(Environment::read())
{
    // The logos' servers hear the same name as the catalogue's and the
    // directory's.
    remoteimage::NetworkConfiguration images;
    images.userAgent = NetworkPolicy::userAgent();
    remoteimage::setNetworkConfiguration(images);

    Database& container = m_application.database();
    // The desktop settings of quillora.conf, read here once.
    const QString configurationFile = Config::configurationFile();
    QSettings configuration(configurationFile, QSettings::IniFormat);
    const RecordingSettings recording = RecordingSettings::read(configuration);
    DesktopSettings desktop = DesktopSettings::read(configurationFile);
    desktop.recordingMode = RecordingSettings::modeName(recording.mode);
    desktop.recordingFolder = recording.folder;
    m_preferences = new Preferences(configurationFile, desktop, this);
    m_store = std::make_unique<StateStore>(container);
    m_reachability = new NetworkReachability(this);

    // The environment (read once, at construction) and the settings file.
    const Environment& environment = m_environment;
    const CatalogueChoice choice = CatalogueChoice::resolve(catalogueValue, environment.catalogue,
                                                            Config::catalogueSetting(configurationFile),
                                                            configurationFile);
    m_catalogue = std::make_unique<ActiveCatalogue>(choice.source, m_store.get(), m_reachability);
    m_nowPlaying = std::make_unique<NowPlayingSink>();
    auto* media = new MpvMediaPlayer(MpvMediaPlayer::parseOptions(environment.mpvOptions));
    m_player = std::make_unique<Player>(m_catalogue.get(), media, m_reachability);
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

    // Songs kept as the [recording] settings say, in the window and headless.
    m_recorder = new Recorder(recording,
                              QDir(QStandardPaths::writableLocation(QStandardPaths::CacheLocation))
                                  .filePath(QStringLiteral("recordings")),
                              m_player->session(), media, this);
    connect(m_player.get(), &Player::stationChanged, m_recorder,
            [this] { m_recorder->setStation(m_player->session()->stream().toString()); });
    connect(m_recorder, &Recorder::songKept, m_recentlyPlayed, &RecentlyPlayed::markKept);
    connect(m_recorder, &Recorder::songSaved, m_recentlyPlayed, &RecentlyPlayed::markSaved);
    // The Settings sheet's changes hold without a restart.
    connect(m_preferences, &Preferences::recordingModeChanged, m_recorder,
            [this] { m_recorder->setMode(RecordingSettings::modeNamed(m_preferences->recordingMode())); });
    connect(m_preferences, &Preferences::recordingFolderChanged, m_recorder,
            [this] { m_recorder->setFolder(m_preferences->recordingFolder()); });

    m_mediaControls = std::make_unique<MprisService>(m_player.get(), m_nowPlaying.get());
    connect(m_mediaControls.get(), &MprisService::quitRequested, QCoreApplication::instance(), &QCoreApplication::quit,
            Qt::QueuedConnection);
    connect(m_mediaControls.get(), &MprisService::raiseRequested, this, &CompositionRoot::raiseRequested);
    // A fade in progress gives the volume back before the store is saved.
    m_sleepTimer = new SleepTimer(m_player.get(), std::chrono::seconds(30), this);
    connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, m_sleepTimer, &SleepTimer::cancel);
    connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this, &CompositionRoot::save);

    m_notifier = new SongNotifier(QDBusConnection::sessionBus(), AppInfo::displayName(), AppInfo::desktopFileId(),
                                  this);
    // Inside a Flatpak sandbox notifications go through the portal.
    m_notifier->setUsePortal(QFile::exists(QStringLiteral("/.flatpak-info")));
    m_notifier->setEnabled(m_preferences->notifications());
    connect(m_preferences, &Preferences::notificationsChanged, this,
            [this] { m_notifier->setEnabled(m_preferences->notifications()); });
    connect(m_player->session(), &PlaybackSession::songStarted, m_notifier,
            [this](const QString& station, const QString& song) {
                const std::optional<NowPlayingInfo>& info = m_nowPlaying->info();
                const QUrl art(info ? info->artUrl : QString());
                // Mode decide: the notification offers to save the song that
                // is being written.
                m_notifier->songStarted({song, station, art.isLocalFile() ? art.toLocalFile() : QString(),
                                         m_recorder->decides() && m_recorder->writing()});
            });
    connect(m_notifier, &SongNotifier::saveRequested, m_recorder,
            [this](const QString& station, const QString& song) { m_recorder->saveSong(station, song); });

    m_inhibitor = new SuspendInhibitor(QDBusConnection::sessionBus(), AppInfo::displayName(), this);
    connect(m_player.get(), &Player::isPlayingChanged, m_inhibitor, [this] {
        m_inhibitor->setInhibited(m_player->isPlaying(), tr("Playing a radio station"));
    });

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
