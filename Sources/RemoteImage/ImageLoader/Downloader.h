// Carries one URL request from the first subscription to the delivered image:
// disk cache first, then the network task after an optional delay; reports
// progress or partial images, stores the result, and hands every subscriber
// the finished image (processed by that subscriber's processor, if any).
//
// Threads: the loader's queue calls every public operation; the cache answers
// on its index thread, delayed starts run on a shared background queue,
// progress and partial images go to the main thread. Each state transition is
// one check-and-set under a lock, and notifications work on a copy of the
// handler list.
#pragma once

#include "RemoteImage/ImageLoader/HttpTask.h"
#include "RemoteImage/ImageLoader/ImageLoaderObserver.h"
#include "RemoteImage/ImageLoader/LoadingState.h"

#include <QDateTime>
#include <QImage>
#include <QUrl>

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace remoteimage {

class ImageProcessingService;
class RemoteFileCacheService;

class Downloader : public std::enable_shared_from_this<Downloader> {
public:
    Downloader(QUrl url, std::shared_ptr<HttpTask> task, RemoteFileCacheService* remoteFileCache,
               ImageProcessingService* imageProcessingService);
    virtual ~Downloader() = default;

    Downloader(const Downloader&) = delete;
    Downloader& operator=(const Downloader&) = delete;

    const QUrl& url() const { return m_url; }
    const std::shared_ptr<HttpTask>& task() const { return m_task; }
    LoadingState state() const;

    // Called once the download has ended (finished, failed or cancelled).
    void setCompletionCallback(std::function<void()> callback);

    std::optional<QDateTime> expiryDate() const;
    void setExpiryDate(const std::optional<QDateTime>& expiryDate);

    void addHandler(const std::shared_ptr<ImageLoadHandler>& handler);
    // Adds the handler only while the downloader can still deliver to it
    // (initial, scheduled or loading).
    bool addHandlerIfJoinable(const std::shared_ptr<ImageLoadHandler>& handler);
    void removeHandler(const std::shared_ptr<ImageLoadHandler>& handler);
    std::vector<std::shared_ptr<ImageLoadHandler>> handlers() const;

    // Cache first, then the network after `after` seconds. A download that is
    // already under way is not started twice.
    void resume(double after);
    // Stops the network task; only once no handler is left.
    void cancel();
    // The task's end, with its error unless it succeeded.
    void complete(const std::optional<TaskError>& error);

protected:
    bool transition(LoadingState next);
    void notifyObserversAboutProgress(std::optional<float> progress);
    void notifyObserversAboutPartial(const std::shared_ptr<ImageProxy>& proxy);
    void notifyObserversAboutCompletion(const std::shared_ptr<ImageProxy>& proxy);
    void notifyObserversAboutCompletion(const QImage& image);
    void notifyObserversAboutCompletion(const QImage& image,
                                        const std::vector<std::shared_ptr<ImageLoadHandler>>& handlers);
    void callCompletionCallback();

    // Runs fn later on the main thread.
    static void onMainThread(std::function<void()> fn);

    RemoteFileCacheService* remoteFileCache() const { return m_remoteFileCache; }

private:
    void cacheAnswered(const std::optional<QUrl>& file, double after);
    void startAfter(double seconds);

    const QUrl m_url;
    const std::shared_ptr<HttpTask> m_task;
    RemoteFileCacheService* const m_remoteFileCache;
    ImageProcessingService* const m_imageProcessingService;

    mutable std::mutex m_mutex;
    LoadingState m_state = LoadingState::initial;
    std::vector<std::shared_ptr<ImageLoadHandler>> m_handlers;
    std::optional<QDateTime> m_expiryDate;
    std::function<void()> m_completionCallback;
};

} // namespace remoteimage
