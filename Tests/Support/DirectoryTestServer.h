// Starts Tests/Support/directoryserver.py (a station directory) or
// Tests/Support/dnsserver.py (a DNS server) for the lifetime of the object.
#pragma once

#include "SpawnedScript.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrlQuery>

class DirectoryTestServer {
public:
    // Generated stations (see directoryserver.py).
    explicit DirectoryTestServer(int stations = 200)
        : DirectoryTestServer({QStringLiteral("--stations"), QString::number(stations)})
    {
    }
    // The station objects of a JSON file.
    explicit DirectoryTestServer(const QString& stationsFile)
        : DirectoryTestServer({QStringLiteral("--stations-file"), stationsFile})
    {
    }
    explicit DirectoryTestServer(const QStringList& arguments)
        : m_script(QStringLiteral("directoryserver.py"),
                   arguments + QStringList{QStringLiteral("--lifetime"), QStringLiteral("300")})
    {
        if (m_script.firstLine().startsWith("PORT "))
            m_port = m_script.firstLine().mid(5).toUShort();
    }

    bool isRunning() const { return m_port != 0 && m_script.isRunning(); }
    quint16 port() const { return m_port; }
    QUrl url() const { return QUrl(QStringLiteral("http://127.0.0.1:%1").arg(m_port)); }
    void stop() { m_script.stop(); }

    // How the /json/ endpoints answer from now on (see directoryserver.py).
    void setMode(const QString& mode, double delaySeconds = 30, const QString& onlyName = {}) const
    {
        QUrlQuery query;
        query.addQueryItem(QStringLiteral("mode"), mode);
        query.addQueryItem(QStringLiteral("delay"), QString::number(delaySeconds));
        if (!onlyName.isNull())
            query.addQueryItem(QStringLiteral("only_name"), onlyName);
        fetch(QStringLiteral("/__mode?") + query.toString(QUrl::FullyEncoded));
    }
    void reset() const { fetch(QStringLiteral("/__reset")); }

    // Every request seen since the last reset: method, path, query, headers.
    QJsonArray requests() const { return QJsonDocument::fromJson(fetch(QStringLiteral("/__requests"))).array(); }
    // Requests to one path.
    QList<QJsonObject> requestsTo(const QString& path) const
    {
        QList<QJsonObject> found;
        for (const QJsonValue& value : requests()) {
            if (value.toObject().value(QLatin1String("path")).toString() == path)
                found.append(value.toObject());
        }
        return found;
    }
    QJsonObject clicks() const { return QJsonDocument::fromJson(fetch(QStringLiteral("/__clicks"))).object(); }
    // Bytes sent of each endless answer the client hung up on.
    QJsonArray abortedAnswers() const
    {
        return QJsonDocument::fromJson(fetch(QStringLiteral("/__aborted"))).array();
    }

    // One query parameter of a recorded request.
    static QString parameter(const QJsonObject& request, const QString& name)
    {
        return request.value(QLatin1String("query")).toObject().value(name).toArray().first().toString();
    }

private:
    QByteArray fetch(const QString& pathAndQuery) const { return fetchNow(QUrl(url().toString() + pathAndQuery)); }

    SpawnedScript m_script;
    quint16 m_port = 0;
};

// A DNS server on port 53 of a random loopback address; address() is null
// when it could not start (port 53 needs root).
class DnsTestServer {
public:
    explicit DnsTestServer(const QStringList& records, bool silent = false)
        : m_script(QStringLiteral("dnsserver.py"), arguments(records, silent))
    {
        if (m_script.firstLine().startsWith("DNS "))
            m_address = QString::fromLatin1(m_script.firstLine().mid(4));
    }
    QString address() const { return m_address; }

private:
    static QStringList arguments(const QStringList& records, bool silent)
    {
        QStringList args{QStringLiteral("--lifetime"), QStringLiteral("300")};
        for (const QString& record : records)
            args << QStringLiteral("--record") << record;
        if (silent)
            args << QStringLiteral("--silent");
        return args;
    }

    SpawnedScript m_script;
    QString m_address;
};
