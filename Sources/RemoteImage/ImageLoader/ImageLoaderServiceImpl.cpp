#include "RemoteImage/ImageLoader/ImageLoaderServiceImpl.h"

#include "Diagnostics/Diagnostics.h"

#include "RemoteImage/ImageLoader/DataDownloader.h"
#include "RemoteImage/ImageLoader/FileDownloader.h"
#include "RemoteImage/Utils/ImageFile.h"

#include <QHash>

#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <utility>

namespace remoteimage {

ImageLoaderServiceImpl::ImageLoaderServiceImpl(RemoteFileCacheService* remoteFileCache,
                                               ImageProcessingService* imageProcessingService)
    : m_session(HttpSession::create(QString::fromLatin1(queueLabel), maxImageFileSize))
    , m_remoteFileCache(remoteFileCache)
    , m_imageProcessingService(imageProcessingService)
{
    installSessionCallbacks();
}

ImageLoaderServiceImpl::~ImageLoaderServiceImpl()
{
    m_session->shutdown();
}

size_t ImageLoaderServiceImpl::RequestHash::operator()(const QNetworkRequest& request) const
{
    return qHash(request.url());
}

ImageLoaderServiceImpl::DownloaderMap& ImageLoaderServiceImpl::urlRequestToDownloaderMap()
{
    m_session->checkCurrent();
    return m_urlRequestToDownloaderMap;
}

void ImageLoaderServiceImpl::waitForQueue() const
{
    std::mutex mutex;
    std::condition_variable ran;
    bool done = false;
    m_session->async([&] {
        std::lock_guard lock(mutex);
        done = true;
        ran.notify_all();
    });
    std::unique_lock lock(mutex);
    ran.wait_for(lock, std::chrono::seconds(10), [&] { return done; });
}

void ImageLoaderServiceImpl::subscribe(const QNetworkRequest& request, bool incremental,
                                       std::shared_ptr<const ImageProcessing> processor,
                                       std::shared_ptr<ImageLoaderObserver> observer)
{
    m_session->async([this, request, incremental, processor = std::move(processor),
                      observer = std::move(observer)] {
        const auto handler = std::make_shared<ImageLoadHandler>(ImageLoadHandler{processor, observer});
        // A downloader that is delivering, has ended or is being cancelled
        // would never serve a newcomer; its entry only waits for removal.
        if (!createDownloaderIfNeeded(request, incremental)->addHandlerIfJoinable(handler))
            createDownloader(request, incremental)->addHandler(handler);
    });
}

std::shared_ptr<Downloader> ImageLoaderServiceImpl::createDownloaderIfNeeded(const QNetworkRequest& request,
                                                                             bool incremental)
{
    DownloaderMap& map = urlRequestToDownloaderMap();
    if (const auto it = map.find(request); it != map.end())
        return it->second;
    return createDownloader(request, incremental);
}

std::shared_ptr<Downloader> ImageLoaderServiceImpl::createDownloader(const QNetworkRequest& request, bool incremental)
{
    DownloaderMap& map = urlRequestToDownloaderMap();
    const QUrl url = request.url();
    if (url.isEmpty()) {
        printLine(QStringLiteral("A URL request without URL cannot be loaded"));
        std::abort();
    }
    std::shared_ptr<Downloader> downloader;
    if (incremental)
        downloader = std::make_shared<DataDownloader>(url, m_session->dataTask(request), m_remoteFileCache,
                                                      m_imageProcessingService);
    else
        downloader = std::make_shared<FileDownloader>(url, m_session->downloadTask(request), m_remoteFileCache,
                                                      m_imageProcessingService);

    // The entry goes when the downloader has ended: at once on the queue,
    // else as soon as the queue gets to it (unless a newer downloader has
    // taken the request's place meanwhile).
    const std::weak_ptr<HttpSession> session = m_session;
    const std::weak_ptr<Downloader> weakDownloader = downloader;
    downloader->setCompletionCallback([this, session, request, weakDownloader] {
        const auto remove = [this, request, weakDownloader] {
            DownloaderMap& map = urlRequestToDownloaderMap();
            const auto it = map.find(request);
            if (it != map.end() && it->second == weakDownloader.lock())
                map.erase(it);
        };
        const auto queue = session.lock();
        if (!queue)
            return;
        if (queue->isCurrent())
            remove();
        else
            queue->async(remove);
    });
    map.insert_or_assign(request, downloader);
    return downloader;
}

void ImageLoaderServiceImpl::unsubscribe(const std::shared_ptr<ImageLoaderObserver>& observer,
                                         const QNetworkRequest& request)
{
    m_session->async([this, observer, request] {
        DownloaderMap& map = urlRequestToDownloaderMap();
        const auto it = map.find(request);
        if (it == map.end())
            return;
        const std::shared_ptr<Downloader> downloader = it->second;
        for (const auto& handler : downloader->handlers()) {
            if (handler->observer == observer)
                downloader->removeHandler(handler);
        }
        if (downloader->handlers().empty())
            downloader->cancel();
    });
}

void ImageLoaderServiceImpl::load(const QNetworkRequest& request, double after,
                                  const std::optional<QDateTime>& expiryDate)
{
    m_session->async([this, request, after, expiryDate] {
        DownloaderMap& map = urlRequestToDownloaderMap();
        const auto it = map.find(request);
        if (it == map.end()) {
            printLine(QStringLiteral("Downloader must be created before calling load"));
            return;
        }
        const std::shared_ptr<Downloader> downloader = it->second;
        if (expiryDate) {
            const std::optional<QDateTime> current = downloader->expiryDate();
            if (!current || *expiryDate > *current)
                downloader->setExpiryDate(expiryDate);
        }
        downloader->resume(after);
    });
}

std::shared_ptr<Downloader> ImageLoaderServiceImpl::downloaderForTask(const std::shared_ptr<HttpTask>& task)
{
    DownloaderMap& map = urlRequestToDownloaderMap();
    const auto it = map.find(task->originalRequest());
    if (it == map.end() || it->second->task() != task)
        return nullptr;
    return it->second;
}

void ImageLoaderServiceImpl::installSessionCallbacks()
{
    HttpSessionHooks delegate;
    delegate.finishDownloadingCallback = [this](const std::shared_ptr<HttpTask>& task, const QUrl& location) {
        if (auto downloader = std::dynamic_pointer_cast<FileDownloader>(downloaderForTask(task)))
            downloader->finishDownloading(location);
    };
    delegate.writeDataCallback = [this](const std::shared_ptr<HttpTask>& task, qint64, qint64 totalWritten,
                                        qint64 totalExpected) {
        if (auto downloader = std::dynamic_pointer_cast<FileDownloader>(downloaderForTask(task))) {
            if (totalExpected < 1)
                downloader->progress(std::nullopt);
            else
                downloader->progress(static_cast<float>(static_cast<double>(totalWritten)
                                                        / static_cast<double>(totalExpected)));
        }
    };
    delegate.receiveDataCallback = [this](const std::shared_ptr<HttpTask>& task, const QByteArray& data) {
        if (auto downloader = std::dynamic_pointer_cast<DataDownloader>(downloaderForTask(task)))
            downloader->append(data);
    };
    delegate.completeCallback = [this](const std::shared_ptr<HttpTask>& task, const std::optional<TaskError>& error) {
        const std::shared_ptr<Downloader> downloader = downloaderForTask(task);
        if (!downloader)
            return;
        if (auto data = std::dynamic_pointer_cast<DataDownloader>(downloader))
            data->finishDownloading(error);
        downloader->complete(error);
    };
    m_session->setDelegate(std::move(delegate));
}

} // namespace remoteimage
