// One HTTP GET run by an HttpSession: created suspended, started by resume(),
// stopped by cancel(). Both may be called from any thread; the session runs
// the transfer and reports it on its own thread.
#pragma once

#include <QNetworkRequest>
#include <QString>

#include <memory>
#include <mutex>
#include <optional>

namespace remoteimage {

class HttpSession;

// How a task ended when it did not succeed.
struct TaskError {
    enum class Code {
        Cancelled, // cancel() was called
        Failed,    // network error, non-2xx status, truncated or oversized body
    };
    Code code;
    QString message;

    bool isCancellation() const { return code == Code::Cancelled; }
};

class HttpTask : public std::enable_shared_from_this<HttpTask> {
public:
    enum class Kind {
        Download, // body to a temporary file, with write progress
        Data,     // body handed over chunk by chunk
    };

    HttpTask(Kind kind, QNetworkRequest request, std::weak_ptr<HttpSession> session);

    Kind kind() const { return m_kind; }
    const QNetworkRequest& originalRequest() const { return m_request; }

    // Starts the transfer once; later calls do nothing.
    void resume();
    // Ends the transfer; the session then reports it complete with a
    // cancellation error (also when it never started).
    void cancel();

private:
    friend class HttpSession;
    enum class State { Suspended, Running, Completed };

    const Kind m_kind;
    const QNetworkRequest m_request;
    const std::weak_ptr<HttpSession> m_session;
    std::mutex m_mutex;
    State m_state = State::Suspended; // guarded by m_mutex
    bool m_cancelRequested = false;   // guarded by m_mutex
};

} // namespace remoteimage
