// The application's store: created at first use in the given folder, saved
// only when something changed, and a file that is not a database refused.
#include "App/AppDelegate.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class AppDelegateTests : public QObject {
    Q_OBJECT

private slots:
    void storeIsCreatedOnceAndSavedOnlyWithChanges()
    {
        QTemporaryDir folder;
        AppDelegate app(folder.filePath(QStringLiteral("data")));

        PersistentContainer& container = app.persistentContainer();
        QCOMPARE(&app.persistentContainer(), &container);
        QCOMPARE(container.name(), QStringLiteral("Quillora"));
        QVERIFY(QFile::exists(folder.filePath(QStringLiteral("data/Quillora.sqlite"))));

        app.saveContext();
        QCOMPARE(container.viewContext().saveCount(), 0);
        container.viewContext().noteChange();
        QVERIFY(container.viewContext().hasChanges());
        app.saveContext();
        QCOMPARE(container.viewContext().saveCount(), 1);
        QVERIFY(!container.viewContext().hasChanges());
        app.saveContext();
        QCOMPARE(container.viewContext().saveCount(), 1);
    }

    void aFileThatIsNotADatabaseIsAnError()
    {
        QTemporaryDir folder;
        QFile garbage(folder.filePath(QStringLiteral("Quillora.sqlite")));
        QVERIFY(garbage.open(QIODevice::WriteOnly));
        garbage.write(QByteArray(4096, 'x'));
        garbage.close();

        PersistentContainer container(QStringLiteral("Quillora"), folder.path());
        int calls = 0;
        QString error;
        container.loadPersistentStores([&](const PersistentContainer::StoreError* failure) {
            ++calls;
            if (failure)
                error = failure->description;
        });
        QCOMPARE(calls, 1);
        QVERIFY2(!error.isEmpty(), "a corrupt store must not load");
    }
};

QTEST_GUILESS_MAIN(AppDelegateTests)
#include "AppDelegateTests.moc"
