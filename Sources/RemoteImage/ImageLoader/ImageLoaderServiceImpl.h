// One downloader per URL request, shared by all its subscribers. All state
// lives on the service's queue, a Qt thread that also runs the HTTP session.
#pragma once

#include "RemoteImage/ImageLoader/Downloader.h"
#include "RemoteImage/ImageLoader/HttpSession.h"
#include "RemoteImage/ImageLoaderService.h"

#include <QNetworkRequest>

#include <memory>
#include <unordered_map>

namespace remoteimage {

class ImageProcessingService;
class RemoteFileCacheService;

class ImageLoaderServiceImpl final : public ImageLoaderService {
public:
    static constexpr const char* queueLabel = "RemoteImage.ImageLoaderServiceImpl.queue";

    // Keeps non-owning references to both services, which must outlive it.
    ImageLoaderServiceImpl(RemoteFileCacheService* remoteFileCache, ImageProcessingService* imageProcessingService);
    ~ImageLoaderServiceImpl() override;

    void subscribe(const QNetworkRequest& request, bool incremental, std::shared_ptr<const ImageProcessing> processor,
                   std::shared_ptr<ImageLoaderObserver> observer) override;
    void unsubscribe(const std::shared_ptr<ImageLoaderObserver>& observer, const QNetworkRequest& request) override;
    void load(const QNetworkRequest& request, double after, const std::optional<QDateTime>& expiryDate) override;

    // The service's queue (for tests and for work that must run in order
    // with the service's operations).
    HttpSession& queue() const { return *m_session; }

    // Blocks until everything queued so far has run (tests, benchmarks).
    void waitForQueue() const;

private:
    struct RequestHash {
        size_t operator()(const QNetworkRequest& request) const;
    };
    using DownloaderMap = std::unordered_map<QNetworkRequest, std::shared_ptr<Downloader>, RequestHash>;

    DownloaderMap& urlRequestToDownloaderMap();
    std::shared_ptr<Downloader> createDownloaderIfNeeded(const QNetworkRequest& request, bool incremental);
    // A new downloader for the request, replacing any in the map.
    std::shared_ptr<Downloader> createDownloader(const QNetworkRequest& request, bool incremental);
    std::shared_ptr<Downloader> downloaderForTask(const std::shared_ptr<HttpTask>& task);
    void installSessionCallbacks();

    std::shared_ptr<HttpSession> m_session;
    RemoteFileCacheService* const m_remoteFileCache;
    ImageProcessingService* const m_imageProcessingService;
    DownloaderMap m_urlRequestToDownloaderMap; // only on the queue
};

} // namespace remoteimage
