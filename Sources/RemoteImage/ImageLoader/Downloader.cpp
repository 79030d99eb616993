#include "RemoteImage/ImageLoader/Downloader.h"

#include "Diagnostics/Diagnostics.h"

#include "RemoteImage/ImageProcessingService.h"
#include "RemoteImage/RemoteFileCacheService.h"
#include "RemoteImage/Utils/WorkQueue.h"
#include "RemoteImage/Utils/ImageFile.h"

#include <QCoreApplication>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <deque>
#include <mutex>
#include <utility>

namespace remoteimage {

namespace {

// Where delayed starts wait, shared by every downloader.
WorkQueue& backgroundQueue()
{
    static WorkQueue queue("RemoteImage.background", WorkQueue::Kind::Concurrent);
    return queue;
}

void reportProgrammingError(const QString& message)
{
    printLine(message);
}

} // namespace

Downloader::Downloader(QUrl url, std::shared_ptr<HttpTask> task, RemoteFileCacheService* remoteFileCache,
                       ImageProcessingService* imageProcessingService)
    : m_url(std::move(url))
    , m_task(std::move(task))
    , m_remoteFileCache(remoteFileCache)
    , m_imageProcessingService(imageProcessingService)
{
}

LoadingState Downloader::state() const
{
    std::lock_guard lock(m_mutex);
    return m_state;
}

bool Downloader::transition(LoadingState next)
{
    std::lock_guard lock(m_mutex);
    if (!canTransition(m_state, next))
        return false;
    m_state = next;
    return true;
}

void Downloader::setCompletionCallback(std::function<void()> callback)
{
    std::lock_guard lock(m_mutex);
    m_completionCallback = std::move(callback);
}

void Downloader::callCompletionCallback()
{
    std::function<void()> callback;
    {
        std::lock_guard lock(m_mutex);
        callback = m_completionCallback;
    }
    if (callback)
        callback();
}

std::optional<QDateTime> Downloader::expiryDate() const
{
    std::lock_guard lock(m_mutex);
    return m_expiryDate;
}

void Downloader::setExpiryDate(const std::optional<QDateTime>& expiryDate)
{
    std::lock_guard lock(m_mutex);
    m_expiryDate = expiryDate;
}

void Downloader::addHandler(const std::shared_ptr<ImageLoadHandler>& handler)
{
    std::lock_guard lock(m_mutex);
    if (std::find(m_handlers.begin(), m_handlers.end(), handler) == m_handlers.end())
        m_handlers.push_back(handler);
}

bool Downloader::addHandlerIfJoinable(const std::shared_ptr<ImageLoadHandler>& handler)
{
    std::lock_guard lock(m_mutex);
    if (m_state != LoadingState::initial && m_state != LoadingState::scheduled && m_state != LoadingState::loading)
        return false;
    if (std::find(m_handlers.begin(), m_handlers.end(), handler) == m_handlers.end())
        m_handlers.push_back(handler);
    return true;
}

void Downloader::removeHandler(const std::shared_ptr<ImageLoadHandler>& handler)
{
    std::lock_guard lock(m_mutex);
    std::erase(m_handlers, handler);
}

std::vector<std::shared_ptr<ImageLoadHandler>> Downloader::handlers() const
{
    std::lock_guard lock(m_mutex);
    return m_handlers;
}

void Downloader::resume(double after)
{
    if (handlers().empty()) {
        reportProgrammingError(QStringLiteral("Starting to load the image at %1 but no handlers created")
                                   .arg(m_url.toString(QUrl::FullyEncoded)));
        return;
    }
    if (!transition(LoadingState::scheduled))
        return;
    if (!m_remoteFileCache) {
        startAfter(after);
        return;
    }
    m_remoteFileCache->getFile(m_url, [self = shared_from_this(), after](std::optional<QUrl> file) {
        self->cacheAnswered(file, after);
    });
}

void Downloader::cacheAnswered(const std::optional<QUrl>& file, double after)
{
    if (file) {
        const QImage image = createImage(*file);
        if (image.isNull()) {
            // Unreadable: forget it and fetch the image again.
            (void)m_remoteFileCache->deleteFile(file->fileName());
        } else {
            // The step to finishing and the list of receivers go together, so
            // that no subscriber joins in between and is missed.
            std::optional<std::vector<std::shared_ptr<ImageLoadHandler>>> receivers;
            {
                std::lock_guard lock(m_mutex);
                if (canTransition(m_state, LoadingState::finishing)) {
                    m_state = LoadingState::finishing;
                    receivers = m_handlers;
                }
            }
            if (receivers) {
                notifyObserversAboutCompletion(image, *receivers);
                if (transition(LoadingState::finished))
                    callCompletionCallback();
                return;
            }
        }
    }
    startAfter(after);
}

void Downloader::startAfter(double seconds)
{
    const double milliseconds = std::isfinite(seconds) ? std::clamp(seconds * 1000.0, 0.0, 1e9) : 0.0;
    backgroundQueue().asyncAfter(std::chrono::milliseconds(static_cast<long long>(milliseconds)),
                                 [self = shared_from_this()] {
                                     if (self->transition(LoadingState::loading))
                                         self->m_task->resume();
                                 });
}

void Downloader::cancel()
{
    if (!handlers().empty()) {
        reportProgrammingError(QStringLiteral("Cancelling loading the image at %1 while some handlers are still attached")
                                   .arg(m_url.toString(QUrl::FullyEncoded)));
        return;
    }
    if (transition(LoadingState::cancelling))
        m_task->cancel();
}

void Downloader::complete(const std::optional<TaskError>& error)
{
    if (!error) {
        transition(LoadingState::finished);
        callCompletionCallback();
    } else if (error->isCancellation()) {
        if (transition(LoadingState::cancelled))
            callCompletionCallback();
    } else if (transition(LoadingState::failed)) {
        callCompletionCallback();
    }
}

void Downloader::onMainThread(std::function<void()> fn)
{
    // As in HttpSession::async: the work goes through a locked list of our
    // own so that ThreadSanitizer sees the hand-over; Qt's event only wakes
    // the main thread to run the next item.
    static std::mutex mutex;
    static std::deque<std::function<void()>> posted;
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) {
        fn();
        return;
    }
    {
        std::lock_guard lock(mutex);
        posted.push_back(std::move(fn));
    }
    QMetaObject::invokeMethod(
        app,
        [] {
            std::function<void()> next;
            {
                std::lock_guard lock(mutex);
                if (posted.empty())
                    return;
                next = std::move(posted.front());
                posted.pop_front();
            }
            next();
        },
        Qt::QueuedConnection);
}

