#include "Settings/IniFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

bool isGeneral(QStringView group)
{
    return group.isEmpty() || group.compare(IniFile::general, Qt::CaseInsensitive) == 0;
}

bool sameGroup(QStringView a, QStringView b)
{
    return (isGeneral(a) && isGeneral(b)) || a == b;
}

bool isComment(QStringView trimmed)
{
    return trimmed.startsWith(QLatin1Char(';')) || trimmed.startsWith(QLatin1Char('#'));
}

QChar unescaped(QChar c)
{
    switch (c.unicode()) {
    case 'n':
        return QLatin1Char('\n');
    case 't':
        return QLatin1Char('\t');
    case 'r':
        return QLatin1Char('\r');
    case '0':
        return QChar();
    default:
        return c;
    }
}

} // namespace

IniFile IniFile::fromText(const QString& text)
{
    IniFile file;
    if (text.isEmpty())
        return file;
    if (text.contains(QLatin1String("\r\n")))
        file.m_lineEnd = QStringLiteral("\r\n");
    file.m_endsWithNewline = text.endsWith(QLatin1Char('\n'));
    QStringList lines = text.split(QLatin1Char('\n'));
    if (file.m_endsWithNewline)
        lines.removeLast();
    QString group;
    for (QString& raw : lines) {
        if (raw.endsWith(QLatin1Char('\r')))
            raw.chop(1);
        const QStringView trimmed = QStringView(raw).trimmed();
        Line line{raw, group, {}};
        if (trimmed.startsWith(QLatin1Char('[')) && trimmed.endsWith(QLatin1Char(']'))) {
            group = trimmed.mid(1, trimmed.size() - 2).trimmed().toString();
            line.group = group;
        } else if (!trimmed.isEmpty() && !isComment(trimmed)) {
            const qsizetype equals = trimmed.indexOf(QLatin1Char('='));
            if (equals > 0)
                line.key = trimmed.left(equals).trimmed().toString();
        }
        file.m_lines.append(std::move(line));
    }
    return file;
}

IniFile IniFile::load(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.exists())
        return {};
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QCoreApplication::translate("IniFile", "Cannot read %1: %2").arg(path, file.errorString());
        return {};
    }
    return fromText(QString::fromUtf8(file.readAll()));
}

qsizetype IniFile::find(QStringView group, QStringView key) const
{
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        if (!m_lines[i].key.isEmpty() && m_lines[i].key == key && sameGroup(m_lines[i].group, group))
            return i;
    }
    return -1;
}

qsizetype IniFile::insertionPoint(QStringView group) const
{
    // After the group's last key, else right after its header.
    qsizetype at = -1;
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        if (!sameGroup(m_lines[i].group, group))
            continue;
        const QStringView trimmed = QStringView(m_lines[i].text).trimmed();
        if (!m_lines[i].key.isEmpty() || trimmed.startsWith(QLatin1Char('[')))
            at = i + 1;
    }
    if (at >= 0 || !isGeneral(group))
        return at;
    // The first general key: before the first group, or at the end.
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        if (!m_lines[i].group.isEmpty())
            return i;
    }
    return m_lines.size();
}

std::optional<QString> IniFile::value(QStringView group, QStringView key) const
{
    const qsizetype at = find(group, key);
    if (at < 0)
        return std::nullopt;
    const QString& text = m_lines[at].text;
    return decode(QStringView(text).mid(text.indexOf(QLatin1Char('=')) + 1));
}

void IniFile::setValue(QStringView group, QStringView key, const QString& value)
{
    const QString written = key.toString() + QLatin1Char('=') + encode(value);
    const qsizetype existing = find(group, key);
    if (existing >= 0) {
        // The line's indentation stays as the person wrote it.
        const QString& old = m_lines[existing].text;
        const qsizetype indent = old.indexOf(key);
        m_lines[existing].text = old.left(std::max<qsizetype>(indent, 0)) + written;
        return;
    }
    const qsizetype at = insertionPoint(group);
    const QString groupName = isGeneral(group) ? QString() : group.toString();
    if (at >= 0) {
        // Before the first group of a file without general keys: keep a blank
        // line between the new key and that group.
        const bool beforeHeader = at < m_lines.size() && m_lines[at].group != groupName;
        m_lines.insert(at, Line{written, groupName, key.toString()});
        if (beforeHeader && !QStringView(m_lines[at + 1].text).trimmed().isEmpty())
            m_lines.insert(at + 1, Line{QString(), groupName, {}});
        return;
    }
    if (!m_lines.isEmpty() && !QStringView(m_lines.last().text).trimmed().isEmpty())
        m_lines.append(Line{QString(), m_lines.last().group, {}});
    m_lines.append(Line{QLatin1Char('[') + groupName + QLatin1Char(']'), groupName, {}});
    m_lines.append(Line{written, groupName, key.toString()});
}

void IniFile::remove(QStringView group, QStringView key)
{
    for (qsizetype at = find(group, key); at >= 0; at = find(group, key))
        m_lines.removeAt(at);
}

QString IniFile::text() const
{
    QStringList lines;
    lines.reserve(m_lines.size());
    for (const Line& line : m_lines)
        lines.append(line.text);
    QString text = lines.join(m_lineEnd);
    if (!m_lines.isEmpty() && m_endsWithNewline)
        text += m_lineEnd;
    return text;
}

QString IniFile::save(const QString& path) const
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return QCoreApplication::translate("IniFile", "Cannot create the folder of %1").arg(path);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return QCoreApplication::translate("IniFile", "Cannot write %1: %2").arg(path, file.errorString());
    }
    file.write(text().toUtf8());
    if (!file.commit())
        return QCoreApplication::translate("IniFile", "Cannot write %1: %2").arg(path, file.errorString());
    return {};
}

QString IniFile::encode(const QString& value)
{
    bool quote = value != value.trimmed();
    QString escaped;
    escaped.reserve(value.size());
    for (const QChar c : value) {
        switch (c.unicode()) {
        case '\\':
            escaped += QLatin1String("\\\\");
            break;
        case '"':
            escaped += QLatin1String("\\\"");
            break;
        case '\n':
            escaped += QLatin1String("\\n");
            break;
        case '\r':
            escaped += QLatin1String("\\r");
            break;
        case '\t':
            escaped += QLatin1String("\\t");
            break;
        case ',':
        case ';':
        case '=':
        case '#':
            quote = true;
            escaped += c;
            break;
        default:
            escaped += c;
        }
    }
    return quote ? QLatin1Char('"') + escaped + QLatin1Char('"') : escaped;
}

QString IniFile::decode(QStringView written)
{
    written = written.trimmed();
    QString value;
    bool inQuotes = false;
    for (qsizetype i = 0; i < written.size(); ++i) {
        const QChar c = written[i];
        if (c == QLatin1Char('"')) {
            inQuotes = !inQuotes;
        } else if (c == QLatin1Char('\\') && i + 1 < written.size()) {
            const QChar next = unescaped(written[++i]);
            if (!next.isNull())
                value += next;
        } else if (c == QLatin1Char(';') && !inQuotes) {
            break; // a comment after the value
        } else {
            value += c;
        }
    }
    // Unquoted text ends before a comment; its surrounding blanks are not
    // part of the value.
    return written.startsWith(QLatin1Char('"')) ? value : value.trimmed();
}
