// quillora.conf as a person may have written it: an INI file whose comments,
// blank lines, key order and keys Quillora does not know all survive a
// change. QSettings rewrites the whole file from its own map and drops the
// comments, so the settings Quillora changes go through this instead: it
// edits the one line of a key (or adds one) and writes the file atomically.
//
// Keys before the first [group] line and keys under [General] are one group,
// "General", as QSettings reads them. Values are read and written the way
// QSettings quotes them, so either reads what the other wrote.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class IniFile {
public:
    static inline const QString general = QStringLiteral("General");

    // An empty file: setValue() builds one up.
    IniFile() = default;
    // Parses `text`; any text is accepted (lines that are neither a group, a
    // key nor a comment are kept as they are and otherwise ignored).
    static IniFile fromText(const QString& text);
    // Reads the file; a missing file is an empty one. `error` (may be null)
    // is set when the file exists but cannot be read.
    static IniFile load(const QString& path, QString* error = nullptr);

    std::optional<QString> value(QStringView group, QStringView key) const;
    void setValue(QStringView group, QStringView key, const QString& value);
    void remove(QStringView group, QStringView key);

    QString text() const;
    // Writes the text to `path` atomically (a temporary file renamed over
    // it), creating the folder; returns an error message or an empty string.
    QString save(const QString& path) const;

    // A value as QSettings writes it, and the value a written text stands for.
    static QString encode(const QString& value);
    static QString decode(QStringView written);

private:
    struct Line {
        QString text;
        QString group; // the group the line belongs to
        QString key;   // empty unless the line sets a key
    };
    // The index of the line setting the key, or -1.
    qsizetype find(QStringView group, QStringView key) const;
    // Where a new key of the group goes, or -1 when the group has no line yet.
    qsizetype insertionPoint(QStringView group) const;

    QList<Line> m_lines;
    QString m_lineEnd = QStringLiteral("\n");
    bool m_endsWithNewline = true;
};
