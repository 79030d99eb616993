// The persistent index of the file cache: which cached file holds which
// remote URL, since when and until when.
//
// Records live in an SQLite file (the cache's files.db) whose schema is
// described by modelDescription(). All work runs on one worker thread that
// owns the index's database connection, in the order the operations were
// called; every operation may be called from any thread and returns at once
// (the constructor waits until the store is open). Errors are printed as one
// line on standard output; a lookup that fails answers nothing.
//
// Unlike a plain record store, deletions are written when they are made, and
// a lookup of a URL stored several times answers the newest record (latest
// dateCreated, then latest inserted). A store file that cannot be read is
// reported in one line, deleted, and replaced by an empty one.
//
// Completions run on the worker thread. They may call back into the index
// (the work is queued behind them) and may block on other threads, as long
// as those do not wait for this index's worker.
#pragma once

#include "RemoteImage/ImageCache/RemoteFileRecord.h"
#include "RemoteImage/Utils/SqlModel/SqlModelDescription.h"
#include "RemoteImage/Utils/WorkQueue.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>
#include <memory>
#include <optional>

namespace remoteimage {

class FileIndex {
public:
    using FileInfo = RemoteFileRecord;
    using FileInfoCompletion = std::function<void(std::optional<FileInfo>)>;
    using RemovedFilesCompletion = std::function<void(const QStringList& fileNames)>;

    // Opens (or creates) directoryURL/fileName.pathExtension.
    FileIndex(const QUrl& directoryURL, const QString& fileName, const QString& pathExtension);
    // Lets queued work finish, then closes the store.
    ~FileIndex();

    FileIndex(const FileIndex&) = delete;
    FileIndex& operator=(const FileIndex&) = delete;

    QString storePath() const;

    // True when the store file was unreadable at opening and was replaced by
    // an empty one: the files it described are no longer known.
    bool wasRecreated() const;

    // Deletes the store file (and SQLite's companion files). Work still
    // queued then finds nothing and stores nothing. Waits at most for the
    // one database statement in progress, never for completions.
    void shutDown();

    // Adds a record; an existing record for the URL is left as it is. A
    // record without an expiry date is refused (the attribute is required)
    // with an error line.
    void insertOrUpdate(const QUrl& remoteURL, const QString& fileName, const QDateTime& dateCreated,
                        const std::optional<QDateTime>& expiryDate);

    // The newest record for the URL, or nothing.
    void fileInfo(const QUrl& remoteURL, FileInfoCompletion completion);

    void removeFileInfo(const QString& fileName);

    // Removes records that expired before now (and any without an expiry
    // date); `completion`, if given, receives the removed records' file names.
    void removeExpired(RemovedFilesCompletion completion = {});

    // Blocks until everything called before has run (completions included).
    void waitUntilIdle();

    // Entity "RemoteFile": urlString, fileName, dateCreated, expiryDate, all
    // required; fetch indexes byURLString and byFileName.
    static SqlModelDescription modelDescription();

private:
    struct Store;

    std::shared_ptr<Store> m_store;
    bool m_recreated = false;
    WorkQueue m_queue;
};

} // namespace remoteimage
