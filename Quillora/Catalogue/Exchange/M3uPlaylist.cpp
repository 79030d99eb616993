// M3U: one address a line. The extended form (#EXTM3U) names each entry on
// the #EXTINF line before it ("#EXTINF:-1 tvg-logo="…" group-title="…",Name");
// the logo and group attributes are what IPTV and radio lists use for a
// logo and a genre, and what this writer writes.
#include "Catalogue/Exchange/ExchangeFormats.h"

namespace {

struct Info {
    QString title;
    QString image;
    QString genre;
};

// "#EXTINF:<duration> key="value" ...,<title>"
Info parseExtinf(QStringView line)
{
    Info info;
    QStringView rest = line.sliced(qsizetype(sizeof("#EXTINF:") - 1));
    qsizetype i = 0;
    bool quoted = false;
    qsizetype keyStart = -1;
    QStringView key;
    qsizetype valueStart = -1;
    for (; i < rest.size(); ++i) {
        const QChar c = rest[i];
        if (c == QLatin1Char('"')) {
            if (!quoted) {
                valueStart = i + 1;
            } else if (valueStart >= 0) {
                const QString value = rest.sliced(valueStart, i - valueStart).toString();
                if (key.compare(QLatin1String("tvg-logo"), Qt::CaseInsensitive) == 0
                    || key.compare(QLatin1String("logo"), Qt::CaseInsensitive) == 0)
                    info.image = value;
                else if (key.compare(QLatin1String("group-title"), Qt::CaseInsensitive) == 0)
                    info.genre = value;
                valueStart = -1;
            }
            quoted = !quoted;
        } else if (quoted) {
            continue;
        } else if (c == QLatin1Char(',')) {
            break;
        } else if (c == QLatin1Char('=') && keyStart >= 0) {
            key = rest.sliced(keyStart, i - keyStart);
        } else if (c.isSpace()) {
            keyStart = i + 1;
        }
    }
    if (i < rest.size())
        info.title = rest.sliced(i + 1).trimmed().toString();
    return info;
}

QString attribute(QString value)
{
    // An attribute value cannot hold its quote; a line break would end the
    // line.
    return value.replace(QLatin1Char('"'), QLatin1Char('\'')).simplified();
}

} // namespace

void M3uPlaylist::read(QStringView text, StationExchange::Read& read)
{
    Info pending;
    for (QStringView line : text.tokenize(QLatin1Char('\n'))) {
        if (!read.ok())
            return;
        line = line.trimmed();
        if (line.isEmpty())
            continue;
        if (line.startsWith(QLatin1String("#EXTINF:"), Qt::CaseInsensitive)) {
            pending = parseExtinf(line);
        } else if (line.startsWith(QLatin1String("#EXTGRP:"), Qt::CaseInsensitive)) {
            pending.genre = line.sliced(8).toString();
        } else if (!line.startsWith(QLatin1Char('#'))) {
            StationExchange::take(read, {pending.title, line.toString(), pending.image, pending.genre});
            pending = {};
        }
    }
}

QByteArray M3uPlaylist::write(const QList<Station>& stations)
{
    QString out = QStringLiteral("#EXTM3U\n");
    for (const Station& station : stations) {
        out += QStringLiteral("#EXTINF:-1");
        if (!station.image.isEmpty())
            out += QStringLiteral(" tvg-logo=\"%1\"").arg(attribute(station.image));
        if (!station.genre.isEmpty())
            out += QStringLiteral(" group-title=\"%1\"").arg(attribute(station.genre));
        out += QLatin1Char(',') + station.title.simplified() + QLatin1Char('\n');
        out += station.url.simplified() + QLatin1Char('\n');
    }
    return out.toUtf8();
}
