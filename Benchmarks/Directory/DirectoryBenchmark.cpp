// Search to first result row, at the level of the model: the time from
// DirectorySearchModel::search() to the first row inserted, with a local
// directory server answering 50 stations, printed next to the server's own
// answer time for the same request (a plain HTTP GET through Qt, timed to
// the last byte) and the ratio of the medians. The two are measured in
// alternating rounds, so both see the same machine load.
// Usage: DirectoryBenchmark [rounds]
#include "Directory/DirectorySearchModel.h"
#include "Support/DirectoryTestServer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double percentile(std::vector<double> values, double fraction)
{
    std::sort(values.begin(), values.end());
    const auto index = static_cast<std::size_t>(fraction * static_cast<double>(values.size() - 1) + 0.5);
    return values.at(index);
}

// Runs the event loop until done() or ten seconds have passed.
template<typename Done>
bool spin(Done done)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    return done();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 50;

    DirectoryTestServer server(1000);
    if (!server.isRunning()) {
        std::fprintf(stderr, "the directory server did not start\n");
        return 1;
    }
    DirectoryClient client(server.url().toString());
    DirectorySearchModel model(&client);
    QNetworkAccessManager plain;
    plain.setCache(nullptr);
    const QUrl url(server.url().toString()
                   + QStringLiteral("/json/stations/search?order=clickcount&reverse=true&hidebroken=true&limit=50&offset=0"));

    bool firstRow = false;
    QObject::connect(&model, &QAbstractItemModel::rowsInserted, [&] { firstRow = true; });

    std::vector<double> modelMs;
    std::vector<double> serverMs;
    const int warmUp = 3;
    for (int round = 0; round < rounds + warmUp; ++round) {
        QElapsedTimer clock;

        clock.start();
        QNetworkReply* reply = plain.get(QNetworkRequest(url));
        if (!spin([&] { return reply->isFinished(); }) || reply->readAll().isEmpty()) {
            std::fprintf(stderr, "the plain request failed\n");
            return 1;
        }
        const double answerMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
        reply->deleteLater();

        firstRow = false;
        clock.start();
        model.search(QString());
        if (!spin([&] { return firstRow; })) {
            std::fprintf(stderr, "the search found nothing: %s\n", qPrintable(model.statusMessage()));
            return 1;
        }
        const double searchMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
        if (model.count() != DirectorySearchModel::pageSize) {
            std::fprintf(stderr, "expected %d rows, got %d\n", DirectorySearchModel::pageSize, model.count());
            return 1;
        }
        if (round >= warmUp) {
            serverMs.push_back(answerMs);
            modelMs.push_back(searchMs);
        }
    }

    const double serverMedian = percentile(serverMs, 0.5);
    const double modelMedian = percentile(modelMs, 0.5);
    std::printf("Directory search, 50 stations from a local directory server, %d rounds\n", rounds);
    std::printf("  server's answer (plain HTTP GET)     median %7.2f ms   p90 %7.2f ms\n", serverMedian,
                percentile(serverMs, 0.9));
    std::printf("  search() to first row in the model   median %7.2f ms   p90 %7.2f ms\n", modelMedian,
                percentile(modelMs, 0.9));
    std::printf("  ratio (model / server)               %.2f\n", modelMedian / serverMedian);
    return 0;
}
