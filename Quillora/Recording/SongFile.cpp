#include "Recording/SongFile.h"

#include <QDir>
#include <QFileInfo>

namespace {

bool unwanted(char32_t c)
{
    return c < 0x20 || (c >= 0x7f && c <= 0x9f) // control characters
        || c == u'/' || c == u'\\'              // separators, here and on shares a file may be copied to
        || (c >= 0x200e && c <= 0x200f) || (c >= 0x202a && c <= 0x202e) || (c >= 0x2066 && c <= 0x2069)
        || c == 0xfeff;
}

// The longest prefix of text that fits in `bytes` bytes of UTF-8, cut
// between code points.
QString fitted(const QString& text, qsizetype bytes)
{
    QString out;
    qsizetype used = 0;
    for (char32_t c : QStringView(text).toUcs4()) {
        const qsizetype size = c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
        if (used + size > bytes)
            break;
        used += size;
        out += QString::fromUcs4(&c, 1);
    }
    return out;
}

QString tidy(QString text)
{
    // Leading dots and spaces would hide the file or climb a folder; a
    // trailing dot or space is lost by some file systems.
    qsizetype start = 0;
    while (start < text.size() && (text[start] == u'.' || text[start].isSpace()))
        ++start;
    text = text.mid(start);
    while (!text.isEmpty() && (text.back() == u'.' || text.back().isSpace()))
        text.chop(1);
    return text;
}

} // namespace

QString SongFile::baseName(const QString& artist, const QString& title)
{
    const QString song = artist.trimmed().isEmpty() ? title : artist.trimmed() + QStringLiteral(" - ") + title;
    QString safe;
    for (char32_t c : QStringView(song).toUcs4())
        safe += unwanted(c) ? QStringLiteral(" ") : QString::fromUcs4(&c, 1);
    safe = tidy(safe.simplified());
    // Room for the extension and a " (99)".
    safe = tidy(fitted(safe, maxBytes - 16));
    return safe.isEmpty() ? QStringLiteral("Untitled") : safe;
}

QString SongFile::freePath(const QString& folder, const QString& baseName, const QString& extension)
{
    const QDir dir(folder);
    for (int n = 1;; ++n) {
        const QString name = n == 1 ? baseName + extension : QStringLiteral("%1 (%2)%3").arg(baseName).arg(n).arg(extension);
        const QString path = dir.filePath(name);
        if (!QFileInfo::exists(path))
            return path;
    }
}
