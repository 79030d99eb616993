#include "Support/EnglishPlurals.h"

#include <QRegularExpression>

QString EnglishPlurals::translate(const char*, const char* sourceText, const char*, int n) const
{
    if (n < 0 || !sourceText)
        return {};
    QString text = QString::fromUtf8(sourceText);
    // Only the word after the count: "not an http(s) address" stays.
    static const QRegularExpression counted(QStringLiteral("(%n \\S+?)\\(s\\)"));
    if (!text.contains(counted))
        return {};
    // %n itself is put in by the caller.
    return text.replace(counted, n == 1 ? QStringLiteral("\\1") : QStringLiteral("\\1s"));
}
