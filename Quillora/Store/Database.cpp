#include "Store/Database.h"

#include "Diagnostics/Diagnostics.h"
#include "Store/StoreSchema.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QUuid>

namespace {

// SQLite's primary result codes that say nothing about the file itself.
bool isTransient(const QSqlError& error)
{
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok) & 0xFF;
    constexpr int busy = 5, locked = 6, noMemory = 7, full = 13;
    return ok && (code == busy || code == locked || code == noMemory || code == full);
}

const char* const journalSuffixes[] = {"-wal", "-shm", "-journal"};

} // namespace

WriteContext::WriteContext(QString connectionName)
    : m_connectionName(std::move(connectionName))
{
}

QSqlDatabase WriteContext::database() const
{
    return QSqlDatabase::database(m_connectionName, false);
}

void WriteContext::stage(const QString& key, Write write)
{
    for (auto& [pendingKey, pendingWrite] : m_pending) {
        if (pendingKey == key) {
            pendingWrite = std::move(write);
            return;
        }
    }
    m_pending.emplace_back(key, std::move(write));
}

QString WriteContext::save()
{
    if (!hasChanges())
        return {};
    QSqlDatabase db = database();
    if (!db.isOpen())
        return QStringLiteral("the store is not open");
    if (!db.transaction())
        return db.lastError().text();
    for (const auto& [key, write] : m_pending) {
        const QString error = write(db);
        if (!error.isEmpty()) {
            db.rollback();
            return QStringLiteral("%1: %2").arg(key, error);
        }
    }
    if (!db.commit()) {
        const QString error = db.lastError().text();
        db.rollback();
        return error;
    }
    m_pending.clear();
    ++m_saveCount;
    return {};
}

Database::Database(QString name, QString directory)
    : m_name(std::move(name))
    , m_directory(std::move(directory))
    , m_connectionName(QStringLiteral("Database-") + QUuid::createUuid().toString(QUuid::WithoutBraces))
    , m_writeContext(m_connectionName)
{
}

Database::~Database()
{
    close();
}

QString Database::storePath() const
{
    const QString directory = m_directory.isEmpty()
        ? QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
        : m_directory;
    return QDir(directory).filePath(m_name + QStringLiteral(".sqlite"));
}

void Database::close()
{
    {
        QSqlDatabase database = QSqlDatabase::database(m_connectionName, false);
        if (database.isOpen())
            database.close();
    }
    if (QSqlDatabase::contains(m_connectionName))
        QSqlDatabase::removeDatabase(m_connectionName);
}

Database::OpenFailure Database::open(const QString& path)
{
    const bool existed = QFileInfo::exists(path);
    QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
    database.setDatabaseName(path);
    // Another process in the middle of a save is waited for, not taken for
    // damage.
    database.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    const auto failure = [existed](const QSqlError& error, const QString& what) {
        return OpenFailure{what.isEmpty() ? error.text() : what, existed && !isTransient(error)};
    };
    if (!database.open())
        return failure(database.lastError(), {});
    QSqlQuery query(database);
    // Reading the schema makes SQLite look at the file: a file that is not a
    // database fails here, not at the first save.
    if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next())
        return failure(query.lastError(), {});
    // Damage that leaves the header intact shows in the check.
    if (!query.exec(QStringLiteral("PRAGMA quick_check")) || !query.next())
        return failure(query.lastError(), {});
    if (const QString verdict = query.value(0).toString(); verdict != QLatin1String("ok"))
        return {QStringLiteral("the check found damage: %1").arg(verdict.left(200)), existed};
    // Write-ahead logging: a save killed half way leaves the previous state,
    // and readers never wait for a save. NORMAL is safe against a crash of
    // the process; after a power cut the last save may be missing.
    query.exec(QStringLiteral("PRAGMA journal_mode=WAL"));
    query.exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
    query.finish();
    if (const QString error = StoreSchema::migrate(database); !error.isEmpty())
        return {error, existed};
    return {};
}

QString Database::moveAside(const QString& path, QString* error)
{
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-ddTHH-mm-ss"));
    QString target = QStringLiteral("%1.corrupt-%2").arg(path, stamp);
    for (int n = 2; QFileInfo::exists(target) || QFileInfo(target).isSymLink(); ++n)
        target = QStringLiteral("%1.corrupt-%2-%3").arg(path, stamp).arg(n);
    QDir folder;
    if (QFileInfo::exists(path) && !folder.rename(path, target)) {
        *error = QStringLiteral("cannot rename %1").arg(path);
        return {};
    }
    // The journals belong to the old file: left behind, SQLite would apply
    // them to the fresh one.
    for (const char* suffix : journalSuffixes) {
        const QString journal = path + QLatin1String(suffix);
        if (QFileInfo::exists(journal) && !folder.rename(journal, target + QLatin1String(suffix))) {
            *error = QStringLiteral("cannot rename %1").arg(journal);
            return {};
        }
    }
    return target;
}

void Database::load(const std::function<void(const StoreError*)>& completion)
{
    const QString path = storePath();
    const QString directory = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(directory)) {
        const StoreError error{QCoreApplication::translate("Database", "Cannot create the folder of the store"),
                               {QStringLiteral("path: ") + directory}};
        completion(&error);
        return;
    }
    OpenFailure failure = open(path);
    if (failure.text.isEmpty()) {
        completion(nullptr);
        return;
    }
    if (failure.damaged) {
        close();
        QString moveError;
        const QString movedTo = moveAside(path, &moveError);
        if (movedTo.isEmpty()) {
            const StoreError error{failure.text, {QStringLiteral("path: ") + path, moveError}};
            completion(&error);
            return;
        }
        m_movedAside = movedTo;
        printLine(QCoreApplication::translate("Database", "The store %1 could not be read (%2); moved it to %3 and started a fresh one")
                      .arg(path, failure.text, movedTo));
        failure = open(path);
        if (failure.text.isEmpty()) {
            completion(nullptr);
            return;
        }
    }
    const StoreError error{failure.text, {QStringLiteral("path: ") + path}};
    completion(&error);
}
