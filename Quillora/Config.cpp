#include "Config.h"

#include <QDir>
#include <QStandardPaths>

const QString& Config::gSheetCVSUrl()
{
    static const QString url = QStringLiteral(
        "https://docs.google.com/spreadsheets/d/e/"
        "2PACX-1vQuilloraStationCatalogueStationsSheetPublishedAsCsv0Xk7u3Yb9q2Lw5rT8fJ1hN6m/"
        "pub?output=csv");
    return url;
}

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
