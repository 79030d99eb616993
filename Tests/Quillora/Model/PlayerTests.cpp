// The player's rules over a recording media player: loading, selection and
// wrap-around, toggling, reloading, announcements and playback failures.
#include "Model/Player.h"
#include "TestSupport.h"

#include <QSignalSpy>
#include <QTest>

#include <algorithm>

namespace {

struct Fixture {
    explicit Fixture(std::shared_ptr<StationsLoader> source)
        : loader(std::move(source))
        , media(new RecordingMediaPlayer)
        , player(std::make_unique<Player>(loader.get(), media))
    {
    }
    std::shared_ptr<StationsLoader> loader;
    RecordingMediaPlayer* media; // owned by the player
    std::unique_ptr<Player> player;
};

QList<Station> threeStations()
{
    return {testStation(10), testStation(11), testStation(12)};
}

} // namespace

class PlayerTests : public QObject {
    Q_OBJECT

private slots:
    void sampleCatalogueLoadsPaused()
    {
        Fixture f(std::make_shared<FixedLoader>(QList<Station>{Station::luxfm(), Station::rockFm()}));
        QVERIFY(!f.player->station());
        StdoutCapture out;
        f.player->loadStations();
        QCOMPARE(out.text(), QByteArray("Loaded 2 stations\n"));
        QCOMPARE(f.player->stations().size(), 2);
        QCOMPARE(f.player->selectedStationIndex(), 0);
        QCOMPARE(f.player->station()->id, 0);
        QVERIFY(!f.player->isPlaying());
        QCOMPARE(f.media->items, QList<QUrl>{QUrl(Station::luxfm().url)});
        QCOMPARE(f.media->rate(), 0.0f);
    }

    void emptyCatalogueGivesNothingToPlay()
    {
        Fixture f(std::make_shared<FixedLoader>(QList<Station>{}));
        StdoutCapture out;
        f.player->loadStations();
        QCOMPARE(out.text(), QByteArray("Loaded 0 stations\n"));
        QVERIFY(f.player->stations().isEmpty());
        QVERIFY(!f.player->station());
        QVERIFY(f.media->items.isEmpty());

        // Remote "next" stays enabled with an empty list: it must do nothing.
        f.player->next();
        QCOMPARE(f.player->selectedStationIndex(), 0);
        f.player->prev();
        QCOMPARE(f.player->selectedStationIndex(), -1);
        QVERIFY(!f.player->station());
        QVERIFY(f.media->items.isEmpty());
        QVERIFY(f.player->property("station").isNull());
    }

    void nextAndPrevWrapAround()
    {
        Fixture f(std::make_shared<FixedLoader>(threeStations()));
        StdoutCapture out;
        f.player->loadStations();
        f.player->prev();
        QCOMPARE(f.player->selectedStationIndex(), 2);
        f.player->next();
        QCOMPARE(f.player->selectedStationIndex(), 0);
        f.player->next();
        f.player->prev();
        QCOMPARE(f.player->selectedStationIndex(), 0);
        f.player->setSelectedStationIndex(2);
        f.player->next();
        QCOMPARE(f.player->selectedStationIndex(), 0);
        QCOMPARE(f.player->station()->id, 10);
        // load, prev, next, next, prev, set, next: each one stream swap
        QCOMPARE(f.media->items.size(), 7);
        QCOMPARE(f.media->items.last(), QUrl(testStation(10).url));
    }

    void oneStationReloadsOnEveryStep()
    {
        Fixture f(std::make_shared<FixedLoader>(QList<Station>{testStation(5)}));
        StdoutCapture out;
        f.player->loadStations();
        f.player->next();
        f.player->prev();
        QCOMPARE(f.player->selectedStationIndex(), 0);
        QCOMPARE(f.media->items.size(), 3);
    }

