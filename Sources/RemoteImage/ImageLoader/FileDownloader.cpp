#include "RemoteImage/ImageLoader/FileDownloader.h"

#include "RemoteImage/RemoteFileCacheService.h"
#include "RemoteImage/Utils/ImageFile.h"

namespace remoteimage {

void FileDownloader::finishDownloading(const QUrl& location)
{
    if (!transition(LoadingState::finishing))
        return;
    // Decoded before it is stored, so that a body that is no image never
    // becomes a cache entry, not even for a moment.
    const QImage image = createImage(location);
    if (image.isNull()) {
        transition(LoadingState::failed);
        return;
    }
    if (remoteFileCache()) {
        const auto stored = remoteFileCache()->addFile(url(), location, expiryDate(), [location] {
            const auto type = imageTypeIdentifier(location);
            return type ? preferredFileExtension(*type) : std::nullopt;
        });
        if (!stored) {
            transition(LoadingState::failed);
            return;
        }
    }
    notifyObserversAboutCompletion(image);
}

void FileDownloader::progress(std::optional<float> fraction)
{
    onMainThread([self = std::static_pointer_cast<FileDownloader>(shared_from_this()), fraction] {
        self->notifyObserversAboutProgress(fraction);
    });
}

} // namespace remoteimage
