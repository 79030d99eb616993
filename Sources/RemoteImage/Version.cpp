#include "RemoteImage/Version.h"

#include <QJsonDocument>
#include <QJsonValue>

#include <cmath>

namespace remoteimage {

namespace {

// JSON numbers arrive as doubles; only exact integers that fit are accepted.
std::optional<std::int64_t> integerMember(const QJsonObject& object, const char* key)
{
    const QJsonValue value = object.value(QLatin1String(key));
    if (!value.isDouble())
        return std::nullopt;
    const double number = value.toDouble();
    if (!std::isfinite(number) || std::trunc(number) != number || number < -9.2e18 || number > 9.2e18)
        return std::nullopt;
    return static_cast<std::int64_t>(number);
}

} // namespace

QJsonObject Version::toJsonObject() const
{
    QJsonObject object;
    object.insert(QStringLiteral("major"), static_cast<qint64>(major));
    object.insert(QStringLiteral("minor"), static_cast<qint64>(minor));
    object.insert(QStringLiteral("patch"), static_cast<qint64>(patch));
    return object;
}

QByteArray Version::toJson() const
{
    // QJsonObject sorts its keys, and "major" < "minor" < "patch" already.
    return QJsonDocument(toJsonObject()).toJson(QJsonDocument::Compact);
}

std::optional<Version> Version::fromJsonObject(const QJsonObject& object)
{
    const auto major = integerMember(object, "major");
    const auto minor = integerMember(object, "minor");
    const auto patch = integerMember(object, "patch");
    if (!major || !minor || !patch)
        return std::nullopt;
    return Version(*major, *minor, *patch);
}

std::optional<Version> Version::fromJson(const QByteArray& json)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    return fromJsonObject(document.object());
}

} // namespace remoteimage
