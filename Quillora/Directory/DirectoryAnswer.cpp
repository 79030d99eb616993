#include "Directory/DirectoryAnswer.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

namespace {

std::optional<QJsonArray> readArray(const QByteArray& body)
{
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(body, &error);
    if (error.error != QJsonParseError::NoError || !document.isArray())
        return std::nullopt;
    return document.array();
}

} // namespace

DirectoryAnswer DirectoryAnswer::readStations(const QByteArray& body, qsizetype limit)
{
    DirectoryAnswer answer;
    const std::optional<QJsonArray> array = readArray(body);
    if (!array)
        return answer;
    answer.readable = true;
    answer.received = array->size();
    QSet<QString> seen;
    for (const QJsonValue& value : *array) {
        if (answer.stations.size() >= limit)
            break;
        std::optional<DirectoryStation> station = DirectoryStation::fromJson(value);
        if (!station)
            continue;
        if (!station->stationUuid.isEmpty()) {
            if (seen.contains(station->stationUuid))
                continue;
            seen.insert(station->stationUuid);
        }
        answer.stations.append(std::move(*station));
    }
    return answer;
}

DirectoryAnswer DirectoryAnswer::readTags(const QByteArray& body, qsizetype limit)
{
    DirectoryAnswer answer;
    const std::optional<QJsonArray> array = readArray(body);
    if (!array)
        return answer;
    answer.readable = true;
    answer.received = array->size();
    for (const QJsonValue& value : *array) {
        if (answer.tags.size() >= limit)
            break;
        const QString name = DirectoryCleaning::text(
            DirectoryCleaning::string(value.toObject().value(QLatin1String("name"))), DirectoryStation::maxTagLength);
        if (!name.isEmpty() && !name.contains(QLatin1Char(',')) && !answer.tags.contains(name, Qt::CaseInsensitive))
            answer.tags.append(name);
    }
    return answer;
}
