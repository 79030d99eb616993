// The community station directory's HTTP API, with the rules the directory
// sets for its clients: servers found by DNS (DirectoryServerDiscovery) and
// tried in turn, the one that works remembered for the session, and every
// request identified by a User-Agent of Quillora/<version>.
//
// A server address given at construction (QUILLORA_DIRECTORY_URL, which the
// root reads) replaces discovery with that one server (tests, and people
// who run a mirror). Main thread; one client for
// the whole application, shared by every model that talks to the directory.
#pragma once

#include "Directory/DirectoryReply.h"

#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

class DirectoryServerDiscovery;

// What a person searches for; each part may be empty.
struct DirectorySearch {
    QString text;
    QString tag;
    QString countryCode;

    bool operator==(const DirectorySearch&) const = default;
};

class DirectoryClient final : public QObject {
    Q_OBJECT

public:
    // Far more than a page of stations; anything bigger is refused while
    // it downloads.
    static constexpr qint64 maxAnswerBytes = 4 * 1024 * 1024;
    static constexpr int defaultRequestTimeoutMs = 10000;
    // Servers tried for one request before it fails.
    static constexpr int maxAttempts = 3;
    static constexpr qsizetype maxSearchTextLength = 100;

    // `serverAddress` is QUILLORA_DIRECTORY_URL as the root read it; without
    // it, servers are discovered on the first request.
    explicit DirectoryClient(const QString& serverAddress = {}, QObject* parent = nullptr);
    ~DirectoryClient() override;

    static QString discoveryName() { return QStringLiteral("all.api.radio-browser.info"); }
    static QByteArray userAgent();

    // Uses these servers, in this order, instead of discovering them (tests
    // and mirrors); an empty list goes back to discovery.
    void setServers(const QList<QUrl>& servers);
    // Discovery asks this DNS server instead of the system's (tests).
    void setDiscoveryNameserver(const QHostAddress& nameserver);
    void setDiscoveryTimeout(int ms);
    void setRequestTimeout(int ms) { m_requestTimeoutMs = ms; }
    int requestTimeout() const { return m_requestTimeoutMs; }

    // The server the next request goes to first; empty before discovery.
    QUrl workingServer() const;

    // Stations matching the search, most played first, broken ones hidden.
    DirectoryReply* searchStations(const DirectorySearch& search, int offset, int limit);
    // The most used tags, by number of stations.
    DirectoryReply* popularTags(int limit);
    // Tells the directory a station started playing. Null (and nothing
    // sent) when the identifier is not a UUID.
    DirectoryReply* countClick(const QString& stationUuid);

private:
    friend class DirectoryReply;

    DirectoryReply* request(DirectoryReply::Kind kind, const QString& path, const QString& query, qsizetype limit);
    void dispatch(DirectoryReply* reply);
    void startDiscovery();
    void discoveryFinished(const QList<QUrl>& servers);
    void discoveryFailed(const QString& message);
    void serverWorked(const QUrl& server);
    void serverFailed(const QUrl& server);

    DirectoryServerDiscovery* m_discovery;
    QList<QUrl> m_servers;
    qsizetype m_working = 0;
    bool m_fixedServers = false;
    // Set when QUILLORA_DIRECTORY_URL holds something unusable.
    bool m_badAddress = false;
    int m_requestTimeoutMs = defaultRequestTimeoutMs;
    QList<QPointer<DirectoryReply>> m_waiting;
};
