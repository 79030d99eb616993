#include "RemoteImage/ImageLoader/DataDownloader.h"

#include "RemoteImage/RemoteFileCacheService.h"
#include "RemoteImage/Utils/ImageFile.h"

namespace remoteimage {

DataDownloader::DataDownloader(QUrl url, std::shared_ptr<HttpTask> task, RemoteFileCacheService* remoteFileCache,
                               ImageProcessingService* imageProcessingService)
    : Downloader(std::move(url), std::move(task), remoteFileCache, imageProcessingService)
    , m_imageWrapper(std::make_shared<IncrementalImageWrapper>())
{
}

void DataDownloader::append(const QByteArray& data)
{
    m_imageWrapper->append(data);
    if (m_imageWrapper->hasFailed())
        return; // not an image (or a refused one): nothing to show
    onMainThread([self = std::static_pointer_cast<DataDownloader>(shared_from_this())] {
        self->notifyObserversAboutPartial(self->m_imageWrapper);
    });
}

void DataDownloader::finishDownloading(const std::optional<TaskError>& error)
{
    // A transfer that broke off is never final: complete() fails it.
    if (error)
        return;
    if (!transition(LoadingState::finishing))
        return;
    m_imageWrapper->setFinal(true);
    if (m_imageWrapper->isEmpty() || m_imageWrapper->hasFailed()) {
        transition(LoadingState::failed);
        return;
    }
    if (remoteFileCache()) {
        const std::optional<QString> type = m_imageWrapper->imageSourceType();
        const auto stored = remoteFileCache()->createFile(url(), m_imageWrapper->data(), expiryDate(), [type] {
            return type ? preferredFileExtension(*type) : std::nullopt;
        });
        if (!stored) {
            transition(LoadingState::failed);
            return;
        }
    }
    onMainThread([self = std::static_pointer_cast<DataDownloader>(shared_from_this())] {
        self->notifyObserversAboutCompletion(std::static_pointer_cast<ImageProxy>(self->m_imageWrapper));
    });
}

} // namespace remoteimage
