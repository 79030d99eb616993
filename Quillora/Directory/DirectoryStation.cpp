#include "Directory/DirectoryStation.h"

#include "Network/WebAddress.h"

#include <QJsonObject>
#include <QUrl>
#include <QUuid>

#include <cmath>

namespace DirectoryCleaning {

namespace {

// Characters that reorder or hide the text around them: a name must not be
// able to make the row beside it read differently.
bool isDirectionControl(char16_t c)
{
    return (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069) || c == 0x200E || c == 0x200F
        || c == 0x061C || c == 0xFEFF || (c >= 0xFFF9 && c <= 0xFFFB);
}

bool separatesWords(char16_t c)
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029 || QChar::isSpace(c);
}

} // namespace

QString text(QStringView raw, qsizetype maxLength)
{
    QString out;
    out.reserve(std::min(raw.size(), maxLength));
    bool pendingSpace = false;
    const qsizetype size = raw.size();
    for (qsizetype i = 0; i < size && out.size() < maxLength; ++i) {
        const char16_t c = raw.at(i).unicode();
        if (separatesWords(c)) {
            pendingSpace = !out.isEmpty();
            continue;
        }
        if (isDirectionControl(c) || c == 0xFFFE || c == 0xFFFF)
            continue;
        const bool high = QChar::isHighSurrogate(c);
        if (QChar::isLowSurrogate(c) || (high && (i + 1 >= size || !QChar::isLowSurrogate(raw.at(i + 1).unicode()))))
            continue; // unpaired
        const qsizetype needed = (pendingSpace ? 1 : 0) + (high ? 2 : 1);
        if (out.size() + needed > maxLength)
            break;
        if (pendingSpace)
            out.append(QLatin1Char(' '));
        pendingSpace = false;
        out.append(QChar(c));
        if (high)
            out.append(raw.at(++i));
    }
    return out;
}

QString webAddress(const QString& raw)
{
    const QString trimmed = raw.trimmed();
    if (trimmed.isEmpty() || trimmed.size() > DirectoryStation::maxAddressLength)
        return {};
    for (const QChar c : trimmed) {
        if (separatesWords(c.unicode()) || isDirectionControl(c.unicode()))
            return {};
    }
    const std::optional<QUrl> url = net::webAddress(trimmed, net::Parsing::Tolerant);
    if (!url)
        return {};
    const QString normalised = QString::fromLatin1(url->toEncoded(QUrl::FullyEncoded));
    return normalised.size() <= DirectoryStation::maxAddressLength ? normalised : QString();
}

QString countryCode(const QString& raw)
{
    const QString code = raw.trimmed();
    if (code.size() != 2)
        return {};
    for (const QChar c : code) {
        if (!((c >= QLatin1Char('A') && c <= QLatin1Char('Z')) || (c >= QLatin1Char('a') && c <= QLatin1Char('z'))))
            return {};
    }
    return code.toUpper();
}

QStringList tags(const QString& raw)
{
    QStringList out;
    qsizetype start = 0;
    while (start <= raw.size() && out.size() < DirectoryStation::maxTags) {
        qsizetype end = raw.indexOf(QLatin1Char(','), start);
        if (end < 0)
            end = raw.size();
        const QString tag = text(QStringView(raw).sliced(start, end - start), DirectoryStation::maxTagLength);
        if (!tag.isEmpty() && !out.contains(tag, Qt::CaseInsensitive))
            out.append(tag);
        start = end + 1;
    }
    return out;
}

QString string(const QJsonValue& value)
{
    return value.isString() ? value.toString() : QString();
}

int integer(const QJsonValue& value, int min, int max, int fallback)
{
    if (!value.isDouble())
        return fallback;
    const double number = value.toDouble();
    if (!std::isfinite(number) || number < min || number > max)
        return fallback;
    return static_cast<int>(number);
}

bool flag(const QJsonValue& value)
{
    if (value.isBool())
        return value.toBool();
    return value.isDouble() && value.toDouble() == 1.0;
}

} // namespace DirectoryCleaning

DirectoryCatalogueRow DirectoryStation::catalogueRow() const
{
    return DirectoryCatalogueRow{streamUrl(), favicon, tags.isEmpty() ? QString() : tags.first(), name, stationUuid};
}

std::optional<DirectoryStation> DirectoryStation::fromJson(const QJsonValue& value)
{
    using namespace DirectoryCleaning;
    if (!value.isObject())
        return std::nullopt;
    const QJsonObject object = value.toObject();
    DirectoryStation station;
    station.url = webAddress(string(object.value(QLatin1String("url"))));
    station.urlResolved = webAddress(string(object.value(QLatin1String("url_resolved"))));
    if (station.streamUrl().isEmpty())
        return std::nullopt;

    const QString uuidText = string(object.value(QLatin1String("stationuuid"))).trimmed();
    const QUuid uuid = uuidText.size() == 36 ? QUuid::fromString(uuidText) : QUuid();
    if (!uuid.isNull())
        station.stationUuid = uuid.toString(QUuid::WithoutBraces);

    station.name = text(string(object.value(QLatin1String("name"))), maxNameLength);
    if (station.name.isEmpty())
        station.name = QUrl(station.streamUrl()).host();
    station.favicon = webAddress(string(object.value(QLatin1String("favicon"))));
    station.tags = DirectoryCleaning::tags(string(object.value(QLatin1String("tags"))));
    station.countryCode = DirectoryCleaning::countryCode(string(object.value(QLatin1String("countrycode"))));
    station.language = text(string(object.value(QLatin1String("language"))), maxLanguageLength);
    station.codec = text(string(object.value(QLatin1String("codec"))), maxCodecLength);
    station.bitrate = integer(object.value(QLatin1String("bitrate")), 0, maxBitrate);
    station.hls = flag(object.value(QLatin1String("hls")));
    station.lastCheckOk = flag(object.value(QLatin1String("lastcheckok")));
    station.votes = integer(object.value(QLatin1String("votes")), 0, maxCount);
    station.clickCount = integer(object.value(QLatin1String("clickcount")), 0, maxCount);
    return station;
}
