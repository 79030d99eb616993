// Drives Tests/Support/livepeers.py from a Qt test: a local Icecast and its
// ffmpeg sources, the ICY test server, test files made with ffmpeg. One
// command per line, one answer each (see serve() in livepeers.py); every
// peer ends when this object does.
//
// Started with posix_spawn rather than QProcess, which ThreadSanitizer
// cannot follow.
#pragma once

#include <QByteArray>
#include <QString>

#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#ifndef QUILLORA_TEST_SUPPORT_DIR
#error "QUILLORA_TEST_SUPPORT_DIR must name Tests/Support"
#endif

extern char** environ;

class LivePeers {
public:
    LivePeers()
    {
        std::signal(SIGPIPE, SIG_IGN); // a helper that died must not take the test with it
        int in[2];
        int out[2];
        if (::pipe2(in, O_CLOEXEC) != 0)
            return;
        if (::pipe2(out, O_CLOEXEC) != 0) {
            ::close(in[0]);
            ::close(in[1]);
            return;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, in[0], 0);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        char* argv[] = {const_cast<char*>("python3"),
                        const_cast<char*>(QUILLORA_TEST_SUPPORT_DIR "/livepeers.py"),
                        const_cast<char*>("serve"), nullptr};
        if (posix_spawnp(&m_pid, "python3", &actions, nullptr, argv, environ) != 0)
            m_pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        ::close(in[0]);
        ::close(out[1]);
        m_in = in[1];
        m_out = out[0];
    }

    ~LivePeers()
    {
        if (m_in >= 0)
            ::close(m_in); // the helper ends its peers and exits
        if (m_pid > 0) {
            for (int i = 0; i < 800 && ::waitpid(m_pid, nullptr, WNOHANG) == 0; ++i)
                ::usleep(10000);
            if (::waitpid(m_pid, nullptr, WNOHANG) == 0) {
                ::kill(m_pid, SIGTERM);
                ::waitpid(m_pid, nullptr, 0);
            }
        }
        if (m_out >= 0)
            ::close(m_out);
    }

    LivePeers(const LivePeers&) = delete;
    LivePeers& operator=(const LivePeers&) = delete;

    // Sends one command; the answer after "OK" (possibly empty), or a null
    // string on "ERR ..." or no answer in time (then `error` says why).
    QString request(const QString& command, int timeoutMs = 30000)
    {
        m_error.clear();
        const QByteArray line = command.toUtf8() + '\n';
        if (m_pid <= 0 || ::write(m_in, line.constData(), line.size()) != line.size()) {
            m_error = QStringLiteral("livepeers.py is not running");
            return {};
        }
        QByteArray answer;
        char c = 0;
        pollfd ready{m_out, POLLIN, 0};
        while (!answer.endsWith('\n')) {
            if (::poll(&ready, 1, timeoutMs) <= 0 || ::read(m_out, &c, 1) != 1) {
                m_error = QStringLiteral("no answer to ") + command.left(40);
                return {};
            }
            answer += c;
        }
        answer = answer.trimmed();
        if (answer == "OK")
            return QStringLiteral("");
        if (answer.startsWith("OK "))
            return QString::fromUtf8(answer.mid(3));
        m_error = QString::fromUtf8(answer);
        return {};
    }

    QString error() const { return m_error; }

private:
    pid_t m_pid = -1;
    int m_in = -1;
    int m_out = -1;
    QString m_error;
};
