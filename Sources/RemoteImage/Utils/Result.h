// A value or an error message, for operations whose failure is an expected
// outcome (disk full, file vanished) rather than a programming error.
//
//     Result<QUrl> r = cache.addFile(...);
//     if (!r) qInfo() << r.error();   else use(r.value());
//
// Result<void> carries only the error.
#pragma once

#include <QString>

#include <cassert>
#include <optional>
#include <utility>

namespace remoteimage {

template <typename T>
class Result {
public:
    static Result success(T value) { return Result(std::move(value), QString()); }
    static Result failure(QString message) { return Result(std::nullopt, std::move(message)); }

    bool hasValue() const { return m_value.has_value(); }
    explicit operator bool() const { return hasValue(); }

    const T& value() const&
    {
        assert(hasValue());
        return *m_value;
    }
    T&& value() &&
    {
        assert(hasValue());
        return std::move(*m_value);
    }
    // Empty when the operation succeeded.
    const QString& error() const { return m_error; }

private:
    Result(std::optional<T> value, QString error) : m_value(std::move(value)), m_error(std::move(error)) {}

    std::optional<T> m_value;
    QString m_error;
};

template <>
class Result<void> {
public:
    static Result success() { return Result(true, QString()); }
    static Result failure(QString message) { return Result(false, std::move(message)); }

    bool hasValue() const { return m_ok; }
    explicit operator bool() const { return m_ok; }
    const QString& error() const { return m_error; }

private:
    Result(bool ok, QString error) : m_ok(ok), m_error(std::move(error)) {}

    bool m_ok;
    QString m_error;
};

} // namespace remoteimage
