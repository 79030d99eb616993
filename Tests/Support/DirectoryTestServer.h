// Starts Tests/Support/directoryserver.py (a station directory) or
// Tests/Support/dnsserver.py (a DNS server) for the lifetime of the object.
// Qt tests only. The processes are started with posix_spawn: QProcess's way
// of starting children corrupts ThreadSanitizer's view of the parent.
#pragma once

#include <QByteArray>
#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QUrl>
#include <QUrlQuery>

#include <csignal>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <vector>

extern char** environ;

#ifndef QUILLORA_TEST_SUPPORT_DIR
#error "QUILLORA_TEST_SUPPORT_DIR must name Tests/Support"
#endif

// A helper script as a child process; firstLine() is what it printed first.
class SpawnedScript {
public:
    explicit SpawnedScript(const QString& script, const QStringList& arguments)
    {
        QList<QByteArray> args{QByteArrayLiteral("python3"),
                               (QStringLiteral(QUILLORA_TEST_SUPPORT_DIR "/") + script).toLocal8Bit()};
        for (const QString& argument : arguments)
            args.append(argument.toLocal8Bit());
        std::vector<char*> argv;
        for (QByteArray& arg : args)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        int out[2];
        if (::pipe(out) != 0)
            return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        const int failed = posix_spawnp(&m_pid, "python3", &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        ::close(out[1]);
        if (failed != 0) {
            m_pid = -1;
            ::close(out[0]);
            return;
        }
        char c = 0;
        pollfd ready{out[0], POLLIN, 0};
        while (!m_firstLine.endsWith('\n') && ::poll(&ready, 1, 10000) > 0 && ::read(out[0], &c, 1) == 1)
            m_firstLine += c;
        ::close(out[0]);
        m_firstLine = m_firstLine.trimmed();
    }

    ~SpawnedScript() { stop(); }
    SpawnedScript(const SpawnedScript&) = delete;
    SpawnedScript& operator=(const SpawnedScript&) = delete;

    QByteArray firstLine() const { return m_firstLine; }
    bool isRunning() const { return m_pid > 0 && ::waitpid(m_pid, nullptr, WNOHANG) == 0; }

    void stop()
    {
        if (m_pid <= 0)
            return;
        ::kill(m_pid, SIGTERM);
        for (int i = 0; i < 300 && ::waitpid(m_pid, nullptr, WNOHANG) == 0; ++i)
            ::usleep(10000);
        if (::waitpid(m_pid, nullptr, WNOHANG) == 0) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
        m_pid = -1;
    }

private:
    pid_t m_pid = -1;
    QByteArray m_firstLine;
};

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
    static QString header(const QJsonObject& request, const QString& name)
    {
        return request.value(QLatin1String("headers")).toObject().value(name).toString();
    }

private:
    QByteArray fetch(const QString& pathAndQuery) const
    {
        QNetworkAccessManager manager;
        QNetworkRequest request(QUrl(url().toString() + pathAndQuery));
        request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
        QNetworkReply* reply = manager.get(request);
        QEventLoop loop;
        QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
        QTimer::singleShot(5000, &loop, &QEventLoop::quit);
        loop.exec();
        const QByteArray body = reply->isFinished() ? reply->readAll() : QByteArray();
        reply->deleteLater();
        return body;
    }

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
