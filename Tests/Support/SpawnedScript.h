// A helper script of Tests/Support as a child process for the lifetime of
// an object, and the blocking request a test makes of such a server. Qt
// tests only. The processes are started with posix_spawn: QProcess's way of
// starting children corrupts ThreadSanitizer's view of the parent.
#pragma once

#include <QByteArray>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QUrl>

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

// The body of a GET of `url` (empty after five seconds without an answer),
// never from a cache.
inline QByteArray fetchNow(const QUrl& url)
{
    QNetworkAccessManager manager;
    QNetworkRequest request(url);
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
