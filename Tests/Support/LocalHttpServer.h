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

#if defined(__SANITIZE_THREAD__)
#include <csignal>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
extern char** environ;
#endif

#ifndef QUILLORA_TEST_SUPPORT_DIR
#error "QUILLORA_TEST_SUPPORT_DIR must name Tests/Support"
#endif

class LocalHttpServer {
public:
    static constexpr int startupMs = 30000;

    explicit LocalHttpServer(const QString& root)
    {
#if defined(__SANITIZE_THREAD__)
        startSpawned(root);
        return;
#endif
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(QStringLiteral("python3"),
                        {QStringLiteral(QUILLORA_TEST_SUPPORT_DIR "/httpserver.py"),
                         QStringLiteral("--root"), root,
                         QStringLiteral("--lifetime"), QStringLiteral("300")});
        // Far above the usual half second: on a machine busy with other
        // builds, Python alone takes seconds to start.
        if (!m_process.waitForStarted(startupMs))
            return;
        QByteArray line;
        while (!line.endsWith('\n') && m_process.waitForReadyRead(startupMs))
            line += m_process.readLine();
        if (line.startsWith("PORT "))
            m_port = line.mid(5).trimmed().toUShort();
    }

    ~LocalHttpServer() { stop(); }

    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;

    bool isRunning() const
    {
#if defined(__SANITIZE_THREAD__)
        return m_port != 0 && m_pid > 0 && ::waitpid(m_pid, nullptr, WNOHANG) == 0;
#endif
        return m_port != 0 && m_process.state() == QProcess::Running;
    }
    quint16 port() const { return m_port; }

    // http://127.0.0.1:<port><path>; path starts with '/', may hold a query.
    QUrl url(const QString& path) const
    {
        return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(m_port).arg(path));
    }

    void stop()
    {
#if defined(__SANITIZE_THREAD__)
        stopSpawned();
        return;
#endif
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

    // Every count the server keeps (see httpserver.py's /__stats).
    QJsonObject stats() const { return fetchJson(QStringLiteral("/__stats")); }

    // The User-Agent of the last request to each path.
    QJsonObject agents() const { return fetchJson(QStringLiteral("/__agents")); }

private:
#if defined(__SANITIZE_THREAD__)
    // QProcess starts children in a way that corrupts ThreadSanitizer's view
    // of the parent (every later lock looks racy); posix_spawn does not.
    void startSpawned(const QString& root)
    {
        int out[2];
        if (::pipe(out) != 0)
            return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        const QByteArray script = QByteArrayLiteral(QUILLORA_TEST_SUPPORT_DIR "/httpserver.py");
        const QByteArray rootBytes = root.toLocal8Bit();
        char* argv[] = {const_cast<char*>("python3"), const_cast<char*>(script.constData()),
                        const_cast<char*>("--root"), const_cast<char*>(rootBytes.constData()),
                        const_cast<char*>("--lifetime"), const_cast<char*>("300"), nullptr};
        const int failed = posix_spawnp(&m_pid, "python3", &actions, nullptr, argv, environ);
        posix_spawn_file_actions_destroy(&actions);
        ::close(out[1]);
        if (failed != 0) {
            m_pid = -1;
            ::close(out[0]);
            return;
        }
        QByteArray line;
        char c = 0;
        pollfd ready{out[0], POLLIN, 0};
        while (!line.endsWith('\n') && ::poll(&ready, 1, startupMs) > 0 && ::read(out[0], &c, 1) == 1)
            line += c;
        ::close(out[0]);
        if (line.startsWith("PORT "))
            m_port = line.mid(5).trimmed().toUShort();
    }

    void stopSpawned()
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

    pid_t m_pid = -1;
#endif

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
