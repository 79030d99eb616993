// The language the application speaks, from the desktop's list of languages.
#include "Support/Translations.h"

#include <QTest>

class TranslationsTests : public QObject {
    Q_OBJECT

private slots:
    void firstTranslatedLanguageUnlessEnglishComesFirst_data()
    {
        QTest::addColumn<QStringList>("uiLanguages");
        QTest::addColumn<QString>("chosen");
        const QStringList none;
        QTest::newRow("German") << QStringList{QStringLiteral("de")} << QStringLiteral("de");
        QTest::newRow("region falls back to the language") << QStringList{QStringLiteral("de-AT"), QStringLiteral("de")} << QStringLiteral("de");
        QTest::newRow("region of its own") << QStringList{QStringLiteral("pt-BR")} << QStringLiteral("pt_BR");
        QTest::newRow("untranslated language skipped") << QStringList{QStringLiteral("it-IT"), QStringLiteral("fr-FR")} << QStringLiteral("fr");
        // English is the sources' language: a later German must not win.
        QTest::newRow("English first") << QStringList{QStringLiteral("en-US"), QStringLiteral("de")} << QString();
        QTest::newRow("C locale") << QStringList{QStringLiteral("C")} << QString();
        QTest::newRow("nothing translated") << QStringList{QStringLiteral("it"), QStringLiteral("ja")} << QString();
        QTest::newRow("empty list") << none << QString();
    }
    void firstTranslatedLanguageUnlessEnglishComesFirst()
    {
        QFETCH(QStringList, uiLanguages);
        QFETCH(QString, chosen);
        const QStringList available{QStringLiteral("de"), QStringLiteral("es"), QStringLiteral("fr"), QStringLiteral("pt_BR")};
        QCOMPARE(Translations::choose(uiLanguages, available), chosen);
    }
};

QTEST_GUILESS_MAIN(TranslationsTests)
#include "TranslationsTests.moc"
