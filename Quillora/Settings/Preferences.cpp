#include "Settings/Preferences.h"

#include "Diagnostics/Diagnostics.h"
#include "Settings/IniFile.h"

#include <QDir>
#include <QUrl>

#include <algorithm>
#include <array>

namespace {

const QString backgroundKey = QStringLiteral("background");
const QString notificationsKey = QStringLiteral("notifications");
const QString colorSchemeKey = QStringLiteral("color-scheme");
const QString sleepTimerKey = QStringLiteral("sleep-timer");
const QString recordingGroup = QStringLiteral("recording");

constexpr std::array sleepChoices{15, 30, 60, 90};

std::optional<bool> boolean(const std::optional<QString>& text)
{
    if (!text)
        return std::nullopt;
    const QString value = text->trimmed().toLower();
    if (value == QLatin1String("true") || value == QLatin1String("1") || value == QLatin1String("yes")
        || value == QLatin1String("on"))
        return true;
    if (value == QLatin1String("false") || value == QLatin1String("0") || value == QLatin1String("no")
        || value == QLatin1String("off"))
        return false;
    return std::nullopt;
}

bool isScheme(const QString& scheme)
{
    return scheme == QLatin1String("system") || scheme == QLatin1String("light") || scheme == QLatin1String("dark");
}

bool isSleepChoice(int minutes)
{
    return std::find(sleepChoices.begin(), sleepChoices.end(), minutes) != sleepChoices.end();
}

} // namespace

DesktopSettings DesktopSettings::read(const QString& configurationFile)
{
    QString error;
    const IniFile file = IniFile::load(configurationFile, &error);
    if (!error.isEmpty())
        printLine(error);
    const QStringView general = IniFile::general;
    DesktopSettings settings;
    settings.background = boolean(file.value(general, backgroundKey)).value_or(settings.background);
    settings.notifications = boolean(file.value(general, notificationsKey)).value_or(settings.notifications);
    const QString scheme = file.value(general, colorSchemeKey).value_or(QString()).trimmed().toLower();
    if (isScheme(scheme))
        settings.colorScheme = scheme;
    bool number = false;
    const int minutes = file.value(general, sleepTimerKey).value_or(QString()).toInt(&number);
    if (number && isSleepChoice(minutes))
        settings.sleepTimerMinutes = minutes;
    return settings;
}

Preferences::Preferences(QString configurationFile, const DesktopSettings& initial, QObject* parent)
    : QObject(parent)
    , m_file(std::move(configurationFile))
    , m_values(initial)
{
}

void Preferences::setBackground(bool on)
{
    if (on == m_values.background)
        return;
    m_values.background = on;
    write(IniFile::general, backgroundKey, on ? QStringLiteral("true") : QStringLiteral("false"));
    emit backgroundChanged();
}

void Preferences::setNotifications(bool on)
{
    if (on == m_values.notifications)
        return;
    m_values.notifications = on;
    write(IniFile::general, notificationsKey, on ? QStringLiteral("true") : QStringLiteral("false"));
    emit notificationsChanged();
}

void Preferences::setColorScheme(const QString& scheme)
{
    if (!isScheme(scheme) || scheme == m_values.colorScheme)
        return;
    m_values.colorScheme = scheme;
    write(IniFile::general, colorSchemeKey, scheme);
    emit colorSchemeChanged();
}

void Preferences::setSleepTimerMinutes(int minutes)
{
    if (!isSleepChoice(minutes) || minutes == m_values.sleepTimerMinutes)
        return;
    m_values.sleepTimerMinutes = minutes;
    write(IniFile::general, sleepTimerKey, QString::number(minutes));
    emit sleepTimerMinutesChanged();
}

void Preferences::setRecordingMode(const QString& mode)
{
    if (mode != QLatin1String("off") && mode != QLatin1String("all") && mode != QLatin1String("decide"))
        return;
    if (mode == m_values.recordingMode)
        return;
    m_values.recordingMode = mode;
    write(recordingGroup, QStringLiteral("mode"), mode);
    emit recordingModeChanged();
}

void Preferences::setRecordingFolder(const QString& folder)
{
    const QUrl url(folder);
    const QString path = QDir::cleanPath(url.isLocalFile() ? url.toLocalFile() : folder.trimmed());
    // Kept songs never go to a place relative to wherever the player started.
    if (folder.trimmed().isEmpty() || QDir::isRelativePath(path) || path == m_values.recordingFolder)
        return;
    m_values.recordingFolder = path;
    write(recordingGroup, QStringLiteral("folder"), path);
    emit recordingFolderChanged();
}

void Preferences::write(QStringView group, const QString& key, const QString& value)
{
    // Read again just before writing: the file may have been edited by hand
    // (or by another part of the application) since the start.
    QString error;
    IniFile file = IniFile::load(m_file, &error);
    if (error.isEmpty()) {
        file.setValue(group, key, value);
        error = file.save(m_file);
    }
    if (!error.isEmpty())
        printLine(error);
    if (error != m_saveError) {
        m_saveError = error;
        emit saveErrorChanged();
    }
}
