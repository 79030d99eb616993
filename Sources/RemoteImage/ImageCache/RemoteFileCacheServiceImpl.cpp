#include "RemoteImage/ImageCache/RemoteFileCacheServiceImpl.h"

#include "RemoteImage/ImageCache/FileIndex.h"
#include "Diagnostics/Diagnostics.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>

namespace remoteimage {

namespace {

const QString indexFileName = QStringLiteral("files");
const QString indexPathExtension = QStringLiteral("db");

QUrl directoryIn(const QUrl& base, const QString& name)
{
    return QUrl::fromLocalFile(QDir(base.toLocalFile()).filePath(name) + QLatin1Char('/'));
}

bool isUsableExtension(const QString& extension)
{
    if (extension.isEmpty() || extension.size() > 5)
        return false;
    for (const QChar c : extension) {
        if (!(c >= QLatin1Char('a') && c <= QLatin1Char('z')) && !(c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            && !(c >= QLatin1Char('0') && c <= QLatin1Char('9')))
            return false;
    }
    return true;
}

// A cached file name is ours if it is a plain name: callers pass names back
// to deleteFile(), and "../x" must not leave the files directory.
bool isPlainFileName(const QString& fileName)
{
    return !fileName.isEmpty() && fileName != QLatin1String(".") && fileName != QLatin1String("..")
        && !fileName.contains(QLatin1Char('/')) && !fileName.contains(QChar(0));
}

} // namespace

RemoteFileCacheServiceImpl::RemoteFileCacheServiceImpl(const QString& name, const QUrl& baseURL)
    : m_name(name)
    , m_baseURL(baseURL)
    , m_directoryURL(directoryIn(baseURL, name))
    , m_filesDirectoryURL(directoryIn(m_directoryURL, QStringLiteral("files")))
    , m_queue("RemoteImage.RemoteFileCacheServiceImpl.queue", WorkQueue::Kind::Concurrent)
{
    // File-system errors here are ignored: the cache then misses, it does
    // not fail.
    const QString directory = m_directoryURL.toLocalFile();
    QFile versionFile(QDir(directory).filePath(QStringLiteral("filesCacheVersion")));
    std::optional<Version> found;
    if (versionFile.open(QIODevice::ReadOnly)) {
        found = Version::fromJson(versionFile.read(4096));
        versionFile.close();
    }
    if (!found || *found < minimumCompatibleVersion)
        QDir(directory).removeRecursively();

    QDir().mkpath(m_filesDirectoryURL.toLocalFile());
    if (versionFile.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        versionFile.write(version.toJson());
        versionFile.close();
    }

    m_index = openIndex();
}

RemoteFileCacheServiceImpl::~RemoteFileCacheServiceImpl()
{
    waitUntilIdle();
}

std::shared_ptr<FileIndex> RemoteFileCacheServiceImpl::openIndex() const
{
    auto index = std::make_shared<FileIndex>(m_directoryURL, indexFileName, indexPathExtension);
    if (index->wasRecreated()) {
        // The records of the files are lost; the files would stay forever.
        QDir files(m_filesDirectoryURL.toLocalFile());
        for (const QString& name : files.entryList(QDir::Files | QDir::Hidden | QDir::System))
            files.remove(name);
    }
    return index;
}

QString RemoteFileCacheServiceImpl::filePath(const QString& fileName) const
{
    return QDir(m_filesDirectoryURL.toLocalFile()).filePath(fileName);
}

QString RemoteFileCacheServiceImpl::makeFileName(const QUrl& remoteURL,
                                                 const PreferredFileExtension& preferredFileExtension)
{
    QString extension = QFileInfo(remoteURL.path(QUrl::FullyDecoded)).suffix();
    if (!isUsableExtension(extension)) {
        const std::optional<QString> preferred = preferredFileExtension ? preferredFileExtension() : std::nullopt;
        extension = preferred && isUsableExtension(*preferred) ? *preferred : QStringLiteral("file");
    }
    return QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper() + QLatin1Char('.') + extension;
}

Result<QUrl> RemoteFileCacheServiceImpl::store(const QUrl& remoteURL, const std::optional<QDateTime>& expiryDate,
                                               const PreferredFileExtension& preferredFileExtension,
                                               const std::function<Result<void>(const QString& path)>& write)
{
    return m_queue.sync([&]() -> Result<QUrl> {
        const QString fileName = makeFileName(remoteURL, preferredFileExtension);
        const QString path = filePath(fileName);
        const Result<void> written = write(path);
        if (!written)
            return Result<QUrl>::failure(written.error());
        m_index->insertOrUpdate(remoteURL, fileName, QDateTime::currentDateTimeUtc(), expiryDate);
        return Result<QUrl>::success(QUrl::fromLocalFile(path));
    });
}

Result<QUrl> RemoteFileCacheServiceImpl::addFile(const QUrl& remoteURL, const QUrl& sourceURL,
                                                 const std::optional<QDateTime>& expiryDate,
                                                 const PreferredFileExtension& preferredFileExtension)
{
    return store(remoteURL, expiryDate, preferredFileExtension, [&](const QString& path) {
        if (!sourceURL.isLocalFile())
            return Result<void>::failure(QStringLiteral("Not a local file: ") + sourceURL.toString());
        QFile source(sourceURL.toLocalFile());
        if (!source.copy(path))
            return Result<void>::failure(source.errorString());
        return Result<void>::success();
    });
}

Result<QUrl> RemoteFileCacheServiceImpl::createFile(const QUrl& remoteURL, const QByteArray& data,
                                                    const std::optional<QDateTime>& expiryDate,
                                                    const PreferredFileExtension& preferredFileExtension)
{
    return store(remoteURL, expiryDate, preferredFileExtension, [&](const QString& path) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.flush()) {
            const QString error = file.errorString();
            // A short write must not stay behind as a truncated image.
            file.close();
            file.remove();
            return Result<void>::failure(error);
        }
        return Result<void>::success();
    });
}

