#include "Directory/DirectoryServerDiscovery.h"

#include "Directory/DirectoryReply.h"
#include "Diagnostics/Diagnostics.h"

#include <QCoreApplication>
#include <QDnsLookup>
#include <QRandomGenerator>

#include <algorithm>

DirectoryServerDiscovery::DirectoryServerDiscovery(QString name, QObject* parent)
    : QObject(parent)
    , m_name(std::move(name))
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(defaultTimeoutMs);
    connect(&m_timer, &QTimer::timeout, this, &DirectoryServerDiscovery::timedOut);
}

DirectoryServerDiscovery::~DirectoryServerDiscovery()
{
    stopLookups();
}

void DirectoryServerDiscovery::start()
{
    stopLookups();
    m_addresses.clear();
    m_hosts.clear();
    m_lastError.clear();
    m_resolvingPointers = false;
    m_timer.start();
    m_pending = 2;
    for (const QDnsLookup::Type type : {QDnsLookup::A, QDnsLookup::AAAA}) {
        QDnsLookup* lookup = makeLookup(type, m_name);
        connect(lookup, &QDnsLookup::finished, this, &DirectoryServerDiscovery::addressLookupFinished);
        lookup->lookup();
    }
}

QDnsLookup* DirectoryServerDiscovery::makeLookup(int type, const QString& name)
{
    auto* lookup = new QDnsLookup(static_cast<QDnsLookup::Type>(type), name, this);
    if (!m_nameserver.isNull())
        lookup->setNameserver(m_nameserver);
    m_lookups.append(lookup);
    return lookup;
}

void DirectoryServerDiscovery::addressLookupFinished()
{
    auto* lookup = qobject_cast<QDnsLookup*>(sender());
    if (!lookup || !m_lookups.contains(lookup) || m_resolvingPointers)
        return;
    if (lookup->error() == QDnsLookup::NoError) {
        for (const QDnsHostAddressRecord& record : lookup->hostAddressRecords()) {
            if (m_addresses.size() < maxAddresses && !m_addresses.contains(record.value()))
                m_addresses.append(record.value());
        }
    } else {
        m_lastError = lookup->errorString();
    }
    if (--m_pending > 0)
        return;
    stopLookups();
    if (m_addresses.isEmpty()) {
        conclude();
        return;
    }
    m_resolvingPointers = true;
    for (const QHostAddress& address : std::as_const(m_addresses)) {
        const QString name = reverseLookupName(address);
        if (name.isEmpty())
            continue;
        QDnsLookup* pointer = makeLookup(QDnsLookup::PTR, name);
        connect(pointer, &QDnsLookup::finished, this, &DirectoryServerDiscovery::pointerLookupFinished);
        ++m_pending;
    }
    // Started only once all are counted, in case one finishes at once (and
    // from a copy: a last one finishing at once clears the list).
    const QList<QDnsLookup*> pointers = m_lookups;
    for (QDnsLookup* pointer : pointers) {
        if (m_lookups.contains(pointer))
            pointer->lookup();
    }
    if (m_pending == 0)
        conclude();
}

void DirectoryServerDiscovery::pointerLookupFinished()
{
    auto* lookup = qobject_cast<QDnsLookup*>(sender());
    if (!lookup || !m_lookups.contains(lookup) || !m_resolvingPointers)
        return;
    if (lookup->error() == QDnsLookup::NoError) {
        for (const QDnsDomainNameRecord& record : lookup->pointerRecords()) {
            const QString host = hostName(record.value());
            if (!host.isEmpty() && !m_hosts.contains(host))
                m_hosts.append(host);
        }
    } else {
        m_lastError = lookup->errorString();
    }
    if (--m_pending == 0)
        conclude();
}

void DirectoryServerDiscovery::timedOut()
{
    if (m_lastError.isEmpty())
        m_lastError = QStringLiteral("no answer within %1 ms").arg(m_timer.interval());
    conclude();
}

void DirectoryServerDiscovery::conclude()
{
    m_timer.stop();
    stopLookups();
    m_pending = 0;
    if (m_hosts.isEmpty()) {
        printLine(QCoreApplication::translate("DirectoryServerDiscovery", "Directory: no servers found for %1 (%2)")
                      .arg(m_name, m_lastError.isEmpty() ? QStringLiteral("no usable host names") : m_lastError));
        emit failed(DirectoryReply::messageFor(DirectoryReply::Error::Unreachable));
        return;
    }
    QStringList hosts = m_hosts;
    std::shuffle(hosts.begin(), hosts.end(), *QRandomGenerator::global());
    QList<QUrl> servers;
    for (const QString& host : std::as_const(hosts)) {
        QUrl url;
        url.setScheme(QStringLiteral("https"));
        url.setHost(host);
        servers.append(url);
    }
    emit finished(servers);
}

void DirectoryServerDiscovery::stopLookups()
{
    // A lookup cannot be stopped inside the resolver; its late answer is
    // dropped with the object.
    for (QDnsLookup* lookup : std::exchange(m_lookups, {})) {
        lookup->disconnect(this);
        if (lookup->isFinished())
            lookup->deleteLater();
        else {
            connect(lookup, &QDnsLookup::finished, lookup, &QObject::deleteLater);
            lookup->abort();
        }
    }
}

QString DirectoryServerDiscovery::reverseLookupName(const QHostAddress& address)
{
    bool isV4 = false;
    const quint32 v4 = address.toIPv4Address(&isV4);
    if (isV4 && address.protocol() == QAbstractSocket::IPv4Protocol) {
        return QStringLiteral("%1.%2.%3.%4.in-addr.arpa")
            .arg(v4 & 0xFF)
            .arg((v4 >> 8) & 0xFF)
            .arg((v4 >> 16) & 0xFF)
            .arg(v4 >> 24);
    }
    if (address.protocol() != QAbstractSocket::IPv6Protocol)
        return {};
    const Q_IPV6ADDR v6 = address.toIPv6Address();
    QString name;
    static constexpr char digits[] = "0123456789abcdef";
    for (int i = 15; i >= 0; --i) {
        name += QLatin1Char(digits[v6[i] & 0x0F]);
        name += QLatin1Char('.');
        name += QLatin1Char(digits[v6[i] >> 4]);
        name += QLatin1Char('.');
    }
    return name + QStringLiteral("ip6.arpa");
}

QString DirectoryServerDiscovery::hostName(const QString& raw)
{
    QString host = raw.toLower();
    if (host.endsWith(QLatin1Char('.')))
        host.chop(1);
    if (host.isEmpty() || host.size() > 253 || host.startsWith(QLatin1Char('.')) || host.contains(QLatin1String("..")))
        return {};
    for (const QChar c : std::as_const(host)) {
        if (!((c >= QLatin1Char('a') && c <= QLatin1Char('z')) || (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
              || c == QLatin1Char('-') || c == QLatin1Char('.')))
            return {};
    }
    return host;
}
