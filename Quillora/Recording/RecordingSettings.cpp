#include "Recording/RecordingSettings.h"

#include "Diagnostics/Diagnostics.h"

#include <QCoreApplication>
#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace {

int seconds(QSettings& settings, const QString& key, int fallback)
{
    const QVariant value = settings.value(key);
    if (!value.isValid())
        return fallback;
    bool ok = false;
    const int number = value.toString().trimmed().toInt(&ok);
    if (ok && number >= 0 && number <= 24 * 3600)
        return number;
    printLine(QCoreApplication::translate("RecordingSettings", "quillora.conf: [recording] %1=%2 is not a number of seconds; using %3")
                  .arg(key, value.toString()).arg(fallback));
    return fallback;
}

} // namespace

RecordingSettings RecordingSettings::read(QSettings& settings)
{
    RecordingSettings result;
    settings.beginGroup(QStringLiteral("recording"));
    const QString mode = settings.value(QStringLiteral("mode"), QStringLiteral("off")).toString().trimmed().toLower();
    result.mode = modeNamed(mode);
    if (modeName(result.mode) != mode)
        printLine(QCoreApplication::translate("RecordingSettings", "quillora.conf: [recording] mode=%1 is not off, all or decide; recording is off")
                      .arg(mode));
    QString folder = settings.value(QStringLiteral("folder")).toString().trimmed();
    if (folder.startsWith(QLatin1String("~/")))
        folder = QDir::home().filePath(folder.mid(2));
    result.folder = folder.isEmpty() || QDir::isRelativePath(folder) ? defaultFolder() : QDir::cleanPath(folder);
    result.minimumSeconds = seconds(settings, QStringLiteral("minimum-seconds"), 30);
    result.maximumSeconds = seconds(settings, QStringLiteral("maximum-seconds"), 900);
    settings.endGroup();
    return result;
}

QString RecordingSettings::defaultFolder()
{
    QString music = QStandardPaths::writableLocation(QStandardPaths::MusicLocation);
    if (music.isEmpty())
        music = QDir::home().filePath(QStringLiteral("Music"));
    return QDir(music).filePath(QStringLiteral("Quillora"));
}

QString RecordingSettings::modeName(Mode mode)
{
    switch (mode) {
    case Mode::All:
        return QStringLiteral("all");
    case Mode::Decide:
        return QStringLiteral("decide");
    case Mode::Off:
        break;
    }
    return QStringLiteral("off");
}

RecordingSettings::Mode RecordingSettings::modeNamed(QStringView name)
{
    if (name == QLatin1String("all"))
        return Mode::All;
    if (name == QLatin1String("decide"))
        return Mode::Decide;
    return Mode::Off;
}
