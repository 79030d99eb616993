#include "Store/StoreSchema.h"

#include "Diagnostics/Diagnostics.h"

#include <QCoreApplication>
#include <QStringList>

#include <vector>

namespace {

struct Step {
    int version;
    QStringList statements;
};

const std::vector<Step>& steps()
{
    static const std::vector<Step> list{
        {1, {}},
        {2,
         {
             // Times are milliseconds since 1970 UTC.
             QStringLiteral("CREATE TABLE catalogue ("
                            " address TEXT PRIMARY KEY,"
                            " loaded_at INTEGER NOT NULL,"
                            " skipped_rows INTEGER NOT NULL DEFAULT 0)"),
             QStringLiteral("CREATE TABLE catalogue_station ("
                            " address TEXT NOT NULL,"
                            " position INTEGER NOT NULL,"
                            " id INTEGER NOT NULL,"
                            " url TEXT NOT NULL,"
                            " image TEXT NOT NULL,"
                            " genre TEXT NOT NULL,"
                            " title TEXT NOT NULL,"
                            " PRIMARY KEY (address, position)) WITHOUT ROWID"),
             QStringLiteral("CREATE TABLE selection ("
                            " source TEXT PRIMARY KEY,"
                            " station_id INTEGER NOT NULL)"),
             QStringLiteral("CREATE TABLE setting ("
                            " name TEXT PRIMARY KEY,"
                            " value)"),
         }},
        {3,
         {
             // The directory's identifier of a stored station, for counting
             // plays; the songs recently heard, newest last.
             QStringLiteral("ALTER TABLE catalogue_station ADD COLUMN uuid TEXT NOT NULL DEFAULT ''"),
             QStringLiteral("CREATE TABLE recently_played ("
                            " id INTEGER PRIMARY KEY AUTOINCREMENT,"
                            " played_at INTEGER NOT NULL,"
                            " station TEXT NOT NULL,"
                            " song TEXT NOT NULL)"),
         }},
        {4,
         {
             // The file a heard song was kept in (NULL: none), and whether
             // it is in the music folder rather than waiting in the cache.
             QStringLiteral("ALTER TABLE recently_played ADD COLUMN recording TEXT"),
             QStringLiteral("ALTER TABLE recently_played ADD COLUMN recording_saved INTEGER NOT NULL DEFAULT 0"),
         }},
    };
    return list;
}

} // namespace

namespace StoreSchema {

int currentVersion()
{
    return steps().back().version;
}

QString migrate(sqlite::Connection& connection)
{
    qint64 version = 0;
    {
        sqlite::Statement query(connection, QStringLiteral("PRAGMA user_version"));
        if (!query.next())
            return query.error().message;
        version = query.int64(0);
    }
    if (version > currentVersion()) {
        printLine(QCoreApplication::translate("StoreSchema", "The store was written by a newer Quillora (version %1); using it as it is")
                      .arg(version));
        return {};
    }
    for (const Step& step : steps()) {
        if (step.version <= version)
            continue;
        if (!connection.begin())
            return connection.lastError().message;
        QStringList statements = step.statements;
        statements.append(QStringLiteral("PRAGMA user_version = %1").arg(step.version));
        for (const QString& statement : statements) {
            if (!connection.exec(statement)) {
                const QString error = connection.lastError().message;
                connection.rollback();
                return error;
            }
        }
        if (!connection.commit()) {
            const QString error = connection.lastError().message;
            connection.rollback();
            return error;
        }
    }
    return {};
}

} // namespace StoreSchema