    void selectionAndReloadKeepPlaying()
    {
        auto loader = std::make_shared<FixedLoader>(threeStations());
        Fixture f(loader);
        StdoutCapture out;
        f.player->loadStations();
        f.player->resume();
        f.player->next();
        QVERIFY(f.player->isPlaying());
        QCOMPARE(f.media->items.last(), QUrl(testStation(11).url));
        QCOMPARE(f.media->rate(), 1.0f);

        loader->stations = {testStation(20), testStation(21)};
        f.player->loadStations();
        QCOMPARE(f.player->selectedStationIndex(), 0);
        QCOMPARE(f.media->items.last(), QUrl(testStation(20).url));
        QVERIFY(f.player->isPlaying());
        QCOMPARE(out.text(), QByteArray("Loaded 3 stations\nLoaded 2 stations\n"));
    }

    void announcesBeforeStoring()
    {
        Fixture f(std::make_shared<FixedLoader>(threeStations()));
        StdoutCapture out;
        f.player->loadStations();
        QList<qint64> indexSeenAtAnnouncement;
        QList<bool> playingSeenAtAnnouncement;
        connect(f.player.get(), &Player::objectWillChange, this, [&] {
            indexSeenAtAnnouncement.append(f.player->selectedStationIndex());
            playingSeenAtAnnouncement.append(f.player->isPlaying());
        });
        QSignalSpy indexChanged(f.player.get(), &Player::selectedStationIndexChanged);
        f.player->next();
        QCOMPARE(indexSeenAtAnnouncement, QList<qint64>{0});
        QCOMPARE(indexChanged.size(), 1);
        f.player->resume();
        QCOMPARE(playingSeenAtAnnouncement.last(), false);
        QVERIFY(f.player->isPlaying());

        // Assigning the same index still announces and reloads the stream.
        const qsizetype swaps = f.media->items.size();
        f.player->setSelectedStationIndex(1);
        QCOMPARE(indexSeenAtAnnouncement.size(), 3);
        QCOMPARE(indexChanged.size(), 1);
        QCOMPARE(f.media->items.size(), swaps + 1);
    }

    void refusedAddressKeepsTheCurrentStream()
    {
        QList<Station> stations = threeStations();
        stations[1].url = QStringLiteral("file:///etc/passwd");
        stations[2].url = QStringLiteral("not a url at all");
        Fixture f(std::make_shared<FixedLoader>(stations));
        StdoutCapture out;
        f.player->loadStations();
        f.player->resume();
        f.player->next();
        f.player->next();
        QCOMPARE(f.player->selectedStationIndex(), 2);
        QCOMPARE(f.media->items, QList<QUrl>{QUrl(testStation(10).url)});
        QVERIFY(f.player->isPlaying());
    }

    void aCatalogueSelectsTheRememberedStationAndLeavesThePlayingStreamAlone()
    {
        auto loader = std::make_shared<FixedLoader>(threeStations());
        Fixture f(loader);
        StdoutCapture out;
        f.player->setPreferredStationId(11);
        f.player->loadStations();
        QCOMPARE(f.player->selectedStationIndex(), 1);
        f.player->resume();
        const qsizetype streamsOpened = f.media->items.size();

        // A refreshed catalogue with the playing station on the same stream:
        // the cards change, the music goes on.
        loader->stations = {testStation(9), testStation(11), testStation(12)};
        loader->stations[1].title = QStringLiteral("Renamed");
        f.player->loadStations();
        QCOMPARE(f.player->selectedStationIndex(), 1);
        QCOMPARE(f.player->station()->title, QStringLiteral("Renamed"));
        QCOMPARE(f.media->items.size(), streamsOpened);
        QVERIFY(f.player->isPlaying());

        // The remembered station is gone: the first one, and its stream.
        loader->stations = {testStation(30), testStation(31)};
        f.player->loadStations();
        QCOMPARE(f.player->selectedStationIndex(), 0);
        QCOMPARE(f.media->items.last(), QUrl(testStation(30).url));
    }

