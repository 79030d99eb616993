#include "App/PersistentContainer.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QUuid>

ManagedObjectContext::ManagedObjectContext(QString connectionName)
    : m_connectionName(std::move(connectionName))
{
}

QString ManagedObjectContext::save()
{
    if (!hasChanges())
        return {};
    QSqlDatabase database = QSqlDatabase::database(m_connectionName, false);
    if (!database.isOpen())
        return QStringLiteral("the store is not open");
    if (!database.transaction() || !database.commit())
        return database.lastError().text();
    m_pendingChanges = 0;
    ++m_saveCount;
    return {};
}

PersistentContainer::PersistentContainer(QString name, QString directory)
    : m_name(std::move(name))
    , m_directory(std::move(directory))
    , m_connectionName(QStringLiteral("PersistentContainer-") + QUuid::createUuid().toString(QUuid::WithoutBraces))
    , m_viewContext(m_connectionName)
{
}

PersistentContainer::~PersistentContainer()
{
    {
        QSqlDatabase database = QSqlDatabase::database(m_connectionName, false);
        if (database.isOpen())
            database.close();
    }
    if (QSqlDatabase::contains(m_connectionName))
        QSqlDatabase::removeDatabase(m_connectionName);
}

QString PersistentContainer::storePath() const
{
    const QString directory = m_directory.isEmpty()
        ? QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
        : m_directory;
    return QDir(directory).filePath(m_name + QStringLiteral(".sqlite"));
}

void PersistentContainer::loadPersistentStores(const std::function<void(const StoreError*)>& completion)
{
    const QString path = storePath();
    const QString directory = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(directory)) {
        const StoreError error{QStringLiteral("Cannot create the folder of the store"),
                               {QStringLiteral("path: ") + directory}};
        completion(&error);
        return;
    }
    QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
    database.setDatabaseName(path);
    QString failure;
    if (!database.open()) {
        failure = database.lastError().text();
    } else {
        // Reading the schema makes SQLite look at the file: an existing file
        // that is not a database fails here, not at the first save.
        QSqlQuery query(database);
        if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next())
            failure = query.lastError().text();
        else if (query.value(0).toInt() == 0 && !query.exec(QStringLiteral("PRAGMA user_version = 1")))
            failure = query.lastError().text();
    }
    if (!failure.isEmpty()) {
        const StoreError error{failure, {QStringLiteral("path: ") + path}};
        completion(&error);
        return;
    }
    completion(nullptr);
}
