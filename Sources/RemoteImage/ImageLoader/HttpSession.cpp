#include "RemoteImage/ImageLoader/HttpSession.h"

#include "Diagnostics/Diagnostics.h"
#include "Network/BoundedGet.h"
#include "RemoteImage/Services.h"

#include <QDir>
#include <QTemporaryFile>

#include <cstdlib>
#include <utility>

namespace remoteimage {

struct HttpSession::Transfer {
    std::shared_ptr<HttpTask> task;
    QString host;
    net::BoundedGet* get = nullptr;
    std::unique_ptr<QTemporaryFile> file; // download tasks only
    std::optional<QString> failure;
};

std::shared_ptr<HttpSession> HttpSession::create(QString label, qint64 maximumBodySize)
{
    return std::shared_ptr<HttpSession>(new HttpSession(std::move(label), maximumBodySize));
}

HttpSession::HttpSession(QString label, qint64 maximumBodySize)
    : m_label(std::move(label))
    , m_maximumBodySize(maximumBodySize)
{
    m_thread.setObjectName(m_label);
    m_context = new QObject;
    m_context->moveToThread(&m_thread);
    m_thread.start();
}

HttpSession::~HttpSession()
{
    shutdown();
}

void HttpSession::async(std::function<void()> fn)
{
    // The work itself travels through our own locked list, the Qt event only
    // says "run the next one": the hand-over is then visible to
    // ThreadSanitizer, which cannot see into Qt's event queue.
    std::lock_guard lock(m_mutex);
    if (m_shutDown)
        return;
    m_posted.push_back(std::move(fn));
    QMetaObject::invokeMethod(m_context, [this] { runNextPosted(); }, Qt::QueuedConnection);
}

void HttpSession::runNextPosted()
{
    std::function<void()> fn;
    {
        std::lock_guard lock(m_mutex);
        if (m_posted.empty())
            return;
        fn = std::move(m_posted.front());
        m_posted.pop_front();
    }
    fn();
}

bool HttpSession::isCurrent() const
{
    return QThread::currentThread() == &m_thread;
}

void HttpSession::checkCurrent() const
{
    if (isCurrent())
        return;
    printLine(QStringLiteral("Must only be accessed on the designated queue: '%1'").arg(m_label));
    std::abort();
}

std::shared_ptr<HttpTask> HttpSession::downloadTask(const QNetworkRequest& request)
{
    return std::make_shared<HttpTask>(HttpTask::Kind::Download, request, weak_from_this());
}

std::shared_ptr<HttpTask> HttpSession::dataTask(const QNetworkRequest& request)
{
    return std::make_shared<HttpTask>(HttpTask::Kind::Data, request, weak_from_this());
}

void HttpSession::shutdown()
{
    std::deque<std::function<void()>> dropped;
    {
        std::lock_guard lock(m_mutex);
        if (m_shutDown)
            return;
        m_shutDown = true;
        dropped.swap(m_posted);
    }
    dropped.clear(); // outside the lock: captured objects may post again
    const auto stop = [this] {
        m_open = false;
        for (auto& [task, transfer] : m_transfers) {
            QObject::disconnect(transfer->get, nullptr, m_context, nullptr);
            delete transfer->get; // ends its transfer without a word
        }
        m_transfers.clear();
        m_waiting.clear();
        m_active.clear();
    };
    if (isCurrent()) {
        stop();
        m_thread.quit();
        return; // the thread cannot wait for itself; the object outlives it
    }
    QMetaObject::invokeMethod(m_context, stop, Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
    delete m_context; // drops whatever was still posted
    m_context = nullptr;
}

QString HttpSession::hostKey(const QNetworkRequest& request)
{
    const QUrl url = request.url();
    return url.scheme() + QLatin1String("://") + url.host() + QLatin1Char(':') + QString::number(url.port());
}

void HttpSession::resume(const std::shared_ptr<HttpTask>& task)
{
    const QString host = hostKey(task->originalRequest());
    if (m_active.count(host))
        m_waiting[host].push_back(task);
    else
        start(task);
}

void HttpSession::cancel(const std::shared_ptr<HttpTask>& task)
{
    {
        std::lock_guard lock(task->m_mutex);
        if (task->m_state == HttpTask::State::Completed)
            return;
    }
    if (const auto it = m_transfers.find(task.get()); it != m_transfers.end()) {
        it->second->get->abort(); // reported by finish() as a cancellation
        return;
    }
    auto waiting = m_waiting.find(hostKey(task->originalRequest()));
    if (waiting != m_waiting.end())
        std::erase(waiting->second, task);
    complete(task, TaskError{TaskError::Code::Cancelled, QStringLiteral("cancelled")});
}

void HttpSession::startNext(const QString& host)
{
    auto waiting = m_waiting.find(host);
    if (waiting == m_waiting.end())
        return;
    if (waiting->second.empty()) {
        m_waiting.erase(waiting);
        return;
    }
    const std::shared_ptr<HttpTask> next = waiting->second.front();
    waiting->second.pop_front();
    if (waiting->second.empty())
        m_waiting.erase(waiting);
    start(next);
}

void HttpSession::start(const std::shared_ptr<HttpTask>& task)
{
    auto transfer = std::make_unique<Transfer>();
    transfer->task = task;
    transfer->host = hostKey(task->originalRequest());
    if (task->kind() == HttpTask::Kind::Download) {
        transfer->file = std::make_unique<QTemporaryFile>(QDir::tempPath() + QLatin1String("/RemoteImage-XXXXXX"));
        if (!transfer->file->open()) {
            complete(task, TaskError{TaskError::Code::Failed, transfer->file->errorString()});
            startNext(transfer->host);
            return;
        }
    }
    if (!m_open) {
        complete(task, TaskError{TaskError::Code::Failed, QStringLiteral("session closed")});
        return;
    }
    m_active[transfer->host] = task;

    const NetworkConfiguration configuration = networkConfiguration();
    net::Policy policy;
    policy.userAgent = configuration.userAgent;
    policy.maxBytes = m_maximumBodySize;
    policy.transferTimeoutMs = 0; // the request's own (imageRequest())
    policy.deadlineMs = configuration.deadlineMs;
    policy.maxRedirects = configuration.maxRedirects;
    transfer->get = new net::BoundedGet(task->originalRequest(), policy, net::BoundedGet::Body::Stream, m_context);
    Transfer* raw = transfer.get();
    m_transfers.emplace(task.get(), std::move(transfer));
    QObject::connect(raw->get, &net::BoundedGet::received, m_context,
                     [this, raw](const QByteArray& bytes, qint64 total, qint64 expected) {
                         write(*raw, bytes, total, expected);
                     });
    QObject::connect(raw->get, &net::BoundedGet::finished, m_context, [this, task] { finish(task); });
}

void HttpSession::fail(Transfer& transfer, QString message)
{
    if (!transfer.failure)
        transfer.failure = std::move(message);
    // The abort waits for the next turn of the event loop: aborting from
    // inside the transfer's own signals confuses Qt.
    QMetaObject::invokeMethod(
        m_context,
        [this, task = transfer.task] {
            const auto it = m_transfers.find(task.get());
            if (it != m_transfers.end())
                it->second->get->abort();
        },
        Qt::QueuedConnection);
}

void HttpSession::write(Transfer& transfer, const QByteArray& bytes, qint64 totalReceived, qint64 expected)
{
    if (transfer.failure)
        return;
    const std::shared_ptr<HttpTask> task = transfer.task;
    if (transfer.file) {
        if (transfer.file->write(bytes) != bytes.size())
            return fail(transfer, transfer.file->errorString());
        if (m_delegate.writeDataCallback)
            m_delegate.writeDataCallback(task, bytes.size(), totalReceived, expected);
    } else if (m_delegate.receiveDataCallback) {
        m_delegate.receiveDataCallback(task, bytes);
    }
}

void HttpSession::finish(const std::shared_ptr<HttpTask>& task)
{
    const auto it = m_transfers.find(task.get());
    if (it == m_transfers.end())
        return;
    std::unique_ptr<Transfer> owned = std::move(it->second);
    m_transfers.erase(it);
    net::BoundedGet* get = owned->get;
    get->disconnect(m_context);
    get->deleteLater();
    if (m_active.count(owned->host) && m_active[owned->host] == task)
        m_active.erase(owned->host);

    bool cancelRequested = false;
    {
        std::lock_guard lock(task->m_mutex);
        cancelRequested = task->m_cancelRequested;
    }
    const net::GetError& failed = get->error();
    std::optional<TaskError> error;
    if (cancelRequested && !owned->failure)
        error = TaskError{TaskError::Code::Cancelled, QStringLiteral("cancelled")};
    else if (owned->failure)
        error = TaskError{TaskError::Code::Failed, *owned->failure};
    else if (failed.isError())
        error = TaskError{TaskError::Code::Failed, failed.detail.isEmpty()
                                                       ? failed.message()
                                                       : QStringLiteral("%1 (%2)").arg(failed.message(), failed.detail)};

    if (!error && owned->file) {
        owned->file->flush();
        if (m_delegate.finishDownloadingCallback)
            m_delegate.finishDownloadingCallback(task, QUrl::fromLocalFile(owned->file->fileName()));
    }
    complete(task, error);
    owned.reset(); // removes the temporary file
    startNext(hostKey(task->originalRequest()));
}

void HttpSession::complete(const std::shared_ptr<HttpTask>& task, const std::optional<TaskError>& error)
{
    {
        std::lock_guard lock(task->m_mutex);
        if (task->m_state == HttpTask::State::Completed)
            return;
        task->m_state = HttpTask::State::Completed;
    }
    if (m_delegate.completeCallback)
        m_delegate.completeCallback(task, error);
}

} // namespace remoteimage
