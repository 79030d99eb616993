// A station directory (directoryserver.py) and a logo server
// (httpserver.py) for the Discover sheet's tests and benchmark, started for
// the lifetime of the object. Station i is "Station <i, four digits>", most
// played first in order of i, from Germany, Austria or France in turn,
// tagged "rock, pop" or "jazz, lounge", with the logo
// /logo.png?tag=logo<i><logoQuery> on the logo server: all logo requests
// count under /logo.png there, each station's also under #logo<i>, and
// logoQuery may slow them down (&chunk=, &delay=).
#pragma once

#include "Support/DirectoryTestServer.h"
#include "Support/LocalHttpServer.h"

#include <QColor>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QTemporaryDir>

#include <memory>

class DirectoryWithLogos {
public:
    // Every logo is a square of this colour.
    static QColor logoColour() { return QColor(0xe0, 0x70, 0x10); }

    explicit DirectoryWithLogos(int stations, const QString& logoQuery = {})
    {
        QImage logo(64, 64, QImage::Format_RGB32);
        logo.fill(logoColour());
        logo.save(m_files.filePath(QStringLiteral("logo.png")));
        m_logos = std::make_unique<LocalHttpServer>(m_files.path());
        const char* countries[] = {"DE", "AT", "FR"};
        QJsonArray list;
        for (int i = 0; i < stations; ++i) {
            const QString uuid = QStringLiteral("%1-0000-4000-8000-%2")
                                     .arg(i, 8, 16, QLatin1Char('0'))
                                     .arg(i, 12, 16, QLatin1Char('0'));
            list.append(QJsonObject{
                {QStringLiteral("stationuuid"), uuid},
                {QStringLiteral("name"), QStringLiteral("Station %1").arg(i, 4, 10, QLatin1Char('0'))},
                {QStringLiteral("url"), QStringLiteral("http://127.0.0.1:9/stream%1").arg(i)},
                {QStringLiteral("url_resolved"), QStringLiteral("http://127.0.0.1:9/stream%1.mp3").arg(i)},
                {QStringLiteral("favicon"),
                 m_logos->url(QStringLiteral("/logo.png?tag=logo%1%2").arg(i).arg(logoQuery)).toString()},
                {QStringLiteral("tags"), i % 2 ? QStringLiteral("jazz,lounge") : QStringLiteral("rock,pop")},
                {QStringLiteral("countrycode"), QString::fromLatin1(countries[i % 3])},
                {QStringLiteral("codec"), QStringLiteral("MP3")},
                {QStringLiteral("bitrate"), 128},
                {QStringLiteral("hls"), 0},
                {QStringLiteral("lastcheckok"), 1},
                {QStringLiteral("votes"), i},
                {QStringLiteral("clickcount"), stations - i},
            });
        }
        QFile file(m_files.filePath(QStringLiteral("stations.json")));
        if (file.open(QIODevice::WriteOnly))
            file.write(QJsonDocument(list).toJson(QJsonDocument::Compact));
        file.close();
        m_server = std::make_unique<DirectoryTestServer>(file.fileName());
    }

    bool isRunning() const { return m_server->isRunning() && m_logos->isRunning(); }
    DirectoryTestServer& server() { return *m_server; }
    LocalHttpServer& logos() { return *m_logos; }

    // Logo requests the server saw, finished sending, and saw the client
    // hang up on (it notices at its next write).
    struct LogoCounts {
        int requested = 0;
        int done = 0;
        int aborted = 0;
        int inFlight() const { return requested - done - aborted; }
    };
    LogoCounts logoCounts() const
    {
        const QJsonObject stats = m_logos->stats();
        return {stats.value(QLatin1String("/logo.png")).toInt(), stats.value(QLatin1String("!done /logo.png")).toInt(),
                stats.value(QLatin1String("!aborted /logo.png")).toInt()};
    }

    // The stations whose logo was asked for, each as often as it was.
    QMap<int, int> logosRequested() const
    {
        QMap<int, int> stations;
        const QJsonObject stats = m_logos->stats();
        for (auto it = stats.begin(); it != stats.end(); ++it) {
            if (it.key().startsWith(QLatin1String("#logo")))
                stations.insert(it.key().mid(5).toInt(), it.value().toInt());
        }
        return stations;
    }

private:
    QTemporaryDir m_files;
    std::unique_ptr<LocalHttpServer> m_logos;
    std::unique_ptr<DirectoryTestServer> m_server;
};
