// The application's own store: an SQLite file named after the container
// ("Quillora.sqlite") in the user's data folder. Nothing is kept in it yet;
// it exists so that later features have one place to keep their data, and
// so that a broken data folder shows at start rather than later.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// The main-thread view of the store: pending changes and their saving.
class ManagedObjectContext {
public:
    explicit ManagedObjectContext(QString connectionName);

    bool hasChanges() const { return m_pendingChanges > 0; }
    // Records a change to be written by the next save().
    void noteChange() { ++m_pendingChanges; }
    // Writes the pending changes in one transaction; returns the error text,
    // empty on success.
    QString save();
    int saveCount() const { return m_saveCount; }

private:
    QString m_connectionName;
    int m_pendingChanges = 0;
    int m_saveCount = 0;
};

class PersistentContainer {
public:
    struct StoreError {
        QString description;
        QStringList userInfo;
    };

    // The store lives in `directory`, or the application data folder when
    // it is empty.
    explicit PersistentContainer(QString name, QString directory = {});
    ~PersistentContainer();
    PersistentContainer(const PersistentContainer&) = delete;
    PersistentContainer& operator=(const PersistentContainer&) = delete;

    const QString& name() const { return m_name; }
    QString storePath() const;

    // Opens (creating if needed) the store; calls the handler once, with the
    // error or with none.
    void loadPersistentStores(const std::function<void(const StoreError*)>& completion);

    ManagedObjectContext& viewContext() { return m_viewContext; }

private:
    QString m_name;
    QString m_directory;
    QString m_connectionName;
    ManagedObjectContext m_viewContext;
};
