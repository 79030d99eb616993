// The SQLite wrapper on real files: every kind of value comes back as it
// went in (text as UTF-8 with its length, NUL and all; null and empty kept
// apart), and a failure reports SQLite's own code and message wherever it
// happens (prepare, bind, step, another connection's lock).
#include "Sqlite/Sqlite.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QVariant>

class SqliteTests : public QObject {
    Q_OBJECT

private slots:
    void valuesSurviveARoundTrip_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<int>("type");
        QTest::newRow("text with NUL") << QVariant(QString::fromUtf8("a\0b", 3)) << SQLITE_TEXT;
        QTest::newRow("non-ASCII text") << QVariant(QStringLiteral("Ö1 – Радио 東京 🎵")) << SQLITE_TEXT;
        QTest::newRow("empty text") << QVariant(QStringLiteral("")) << SQLITE_TEXT;
        QTest::newRow("null text") << QVariant(QString()) << SQLITE_NULL;
        QTest::newRow("blob with NUL and 0xFF") << QVariant(QByteArray("\0\xff\0", 3)) << SQLITE_BLOB;
        QTest::newRow("empty blob") << QVariant(QByteArray("")) << SQLITE_BLOB;
        QTest::newRow("int64 beyond 32 bits") << QVariant(qint64(-1) << 40) << SQLITE_INTEGER;
    }

    void valuesSurviveARoundTrip()
    {
        QFETCH(QVariant, value);
        QFETCH(int, type);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("values.db"));
        {
            sqlite::Connection db;
            QVERIFY(db.open(path));
            QVERIFY(db.exec(QStringLiteral("CREATE TABLE t (v)")));
            sqlite::Statement insert(db, QStringLiteral("INSERT INTO t (v) VALUES (?)"));
            if (value.typeId() == QMetaType::QString)
                QVERIFY(insert.bind(1, value.toString()));
            else if (value.typeId() == QMetaType::QByteArray)
                QVERIFY(insert.bindBlob(1, value.toByteArray()));
            else
                QVERIFY(insert.bind(1, value.toLongLong()));
            QVERIFY2(insert.run(), qPrintable(insert.error().message));
        }
        sqlite::Connection db;
        QVERIFY(db.open(path, SQLITE_OPEN_READONLY));
        // The length SQLite holds, not only what comes back.
        sqlite::Statement select(db, QStringLiteral("SELECT v, length(CAST(v AS BLOB)) FROM t"));
        QVERIFY(select.next());
        QCOMPARE(select.columnType(0), type);
        if (value.typeId() == QMetaType::QString) {
            QCOMPARE(select.text(0), value.toString());
            QCOMPARE(select.text(0).isNull(), value.toString().isNull());
            if (!value.toString().isNull())
                QCOMPARE(select.int64(1), qint64(value.toString().toUtf8().size()));
        } else if (value.typeId() == QMetaType::QByteArray) {
            QCOMPARE(select.blob(0), value.toByteArray());
            QVERIFY(!select.blob(0).isNull());
        } else {
            QCOMPARE(select.int64(0), value.toLongLong());
        }
        QVERIFY(!select.next());
        QVERIFY(!select.failed());
    }

    void failuresCarrySqlitesCodeAndMessage_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<int>("extendedCode");
        QTest::addColumn<QString>("message");
        QTest::newRow("syntax") << QStringLiteral("SELEC 1") << SQLITE_ERROR << QStringLiteral("syntax error");
        QTest::newRow("constraint") << QStringLiteral("INSERT INTO t (v) VALUES (NULL)") << SQLITE_CONSTRAINT_NOTNULL
                                    << QStringLiteral("NOT NULL constraint failed: t.v");
        QTest::newRow("bind out of range") << QStringLiteral("INSERT INTO t (v) VALUES (?)") << SQLITE_RANGE
                                           << QStringLiteral("column index out of range");
        QTest::newRow("not a database") << QStringLiteral("SELECT count(*) FROM sqlite_master") << SQLITE_NOTADB
                                        << QStringLiteral("file is not a database");
        QTest::newRow("locked by another connection") << QStringLiteral("INSERT INTO t (v) VALUES (1)") << SQLITE_BUSY
                                                      << QStringLiteral("database is locked");
    }

    void failuresCarrySqlitesCodeAndMessage()
    {
        QFETCH(QString, sql);
        QFETCH(int, extendedCode);
        QFETCH(QString, message);
        const QByteArray row = QTest::currentDataTag();
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("failures.db"));
        if (row == "not a database") {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray(4096, 'x'));
        }
        sqlite::Connection db;
        QVERIFY(db.open(path));
        QVERIFY(db.setBusyTimeout(0));
        if (row != "not a database")
            QVERIFY(db.exec(QStringLiteral("CREATE TABLE t (v NOT NULL)")));
        sqlite::Connection other;
        if (row == "locked by another connection") {
            QVERIFY(other.open(path));
            QVERIFY(other.exec(QStringLiteral("BEGIN IMMEDIATE")));
        }
        {
            sqlite::Statement statement(db, sql);
            if (row == "bind out of range")
                QVERIFY(!statement.bind(2, 1));
            // A statement that failed to prepare or bind does not run.
            QVERIFY(!statement.run());
            QCOMPARE(statement.error().extendedCode, extendedCode);
            QCOMPARE(statement.error().code, extendedCode & 0xFF);
            QVERIFY2(statement.error().message.contains(message), qPrintable(statement.error().message));
            QCOMPARE(db.lastError().extendedCode, extendedCode);
        }
        if (row == "bind out of range") {
            sqlite::Statement count(db, QStringLiteral("SELECT count(*) FROM t"));
            QVERIFY(count.next());
            QCOMPARE(count.int64(0), qint64(0));
        }
    }
};

QTEST_GUILESS_MAIN(SqliteTests)
#include "SqliteTests.moc"
