// The HTTP session of the image loader, and its serial queue: one Qt thread
// that runs every transfer (on the thread's own QNetworkAccessManager) and every task
// posted with async(), one at a time in order.
//
// Every transfer is a net::BoundedGet (http and https only, also on
// redirects; only 2xx answers; a body over maximumBodySize or shorter than
// its Content-Length fails; no HTTP cache), named and timed by the library's
// NetworkConfiguration (Services.h). The session adds one rule of its own:
// one transfer per host at a time (more wait their turn).
#pragma once

#include "RemoteImage/ImageLoader/HttpTask.h"
#include "RemoteImage/ImageLoader/HttpSessionHooks.h"

#include <QNetworkRequest>
#include <QString>
#include <QThread>

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>

class QTemporaryFile;

namespace remoteimage {

class HttpSession : public std::enable_shared_from_this<HttpSession> {
public:
    static std::shared_ptr<HttpSession> create(QString label, qint64 maximumBodySize);
    ~HttpSession();

    HttpSession(const HttpSession&) = delete;
    HttpSession& operator=(const HttpSession&) = delete;

    const QString& label() const { return m_label; }

    // Runs fn on the session's thread, after everything posted before it.
    // Dropped after shutdown().
    void async(std::function<void()> fn);

    bool isCurrent() const;
    // Stops the program with "Must only be accessed on the designated queue:
    // '<label>'" unless called on the session's thread.
    void checkCurrent() const;

    // Set before the first task is resumed.
    void setDelegate(HttpSessionHooks delegate) { m_delegate = std::move(delegate); }

    std::shared_ptr<HttpTask> downloadTask(const QNetworkRequest& request);
    std::shared_ptr<HttpTask> dataTask(const QNetworkRequest& request);

    // Aborts every transfer without reporting it, drops queued work and
    // stops the thread. Called by the destructor.
    void shutdown();

private:
    friend class HttpTask;
    struct Transfer;

    HttpSession(QString label, qint64 maximumBodySize);

    void runNextPosted();                                 // on the thread
    void resume(const std::shared_ptr<HttpTask>& task);  // on the thread
    void cancel(const std::shared_ptr<HttpTask>& task);  // on the thread
    void startNext(const QString& host);                  // on the thread
    void start(const std::shared_ptr<HttpTask>& task);    // on the thread
    void write(Transfer& transfer, const QByteArray& bytes, qint64 totalReceived, qint64 expected);
    void finish(const std::shared_ptr<HttpTask>& task);
    void fail(Transfer& transfer, QString message);
    void complete(const std::shared_ptr<HttpTask>& task, const std::optional<TaskError>& error);
    static QString hostKey(const QNetworkRequest& request);

    const QString m_label;
    const qint64 m_maximumBodySize;
    HttpSessionHooks m_delegate;

    QThread m_thread;
    QObject* m_context = nullptr; // lives on m_thread
    bool m_open = true;           // only touched on the thread
    mutable std::mutex m_mutex;
    bool m_shutDown = false;                     // guarded by m_mutex
    std::deque<std::function<void()>> m_posted;  // guarded by m_mutex

    // Only touched on the thread.
    std::map<QString, std::deque<std::shared_ptr<HttpTask>>> m_waiting; // by host
    std::map<QString, std::shared_ptr<HttpTask>> m_active;            // by host
    std::map<const HttpTask*, std::unique_ptr<Transfer>> m_transfers;
};

} // namespace remoteimage
