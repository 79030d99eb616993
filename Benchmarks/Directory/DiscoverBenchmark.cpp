// The Discover sheet in the real window on Qt's offscreen platform, against
// a local directory server and a local logo server:
//
// 1. Search to first result row on screen: from the Enter key in the search
//    field to the first frame swapped that shows a result row, the directory
//    answering 50 stations, next to the server's own answer time for the
//    same request (a plain HTTP GET through Qt, timed to the last byte), in
//    alternating rounds so both see the same machine load; medians, p90 and
//    the ratio of the medians.
// 2. A thousand results scrolled through a screenful at a time, logos taking
//    about a second each: the most row items alive and the most logo
//    downloads in flight (as the logo server counts them) at checkpoints on
//    the way and at the end, next to a screenful. Fails when either exceeds
//    a screenful with the rows the list keeps ready above and below it.
//
// Usage: DiscoverBenchmark [rounds]
#include "Views/ColorScheme.h"
#include "ScreenFixture.h"
#include "Support/DirectoryWithLogos.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSet>
#include <QTemporaryDir>
#include <QtQml/qqmlextensionplugin.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

Q_IMPORT_QML_PLUGIN(QuilloraPlugin)
Q_IMPORT_QML_PLUGIN(RemoteImagePlugin)

namespace {

double percentile(std::vector<double> values, double fraction)
{
    std::sort(values.begin(), values.end());
    const auto index = static_cast<std::size_t>(fraction * static_cast<double>(values.size() - 1) + 0.5);
    return values.at(index);
}

// Runs the event loop until done() or `ms` have passed.
template <typename Done>
bool spin(Done done, int ms = 10000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    return done();
}

void pause(int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

struct Sheet {
    explicit Sheet(DirectoryWithLogos& directory)
    {
        screen.directoryClient.setServers({directory.server().url()});
    }

    bool open()
    {
        if (!screen.ready())
            return false;
        QTest::keyClick(screen.window, Qt::Key_F, Qt::ControlModifier);
        return spin([&] { return sheet() && sheet()->property("position").toReal() == 1.0; }, 5000);
    }
    QQuickItem* sheet() const { return screen.item("discoverSheet"); }
    QQuickItem* results() const { return screen.item("discoverResults"); }
    QList<QQuickItem*> rows() const { return itemsNamed(results(), QStringLiteral("discoverRow")); }
    void type(const QString& text)
    {
        for (const QChar c : text)
            QTest::keyClick(screen.window, c.toLatin1());
    }

    ScreenFixture screen;
};

struct SearchTimes {
    std::vector<double> serverMs;
    std::vector<double> modelMs; // Enter to the rows in the model
    std::vector<double> screenMs;
};

bool measureSearch(int rounds, SearchTimes& times)
{
    DirectoryWithLogos directory(1000);
    if (!directory.isRunning()) {
        std::fprintf(stderr, "the local servers did not start\n");
        return false;
    }
    Sheet sheet(directory);
    if (!sheet.open()) {
        std::fprintf(stderr, "the Discover sheet did not open\n");
        return false;
    }
    sheet.type(QStringLiteral("Station"));

    QNetworkAccessManager plain;
    plain.setCache(nullptr);
    const QUrl url(directory.server().url().toString()
                   + QStringLiteral("/json/stations/search?name=Station&order=clickcount&reverse=true&hidebroken=true"
                                    "&limit=50&offset=0"));

    bool rowsArrived = false;
    qint64 rowsAt = -1;
    qint64 shownAt = -1;
    QElapsedTimer clock;
    QObject::connect(&sheet.screen.directory, &QAbstractItemModel::rowsInserted, [&] {
        rowsArrived = true;
        rowsAt = clock.nsecsElapsed();
    });
    // The software scene graph renders on this thread: the first frame after
    // the rows arrived is the first with rows in it.
    QObject::connect(sheet.screen.window, &QQuickWindow::frameSwapped, [&] {
        if (rowsArrived && shownAt < 0 && !sheet.rows().isEmpty())
            shownAt = clock.nsecsElapsed();
    });

    const int warmUp = 3;
    for (int round = 0; round < rounds + warmUp; ++round) {
        clock.start();
        QNetworkReply* reply = plain.get(QNetworkRequest(url));
        if (!spin([&] { return reply->isFinished(); }) || reply->readAll().isEmpty()) {
            std::fprintf(stderr, "the plain request failed\n");
            return false;
        }
        const double answerMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
        reply->deleteLater();

        rowsArrived = false;
        shownAt = -1;
        clock.start();
        QTest::keyClick(sheet.screen.window, Qt::Key_Return);
        if (!spin([&] { return shownAt >= 0; })) {
            std::fprintf(stderr, "no row came on screen: %s\n", qPrintable(sheet.screen.directory.statusMessage()));
            return false;
        }
        if (round >= warmUp) {
            times.serverMs.push_back(answerMs);
            times.modelMs.push_back(static_cast<double>(rowsAt) / 1e6);
            times.screenMs.push_back(static_cast<double>(shownAt) / 1e6);
        }
        // Let the logos of this round settle before the next.
        pause(30);
    }
    return true;
}

struct ScrollCounts {
    int screenful = 0;
    int bound = 0;
    int mostRows = 0;
    int mostInFlight = 0;
    DirectoryWithLogos::LogoCounts logos;
    int freshForLiveRows = 0; // logos asked for in the 3 s after the scroll
    int freshForGoneRows = 0;
    double seconds = 0;
};

bool measureScroll(ScrollCounts& counts)
{
    DirectoryWithLogos directory(1000, QStringLiteral("&chunk=16&delay=0.1"));
    if (!directory.isRunning()) {
        std::fprintf(stderr, "the local servers did not start\n");
        return false;
    }
    Sheet sheet(directory);
    if (!sheet.open())
        return false;
    sheet.type(QStringLiteral("Station"));
    QTest::keyClick(sheet.screen.window, Qt::Key_Return);
    if (!spin([&] { return !sheet.rows().isEmpty(); }))
        return false;

    QQuickItem* list = sheet.results();
    const qreal rowHeight = sheet.rows().first()->height();
    counts.screenful = int(std::ceil(list->height() / rowHeight));
    counts.bound = counts.screenful + 2 * int(std::ceil(list->property("cacheBuffer").toReal() / rowHeight)) + 1;

    QElapsedTimer clock;
    clock.start();
    for (int step = 0; clock.elapsed() < 120000; ++step) {
        const qreal end = list->property("contentHeight").toReal() + list->property("originY").toReal()
            - list->height();
        list->setProperty("contentY", std::min(end, list->property("contentY").toReal() + list->height()));
        pause(30);
        counts.mostRows = std::max(counts.mostRows, int(sheet.rows().size()));
        if (step % 25 == 24) {
            // Long enough for the server to notice downloads the client dropped.
            pause(400);
            counts.mostInFlight = std::max(counts.mostInFlight, directory.logoCounts().inFlight());
        }
        if (sheet.screen.directory.count() == 1000 && list->property("atYEnd").toBool())
            break;
        if (sheet.screen.directory.status() == DirectorySearchModel::Error)
            return false;
    }
    counts.seconds = static_cast<double>(clock.elapsed()) / 1000;
    if (sheet.screen.directory.count() != 1000)
        return false;
    pause(1500);
    counts.mostRows = std::max(counts.mostRows, int(sheet.rows().size()));
    counts.logos = directory.logoCounts();
    // After the scroll, the logos asked for are those of rows that exist,
    // not a backlog of rows scrolled past.
    const QMap<int, int> before = directory.logosRequested();
    pause(3000);
    const QMap<int, int> after = directory.logosRequested();
    QSet<int> alive;
    for (const QQuickItem* row : sheet.rows())
        alive.insert(row->property("index").toInt());
    for (auto it = after.cbegin(); it != after.cend(); ++it) {
        if (it.value() != before.value(it.key()))
            ++(alive.contains(it.key()) ? counts.freshForLiveRows : counts.freshForGoneRows);
    }
    counts.mostInFlight = std::max(counts.mostInFlight, counts.logos.inFlight());
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    // Offscreen, with caches and runtime files of its own.
    QTemporaryDir home;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("XDG_CACHE_HOME", home.filePath(QStringLiteral("cache")).toLocal8Bit());
    QDir(home.path()).mkpath(QStringLiteral("runtime"));
    QFile::setPermissions(home.filePath(QStringLiteral("runtime")), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", home.filePath(QStringLiteral("runtime")).toLocal8Bit());
    ColorScheme::setOverride(QStringLiteral("light"));

    QGuiApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 30;

    SearchTimes times;
    if (!measureSearch(rounds, times))
        return 1;
    const double serverMedian = percentile(times.serverMs, 0.5);
    const double screenMedian = percentile(times.screenMs, 0.5);
    std::printf("Discover sheet, offscreen window, 50 stations from a local directory server, %d rounds\n", rounds);
    std::printf("  server's answer (plain HTTP GET)       median %7.2f ms   p90 %7.2f ms\n", serverMedian,
                percentile(times.serverMs, 0.9));
    std::printf("  Enter to first result row on screen    median %7.2f ms   p90 %7.2f ms\n", screenMedian,
                percentile(times.screenMs, 0.9));
    std::printf("    of which Enter to rows in the model  median %7.2f ms   p90 %7.2f ms\n",
                percentile(times.modelMs, 0.5), percentile(times.modelMs, 0.9));
    std::printf("  ratio (screen / server)                %.2f\n", screenMedian / serverMedian);
    std::fflush(stdout);

    ScrollCounts counts;
    if (!measureScroll(counts)) {
        std::fprintf(stderr, "scrolling through 1,000 results failed\n");
        return 1;
    }
    const bool within = counts.mostRows <= counts.bound && counts.mostInFlight <= counts.bound
        && counts.freshForGoneRows == 0;
    std::printf("Discover sheet, 1,000 results scrolled a screenful at a time in %.1f s, logos ~1 s each\n",
                counts.seconds);
    std::printf("  screenful                              %d rows (with the rows kept ready: %d)\n", counts.screenful,
                counts.bound);
    std::printf("  row items alive                        at most %d\n", counts.mostRows);
    std::printf("  logo downloads in flight               at most %d (requested %d, cancelled %d, finished %d)\n",
                counts.mostInFlight, counts.logos.requested, counts.logos.aborted, counts.logos.done);
    std::printf("  logos asked for in the 3 s after       %d for rows on screen, %d for rows gone\n",
                counts.freshForLiveRows, counts.freshForGoneRows);
    std::printf("  about a screenful                      %s\n", within ? "yes" : "NO");
    return within ? 0 : 1;
}
