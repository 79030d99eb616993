// Start-up of the application: the audio set-up before any stream, the name
// of the window configuration, and the application's persistent container,
// created on first use and kept for the life of the process.
#pragma once

#include "App/PersistentContainer.h"

#include <QString>

#include <memory>

class AppDelegate {
public:
    // The store lives in `storeDirectory`, or the application data folder.
    explicit AppDelegate(QString storeDirectory = {});

    // Audio set-up (a failure is printed and start-up goes on). Media keys
    // reach the player through its MPRIS service, registered by the window's
    // scene. Returns true.
    bool didFinishLaunching();

    static QString configurationForConnecting() { return QStringLiteral("Default Configuration"); }

    // Created, with its store loaded, on first call. A store that cannot be
    // loaded stops the application with "Unresolved error ...".
    PersistentContainer& persistentContainer();

    // Saves the pending changes, if any; a failed save stops the application.
    void saveContext();

    // Prints the fatal message and ends the process.
    [[noreturn]] static void unresolvedError(const QString& error, const QStringList& userInfo);

private:
    QString m_storeDirectory;
    std::unique_ptr<PersistentContainer> m_persistentContainer;
};