    void aGuestPlaysUntilTheListenerPicksACatalogueStation()
    {
        auto loader = std::make_shared<FixedLoader>(threeStations());
        Fixture f(loader);
        StdoutCapture out;
        f.player->loadStations();
        QSignalSpy started(f.player.get(), &Player::stationStarted);

        Station guest = testStation(-1, QStringLiteral("http://127.0.0.1:9/guest"));
        guest.uuid = QStringLiteral("96062a7b-0601-11e8-ae97-52543be04c81");
        f.player->listenTo(guest);
        QVERIFY(f.player->isGuest() && f.player->isPlaying());
        QCOMPARE(f.player->station()->url, guest.url);
        QCOMPARE(f.media->items.last(), QUrl(guest.url));
        QCOMPARE(started.size(), 1);
        QCOMPARE(started.first().first().value<Station>().uuid, guest.uuid);

        // Once the catalogue holds it (it was added), it is that station, on
        // the stream already playing.
        const qsizetype streamsOpened = f.media->items.size();
        Station added = guest;
        added.id = 13;
        loader->stations.append(added);
        f.player->loadStations();
        QVERIFY(!f.player->isGuest());
        QCOMPARE(f.player->selectedStationIndex(), 3);
        QCOMPARE(f.media->items.size(), streamsOpened);

        // Another guest, then the next station of the catalogue.
        f.player->listenTo(testStation(-2, QStringLiteral("http://127.0.0.1:9/other")));
        QVERIFY(f.player->isGuest());
        f.player->next();
        QVERIFY(!f.player->isGuest());
        QCOMPARE(f.player->selectedStationIndex(), 0);
        QCOMPARE(f.media->items.last(), QUrl(testStation(10).url));
        QVERIFY(f.player->isPlaying());

        // A directory result on a stream the catalogue holds is that
        // station: not a guest, nothing to add.
        f.player->stop();
        Station known = testStation(-3, testStation(11).url);
        known.title = QStringLiteral("Same stream, directory name");
        f.player->listenTo(known);
        QVERIFY(!f.player->isGuest());
        QCOMPARE(f.player->selectedStationIndex(), 1);
        QCOMPARE(f.player->station()->title, testStation(11).title);
        QVERIFY(f.player->isPlaying());
        QCOMPARE(f.media->items.last(), QUrl(testStation(11).url));
    }

    void aStationStartsOncePerStartNotPerReload()
    {
        auto loader = std::make_shared<FixedLoader>(threeStations());
        Fixture f(loader);
        StdoutCapture out;
        f.player->loadStations();
        QSignalSpy started(f.player.get(), &Player::stationStarted);
        f.player->resume();
        f.player->resume(); // already playing
        f.player->next();
        f.player->setPreferredStationId(11); // as the application remembers it
        f.player->loadStations();            // the same catalogue again
        QCOMPARE(started.size(), 2);
        f.player->stop();
        f.player->next(); // not playing: nothing starts
        f.player->togglePlayback();
        QCOMPARE(started.size(), 3);
        QCOMPARE(started.last().first().value<Station>().id, 12);
    }

    // A reload while a load is in flight cancels it: the older catalogue
    // can never land over the newer one.
    void onlyTheNewestLoadCounts()
    {
        auto loader = std::make_shared<ManualLoader>();
        Fixture f(loader);
        StdoutCapture out;
        f.player->loadStations();
        const QPointer<StationsReply> older = loader->pending;
        f.player->loadStations();
        QTRY_VERIFY(older.isNull());
        loader->deliver(threeStations());
        QCOMPARE(f.player->stations().size(), 3);
        QCOMPARE(loader->loads, 2);
    }

    void failedLoadKeepsState()
    {
        class FailingLoader final : public StationsLoader {
        public:
            StationsReply* load() override
            {
                auto* reply = new StationsReply;
                reply->fail(LoadFailure{});
                return reply;
            }
        };
        Fixture f(std::make_shared<FailingLoader>());
        StdoutCapture out;
        QSignalSpy willChange(f.player.get(), &Player::objectWillChange);
        f.player->loadStations();
        // The source tells of its failure; the player says nothing.
        QCOMPARE(out.text(), QByteArray());
        QCOMPARE(willChange.size(), 0);
        QVERIFY(f.player->stations().isEmpty());
    }
};

QTEST_GUILESS_MAIN(PlayerTests)
#include "PlayerTests.moc"