void Downloader::notifyObserversAboutProgress(std::optional<float> progress)
{
    for (const auto& handler : handlers()) {
        if (handler->observer->progress)
            handler->observer->progress(progress);
    }
}

void Downloader::notifyObserversAboutPartial(const std::shared_ptr<ImageProxy>& proxy)
{
    for (const auto& handler : handlers()) {
        if (handler->observer->partial)
            handler->observer->partial(proxy);
    }
}

void Downloader::notifyObserversAboutCompletion(const std::shared_ptr<ImageProxy>& proxy)
{
    for (const auto& handler : handlers()) {
        if (handler->observer->completion)
            handler->observer->completion(proxy);
    }
}

void Downloader::notifyObserversAboutCompletion(const QImage& image)
{
    notifyObserversAboutCompletion(image, handlers());
}

void Downloader::notifyObserversAboutCompletion(const QImage& image,
                                                const std::vector<std::shared_ptr<ImageLoadHandler>>& handlers)
{
    for (const auto& handler : handlers) {
        const std::shared_ptr<ImageLoaderObserver> observer = handler->observer;
        if (!observer->completion)
            continue;
        if (!handler->processor || !m_imageProcessingService) {
            observer->completion(std::make_shared<ImageWrapper>(image));
            continue;
        }
        m_imageProcessingService->processImage(image, handler->processor, [observer](const QImage& processed) {
            observer->completion(std::make_shared<ImageWrapper>(processed));
        });
    }
}

} // namespace remoteimage
