// Finds the directory's servers the way the directory asks its clients to:
// look up every address of one DNS name (A and AAAA), turn each address back
// into its host name (PTR), and offer the hosts in random order as
// https://<host>, so that clients spread over the servers.
//
// Asynchronous and bounded: one timer covers the whole discovery. When it
// runs out, the host names found so far are used; with none, or when DNS
// fails altogether, failed() says so. Exactly one of the two signals per
// start(). Main thread (or any one thread with an event loop).
#pragma once

#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QUrl>

class QDnsLookup;

class DirectoryServerDiscovery final : public QObject {
    Q_OBJECT

public:
    static constexpr int defaultTimeoutMs = 5000;
    // A DNS answer is untrusted too: more addresses than this are ignored.
    static constexpr int maxAddresses = 16;

    explicit DirectoryServerDiscovery(QString name, QObject* parent = nullptr);
    ~DirectoryServerDiscovery() override;

    // Asks this server instead of the system's resolver (tests).
    void setNameserver(const QHostAddress& nameserver) { m_nameserver = nameserver; }
    void setTimeout(int ms) { m_timer.setInterval(ms); }

    void start();
    bool isRunning() const { return m_timer.isActive(); }

    // "4.3.2.1.in-addr.arpa" or the nibble form under ip6.arpa; empty for
    // anything that is neither IPv4 nor IPv6.
    static QString reverseLookupName(const QHostAddress& address);
    // A host name made of letters, digits, hyphens and dots (a trailing dot
    // dropped), lower-cased; empty when the text is anything else.
    static QString hostName(const QString& raw);

signals:
    void finished(const QList<QUrl>& servers);
    void failed(const QString& message);

private:
    QDnsLookup* makeLookup(int type, const QString& name);
    void addressLookupFinished();
    void pointerLookupFinished();
    void timedOut();
    void conclude();
    void stopLookups();

    QString m_name;
    QHostAddress m_nameserver;
    QTimer m_timer;
    QList<QDnsLookup*> m_lookups;
    QList<QHostAddress> m_addresses;
    QStringList m_hosts;
    int m_pending = 0;
    bool m_resolvingPointers = false;
    QString m_lastError;
};
