#include "Config.h"

#include <QDir>
#include <QStandardPaths>

QString Config::configurationFile()
{
    // Named explicitly rather than through the application's name, so the
    // file is where a person looks for it whatever the process is called.
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        .filePath(QStringLiteral("quillora/quillora.conf"));
}

QString Config::myStationsFile()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
        .filePath(QStringLiteral("stations.csv"));
}
