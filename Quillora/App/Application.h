// What the process sets up once, for the window and the headless player
// alike: the audio set-up before any stream, and the application's database,
// opened on first use and kept for the life of the process.
#pragma once

#include "Store/Database.h"

#include <QString>

#include <memory>

class Application {
public:
    // The store lives in `storeDirectory`, or the application data folder.
    explicit Application(QString storeDirectory = {});

    // Audio set-up; a failure is printed and start-up goes on. Media keys
    // reach the player through its MPRIS service, which the root registers.
    static void setUpAudio();

    // Opened, with its schema brought up to date, on first call. A database
    // that cannot be opened stops the application with "Unresolved error ...".
    Database& database();

    // Saves the pending changes, if any; a failed save stops the application.
    void saveChanges();

    // Prints the fatal message and ends the process.
    [[noreturn]] static void unresolvedError(const QString& error, const QStringList& userInfo);

private:
    QString m_storeDirectory;
    std::unique_ptr<Database> m_database;
};
