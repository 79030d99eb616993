#include "Playback/SongMetadata.h"

#include <QStringDecoder>

#include <cstring>
#include <optional>

namespace {

// Windows-1252's printable characters at 0x80-0x9F, where Latin-1 has C1
// controls: the curly quotes and dashes of legacy-encoded titles. The five
// bytes it leaves undefined stay C1 controls and are stripped.
constexpr char16_t windows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// The text as UTF-8, else as Windows-1252; none when it is neither (bytes
// that are not UTF-8 and hold control characters are binary, not an old
// server's Latin text).
std::optional<QString> decode(const QByteArray& raw)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(raw);
    if (!utf8.hasError())
        return text;
    text.resize(raw.size());
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const auto byte = static_cast<unsigned char>(raw[i]);
        if (byte < 0x20 && !QChar::isSpace(byte))
            return std::nullopt;
        text[i] = QChar(byte >= 0x80 && byte < 0xA0 ? windows1252High[byte - 0x80] : char16_t(byte));
    }
    return text;
}

bool isControl(char32_t c)
{
    return c < 0x20 || (c >= 0x7F && c < 0xA0);
}

// Characters that change how the rest of a label is laid out or are not
// characters at all: direction marks, embeddings, overrides and isolates, the
// byte order mark, and non-characters.
bool isInvisibleTrouble(char32_t c)
{
    return c == 0x061C || c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069)
        || c == 0xFEFF || (c >= 0xFDD0 && c <= 0xFDEF) || (c & 0xFFFE) == 0xFFFE;
}

// The longest prefix of `text` of at most `limit` UTF-16 units that does not
// end inside a surrogate pair.
QString capped(const QString& text, qsizetype limit)
{
    if (text.size() <= limit)
        return text;
    qsizetype end = limit;
    if (end > 0 && text.at(end - 1).isHighSurrogate())
        --end;
    return text.left(end).trimmed();
}

// Splits "Artist - Title" at its first " - ". `whole` is cleaned (trimmed),
// so a side left empty loses its space; and it is a copy: it may be the very
// string `title` refers to.
void splitArtist(const QString whole, QString& artist, QString& title)
{
    artist.clear();
    title.clear();
    if (const qsizetype dash = whole.indexOf(QLatin1String(" - ")); dash >= 0) {
        artist = whole.left(dash);
        title = whole.mid(dash + 3);
    } else if (whole.endsWith(QLatin1String(" -"))) {
        artist = whole.chopped(2);
    } else if (whole.startsWith(QLatin1String("- "))) {
        title = whole.mid(2);
    } else if (whole != QLatin1String("-")) {
        title = whole;
    }
    if (title.isEmpty())
        title = std::exchange(artist, QString());
}

} // namespace

QString SongMetadata::clean(const QByteArray& raw)
{
    const std::optional<QString> text = decode(raw);
    return text ? clean(*text) : QString();
}

QString SongMetadata::clean(const QString& text)
{
    // Enough to fill maxLength even behind a run of junk; a longer input is
    // not looked at further.
    constexpr qsizetype scanLimit = 16 * maxLength;
    QString out;
    out.reserve(std::min(text.size(), maxLength));
    bool space = false;
    qsizetype scanned = 0;
    qsizetype controls = 0;
    const qsizetype end = std::min(text.size(), scanLimit);
    for (qsizetype i = 0; i < end; ++i) {
        char32_t c = text.at(i).unicode();
        qsizetype units = 1;
        if (QChar::isHighSurrogate(c) && i + 1 < end && text.at(i + 1).isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text.at(i), text.at(i + 1));
            units = 2;
            ++i;
        } else if (QChar::isSurrogate(c)) {
            continue; // half a pair
        }
        ++scanned;
        if (QChar::isSpace(c)) { // also tabs, line breaks, NEL and the like
            space = !out.isEmpty();
            continue;
        }
        if (isControl(c)) {
            ++controls;
            continue;
        }
        if (isInvisibleTrouble(c))
            continue;
        if (out.size() + (space ? 1 : 0) + units > maxLength)
            break;
        if (space)
            out += QLatin1Char(' ');
        space = false;
        if (units == 2) {
            out += QChar(QChar::highSurrogate(c));
            out += QChar(QChar::lowSurrogate(c));
        } else {
            out += QChar(char16_t(c));
        }
    }
    // Text of which a quarter is control characters is binary, not a title.
    if (controls * 4 > scanned)
        return {};
    return out;
}

QByteArray SongMetadata::bounded(const char* text, qsizetype limit)
{
    if (!text || limit <= 0)
        return {};
    const auto length = static_cast<qsizetype>(strnlen(text, static_cast<size_t>(limit) + 1));
    if (length <= limit)
        return QByteArray(text, length);
    qsizetype cut = limit;
    for (int back = 0; back < 3 && cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80; ++back)
        --cut;
    return QByteArray(text, cut);
}

Song SongMetadata::songFrom(const StreamTags& tags, const QString& stationTitle)
{
    const QString station = clean(stationTitle);
    const QString streamName = clean(tags.value(QStringLiteral("icy-name")));
    const auto repeatsName = [&](const QString& text) {
        return (!station.isEmpty() && text.compare(station, Qt::CaseInsensitive) == 0)
            || (!streamName.isEmpty() && text.compare(streamName, Qt::CaseInsensitive) == 0);
    };

    Song song;
    const QString icyTitle = clean(tags.value(QStringLiteral("icy-title")));
    if (!icyTitle.isEmpty()) {
        if (repeatsName(icyTitle))
            return {};
        splitArtist(icyTitle, song.artist, song.title);
    } else {
        song.title = clean(tags.value(QStringLiteral("title")));
        song.artist = clean(tags.value(QStringLiteral("artist")));
        if (song.artist.isEmpty())
            splitArtist(song.title, song.artist, song.title);
        if (song.artist.isEmpty() && repeatsName(song.title))
            return {};
    }
    if (song.title.isEmpty())
        return {};
    song.text = capped(song.artist.isEmpty() ? song.title : song.artist + QStringLiteral(" \u2013 ") + song.title,
                       maxLength);
    return song;
}
