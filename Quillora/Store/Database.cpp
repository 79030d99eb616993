#include "Store/Database.h"

#include "Diagnostics/Diagnostics.h"
#include "Store/StoreSchema.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

// SQLite's primary result codes that say nothing about the file itself.
bool isTransient(const sqlite::Error& error)
{
    const int code = error.code;
    return code == SQLITE_BUSY || code == SQLITE_LOCKED || code == SQLITE_NOMEM || code == SQLITE_FULL;
}

const char* const journalSuffixes[] = {"-wal", "-shm", "-journal"};

} // namespace

WriteContext::WriteContext(sqlite::Connection& connection)
    : m_connection(connection)
{
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
    if (!m_connection.isOpen())
        return QStringLiteral("the store is not open");
    if (!m_connection.begin())
        return m_connection.lastError().message;
    for (const auto& [key, write] : m_pending) {
        const QString error = write(m_connection);
        if (!error.isEmpty()) {
            m_connection.rollback();
            return QStringLiteral("%1: %2").arg(key, error);
        }
    }
    if (!m_connection.commit()) {
        const QString error = m_connection.lastError().message;
        m_connection.rollback();
        return error;
    }
    m_pending.clear();
    ++m_saveCount;
    return {};
}

Database::Database(QString name, QString directory)
    : m_name(std::move(name))
    , m_directory(std::move(directory))
    , m_writeContext(m_connection)
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
    m_connection.close();
}

Database::OpenFailure Database::open(const QString& path)
{
    const bool existed = QFileInfo::exists(path);
    const auto failure = [existed](const sqlite::Error& error) {
        return OpenFailure{error.message, existed && !isTransient(error)};
    };
    if (!m_connection.open(path))
        return failure(m_connection.lastError());
    // Another process in the middle of a save is waited for, not taken for
    // damage.
    m_connection.setBusyTimeout(5000);
    {
        // Reading the schema makes SQLite look at the file: a file that is
        // not a database fails here, not at the first save.
        sqlite::Statement version(m_connection, QStringLiteral("PRAGMA user_version"));
        if (!version.next())
            return failure(version.error());
    }
    {
        // Damage that leaves the header intact shows in the check.
        sqlite::Statement check(m_connection, QStringLiteral("PRAGMA quick_check"));
        if (!check.next())
            return failure(check.error());
        if (const QString verdict = check.text(0); verdict != QLatin1String("ok"))
            return {QStringLiteral("the check found damage: %1").arg(verdict.left(200)), existed};
    }
    // Write-ahead logging: a save killed half way leaves the previous state,
    // and readers never wait for a save. NORMAL is safe against a crash of
    // the process; after a power cut the last save may be missing.
    m_connection.exec(QStringLiteral("PRAGMA journal_mode=WAL"));
    m_connection.exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
    if (const QString error = StoreSchema::migrate(m_connection); !error.isEmpty())
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
