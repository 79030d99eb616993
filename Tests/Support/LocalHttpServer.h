// Starts Tests/Support/httpserver.py on 127.0.0.1 for the lifetime of the
// object. Qt tests only; the server's query parameters (status, delay, chunk,
// truncate, type) make hostile answers, /__stats counts requests.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QEventLoop>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QString>
#include <QTimer>
#include <QUrl>

#ifndef QUILLORA_TEST_SUPPORT_DIR
#error "QUILLORA_TEST_SUPPORT_DIR must name Tests/Support"
#endif

class LocalHttpServer {
public:
    explicit LocalHttpServer(const QString& root)
    {
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(QStringLiteral("python3"),
                        {QStringLiteral(QUILLORA_TEST_SUPPORT_DIR "/httpserver.py"),
                         QStringLiteral("--root"), root,
                         QStringLiteral("--lifetime"), QStringLiteral("300")});
        if (!m_process.waitForStarted(5000))
            return;
        QByteArray line;
        while (!line.endsWith('\n') && m_process.waitForReadyRead(5000))
            line += m_process.readLine();
        if (line.startsWith("PORT "))
            m_port = line.mid(5).trimmed().toUShort();
    }

    ~LocalHttpServer() { stop(); }

    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;

    bool isRunning() const { return m_port != 0 && m_process.state() == QProcess::Running; }
    quint16 port() const { return m_port; }

    // http://127.0.0.1:<port><path>; path starts with '/', may hold a query.
    QUrl url(const QString& path) const
    {
        return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(m_port).arg(path));
    }

    void stop()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.terminate();
        if (!m_process.waitForFinished(3000)) {
            m_process.kill();
            m_process.waitForFinished(3000);
        }
    }

    // Requests seen per path (query stripped); -1 when the server did not answer.
    int requestCount(const QString& path) const
    {
        const QJsonObject stats = fetchJson(QStringLiteral("/__stats"));
        if (stats.isEmpty() && !isRunning())
            return -1;
        return stats.value(path).toInt(0);
    }

    void resetCounts() const { fetchJson(QStringLiteral("/__reset")); }

private:
    QJsonObject fetchJson(const QString& path) const
    {
        QNetworkAccessManager manager;
        QNetworkRequest request(url(path));
        request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                             QNetworkRequest::AlwaysNetwork);
        QNetworkReply* reply = manager.get(request);
        QEventLoop loop;
        QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
        QTimer::singleShot(5000, &loop, &QEventLoop::quit);
        loop.exec();
        const QByteArray body = reply->isFinished() ? reply->readAll() : QByteArray();
        reply->deleteLater();
        return QJsonDocument::fromJson(body).object();
    }

    QProcess m_process;
    quint16 m_port = 0;
};
