#include "Catalogue/Exchange/StationExchange.h"

#include "Catalogue/Exchange/ExchangeFormats.h"

#include <QStringConverter>
#include <QLocale>
#include <QStringDecoder>
#include <QUrl>

namespace {

// The text of a playlist: with a byte-order mark in its encoding, else
// UTF-8, else (older M3U and PLS files) Latin-1. Nothing for bytes that are
// no text at all.
std::optional<QString> decodeText(const QByteArray& bytes)
{
    if (const std::optional<QStringConverter::Encoding> marked = QStringConverter::encodingForData(bytes);
        marked && *marked != QStringConverter::Utf8) {
        QStringDecoder decoder(*marked);
        QString text = decoder(bytes);
        if (decoder.hasError())
            return std::nullopt;
        return text;
    }
    if (bytes.contains('\0'))
        return std::nullopt;
    QByteArrayView view(bytes);
    if (view.startsWith("\xEF\xBB\xBF"))
        view = view.sliced(3);
    if (view.isValidUtf8())
        return QString::fromUtf8(view);
    return QString::fromLatin1(view);
}

bool startsWithAddress(QStringView line)
{
    const qsizetype colon = line.indexOf(QLatin1String("://"));
    if (colon <= 0)
        return line.startsWith(QLatin1Char('/'));
    for (const QChar c : line.first(colon)) {
        if (!c.isLetterOrNumber() && c != QLatin1Char('+') && c != QLatin1Char('-') && c != QLatin1Char('.'))
            return false;
    }
    return true;
}

QStringView firstLine(QStringView text)
{
    const qsizetype end = text.indexOf(QLatin1Char('\n'));
    return (end < 0 ? text : text.first(end)).trimmed();
}

} // namespace

StationExchange::Read StationExchange::read(const QByteArray& bytes)
{
    Read read;
    if (bytes.size() > maxBytes) {
        read.problem = tr("larger than %1 MB").arg(maxBytes / (1024 * 1024));
        return read;
    }
    const std::optional<QString> decoded = decodeText(bytes);
    if (!decoded) {
        read.problem = tr("not a playlist or station list: not text");
        return read;
    }
    const QStringView text = QStringView(*decoded).trimmed();
    if (text.isEmpty()) {
        read.problem = tr("not a playlist or station list: empty");
        return read;
    }
    const QStringView first = firstLine(text);
    if (text.startsWith(QLatin1Char('<'))) {
        XmlStationLists::read(bytes, read);
    } else if (first.compare(QLatin1String("[playlist]"), Qt::CaseInsensitive) == 0) {
        read.format = Format::pls;
        PlsPlaylist::read(text, read);
    } else if (text.startsWith(QLatin1Char('[')) || text.startsWith(QLatin1Char('{'))) {
        read.format = Format::radiotray;
        RadiotrayBookmarks::read(bytes, read);
    } else if (first.startsWith(QLatin1String("#EXTM3U"), Qt::CaseInsensitive) || startsWithAddress(first)) {
        read.format = Format::m3u;
        M3uPlaylist::read(text, read);
    } else {
        CsvStationLists::read(bytes, read);
        if (!read.ok() && !read.format) {
            // No station table either: perhaps an M3U that starts with a
            // comment.
            const QString notATable = read.problem;
            read = Read{};
            read.format = Format::m3u;
            M3uPlaylist::read(text, read);
            if (read.ok() && read.stations.isEmpty())
                read.problem = notATable;
        }
    }
    if (read.ok() && read.stations.isEmpty() && read.notWebAddresses == 0)
        read.problem = tr("not a playlist or station list: it holds no stream address");
    if (!read.ok())
        read.stations.clear();
    return read;
}

QByteArray StationExchange::write(Format format, const QList<Station>& stations)
{
    switch (format) {
    case Format::m3u:
        return M3uPlaylist::write(stations);
    case Format::pls:
        return PlsPlaylist::write(stations);
    case Format::xspf:
        return XmlStationLists::writeXspf(stations);
    case Format::csv:
        return CsvStationLists::write(stations);
    case Format::goodvibes:
    case Format::radiotray:
    case Format::pyradio:
        break;
    }
    return {};
}

std::optional<StationExchange::Format> StationExchange::writableFormat(const QString& name)
{
    const QString lower = name.trimmed().toLower();
    if (lower == QLatin1String("m3u") || lower == QLatin1String("m3u8"))
        return Format::m3u;
    if (lower == QLatin1String("pls"))
        return Format::pls;
    if (lower == QLatin1String("xspf"))
        return Format::xspf;
    if (lower == QLatin1String("csv"))
        return Format::csv;
    return std::nullopt;
}

QString StationExchange::formatName(Format format)
{
    switch (format) {
    case Format::m3u:
        return tr("M3U playlist");
    case Format::pls:
        return tr("PLS playlist");
    case Format::xspf:
        return tr("XSPF playlist");
    case Format::goodvibes:
        return tr("Goodvibes stations");
    case Format::radiotray:
        return tr("Radiotray-NG bookmarks");
    case Format::pyradio:
        return tr("pyradio stations");
    case Format::csv:
        return tr("CSV station list");
    }
    return {};
}

QString StationExchange::cleanText(const QString& text, int cap)
{
    QString line = text;
    for (QChar& c : line) {
        if (c.category() == QChar::Other_Control)
            c = QLatin1Char(' ');
    }
    line = line.simplified();
    if (line.size() > cap) {
        line.truncate(cap);
        // Never leave half of a surrogate pair.
        if (line.back().isHighSurrogate())
            line.chop(1);
    }
    return line;
}

std::optional<QString> StationExchange::webAddress(const QString& text)
{
    const QString address = text.trimmed();
    if (address.isEmpty() || address.size() > maxAddress)
        return std::nullopt;
    const QUrl url(address, QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty()
        || (url.scheme() != QLatin1String("http") && url.scheme() != QLatin1String("https")))
        return std::nullopt;
    return address;
}

void StationExchange::take(Read& read, ExchangeStation station)
{
    if (!read.ok())
        return;
    if (read.stations.size() + read.notWebAddresses >= maxStations) {
        refuseTooMany(read);
        return;
    }
    const std::optional<QString> url = webAddress(station.url);
    if (!url) {
        ++read.notWebAddresses;
        return;
    }
    station.url = *url;
    station.image = webAddress(station.image).value_or(QString());
    station.genre = cleanText(station.genre, maxGenre);
    station.title = cleanText(station.title, maxTitle);
    if (station.title.isEmpty()) {
        // A bare playlist line has no name: the server's is better than none.
        station.title = QUrl(station.url).host();
    }
    read.stations.append(std::move(station));
}

void StationExchange::refuseTooMany(Read& read)
{
    read.problem = tr("more than %1 stations").arg(QLocale(QLocale::English).toString(maxStations));
}
