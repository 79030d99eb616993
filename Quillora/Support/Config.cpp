#include "Support/Config.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
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

QString Config::catalogueSetting(const QString& configurationFile)
{
    if (!QFileInfo::exists(configurationFile))
        return {};
    const QSettings settings(configurationFile, QSettings::IniFormat);
    return settings.value(QStringLiteral("catalogue")).toStringList().join(QLatin1Char(','));
}

Environment Environment::read()
{
    return {qEnvironmentVariable(Config::catalogueVariable()), qEnvironmentVariable("QUILLORA_DIRECTORY_URL"),
            qgetenv("QUILLORA_MPV_OPTIONS"), qEnvironmentVariable("QUILLORA_COLOR_SCHEME")};
}
