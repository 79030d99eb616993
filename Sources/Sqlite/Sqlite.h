// A thin C++ face of SQLite's C API, shared by the application's store and
// the image cache's index (both only ever open SQLite files).
//
// Connection owns one sqlite3 handle: open() with SQLite's flags (extended
// result codes on), exec() for statements without results, and begin(),
// commit(), rollback(). Statement owns one prepared statement of a
// connection, which must outlive it. Parameters are numbered from 1 and
// columns from 0, as SQLite counts them. Text goes in and out as UTF-8 with
// its length, so any character (NUL included) survives; a null QString or
// QByteArray binds NULL, an empty one an empty value. Binding after a run,
// or in the middle of one, starts the statement afresh.
//
// Nothing throws: a call that fails returns false and keeps SQLite's result
// code and message in error() (the statement's) and lastError() (the
// connection's last failure), taken at the moment of the failure. A failed
// prepare or bind makes the next run fail with that error.
//
// Like any sqlite3 handle, a connection and its statements are used by one
// thread at a time.
#pragma once

#include <QByteArray>
#include <QString>

#include <sqlite3.h>

namespace sqlite {

struct Error {
    int code = SQLITE_OK;         // primary result code (SQLITE_BUSY, ...)
    int extendedCode = SQLITE_OK; // extended result code (SQLITE_BUSY_SNAPSHOT, ...)
    QString message;              // SQLite's own text

    bool failed() const { return code != SQLITE_OK; }
};

class Connection {
public:
    static constexpr int defaultFlags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;

    Connection() = default;
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Closes any open database first.
    bool open(const QString& path, int flags = defaultFlags);
    // Statements still alive are finalized with their own destructors; the
    // handle goes when the last of them does.
    void close();
    bool isOpen() const { return m_handle != nullptr; }

    // How long a statement waits for another connection's lock before it
    // fails with SQLITE_BUSY.
    bool setBusyTimeout(int milliseconds);
    // Runs one or more statements; rows they return are dropped.
    bool exec(const QString& sql);
    bool begin() { return exec(QStringLiteral("BEGIN")); }
    bool commit() { return exec(QStringLiteral("COMMIT")); }
    bool rollback() { return exec(QStringLiteral("ROLLBACK")); }

    const Error& lastError() const { return m_error; }
    sqlite3* handle() const { return m_handle; }

private:
    friend class Statement;
    bool fail(int resultCode);

    sqlite3* m_handle = nullptr;
    Error m_error;
};

class Statement {
public:
    Statement(Connection& connection, const QString& sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    bool isPrepared() const { return m_statement != nullptr; }

    bool bind(int index, const QString& text);
    bool bind(int index, qint64 value);
    bool bind(int index, int value) { return bind(index, qint64(value)); }
    bool bind(int index, double value);
    bool bindNull(int index);
    bool bindBlob(int index, const QByteArray& bytes);

    // Steps once: true when a row is ready; false at the end (the statement
    // is then reset, its bindings kept) or on failure (see error()).
    bool next();
    // Steps to the end; false on failure.
    bool run();
    // Back to the start, bindings kept, error cleared.
    void reset();

    // The current row.
    int columnType(int column) const; // SQLITE_INTEGER, SQLITE_FLOAT, SQLITE_TEXT, SQLITE_BLOB, SQLITE_NULL
    bool isNull(int column) const { return columnType(column) == SQLITE_NULL; }
    QString text(int column) const;   // null for NULL
    qint64 int64(int column) const;
    double real(int column) const;
    QByteArray blob(int column) const;

    const Error& error() const { return m_error; }
    bool failed() const { return m_error.failed(); }

private:
    bool startBinding();
    bool check(int resultCode);
    bool bound(int resultCode);

    Connection& m_connection;
    sqlite3_stmt* m_statement = nullptr;
    Error m_error;
    // A prepare or bind failed: the next run reports it instead of running.
    bool m_blocked = false;
};

} // namespace sqlite
