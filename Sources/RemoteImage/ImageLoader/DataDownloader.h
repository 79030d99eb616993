// A downloader that shows the image while it arrives: every chunk grows one
// IncrementalImageWrapper, which subscribers receive as partial image and,
// when the transfer has succeeded, as the final one.
#pragma once

#include "RemoteImage/ImageLoader/Downloader.h"
#include "RemoteImage/ImageLoader/IncrementalImageWrapper.h"

namespace remoteimage {

class DataDownloader final : public Downloader {
public:
    DataDownloader(QUrl url, std::shared_ptr<HttpTask> task, RemoteFileCacheService* remoteFileCache,
                   ImageProcessingService* imageProcessingService);

    const std::shared_ptr<IncrementalImageWrapper>& imageWrapper() const { return m_imageWrapper; }

    void append(const QByteArray& data);

    // Called when the task ends, before complete(). Only a transfer that
    // succeeded and decodes is stored and delivered as final.
    void finishDownloading(const std::optional<TaskError>& error);

private:
    const std::shared_ptr<IncrementalImageWrapper> m_imageWrapper;
};

} // namespace remoteimage
