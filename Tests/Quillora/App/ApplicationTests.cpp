// The application's store: created at first use in the given folder, saved
// only when something changed, a damaged file moved aside for a fresh
// store, and a folder that cannot hold a store reported as an error.
#include "App/Application.h"
#include "Store/StateStore.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Load {
    int calls = 0;
    QString error;
};

Load loadStore(Database& container)
{
    Load load;
    container.load([&](const Database::StoreError* failure) {
        ++load.calls;
        if (failure)
            load.error = failure->description;
    });
    return load;
}

} // namespace

class ApplicationTests : public QObject {
    Q_OBJECT

private slots:
    void storeIsCreatedOnceAndSavedOnlyWithChanges()
    {
        QTemporaryDir folder;
        Application app(folder.filePath(QStringLiteral("data")));

        Database& container = app.database();
        QCOMPARE(&app.database(), &container);
        QCOMPARE(container.name(), QStringLiteral("Quillora"));
        QVERIFY(QFile::exists(folder.filePath(QStringLiteral("data/Quillora.sqlite"))));

        StateStore store(container);
        app.saveChanges();
        QCOMPARE(container.writeContext().saveCount(), 0);
        store.setVolume(0.25f);
        QVERIFY(container.writeContext().hasChanges());
        app.saveChanges();
        QCOMPARE(container.writeContext().saveCount(), 1);
        QVERIFY(!container.writeContext().hasChanges());
        // The same value again is no change.
        store.setVolume(0.25f);
        app.saveChanges();
        QCOMPARE(container.writeContext().saveCount(), 1);
    }

    // A store that cannot be read is moved aside with its journals, one
    // line says so, and the application goes on with a fresh, working store.
    void aDamagedStoreIsMovedAside_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::newRow("not a database") << QStringLiteral("garbage");
        QTest::newRow("truncated database") << QStringLiteral("truncated");
        QTest::newRow("a folder in its place") << QStringLiteral("folder");
    }

    void aDamagedStoreIsMovedAside()
    {
        QFETCH(QString, damage);
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("Quillora.sqlite"));
        if (damage == QLatin1String("garbage")) {
            QVERIFY(writeFile(path, QByteArray(4096, 'x')));
        } else if (damage == QLatin1String("truncated")) {
            {
                Database healthy(QStringLiteral("Quillora"), folder.path());
                QVERIFY(loadStore(healthy).error.isEmpty());
                StateStore store(healthy);
                QList<StoredStation> many;
                for (int i = 0; i < 400; ++i)
                    many.append(StoredStation{i, testStation(i).url, {}, {}, testStation(i).title});
                store.setLastGoodCatalogue(QStringLiteral("https://example.org/a.csv"), many);
                QVERIFY(store.save().isEmpty());
                QVERIFY(healthy.writeContext().connection().exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)")));
            }
            QFile file(path);
            QVERIFY(file.size() > 8192);
            QVERIFY(file.open(QIODevice::ReadWrite));
            // Keep the header, cut off (and scribble over) the pages after it.
            file.seek(4096);
            file.write(QByteArray(4096, '\x5a'));
            file.resize(8192);
        } else {
            QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("Quillora.sqlite")));
        }
        // A stray journal of the old file must not be applied to the new one.
        QVERIFY(writeFile(path + QStringLiteral("-wal"), QByteArray(100, 'w')));

        StdoutCapture output;
        Database container(QStringLiteral("Quillora"), folder.path());
        const Load load = loadStore(container);
        const QByteArray printed = output.text();
        output.restore();

        QCOMPARE(load.calls, 1);
        QVERIFY2(load.error.isEmpty(), qPrintable(load.error));
        QVERIFY(!container.movedAsidePath().isEmpty());
        QVERIFY(container.movedAsidePath().startsWith(path + QStringLiteral(".corrupt-")));
        QVERIFY(QFileInfo::exists(container.movedAsidePath()));
        QCOMPARE(printed.count('\n'), 1);
        QVERIFY2(printed.contains("moved it to"), printed.constData());

        StateStore store(container);
        store.setVolume(0.5f);
        QVERIFY(store.save().isEmpty());
        QVERIFY(QFileInfo(path).isFile());
    }
};

QTEST_GUILESS_MAIN(ApplicationTests)
#include "ApplicationTests.moc"
