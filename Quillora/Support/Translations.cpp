#include "Support/Translations.h"

#include "Support/EnglishPlurals.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace {

// Where the build puts the compiled translations: inside the program, so a
// build folder and an installed copy find them alike.
const QString folder = QStringLiteral(":/i18n");
const QString prefix = QStringLiteral("quillora_");

QStringList availableLanguages()
{
    // Matched by hand: a name filter would start the regular expression
    // engine, about half a megabyte of every window, for three file names.
    QStringList languages;
    const QString suffix = QStringLiteral(".qm");
    for (const QString& file : QDir(folder).entryList(QDir::Files)) {
        if (file.startsWith(prefix) && file.endsWith(suffix) && file.size() > prefix.size() + suffix.size())
            languages.append(file.mid(prefix.size()).chopped(suffix.size()));
    }
    return languages;
}

// Dates and times read in the language of the sentences around them; the
// system's own locale stays when it is of that language (its region's
// formats are the user's choice). The C locale names months in English.
void speakDates(const QLocale& language)
{
    const QLocale::Language system = QLocale::system().language();
    const bool english = language.language() == QLocale::English;
    if (system != language.language() && !(english && system == QLocale::C))
        QLocale::setDefault(language);
}

} // namespace

QString Translations::choose(const QStringList& uiLanguages, const QStringList& available)
{
    for (const QString& entry : uiLanguages) {
        const QLocale locale(entry);
        if (locale.language() == QLocale::English || locale.language() == QLocale::C)
            return {};
        // "pt-BR" may have its own translation; else the language's.
        QString name = entry;
        name.replace(QLatin1Char('-'), QLatin1Char('_'));
        for (;;) {
            if (available.contains(name))
                return name;
            const qsizetype cut = name.lastIndexOf(QLatin1Char('_'));
            if (cut <= 0)
                break;
            name.truncate(cut);
        }
    }
    return {};
}

QString Translations::install()
{
    QCoreApplication* app = QCoreApplication::instance();
    QCoreApplication::installTranslator(new EnglishPlurals(app));
    const QString language = choose(QLocale::system().uiLanguages(), availableLanguages());
    if (language.isEmpty()) {
        speakDates(QLocale(QLocale::English, QLocale::system().territory()));
        return {};
    }
    auto* messages = new QTranslator(app);
    if (!messages->load(prefix + language, folder)) {
        delete messages;
        return {};
    }
    QCoreApplication::installTranslator(messages);
    speakDates(QLocale(language));
    // Qt's own words (the command line's "Usage:", standard dialogs), when
    // the system has them.
    auto* qt = new QTranslator(app);
    if (qt->load(QStringLiteral("qtbase_") + language, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qt);
    else
        delete qt;
    return language;
}
