#include "Directory/DirectoryClient.h"

#include "Directory/DirectoryServerDiscovery.h"
#include "Diagnostics/Diagnostics.h"
#include "Network/WebAddress.h"
#include "Support/NetworkPolicy.h"

#include <QCoreApplication>
#include <QUuid>

namespace {

QString encoded(const QString& value)
{
    // Every reserved character encoded: a '+' or '&' in a station's name is
    // searched for, not read as a space or a new parameter.
    return QString::fromLatin1(QUrl::toPercentEncoding(value));
}

QString queryOf(const QList<std::pair<QString, QString>>& items)
{
    QStringList parts;
    for (const auto& [key, value] : items)
        parts.append(key + QLatin1Char('=') + encoded(value));
    return parts.join(QLatin1Char('&'));
}

} // namespace

DirectoryClient::DirectoryClient(const QString& serverAddress, QObject* parent)
    : QObject(parent)
    , m_discovery(new DirectoryServerDiscovery(discoveryName(), this))
{
    connect(m_discovery, &DirectoryServerDiscovery::finished, this, &DirectoryClient::discoveryFinished);
    connect(m_discovery, &DirectoryServerDiscovery::failed, this, &DirectoryClient::discoveryFailed);

    const QString address = serverAddress.trimmed();
    if (address.isEmpty())
        return;
    if (const std::optional<QUrl> url = net::webAddress(address)) {
        setServers({*url});
    } else {
        m_badAddress = true;
        printLine(QCoreApplication::translate("DirectoryClient", "Directory: QUILLORA_DIRECTORY_URL is not an http or https address: %1").arg(address));
    }
}

DirectoryClient::~DirectoryClient()
{
    // Replies in flight end quietly, before the network they use goes.
    for (DirectoryReply* reply : findChildren<DirectoryReply*>(Qt::FindDirectChildrenOnly))
        reply->abort();
}

QByteArray DirectoryClient::userAgent()
{
    return NetworkPolicy::userAgent();
}

void DirectoryClient::setServers(const QList<QUrl>& servers)
{
    m_servers = servers;
    m_working = 0;
    m_fixedServers = !servers.isEmpty();
    m_badAddress = false;
}

void DirectoryClient::setDiscoveryNameserver(const QHostAddress& nameserver)
{
    m_discovery->setNameserver(nameserver);
}

void DirectoryClient::setDiscoveryTimeout(int ms)
{
    m_discovery->setTimeout(ms);
}

QUrl DirectoryClient::workingServer() const
{
    return m_servers.isEmpty() ? QUrl() : m_servers.at(m_working);
}

DirectoryReply* DirectoryClient::searchStations(const DirectorySearch& search, int offset, int limit)
{
    QList<std::pair<QString, QString>> query;
    const QString text = DirectoryCleaning::text(search.text, maxSearchTextLength);
    const QString tag = DirectoryCleaning::text(search.tag, DirectoryStation::maxTagLength);
    const QString country = DirectoryCleaning::countryCode(search.countryCode);
    if (!text.isEmpty())
        query.append({QStringLiteral("name"), text});
    if (!tag.isEmpty())
        query.append({QStringLiteral("tag"), tag});
    if (!country.isEmpty())
        query.append({QStringLiteral("countrycode"), country});
    query.append({QStringLiteral("order"), QStringLiteral("clickcount")});
    query.append({QStringLiteral("reverse"), QStringLiteral("true")});
    query.append({QStringLiteral("hidebroken"), QStringLiteral("true")});
    query.append({QStringLiteral("limit"), QString::number(std::max(1, limit))});
    query.append({QStringLiteral("offset"), QString::number(std::max(0, offset))});
    return request(DirectoryReply::Kind::Stations, QStringLiteral("/json/stations/search"), queryOf(query),
                   std::max(1, limit));
}

DirectoryReply* DirectoryClient::popularTags(int limit)
{
    const QString query = queryOf({{QStringLiteral("order"), QStringLiteral("stationcount")},
                                   {QStringLiteral("reverse"), QStringLiteral("true")},
                                   {QStringLiteral("limit"), QString::number(std::max(1, limit))}});
    return request(DirectoryReply::Kind::Tags, QStringLiteral("/json/tags"), query, std::max(1, limit));
}

DirectoryReply* DirectoryClient::countClick(const QString& stationUuid)
{
    // The identifier becomes part of the path: only a UUID may.
    const QString text = stationUuid.trimmed();
    const QUuid uuid = text.size() == 36 ? QUuid::fromString(text) : QUuid();
    if (uuid.isNull()) {
        printLine(QCoreApplication::translate("DirectoryClient", "Directory: no click counted for a station without a directory identifier"));
        return nullptr;
    }
    return request(DirectoryReply::Kind::Click, QStringLiteral("/json/url/") + uuid.toString(QUuid::WithoutBraces),
                   {}, 0);
}

DirectoryReply* DirectoryClient::request(DirectoryReply::Kind kind, const QString& path, const QString& query,
                                         qsizetype limit)
{
    auto* reply = new DirectoryReply(this, kind, path, query, limit);
    // Started from the event loop, so that the caller has connected to
    // finished() whatever happens.
    QMetaObject::invokeMethod(
        this, [this, guarded = QPointer<DirectoryReply>(reply)] { if (guarded) dispatch(guarded); },
        Qt::QueuedConnection);
    return reply;
}

void DirectoryClient::dispatch(DirectoryReply* reply)
{
    if (m_badAddress) {
        reply->failBeforeStart(DirectoryReply::Error::BadAddress,
                               DirectoryReply::messageFor(DirectoryReply::Error::BadAddress));
        return;
    }
    if (m_servers.isEmpty()) {
        m_waiting.append(reply);
        if (!m_discovery->isRunning())
            m_discovery->start();
        return;
    }
    // The working server first, then the others in their order.
    QList<QUrl> order;
    for (qsizetype i = 0; i < std::min<qsizetype>(m_servers.size(), maxAttempts); ++i)
        order.append(m_servers.at((m_working + i) % m_servers.size()));
    reply->start(order);
}

void DirectoryClient::discoveryFinished(const QList<QUrl>& servers)
{
    if (!m_fixedServers) {
        m_servers = servers;
        m_working = 0;
        QStringList names;
        for (const QUrl& server : servers)
            names.append(server.host());
        printLine(QCoreApplication::translate("DirectoryClient", "Directory: servers %1").arg(names.join(QLatin1String(", "))));
    }
    for (const QPointer<DirectoryReply>& reply : std::exchange(m_waiting, {})) {
        if (reply)
            dispatch(reply);
    }
}

void DirectoryClient::discoveryFailed(const QString& message)
{
    for (const QPointer<DirectoryReply>& reply : std::exchange(m_waiting, {})) {
        if (reply)
            reply->failBeforeStart(DirectoryReply::Error::Unreachable, message);
    }
}

void DirectoryClient::serverWorked(const QUrl& server)
{
    const qsizetype index = m_servers.indexOf(server);
    if (index < 0 || index == m_working)
        return;
    m_working = index;
    printLine(QCoreApplication::translate("DirectoryClient", "Directory: now using %1").arg(server.toString(QUrl::RemoveUserInfo)));
}

void DirectoryClient::serverFailed(const QUrl& server)
{
    // Only the first failure of the working server moves on: replies that
    // were already on their way to it must not skip a good one.
    if (!m_servers.isEmpty() && m_servers.at(m_working) == server)
        m_working = (m_working + 1) % m_servers.size();
}
