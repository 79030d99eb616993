// Radiotray-NG's bookmarks.json: a list of groups, each
// {"group": "Jazz", "image": …, "stations": [{"name", "url", "image"}, …]}.
// The group becomes the genre; the top group, "root", is no genre.
#include "Catalogue/Exchange/ExchangeFormats.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

// The deepest nesting of arrays and objects, counted outside strings, up
// to the first level past the limit: the JSON parser itself recurses.
int nestingDepth(const QByteArray& bytes, int limit)
{
    int depth = 0;
    int deepest = 0;
    bool inString = false;
    bool escaped = false;
    for (const char c : bytes) {
        if (inString) {
            if (escaped)
                escaped = false;
            else if (c == '\\')
                escaped = true;
            else if (c == '"')
                inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            deepest = std::max(deepest, ++depth);
            if (deepest > limit)
                return deepest;
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return deepest;
}

QString jsonKind(const QJsonDocument& document)
{
    if (document.isObject())
        return StationExchange::tr("a JSON object");
    return StationExchange::tr("a JSON value");
}

} // namespace

void RadiotrayBookmarks::read(const QByteArray& bytes, StationExchange::Read& read)
{
    if (nestingDepth(bytes, StationExchange::maxJsonDepth) > StationExchange::maxJsonDepth) {
        read.problem = StationExchange::tr("JSON nested deeper than %1 levels").arg(StationExchange::maxJsonDepth);
        return;
    }
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError) {
        read.problem = StationExchange::tr("not a playlist or station list: not valid JSON (at byte %1: %2)")
                           .arg(error.offset)
                           .arg(error.errorString());
        return;
    }
    if (!document.isArray()) {
        read.problem = StationExchange::tr("not a list: %1, not Radiotray-NG's list of bookmark groups")
                           .arg(jsonKind(document));
        return;
    }
    for (const QJsonValue& groupValue : document.array()) {
        const QJsonObject group = groupValue.toObject();
        const QString genre = group.value(QLatin1String("group")).toString();
        for (const QJsonValue& stationValue : group.value(QLatin1String("stations")).toArray()) {
            if (!read.ok())
                return;
            const QJsonObject station = stationValue.toObject();
            StationExchange::take(read, {station.value(QLatin1String("name")).toString(),
                                         station.value(QLatin1String("url")).toString(),
                                         station.value(QLatin1String("image")).toString(),
                                         genre == QLatin1String("root") ? QString() : genre});
        }
    }
}
