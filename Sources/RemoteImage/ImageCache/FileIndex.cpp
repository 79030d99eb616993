#include "RemoteImage/ImageCache/FileIndex.h"

#include "RemoteImage/Utils/SqlModel/SqlModel.h"
#include "Diagnostics/Diagnostics.h"
#include "Sqlite/Sqlite.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <mutex>

namespace remoteimage {

namespace {

using Type = SqlAttributeType;
using Element = SqlFetchIndexDescription::Element;

const QString table = QStringLiteral("\"RemoteFile\"");

qint64 toColumn(const QDateTime& date) { return date.toMSecsSinceEpoch(); }

QDateTime fromColumn(qint64 value)
{
    return QDateTime::fromMSecsSinceEpoch(value, Qt::UTC);
}

} // namespace

// Shared by the index object and the tasks on its worker: a task may run
// after the FileIndex object is gone.
struct FileIndex::Store {
    QString path;
    SqlModel model = FileIndex::modelDescription().makeModel();

    // Held while a statement runs; shutDown() takes it to be sure no
    // statement touches the file it deletes.
    std::mutex mutex;
    bool closed = false;

    // Worker thread only.
    sqlite::Connection connection;
    bool usable = false;

    // True when the file had to be replaced.
    bool open();
    bool tryOpen(QString* error);
    void closeConnection();
    bool removeFiles(QString* error) const;

