// Starts Tests/Support/httpserver.py on 127.0.0.1 for the lifetime of the
// object. Qt tests only; the server's query parameters (status, delay, chunk,
// truncate, type, hold) make hostile answers, /__stats counts requests.
#pragma once

#include "SpawnedScript.h"

#include <QJsonDocument>
#include <QJsonObject>

class LocalHttpServer {
public:
    explicit LocalHttpServer(const QString& root)
        : m_script(QStringLiteral("httpserver.py"),
                   {QStringLiteral("--root"), root, QStringLiteral("--lifetime"), QStringLiteral("300")})
    {
        if (m_script.firstLine().startsWith("PORT "))
            m_port = m_script.firstLine().mid(5).toUShort();
    }

    bool isRunning() const { return m_port != 0 && m_script.isRunning(); }
    quint16 port() const { return m_port; }

    // http://127.0.0.1:<port><path>; path starts with '/', may hold a query.
    QUrl url(const QString& path) const
    {
        return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(m_port).arg(path));
    }

    void stop() { m_script.stop(); }

    // Requests seen per path (query stripped); -1 when the server did not answer.
    int requestCount(const QString& path) const
    {
        const QJsonObject stats = fetchJson(QStringLiteral("/__stats"));
        if (stats.isEmpty() && !isRunning())
            return -1;
        return stats.value(path).toInt(0);
    }

    void resetCounts() const { fetchJson(QStringLiteral("/__reset")); }

    // Lets the answers asked for with hold=<name> go.
    void release(const QString& name) const { fetchJson(QStringLiteral("/__release/") + name); }

    // Every count the server keeps (see httpserver.py's /__stats).
    QJsonObject stats() const { return fetchJson(QStringLiteral("/__stats")); }

    // The User-Agent of the last request to each path.
    QJsonObject agents() const { return fetchJson(QStringLiteral("/__agents")); }

private:
    QJsonObject fetchJson(const QString& path) const { return QJsonDocument::fromJson(fetchNow(url(path))).object(); }

    SpawnedScript m_script;
    quint16 m_port = 0;
};
