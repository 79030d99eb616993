// The desktop settings of quillora.conf, read once at start-up by the
// composition root, and changed from the Settings sheet. A change is written
// at once, through IniFile: the file is read again, the one key is changed
// and the file replaced atomically, so hand edits, comments and keys other
// parts of the application own ([recording], catalogue) are kept.
//
//   background=true|false      closing the window while a station plays
//                              keeps it playing (default true)
//   notifications=true|false   a notification when the song changes
//                              (default false)
//   color-scheme=system|light|dark
//   sleep-timer=15|30|60|90    the sleep timer's last choice, in minutes
//   [recording] mode=off|all|decide, folder=PATH
//                              how songs are kept (Recording/RecordingSettings.h
//                              reads the group; the sheet changes these two)
//
// A value Quillora cannot read counts as the default, and stays in the file
// until the setting is changed.
#pragma once

#include <QObject>
#include <QString>

struct DesktopSettings {
    bool background = true;
    bool notifications = false;
    QString colorScheme = QStringLiteral("system");
    int sleepTimerMinutes = 30;
    // [recording], as the recorder read it (the root fills these in).
    QString recordingMode = QStringLiteral("off");
    QString recordingFolder;

    static DesktopSettings read(const QString& configurationFile);
};

class Preferences final : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool background READ background WRITE setBackground NOTIFY backgroundChanged)
    Q_PROPERTY(bool notifications READ notifications WRITE setNotifications NOTIFY notificationsChanged)
    Q_PROPERTY(QString colorScheme READ colorScheme WRITE setColorScheme NOTIFY colorSchemeChanged)
    Q_PROPERTY(int sleepTimerMinutes READ sleepTimerMinutes WRITE setSleepTimerMinutes NOTIFY
                   sleepTimerMinutesChanged)
    // off, all or decide.
    Q_PROPERTY(QString recordingMode READ recordingMode WRITE setRecordingMode NOTIFY recordingModeChanged)
    // Where kept songs go: a local path.
    Q_PROPERTY(QString recordingFolder READ recordingFolder WRITE setRecordingFolder NOTIFY recordingFolderChanged)
    // Why the last change could not be saved; empty when it was.
    Q_PROPERTY(QString saveError READ saveError NOTIFY saveErrorChanged)

public:
    Preferences(QString configurationFile, const DesktopSettings& initial, QObject* parent = nullptr);

    bool background() const { return m_values.background; }
    bool notifications() const { return m_values.notifications; }
    QString colorScheme() const { return m_values.colorScheme; }
    int sleepTimerMinutes() const { return m_values.sleepTimerMinutes; }
    QString recordingMode() const { return m_values.recordingMode; }
    QString recordingFolder() const { return m_values.recordingFolder; }
    QString saveError() const { return m_saveError; }

    void setBackground(bool on);
    void setNotifications(bool on);
    void setColorScheme(const QString& scheme);
    void setSleepTimerMinutes(int minutes);
    void setRecordingMode(const QString& mode);
    // A path, or a file: URL (the folder dialog's answer).
    Q_INVOKABLE void setRecordingFolder(const QString& folder);

signals:
    void backgroundChanged();
    void notificationsChanged();
    void colorSchemeChanged();
    void sleepTimerMinutesChanged();
    void recordingModeChanged();
    void recordingFolderChanged();
    void saveErrorChanged();

private:
    void write(QStringView group, const QString& key, const QString& value);

    QString m_file;
    DesktopSettings m_values;
    QString m_saveError;
};