void RemoteFileCacheServiceImpl::getFile(const QUrl& remoteURL, GetFileCompletion completion)
{
    if (!completion)
        completion = [](std::optional<QUrl>) {};
    m_queue.async([this, remoteURL, completion = std::move(completion)]() mutable {
        // The lookup holds the index: a reset() meanwhile must not wait for
        // this completion, which may call back into the cache's queue.
        std::shared_ptr<FileIndex> index = m_index;
        index->fileInfo(remoteURL, [this, index, completion = std::move(completion)](
                                       std::optional<FileIndex::FileInfo> info) {
            if (!info) {
                completion(std::nullopt);
                return;
            }
            if (info->expiryDate && *info->expiryDate <= QDateTime::currentDateTimeUtc()) {
                deleteFile(info->fileName);
                completion(std::nullopt);
                return;
            }
            completion(QUrl::fromLocalFile(filePath(info->fileName)));
        });
    });
}

Result<void> RemoteFileCacheServiceImpl::deleteFile(const QString& fileName)
{
    return m_queue.sync([&]() -> Result<void> {
        if (!isPlainFileName(fileName))
            return Result<void>::failure(QStringLiteral("Not a cached file name: ") + fileName);
        QFile file(filePath(fileName));
        const bool removed = file.remove();
        m_index->removeFileInfo(fileName);
        if (!removed)
            return Result<void>::failure(file.errorString());
        return Result<void>::success();
    });
}

void RemoteFileCacheServiceImpl::reset()
{
    m_queue.asyncBarrier([this] {
        m_index->shutDown();
        QDir(m_directoryURL.toLocalFile()).removeRecursively();
        QDir().mkpath(m_filesDirectoryURL.toLocalFile());
        replaceIndex(openIndex());
    });
}

void RemoteFileCacheServiceImpl::replaceIndex(std::shared_ptr<FileIndex> index)
{
    std::erase_if(m_retiredIndexes, [](const std::weak_ptr<FileIndex>& retired) { return retired.expired(); });
    m_retiredIndexes.push_back(m_index);
    m_index = std::move(index);
}

void RemoteFileCacheServiceImpl::clean()
{
    m_queue.asyncBarrier([this] {
        // The records go, and so do their files: otherwise they would stay
        // on disk, unreachable, until the next reset.
        m_index->removeExpired([directory = m_filesDirectoryURL.toLocalFile()](const QStringList& fileNames) {
            for (const QString& name : fileNames) {
                if (isPlainFileName(name))
                    QFile::remove(QDir(directory).filePath(name));
            }
        });
    });
}

void RemoteFileCacheServiceImpl::waitUntilIdle()
{
    const auto indexes = m_queue.syncBarrier([this] {
        std::vector<std::shared_ptr<FileIndex>> alive{m_index};
        for (const auto& retired : m_retiredIndexes) {
            if (auto index = retired.lock())
                alive.push_back(std::move(index));
        }
        return alive;
    });
    // Lookups finish on the index worker and may queue more index work
    // (an expired entry's removal) behind the first wait.
    for (int round = 0; round < 2; ++round) {
        for (const auto& index : indexes)
            index->waitUntilIdle();
    }
    m_queue.syncBarrier([] {});
}

} // namespace remoteimage
