#include "Sqlite/Sqlite.h"

namespace sqlite {

namespace {

Error errorOf(sqlite3* handle, int resultCode)
{
    // Without a handle (no memory for one) only the code is known.
    const int extended = handle ? sqlite3_extended_errcode(handle) : resultCode;
    const char* message = handle ? sqlite3_errmsg(handle) : sqlite3_errstr(resultCode);
    return Error{extended & 0xFF, extended, QString::fromUtf8(message)};
}

Error notOpen()
{
    return Error{SQLITE_MISUSE, SQLITE_MISUSE, QStringLiteral("the database is not open")};
}

} // namespace

Connection::~Connection()
{
    close();
}

bool Connection::open(const QString& path, int flags)
{
    close();
    sqlite3* handle = nullptr;
    const int result = sqlite3_open_v2(path.toUtf8().constData(), &handle, flags, nullptr);
    if (result != SQLITE_OK) {
        m_error = errorOf(handle, result);
        sqlite3_close_v2(handle);
        return false;
    }
    sqlite3_extended_result_codes(handle, 1);
    m_handle = handle;
    return true;
}

void Connection::close()
{
    if (!m_handle)
        return;
    sqlite3_close_v2(m_handle);
    m_handle = nullptr;
}

bool Connection::fail(int resultCode)
{
    m_error = m_handle ? errorOf(m_handle, resultCode) : notOpen();
    return false;
}

bool Connection::setBusyTimeout(int milliseconds)
{
    if (!m_handle)
        return fail(SQLITE_MISUSE);
    const int result = sqlite3_busy_timeout(m_handle, milliseconds);
    return result == SQLITE_OK || fail(result);
}

bool Connection::exec(const QString& sql)
{
    if (!m_handle)
        return fail(SQLITE_MISUSE);
    const int result = sqlite3_exec(m_handle, sql.toUtf8().constData(), nullptr, nullptr, nullptr);
    return result == SQLITE_OK || fail(result);
}

Statement::Statement(Connection& connection, const QString& sql)
    : m_connection(connection)
{
    if (!connection.isOpen()) {
        m_error = notOpen();
        m_blocked = true;
        return;
    }
    const QByteArray utf8 = sql.toUtf8();
    const int result = sqlite3_prepare_v2(connection.handle(), utf8.constData(), int(utf8.size()), &m_statement, nullptr);
    if (result != SQLITE_OK) {
        check(result);
        m_blocked = true;
    }
}

Statement::~Statement()
{
    sqlite3_finalize(m_statement);
}

bool Statement::check(int resultCode)
{
    if (resultCode == SQLITE_OK || resultCode == SQLITE_ROW || resultCode == SQLITE_DONE)
        return true;
    m_connection.fail(resultCode);
    m_error = m_connection.lastError();
    return false;
}

bool Statement::startBinding()
{
    if (!m_statement)
        return false;
    // A statement that ran (or is running) must be reset before new values.
    if (sqlite3_stmt_busy(m_statement))
        sqlite3_reset(m_statement);
    return true;
}

// A failed bind blocks the next run, which then reports the bind's error.
bool Statement::bound(int resultCode)
{
    const bool ok = check(resultCode);
    m_blocked = m_blocked || !ok;
    return ok;
}

bool Statement::bind(int index, const QString& text)
{
    if (text.isNull())
        return bindNull(index);
    if (!startBinding())
        return false;
    const QByteArray utf8 = text.toUtf8();
    return bound(sqlite3_bind_text64(m_statement, index, utf8.constData(), sqlite3_uint64(utf8.size()),
                                    SQLITE_TRANSIENT, SQLITE_UTF8));
}

bool Statement::bind(int index, qint64 value)
{
    if (!startBinding())
        return false;
    return bound(sqlite3_bind_int64(m_statement, index, value));
}

bool Statement::bind(int index, double value)
{
    if (!startBinding())
        return false;
    return bound(sqlite3_bind_double(m_statement, index, value));
}

bool Statement::bindNull(int index)
{
    if (!startBinding())
        return false;
    return bound(sqlite3_bind_null(m_statement, index));
}

bool Statement::bindBlob(int index, const QByteArray& bytes)
{
    if (bytes.isNull())
        return bindNull(index);
    if (!startBinding())
        return false;
    return bound(sqlite3_bind_blob64(m_statement, index, bytes.constData(), sqlite3_uint64(bytes.size()),
                                    SQLITE_TRANSIENT));
}

bool Statement::next()
{
    if (m_blocked) {
        // Reported once; a statement that never prepared stays failed.
        m_blocked = !m_statement;
        return false;
    }
    m_error = {};
    if (!m_statement)
        return false; // nothing but whitespace or comments
    const int result = sqlite3_step(m_statement);
    if (result == SQLITE_ROW)
        return true;
    check(result);
    sqlite3_reset(m_statement);
    return false;
}

bool Statement::run()
{
    while (next()) {
    }
    return !failed();
}

void Statement::reset()
{
    if (m_statement) {
        sqlite3_reset(m_statement);
        m_error = {};
        m_blocked = false;
    }
}

int Statement::columnType(int column) const
{
    return m_statement ? sqlite3_column_type(m_statement, column) : SQLITE_NULL;
}

QString Statement::text(int column) const
{
    if (!m_statement)
        return {};
    // The text first, then its length in the encoding just asked for.
    const auto* utf8 = reinterpret_cast<const char*>(sqlite3_column_text(m_statement, column));
    if (!utf8)
        return {};
    return QString::fromUtf8(utf8, sqlite3_column_bytes(m_statement, column));
}

qint64 Statement::int64(int column) const
{
    return m_statement ? sqlite3_column_int64(m_statement, column) : 0;
}

double Statement::real(int column) const
{
    return m_statement ? sqlite3_column_double(m_statement, column) : 0.0;
}

QByteArray Statement::blob(int column) const
{
    if (isNull(column))
        return {};
    const void* bytes = sqlite3_column_blob(m_statement, column);
    const int size = sqlite3_column_bytes(m_statement, column);
    // SQLite answers an empty blob with no pointer at all.
    return size > 0 ? QByteArray(static_cast<const char*>(bytes), size) : QByteArray("");
}

} // namespace sqlite
