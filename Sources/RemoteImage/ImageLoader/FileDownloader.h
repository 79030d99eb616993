// A downloader whose task writes the body to a temporary file and reports
// progress; subscribers get the decoded image once, each its own copy.
#pragma once

#include "RemoteImage/ImageLoader/Downloader.h"

namespace remoteimage {

class FileDownloader final : public Downloader {
public:
    using Downloader::Downloader;

    // The whole body is in `location` (only for a complete 2xx answer; the
    // file is removed after this returns): decode, store, deliver.
    void finishDownloading(const QUrl& location);

    void progress(std::optional<float> fraction);
};

} // namespace remoteimage
