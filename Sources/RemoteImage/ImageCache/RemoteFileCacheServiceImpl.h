// The on-disk file cache: downloaded files under fresh names in one
// directory, found again by remote URL through a FileIndex.
//
// Layout below baseURL:
//     <name>/filesCacheVersion   format version as JSON ({"major":1,...})
//     <name>/files/<UUID>.<ext>  the cached files, byte for byte
//     <name>/files.db            the index
// A start that finds no readable version file, or one older than
// minimumCompatibleVersion, empties the directory first.
//
// Every operation runs on the concurrent queue
// "RemoteImage.RemoteFileCacheServiceImpl.queue"; reset() and clean() run
// there alone (barriers), so ordinary operations always see a complete
// index. getFile()'s completion runs on the index's worker thread.
//
// A cached file is named by an upper-case UUID and an extension: the remote
// URL's path extension when it is 1 to 5 ASCII letters or digits, else the
// preferred extension under the same rule, else "file". Anything else in a
// URL (slashes, dots, long tails) never reaches the file system.
#pragma once

#include "RemoteImage/RemoteFileCacheService.h"
#include "RemoteImage/Utils/WorkQueue.h"
#include "RemoteImage/Version.h"

#include <QString>
#include <QUrl>

#include <memory>
#include <vector>

namespace remoteimage {

class FileIndex;

class RemoteFileCacheServiceImpl : public RemoteFileCacheService {
public:
    static constexpr Version version{1, 0, 0};
    static constexpr Version minimumCompatibleVersion{1, 0, 0};

    // baseURL: a local directory URL; the cache lives in baseURL/name.
    RemoteFileCacheServiceImpl(const QString& name, const QUrl& baseURL);
    // Lets queued operations and pending lookups finish. Nothing may call
    // the cache while it is destroyed.
    ~RemoteFileCacheServiceImpl() override;

    RemoteFileCacheServiceImpl(const RemoteFileCacheServiceImpl&) = delete;
    RemoteFileCacheServiceImpl& operator=(const RemoteFileCacheServiceImpl&) = delete;

    const QString& name() const { return m_name; }
    const QUrl& baseURL() const { return m_baseURL; }
    const QUrl& directoryURL() const { return m_directoryURL; }
    const QUrl& filesDirectoryURL() const { return m_filesDirectoryURL; }

    Result<QUrl> addFile(const QUrl& remoteURL, const QUrl& sourceURL, const std::optional<QDateTime>& expiryDate,
                         const PreferredFileExtension& preferredFileExtension) override;
    Result<QUrl> createFile(const QUrl& remoteURL, const QByteArray& data,
                            const std::optional<QDateTime>& expiryDate,
                            const PreferredFileExtension& preferredFileExtension) override;
    void getFile(const QUrl& remoteURL, GetFileCompletion completion) override;
    Result<void> deleteFile(const QString& fileName) override;
    void reset() override;
    void clean() override;

    // Blocks until everything submitted before, including the index work it
    // caused, has run.
    void waitUntilIdle();

    // A fresh cached-file name for `remoteURL` (see above).
    static QString makeFileName(const QUrl& remoteURL, const PreferredFileExtension& preferredFileExtension);

private:
    QString filePath(const QString& fileName) const;
    std::shared_ptr<FileIndex> openIndex() const;
    void replaceIndex(std::shared_ptr<FileIndex> index);
    Result<QUrl> store(const QUrl& remoteURL, const std::optional<QDateTime>& expiryDate,
                       const PreferredFileExtension& preferredFileExtension,
                       const std::function<Result<void>(const QString& path)>& write);

    const QString m_name;
    const QUrl m_baseURL;
    const QUrl m_directoryURL;
    const QUrl m_filesDirectoryURL;

    // Replaced only inside barrier blocks on m_queue.
    std::shared_ptr<FileIndex> m_index;
    // Indexes replaced by reset() whose pending lookups may still call back.
    std::vector<std::weak_ptr<FileIndex>> m_retiredIndexes;

    WorkQueue m_queue;
};

} // namespace remoteimage
