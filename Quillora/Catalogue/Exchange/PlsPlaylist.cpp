// PLS: an INI-like [playlist] section with FileN, TitleN and LengthN keys
// (numbered from 1) and NumberOfEntries and Version. Entries are taken in
// the order of their numbers, whatever the order of the lines.
#include "Catalogue/Exchange/ExchangeFormats.h"

#include <map>

void PlsPlaylist::read(QStringView text, StationExchange::Read& read)
{
    struct Entry {
        QString file;
        QString title;
    };
    std::map<qint64, Entry> entries;
    for (QStringView line : text.tokenize(QLatin1Char('\n'))) {
        line = line.trimmed();
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals <= 0)
            continue;
        const QStringView key = line.first(equals).trimmed();
        const QStringView value = line.sliced(equals + 1).trimmed();
        for (const auto& [prefix, member] : {std::pair{QLatin1String("File"), &Entry::file},
                                             std::pair{QLatin1String("Title"), &Entry::title}}) {
            if (!key.startsWith(prefix, Qt::CaseInsensitive))
                continue;
            bool number = false;
            const qint64 index = key.sliced(prefix.size()).toLongLong(&number);
            if (!number)
                continue;
            // Every File line may make an entry; their count is bounded.
            if (entries.size() >= std::size_t(StationExchange::maxStations) && !entries.contains(index)) {
                StationExchange::refuseTooMany(read);
                return;
            }
            entries[index].*member = value.toString();
        }
    }
    for (const auto& [index, entry] : entries) {
        if (!read.ok())
            return;
        if (!entry.file.isEmpty())
            StationExchange::take(read, {entry.title, entry.file, {}, {}});
    }
}

QByteArray PlsPlaylist::write(const QList<Station>& stations)
{
    QString out = QStringLiteral("[playlist]\n");
    for (qsizetype i = 0; i < stations.size(); ++i) {
        const qsizetype n = i + 1;
        out += QStringLiteral("File%1=%2\n").arg(n).arg(stations[i].url.simplified());
        out += QStringLiteral("Title%1=%2\n").arg(n).arg(stations[i].title.simplified());
        out += QStringLiteral("Length%1=-1\n").arg(n);
    }
    out += QStringLiteral("NumberOfEntries=%1\nVersion=2\n").arg(stations.size());
    return out.toUtf8();
}