    // Runs `body` against an open store, under the lock. False when the
    // store is shut down or could not be opened (with an error line).
    template <typename Body>
    bool withDatabase(Body&& body)
    {
        std::lock_guard lock(mutex);
        // Work queued before a shutDown() quietly finds nothing: the store
        // was destroyed on purpose.
        if (closed)
            return false;
        if (!usable) {
            printLine(QCoreApplication::translate("FileIndex", "The index store is not available: %1").arg(path));
            return false;
        }
        body(connection);
        return true;
    }
};

bool FileIndex::Store::tryOpen(QString* error)
{
    if (!connection.open(path)) {
        *error = connection.lastError().message;
        return false;
    }
    // A lock another connection holds on the file is waited for, not taken
    // for a failure.
    connection.setBusyTimeout(5000);
    {
        // Opening is lazy; reading the schema and checking the pages is
        // what finds a file that is not (or no longer) a database.
        sqlite::Statement check(connection, QStringLiteral("PRAGMA quick_check"));
        if (!check.next()) {
            *error = check.error().message;
            return false;
        }
        if (const QString verdict = check.text(0); verdict != QLatin1String("ok")) {
            *error = verdict;
            return false;
        }
    }
    // Losing the last insert on power failure is acceptable for a cache.
    connection.exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
    return model.createSchema(connection, error);
}

bool FileIndex::Store::open()
{
    QString error;
    usable = tryOpen(&error);
    if (usable)
        return false;
    printLine(QCoreApplication::translate("FileIndex", "The index store %1 is unreadable (%2): starting with an empty index").arg(path, error));
    closeConnection();
    if (!removeFiles(&error)) {
        printLine(error);
        return false;
    }
    usable = tryOpen(&error);
    if (!usable) {
        printLine(error);
        closeConnection();
    }
    return true;
}

void FileIndex::Store::closeConnection()
{
    connection.close();
}

bool FileIndex::Store::removeFiles(QString* error) const
{
    bool ok = true;
    for (const char* suffix : {"", "-journal", "-wal", "-shm"}) {
        QFile file(path + QLatin1String(suffix));
        if (file.exists() && !file.remove()) {
            *error = QStringLiteral("Could not remove %1: %2").arg(file.fileName(), file.errorString());
            ok = false;
        }
    }
    return ok;
}

SqlModelDescription FileIndex::modelDescription()
{
    return SqlModelDescription{{SqlEntityDescription::entity(
        QLatin1String(RemoteFileRecord::entityName), QStringLiteral("RemoteFileRecord"),
        {
            SqlAttributeDescription::attribute(QStringLiteral("urlString"), Type::String),
            SqlAttributeDescription::attribute(QStringLiteral("fileName"), Type::String),
            SqlAttributeDescription::attribute(QStringLiteral("dateCreated"), Type::Date),
            SqlAttributeDescription::attribute(QStringLiteral("expiryDate"), Type::Date),
        },
        {
            SqlFetchIndexDescription::index(QStringLiteral("byURLString"),
                                                 {Element::property(QStringLiteral("urlString"))}),
            SqlFetchIndexDescription::index(QStringLiteral("byFileName"),
                                                 {Element::property(QStringLiteral("fileName"))}),
        })}};
}

FileIndex::FileIndex(const QUrl& directoryURL, const QString& fileName, const QString& pathExtension)
    : m_store(std::make_shared<Store>())
    , m_queue("RemoteImage.FileIndex.queue", WorkQueue::Kind::Serial)
{
    m_store->path = QDir(directoryURL.toLocalFile()).filePath(fileName + QLatin1Char('.') + pathExtension);
    m_recreated = m_queue.sync([store = m_store] { return store->open(); });
}

FileIndex::~FileIndex()
{
    // Runs after everything already queued; the queue's destructor waits.
    m_queue.async([store = m_store] { store->closeConnection(); });
}

QString FileIndex::storePath() const { return m_store->path; }

bool FileIndex::wasRecreated() const { return m_recreated; }

void FileIndex::shutDown()
{
    {
        std::lock_guard lock(m_store->mutex);
        m_store->closed = true;
        QString error;
        if (!m_store->removeFiles(&error))
            printLine(error);
    }
    m_queue.async([store = m_store] { store->closeConnection(); });
}

void FileIndex::insertOrUpdate(const QUrl& remoteURL, const QString& fileName, const QDateTime& dateCreated,
                               const std::optional<QDateTime>& expiryDate)
{
    m_queue.async([store = m_store, urlString = remoteURL.toString(QUrl::FullyEncoded), fileName, dateCreated,
                   expiryDate] {
        store->withDatabase([&](sqlite::Connection& connection) {
            sqlite::Statement query(connection, QStringLiteral("INSERT INTO %1 (\"urlString\", \"fileName\", "
                                                               "\"dateCreated\", \"expiryDate\") VALUES (?, ?, ?, ?)")
                                                    .arg(table));
            query.bind(1, urlString);
            query.bind(2, fileName);
            query.bind(3, toColumn(dateCreated));
            if (expiryDate)
                query.bind(4, toColumn(*expiryDate));
            else
                query.bindNull(4);
            if (!query.run())
                printLine(query.error().message);
        });
    });
}

void FileIndex::fileInfo(const QUrl& remoteURL, FileInfoCompletion completion)
{
    m_queue.async([store = m_store, urlString = remoteURL.toString(QUrl::FullyEncoded),
                   completion = std::move(completion)] {
        std::optional<FileInfo> info;
        store->withDatabase([&](sqlite::Connection& connection) {
            sqlite::Statement query(connection,
                                    QStringLiteral("SELECT \"urlString\", \"dateCreated\", \"expiryDate\", \"fileName\" "
                                                   "FROM %1 WHERE \"urlString\" = ? "
                                                   "ORDER BY \"dateCreated\" DESC, rowid DESC LIMIT 1")
                                        .arg(table));
            query.bind(1, urlString);
            if (query.next()) {
                info = FileInfo{query.text(0), fromColumn(query.int64(1)),
                                query.isNull(2) ? std::nullopt : std::optional(fromColumn(query.int64(2))),
                                query.text(3)};
            } else if (query.failed()) {
                printLine(query.error().message);
            }
        });
        if (completion)
            completion(std::move(info));
    });
}

void FileIndex::removeFileInfo(const QString& fileName)
{
    m_queue.async([store = m_store, fileName] {
        store->withDatabase([&](sqlite::Connection& connection) {
            sqlite::Statement query(connection, QStringLiteral("DELETE FROM %1 WHERE \"fileName\" = ?").arg(table));
            query.bind(1, fileName);
            if (!query.run())
                printLine(query.error().message);
        });
    });
}

void FileIndex::removeExpired(RemovedFilesCompletion completion)
{
    m_queue.async([store = m_store, completion = std::move(completion)] {
        QStringList removed;
        store->withDatabase([&](sqlite::Connection& connection) {
            const qint64 now = QDateTime::currentMSecsSinceEpoch();
            const QString condition = QStringLiteral("\"expiryDate\" IS NULL OR \"expiryDate\" < ?");
            if (!connection.begin()) {
                printLine(connection.lastError().message);
                return;
            }
            QStringList names;
            bool ok = true;
            {
                sqlite::Statement select(connection, QStringLiteral("SELECT \"fileName\" FROM %1 WHERE %2").arg(table, condition));
                select.bind(1, now);
                while (select.next())
                    names.append(select.text(0));
                if (select.failed()) {
                    printLine(select.error().message);
                    ok = false;
                }
            }
            if (ok) {
                sqlite::Statement remove(connection, QStringLiteral("DELETE FROM %1 WHERE %2").arg(table, condition));
                remove.bind(1, now);
                if (!remove.run()) {
                    printLine(remove.error().message);
                    ok = false;
                }
            }
            if (ok && connection.commit()) {
                removed = names;
            } else {
                if (ok)
                    printLine(connection.lastError().message);
                connection.rollback();
            }
        });
        if (completion)
            completion(removed);
    });
}

void FileIndex::waitUntilIdle()
{
    m_queue.sync([] {});
}

} // namespace remoteimage
