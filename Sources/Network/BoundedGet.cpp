#include "Network/BoundedGet.h"

#include "Network/WebAddress.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QThread>

#include <algorithm>

namespace net {

QString GetError::message() const
{
    switch (kind) {
    case Kind::None:
        return {};
    case Kind::BadAddress:
        return tr("The address is not an http or https address.");
    case Kind::BadRedirect:
        return tr("The server sent the request on to an address that is not followed.");
    case Kind::NotAnswering:
        return tr("The server is not answering.");
    case Kind::SecureConnection:
        return tr("The secure connection failed.");
    case Kind::TimedOut:
        return tr("The server did not send a whole answer in time.");
    case Kind::HttpStatus:
        return tr("The server answered %1.").arg(httpStatus);
    case Kind::TooLarge:
        return tr("The answer is too large.");
    case Kind::Truncated:
        return tr("The transfer stopped half way.");
    case Kind::Cancelled:
        return tr("The transfer was cancelled.");
    }
    return {};
}

QNetworkAccessManager& BoundedGet::threadNetwork()
{
    // One per thread: a manager keeps its connections (and their TLS
    // sessions) for the next request to the same server, and it may only be
    // used on the thread that made it.
    thread_local QNetworkAccessManager* manager = nullptr;
    if (manager)
        return *manager;
    manager = new QNetworkAccessManager;
    QCoreApplication* app = QCoreApplication::instance();
    QThread* thread = QThread::currentThread();
    if (app && app->thread() == thread) {
        // Gone with the application, before Qt's network plumbing is.
        manager->setParent(app);
        QObject::connect(manager, &QObject::destroyed, [] { manager = nullptr; });
    } else {
        // Emitted on the ending thread itself, whose manager this is.
        QObject::connect(
            thread, &QThread::finished, thread,
            [] {
                delete manager;
                manager = nullptr;
            },
            Qt::DirectConnection);
    }
    return *manager;
}

BoundedGet::BoundedGet(QNetworkRequest request, const Policy& policy, Body body, QObject* parent)
    : QObject(parent)
    , m_policy(policy)
    , m_streaming(body == Body::Stream)
    , m_url(request.url())
    , m_current(request.url())
{
    if (!isWebAddress(m_url)) {
        m_error = {GetError::Kind::BadAddress, 0, m_url.toString(QUrl::RemoveUserInfo).left(200)};
        QMetaObject::invokeMethod(this, &BoundedGet::finish, Qt::QueuedConnection);
        return;
    }
    if (!policy.userAgent.isEmpty())
        request.setHeader(QNetworkRequest::UserAgentHeader, policy.userAgent);
    if (!policy.useCache) {
        request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
        request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    }
    if (policy.transferTimeoutMs > 0)
        request.setTransferTimeout(policy.transferTimeoutMs);
    // Every hop is checked here, not left to Qt's rules.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::UserVerifiedRedirectPolicy);
    request.setMaximumRedirectsAllowed(std::max(0, policy.maxRedirects));

    QNetworkReply* reply = threadNetwork().get(request);
    m_reply = reply;
    // Qt's network thread reads no further ahead than this, so what a
    // server sends is counted here as it arrives, not gathered unbounded.
    reply->setReadBufferSize(readAheadBytes);
    connect(reply, &QNetworkReply::metaDataChanged, this, &BoundedGet::onMetaData);
    connect(reply, &QNetworkReply::redirected, this, &BoundedGet::onRedirected);
    connect(reply, &QNetworkReply::readyRead, this, &BoundedGet::onReadyRead);
    connect(reply, &QNetworkReply::finished, this, &BoundedGet::onReplyFinished);
    if (policy.deadlineMs > 0) {
        m_deadline.setSingleShot(true);
        connect(&m_deadline, &QTimer::timeout, this, [this] {
            m_timedOut = true;
            if (m_reply)
                m_reply->abort(); // finishes the reply at once
        });
        m_deadline.start(policy.deadlineMs);
    }
}

BoundedGet::~BoundedGet()
{
    if (QNetworkReply* reply = m_reply.data()) {
        reply->disconnect(this);
        reply->abort();
        delete reply;
    }
}

void BoundedGet::onRedirected(const QUrl& target)
{
    const bool downgrade = m_current.scheme().compare(QLatin1String("https"), Qt::CaseInsensitive) == 0
        && target.scheme().compare(QLatin1String("http"), Qt::CaseInsensitive) == 0;
    if (!isWebAddress(target) || downgrade) {
        failLater(GetError::Kind::BadRedirect, target.toString(QUrl::RemoveUserInfo).left(200));
        return;
    }
    m_current = target;
    emit m_reply->redirectAllowed();
}

void BoundedGet::onMetaData()
{
    const QVariant status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (!status.isValid())
        return;
    const int code = status.toInt();
    if (code >= 300 && code < 400)
        return; // a hop (checked by onRedirected()), or judged once finished
    m_status = code;
    if (code < 200 || code > 299) {
        // Its body is read and dropped (within the size limit): the
        // connection stays usable.
        if (!m_error.isError())
            m_error = {GetError::Kind::HttpStatus, code, QStringLiteral("HTTP %1").arg(code)};
        return;
    }
    bool known = false;
    const qint64 length = m_reply->header(QNetworkRequest::ContentLengthHeader).toLongLong(&known);
    if (known)
        m_expected = length;
    if (m_expected > m_policy.maxBytes)
        failLater(GetError::Kind::TooLarge, QStringLiteral("%1 bytes announced").arg(m_expected));
}

void BoundedGet::onReadyRead()
{
    const QByteArray bytes = m_reply->readAll();
    if (bytes.isEmpty())
        return;
    m_received += bytes.size();
    if (m_received > m_policy.maxBytes) {
        m_body.clear();
        failLater(GetError::Kind::TooLarge, QStringLiteral("over %1 bytes").arg(m_policy.maxBytes));
        return;
    }
    if (m_error.isError())
        return;
    if (m_streaming)
        emit received(bytes, m_received, m_expected);
    else
        m_body += bytes;
}

void BoundedGet::failLater(GetError::Kind kind, const QString& detail)
{
    if (!m_error.isError())
        m_error = {kind, m_status, detail};
    if (!m_reply || m_reply->isFinished())
        return;
    disconnect(m_reply, &QNetworkReply::readyRead, this, nullptr);
    QMetaObject::invokeMethod(
        this, [this] { if (m_reply && !m_reply->isFinished()) m_reply->abort(); }, Qt::QueuedConnection);
}

void BoundedGet::onReplyFinished()
{
    QNetworkReply* reply = m_reply.data();
    if (!reply || m_finished)
        return;
    m_deadline.stop();
    if (reply->bytesAvailable() > 0 && !m_error.isError())
        onReadyRead(); // the rest
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    const bool answered = status.isValid();
    if (!m_error.isError()) {
        const QNetworkReply::NetworkError error = reply->error();
        const QString text = reply->errorString();
        using Kind = GetError::Kind;
        if (m_timedOut) {
            m_error = {Kind::TimedOut, m_status, QStringLiteral("no whole answer within %1 ms").arg(m_policy.deadlineMs)};
        } else if (error == QNetworkReply::TooManyRedirectsError || error == QNetworkReply::InsecureRedirectError) {
            m_error = {Kind::BadRedirect, m_status, text};
        } else if (error == QNetworkReply::ProtocolUnknownError && answered && status.toInt() >= 300
                   && status.toInt() < 400) {
            // Sent on to a scheme Qt does not even try (file:, ftp:, ...).
            m_error = {Kind::BadRedirect, m_status, QString::fromLatin1(reply->rawHeader("Location").left(200))};
        } else if (answered && (status.toInt() < 200 || status.toInt() > 299)) {
            m_status = status.toInt();
            m_error = {Kind::HttpStatus, m_status, QStringLiteral("HTTP %1").arg(m_status)};
        } else if (error == QNetworkReply::SslHandshakeFailedError) {
            m_error = {Kind::SecureConnection, m_status, text};
        } else if (error != QNetworkReply::NoError) {
            // Once the server has answered, a connection that ends early
            // (or stalls past the transfer timeout) cut the body short;
            // before that, nobody answered.
            m_error = {answered ? Kind::Truncated : Kind::NotAnswering, m_status, text};
        } else if (m_expected >= 0 && m_received < m_expected) {
            m_error = {Kind::Truncated, m_status, QStringLiteral("%1 of %2 bytes").arg(m_received).arg(m_expected)};
        } else if (!answered) {
            m_error = {Kind::NotAnswering, 0, QStringLiteral("no HTTP answer")};
        }
    }
    if (m_error.isError())
        m_body.clear();
    reply->disconnect(this);
    reply->deleteLater();
    m_reply = nullptr;
    finish();
}

void BoundedGet::finish()
{
    if (m_finished)
        return;
    m_finished = true;
    m_deadline.stop();
    emit finished();
}

void BoundedGet::abort()
{
    if (m_finished)
        return;
    if (!m_error.isError())
        m_error = {GetError::Kind::Cancelled, m_status, QStringLiteral("cancelled")};
    m_body.clear();
    if (QNetworkReply* reply = m_reply.data()) {
        m_reply = nullptr;
        reply->disconnect(this);
        reply->abort();
        reply->deleteLater();
    }
    finish();
}

} // namespace net
