#include "CountryNames.h"

CountryNames::CountryNames(QObject* parent)
    : QObject(parent)
{
}

QString CountryNames::nameOf(const QString& code)
{
    const QLocale locale;
    if (locale.name() != m_localeName) {
        m_names.clear();
        m_localeName = locale.name();
    }
    const auto found = m_names.constFind(code);
    if (found != m_names.cend())
        return *found;
    // Directory codes come from a bounded set; anything else is not kept.
    const QString name = localisedName(code, locale);
    if (m_names.size() < 400)
        m_names.insert(code, name);
    return name;
}

QString CountryNames::localisedName(const QString& code, const QLocale& locale)
{
    if (code.size() != 2)
        return code;
    const QLocale::Territory territory = QLocale::codeToTerritory(code.toUpper());
    if (territory == QLocale::AnyTerritory)
        return code;
    if (locale.language() != QLocale::C && locale.language() != QLocale::AnyLanguage) {
        // Qt falls back to another country when it has no data for the
        // language there: only a match names it in the person's language.
        const QLocale local(locale.language(), territory);
        if (local.language() == locale.language() && local.territory() == territory) {
            const QString name = local.nativeTerritoryName();
            if (!name.isEmpty())
                return name;
        }
    }
    return QLocale::territoryToString(territory);
}
