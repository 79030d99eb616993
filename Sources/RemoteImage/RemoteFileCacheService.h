// The on-disk cache of downloaded files, as the image loader sees it.
//
// Failures are values: the blocking operations return a Result whose error()
// is the file system's message. Dates are UTC QDateTime values; an absent
// expiry date means "never expires". `deleteFile` is the cache's delete
// operation (`delete` is taken by C++).
#pragma once

#include "RemoteImage/Utils/Result.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QUrl>

#include <functional>
#include <optional>

namespace remoteimage {

class RemoteFileCacheService {
public:
    // Computed only when the remote URL has no usable extension of its own.
    using PreferredFileExtension = std::function<std::optional<QString>()>;
    // Called on the index's worker thread.
    using GetFileCompletion = std::function<void(std::optional<QUrl>)>;

    virtual ~RemoteFileCacheService() = default;

    // Copies the file at `sourceURL` into the cache and records it for
    // `remoteURL`. Blocks until done; returns the cached copy's file URL.
    virtual Result<QUrl> addFile(const QUrl& remoteURL, const QUrl& sourceURL,
                                 const std::optional<QDateTime>& expiryDate,
                                 const PreferredFileExtension& preferredFileExtension) = 0;

    // Writes `data` into the cache and records it for `remoteURL`. Blocks
    // until done; returns the cached file's URL.
    virtual Result<QUrl> createFile(const QUrl& remoteURL, const QByteArray& data,
                                    const std::optional<QDateTime>& expiryDate,
                                    const PreferredFileExtension& preferredFileExtension) = 0;

    // Returns at once. `completion` later receives the file URL of a cached,
    // unexpired copy of `remoteURL`, or nothing. An expired copy is removed.
    virtual void getFile(const QUrl& remoteURL, GetFileCompletion completion) = 0;

    // Removes a cached file (a name without directory) and its record. The
    // record goes even when removing the file fails. Blocks until done.
    virtual Result<void> deleteFile(const QString& fileName) = 0;

    // Both return at once and run later, alone on the cache's queue: reset()
    // empties the cache; clean() drops expired entries and their files.
    virtual void reset() = 0;
    virtual void clean() = 0;
};

} // namespace remoteimage
