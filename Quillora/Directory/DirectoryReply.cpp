#include "Directory/DirectoryReply.h"

#include "Directory/DirectoryClient.h"
#include "Diagnostics/Diagnostics.h"
#include "Network/BoundedGet.h"
#include "Support/NetworkPolicy.h"

#include <QCoreApplication>
#include <QFutureWatcher>
#include <QNetworkRequest>
#include <QtConcurrent/QtConcurrentRun>

QString DirectoryReply::messageFor(Error error)
{
    switch (error) {
    case Error::None:
        return {};
    case Error::Unreachable:
        return tr("The station directory cannot be reached.");
    case Error::TimedOut:
        return tr("The station directory did not answer in time.");
    case Error::HttpStatus:
        return tr("The station directory is not working right now.");
    case Error::Unreadable:
        return tr("The station directory sent an answer Quillora cannot read.");
    case Error::TooLarge:
        return tr("The station directory sent an answer too large to read.");
    case Error::BadAddress:
        return tr("QUILLORA_DIRECTORY_URL is not an http or https address.");
    }
    return {};
}

DirectoryReply::DirectoryReply(DirectoryClient* client, Kind kind, QString path, QString query, qsizetype limit)
    : QObject(client)
    , m_client(client)
    , m_kind(kind)
    , m_path(std::move(path))
    , m_query(std::move(query))
    , m_limit(limit)
{
}

void DirectoryReply::start(const QList<QUrl>& servers)
{
    if (m_aborted || m_finished)
        return;
    m_servers = servers;
    m_next = 0;
    attempt();
}

void DirectoryReply::failBeforeStart(Error error, const QString& message)
{
    finish(error, message);
}

void DirectoryReply::attempt()
{
    if (m_aborted || m_finished || !m_client)
        return;
    if (m_next >= m_servers.size()) {
        finish(m_error == Error::None ? Error::Unreachable : m_error,
               m_errorMessage.isEmpty() ? messageFor(Error::Unreachable) : m_errorMessage);
        return;
    }
    m_server = m_servers.at(m_next++);

    QUrl url = m_server;
    QString base = url.path();
    while (base.endsWith(QLatin1Char('/')))
        base.chop(1);
    url.setPath(base + m_path);
    url.setQuery(m_query, QUrl::StrictMode);

    QNetworkRequest request(url);
    request.setRawHeader("Accept", "application/json");
    // Bounded by the whole request's time alone: the directory answers at
    // once or not at all.
    m_network = new net::BoundedGet(request,
                                    NetworkPolicy::get(DirectoryClient::maxAnswerBytes, 0, m_client->requestTimeout()),
                                    net::BoundedGet::Body::Keep, this);
    connect(m_network, &net::BoundedGet::finished, this, &DirectoryReply::onNetworkFinished);
}

void DirectoryReply::onNetworkFinished()
{
    net::BoundedGet* network = std::exchange(m_network, nullptr);
    if (!network)
        return;
    network->disconnect(this);
    network->deleteLater();

    using Failure = net::GetError::Kind;
    const net::GetError& failure = network->error();
    switch (failure.kind) {
    case Failure::None:
        break;
    case Failure::TooLarge:
        attemptFailed(Error::TooLarge, QStringLiteral("answer over %1 bytes").arg(DirectoryClient::maxAnswerBytes));
        return;
    case Failure::TimedOut:
        attemptFailed(Error::TimedOut, QStringLiteral("no answer within %1 ms").arg(m_client->requestTimeout()));
        return;
    case Failure::HttpStatus: {
        // A request the server refuses as such (4xx) is refused by every
        // server alike; only a server's own trouble is worth another one.
        const int code = failure.httpStatus;
        const bool serverTrouble = code < 400 || code >= 500 || code == 429;
        attemptFailed(Error::HttpStatus, QStringLiteral("HTTP %1").arg(code), serverTrouble);
        return;
    }
    default:
        attemptFailed(Error::Unreachable, failure.detail.isEmpty() ? failure.message() : failure.detail);
        return;
    }
    QByteArray body = network->takeBody();
    if (m_kind == Kind::Click) {
        if (m_client)
            m_client->serverWorked(m_server);
        finish(Error::None, {});
        return;
    }
    m_reading = new QFutureWatcher<DirectoryAnswer>(this);
    connect(m_reading, &QFutureWatcherBase::finished, this, &DirectoryReply::onAnswerRead);
    // The worker sees only the bytes and the limit.
    m_reading->setFuture(QtConcurrent::run([body = std::move(body), kind = m_kind, limit = m_limit] {
        return kind == Kind::Tags ? DirectoryAnswer::readTags(body, limit) : DirectoryAnswer::readStations(body, limit);
    }));
}

void DirectoryReply::onAnswerRead()
{
    QFutureWatcher<DirectoryAnswer>* reading = std::exchange(m_reading, nullptr);
    if (!reading)
        return;
    reading->deleteLater();
    DirectoryAnswer answer = reading->result();
    if (!answer.readable) {
        attemptFailed(Error::Unreadable, QStringLiteral("not a JSON array"));
        return;
    }
    m_answer = std::move(answer);
    if (m_client)
        m_client->serverWorked(m_server);
    finish(Error::None, {});
}

void DirectoryReply::attemptFailed(Error error, const QString& detail, bool tryNextServer)
{
    printLine(QCoreApplication::translate("DirectoryReply", "Directory: %1%2 failed: %3")
                  .arg(m_server.toString(QUrl::RemoveUserInfo | QUrl::StripTrailingSlash), m_path, detail));
    m_error = error;
    m_errorMessage = messageFor(error);
    if (error == Error::HttpStatus) {
        m_errorMessage.chop(1);
        m_errorMessage += QStringLiteral(" (%1).").arg(detail);
    }
    if (!tryNextServer) {
        finish(error, m_errorMessage);
        return;
    }
    if (m_client)
        m_client->serverFailed(m_server);
    // Not from inside the network reply's own signal.
    QMetaObject::invokeMethod(this, &DirectoryReply::attempt, Qt::QueuedConnection);
}

void DirectoryReply::finish(Error error, const QString& message)
{
    if (m_finished || m_aborted)
        return;
    m_finished = true;
    m_error = error;
    m_errorMessage = message;
    if (error != Error::None)
        m_answer = {};
    emit finished();
    deleteLater();
}

void DirectoryReply::abort()
{
    if (m_aborted)
        return;
    m_aborted = true;
    if (net::BoundedGet* network = std::exchange(m_network, nullptr)) {
        network->disconnect(this);
        network->abort();
        network->deleteLater();
    }
    if (QFutureWatcher<DirectoryAnswer>* reading = std::exchange(m_reading, nullptr)) {
        reading->disconnect(this);
        reading->deleteLater();
    }
    deleteLater();
}
