// The application's own store: an SQLite file named after the container
// ("Quillora.sqlite") in the user's data folder. It holds what the
// application remembers between runs (see Store/StateStore.h); the schema
// and its versions are Store/StoreSchema.h.
//
// A store that cannot be read (not a database, damaged, unreadable) is
// moved aside under a dated name with its journal files, one line says so,
// and a fresh store takes its place: what the store holds is convenience,
// never a reason to stop for good. Only a store that cannot be created at
// all (no writable data folder) is reported as an error to the caller.
#pragma once

#include "Sqlite/Sqlite.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <utility>
#include <vector>

// The main-thread view of the store: pending changes and their saving.
class WriteContext {
public:
    // One change: runs inside save()'s transaction, returns the error text
    // (empty on success).
    using Write = std::function<QString(sqlite::Connection&)>;

    explicit WriteContext(sqlite::Connection& connection);

    bool hasChanges() const { return !m_pending.empty(); }
    // Records a change for the next save(). A change staged under a key
    // that is already pending replaces it, in its place (only the last
    // volume matters).
    void stage(const QString& key, Write write);
    // Writes every pending change in one transaction: after a crash at any
    // moment the store holds all of them or none. On failure nothing is
    // written, the changes stay pending and the error text is returned;
    // empty on success. Without changes it does nothing.
    QString save();
    int saveCount() const { return m_saveCount; }

    // The store's connection (main thread).
    sqlite::Connection& connection() const { return m_connection; }

private:
    sqlite::Connection& m_connection;
    std::vector<std::pair<QString, Write>> m_pending;
    int m_saveCount = 0;
};

class Database {
public:
    struct StoreError {
        QString description;
        QStringList userInfo;
    };

    // The store lives in `directory`, or the application data folder when
    // it is empty.
    explicit Database(QString name, QString directory = {});
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    const QString& name() const { return m_name; }
    QString storePath() const;

    // Opens (creating if needed, moving a damaged one aside) the store and
    // brings its schema up to date; calls the handler once, with the error
    // or with none.
    void load(const std::function<void(const StoreError*)>& completion);

    // Where a store that could not be read was moved in this run; empty when
    // none was.
    const QString& movedAsidePath() const { return m_movedAside; }

    WriteContext& writeContext() { return m_writeContext; }

private:
    struct OpenFailure {
        QString text;
        // The file is there but is not a store we can use; a busy, full or
        // uncreatable one is not damaged.
        bool damaged = false;
    };
    OpenFailure open(const QString& path);
    void close();
    // Renames the store and its journal files; returns the new name of the
    // store, empty on failure.
    static QString moveAside(const QString& path, QString* error);

    QString m_name;
    QString m_directory;
    sqlite::Connection m_connection;
    QString m_movedAside;
    WriteContext m_writeContext;
};
