// quillora.conf's updater and the desktop settings read from it: a change
// touches one line and keeps the person's comments and the keys Quillora
// does not know; QSettings reads back what it wrote; odd values fall back.
#include "Recording/RecordingSettings.h"
#include "Settings/IniFile.h"
#include "Settings/Preferences.h"
#include "TestSupport.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

class DesktopSettingsTests : public QObject {
    Q_OBJECT

private slots:
    void setValueEditsOneLine_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("after");
        const QString general = QStringLiteral("General");
        QTest::newRow("changes a key in place, comments kept")
            << "# mine\ncatalogue=http://x/a.csv\n; note\nbackground=true\n" << general << "background" << "false"
            << "# mine\ncatalogue=http://x/a.csv\n; note\nbackground=false\n";
        QTest::newRow("new key after the last top-level key")
            << "catalogue=a.csv\n\n[recording]\nfolder=/m\n" << general << "notifications" << "true"
            << "catalogue=a.csv\nnotifications=true\n\n[recording]\nfolder=/m\n";
        QTest::newRow("new key before the first group when there is no top-level key")
            << "# settings\n[recording]\nfolder=/m\n" << general << "background" << "false"
            << "# settings\nbackground=false\n\n[recording]\nfolder=/m\n";
        QTest::newRow("a [General] section counts as the top level")
            << "[General]\ncatalogue=a.csv\n[recording]\non=1\n" << general << "catalogue" << "b.csv"
            << "[General]\ncatalogue=b.csv\n[recording]\non=1\n";
        QTest::newRow("new key of an existing group after its last key")
            << "[recording]\nfolder=/m\n\n[other]\nx=1\n" << "recording" << "split" << "true"
            << "[recording]\nfolder=/m\nsplit=true\n\n[other]\nx=1\n";
        QTest::newRow("new group at the end")
            << "background=true\n" << "recording" << "folder" << "/m"
            << "background=true\n\n[recording]\nfolder=/m\n";
        QTest::newRow("empty file") << "" << general << "background" << "false" << "background=false\n";
        QTest::newRow("CRLF and the missing last newline kept")
            << "a=1\r\nbackground=true" << general << "background" << "false" << "a=1\r\nbackground=false";
        QTest::newRow("same key in another group untouched")
            << "[recording]\nbackground=x\n" << general << "background" << "false"
            << "background=false\n\n[recording]\nbackground=x\n";
        QTest::newRow("indented key keeps its indentation")
            << "  background = true ; by hand\n" << general << "background" << "false" << "  background=false\n";
        QTest::newRow("a value QSettings would split is quoted")
            << "" << general << "catalogue" << "http://x/?a=1,2" << "catalogue=\"http://x/?a=1,2\"\n";
    }

    void setValueEditsOneLine()
    {
        QFETCH(QString, before);
        QFETCH(QString, group);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(QString, after);
        IniFile file = IniFile::fromText(before);
        file.setValue(group, key, value);
        QCOMPARE(file.text(), after);
        QCOMPARE(IniFile::fromText(file.text()).value(group, key), std::optional<QString>(value));
    }

    void removeDropsOnlyTheKey()
    {
        IniFile file = IniFile::fromText(QStringLiteral("# c\ncatalogue=a\nbackground=true\n[recording]\ncatalogue=b\n"));
        file.remove(IniFile::general, u"catalogue");
        QCOMPARE(file.text(), QStringLiteral("# c\nbackground=true\n[recording]\ncatalogue=b\n"));
    }

    // Both readers agree on what the updater wrote, whatever the value holds.
    void qsettingsReadsWhatWasWritten()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("quillora.conf"));
        const QStringList values{QStringLiteral("plain"), QStringLiteral(" padded "), QStringLiteral("a;b=c#d"),
                                 QStringLiteral("quote \" and back\\slash"), QStringLiteral("två ünïcode"),
                                 QStringLiteral("line\nbreak")};
        IniFile file;
        for (int i = 0; i < values.size(); ++i)
            file.setValue(i % 2 ? QStringLiteral("group") : QString(IniFile::general), QStringLiteral("k%1").arg(i),
                          values[i]);
        QCOMPARE(file.save(path), QString());
        const QSettings settings(path, QSettings::IniFormat);
        for (int i = 0; i < values.size(); ++i) {
            const QString key = (i % 2 ? QStringLiteral("group/k%1") : QStringLiteral("k%1")).arg(i);
            QCOMPARE(settings.value(key).toString(), values[i]);
            QCOMPARE(IniFile::load(path).value(i % 2 ? QStringLiteral("group") : IniFile::general, QStringLiteral("k%1").arg(i)),
                     std::optional<QString>(values[i]));
        }
    }

    void settingsReadLeniently_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("background");
        QTest::addColumn<bool>("notifications");
        QTest::addColumn<QString>("scheme");
        QTest::addColumn<int>("sleep");
        QTest::newRow("no file") << QString() << true << false << "system" << 30;
        QTest::newRow("all set") << "background=false\nnotifications=yes\ncolor-scheme=Dark\nsleep-timer=90\n" << false
                                 << true << "dark" << 90;
        QTest::newRow("nonsense falls back")
            << "background=maybe\nnotifications=2\ncolor-scheme=purple\nsleep-timer=-5\n" << true << false << "system"
            << 30;
        QTest::newRow("not a choice of the timer") << "sleep-timer=45\n" << true << false << "system" << 30;
        QTest::newRow("binary junk") << QString::fromLatin1("\x01\xff=\x02\n[\n=\nbackground") << true << false
                                     << "system" << 30;
    }

    void settingsReadLeniently()
    {
        QFETCH(QString, text);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("quillora.conf"));
        if (!text.isNull())
            QVERIFY(writeFile(path, text.toUtf8()));
        const DesktopSettings settings = DesktopSettings::read(path);
        QTEST(settings.background, "background");
        QTEST(settings.notifications, "notifications");
        QTEST(settings.colorScheme, "scheme");
        QTEST(settings.sleepTimerMinutes, "sleep");
    }

    // A change rereads the file: what was edited by hand since the start stays.
    void preferencesKeepEditsMadeMeanwhile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("sub/quillora.conf"));
        Preferences preferences(path, DesktopSettings::read(path));
        preferences.setNotifications(true);
        QFile file(path);
        QVERIFY(file.open(QIODevice::Append));
        file.write("# added by hand\n[recording]\nfolder=/music\n");
        file.close();
        preferences.setColorScheme(QStringLiteral("dark"));
        preferences.setColorScheme(QStringLiteral("purple")); // refused
        preferences.setRecordingMode(QStringLiteral("decide"));
        preferences.setRecordingMode(QStringLiteral("sometimes")); // refused
        preferences.setRecordingFolder(QStringLiteral("file:///music/kept")); // as the folder dialog answers
        preferences.setRecordingFolder(QStringLiteral("kept")); // relative: refused
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(file.readAll()),
                 QStringLiteral("notifications=true\ncolor-scheme=dark\n# added by hand\n[recording]\n"
                                "folder=/music/kept\nmode=decide\n"));
        QCOMPARE(preferences.saveError(), QString());
        // The recorder reads what the sheet wrote.
        QSettings written(path, QSettings::IniFormat);
        const RecordingSettings recording = RecordingSettings::read(written);
        QCOMPARE(recording.mode, RecordingSettings::Mode::Decide);
        QCOMPARE(recording.folder, QStringLiteral("/music/kept"));
    }
};

QTEST_GUILESS_MAIN(DesktopSettingsTests)
#include "DesktopSettingsTests.moc"
