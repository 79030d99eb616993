#include "RemoteImage/ImageCache/FileIndex.h"

#include "RemoteImage/Utils/SqlModel/SqlModel.h"
#include "Diagnostics/Diagnostics.h"

#include <QAtomicInteger>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <mutex>

namespace remoteimage {

namespace {

using Type = SqlAttributeType;
using Element = SqlFetchIndexDescription::Element;

const QString table = QStringLiteral("\"RemoteFile\"");

QVariant toColumn(const QDateTime& date) { return QVariant(date.toMSecsSinceEpoch()); }

QDateTime fromColumn(const QVariant& value)
{
    return QDateTime::fromMSecsSinceEpoch(value.toLongLong(), Qt::UTC);
}

QString nextConnectionName()
{
    static QAtomicInteger<quint64> counter;
    return QStringLiteral("RemoteImage.FileIndex.%1").arg(counter.fetchAndAddRelaxed(1));
}

} // namespace

// Shared by the index object and the tasks on its worker: a task may run
// after the FileIndex object is gone.
struct FileIndex::Store {
    QString path;
    QString connectionName = nextConnectionName();
    SqlModel model = FileIndex::modelDescription().makeModel();

    // Held while a statement runs; shutDown() takes it to be sure no
    // statement touches the file it deletes.
    std::mutex mutex;
    bool closed = false;

    // Worker thread only.
    QSqlDatabase database;
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
        body(database);
        return true;
    }
};

bool FileIndex::Store::tryOpen(QString* error)
{
    database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
    database.setDatabaseName(path);
    if (!database.open()) {
        *error = database.lastError().text();
        return false;
    }
    // Opening is lazy; reading the schema and checking the pages is what
    // finds a file that is not (or no longer) a database.
    QSqlQuery check(database);
    if (!check.exec(QStringLiteral("PRAGMA quick_check")) || !check.next()) {
        *error = check.lastError().text();
        return false;
    }
    if (check.value(0).toString() != QLatin1String("ok")) {
        *error = check.value(0).toString();
        return false;
    }
    check.finish();
    // Losing the last insert on power failure is acceptable for a cache.
    QSqlQuery(database).exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
    return model.createSchema(database, error);
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
    if (!database.isValid())
        return;
    database.close();
    database = QSqlDatabase();
    QSqlDatabase::removeDatabase(connectionName);
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
        store->withDatabase([&](QSqlDatabase& database) {
            QSqlQuery query(database);
            query.prepare(QStringLiteral("INSERT INTO %1 (\"urlString\", \"fileName\", \"dateCreated\", "
                                         "\"expiryDate\") VALUES (?, ?, ?, ?)")
                              .arg(table));
            query.addBindValue(urlString);
            query.addBindValue(fileName);
            query.addBindValue(toColumn(dateCreated));
            query.addBindValue(expiryDate ? toColumn(*expiryDate) : QVariant(QMetaType(QMetaType::LongLong)));
            if (!query.exec())
                printLine(query.lastError().text());
        });
    });
}

void FileIndex::fileInfo(const QUrl& remoteURL, FileInfoCompletion completion)
{
    m_queue.async([store = m_store, urlString = remoteURL.toString(QUrl::FullyEncoded),
                   completion = std::move(completion)] {
        std::optional<FileInfo> info;
        store->withDatabase([&](QSqlDatabase& database) {
            QSqlQuery query(database);
            query.prepare(QStringLiteral("SELECT \"urlString\", \"dateCreated\", \"expiryDate\", \"fileName\" "
                                         "FROM %1 WHERE \"urlString\" = ? "
                                         "ORDER BY \"dateCreated\" DESC, rowid DESC LIMIT 1")
                              .arg(table));
            query.addBindValue(urlString);
            if (!query.exec()) {
                printLine(query.lastError().text());
                return;
            }
            if (query.next()) {
                info = FileInfo{query.value(0).toString(), fromColumn(query.value(1)),
                                query.isNull(2) ? std::nullopt : std::optional(fromColumn(query.value(2))),
                                query.value(3).toString()};
            }
        });
        if (completion)
            completion(std::move(info));
    });
}

void FileIndex::removeFileInfo(const QString& fileName)
{
    m_queue.async([store = m_store, fileName] {
        store->withDatabase([&](QSqlDatabase& database) {
            QSqlQuery query(database);
            query.prepare(QStringLiteral("DELETE FROM %1 WHERE \"fileName\" = ?").arg(table));
            query.addBindValue(fileName);
            if (!query.exec())
                printLine(query.lastError().text());
        });
    });
}

void FileIndex::removeExpired(RemovedFilesCompletion completion)
{
    m_queue.async([store = m_store, completion = std::move(completion)] {
        QStringList removed;
        store->withDatabase([&](QSqlDatabase& database) {
            const qint64 now = QDateTime::currentMSecsSinceEpoch();
            const QString condition = QStringLiteral("\"expiryDate\" IS NULL OR \"expiryDate\" < ?");
            if (!database.transaction()) {
                printLine(database.lastError().text());
                return;
            }
            QSqlQuery select(database);
            select.prepare(QStringLiteral("SELECT \"fileName\" FROM %1 WHERE %2").arg(table, condition));
            select.addBindValue(now);
            QSqlQuery remove(database);
            remove.prepare(QStringLiteral("DELETE FROM %1 WHERE %2").arg(table, condition));
            remove.addBindValue(now);
            QStringList names;
            bool ok = select.exec();
            while (ok && select.next())
                names.append(select.value(0).toString());
            if (!ok)
                printLine(select.lastError().text());
            select.finish();
            if (ok && !remove.exec()) {
                printLine(remove.lastError().text());
                ok = false;
            }
            if (ok && database.commit()) {
                removed = names;
            } else {
                if (ok)
                    printLine(database.lastError().text());
                database.rollback();
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
