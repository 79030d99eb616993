#include "Support/EnglishPlurals.h"

QString EnglishPlurals::translate(const char*, const char* sourceText, const char*, int n) const
{
    if (n < 0 || !sourceText)
        return {};
    QString text = QString::fromUtf8(sourceText);
    // Only the word right after the count: "not an http(s) address" stays.
    // (A plain scan: a regular expression here cost the window the regex
    // engine and its compiler, about half a megabyte, for one message.)
    bool changed = false;
    for (qsizetype count = text.indexOf(u"%n "); count >= 0; count = text.indexOf(u"%n ", count + 1)) {
        const qsizetype word = count + 3;
        qsizetype wordEnd = word;
        while (wordEnd < text.size() && !text.at(wordEnd).isSpace())
            ++wordEnd;
        const qsizetype mark = text.indexOf(u"(s)", word);
        if (mark <= word || mark + 3 > wordEnd)
            continue;
        // %n itself is put in by the caller.
        text.replace(mark, 3, n == 1 ? QString() : QStringLiteral("s"));
        changed = true;
    }
    return changed ? text : QString();
}
