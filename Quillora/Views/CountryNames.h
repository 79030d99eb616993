// Country names for the two-letter codes the station directory uses, in the
// person's language where Qt's locale data has that language for the
// country (German speakers read "Österreich"), else in English; an unknown
// code is shown as it is. For QML: CountryNames.nameOf("AT").
#pragma once

#include <QHash>
#include <QLocale>
#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

class CountryNames : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

public:
    explicit CountryNames(QObject* parent = nullptr);

    Q_INVOKABLE QString nameOf(const QString& code);

    // The name of the country with this code for a person using `locale`.
    static QString localisedName(const QString& code, const QLocale& locale);

private:
    QHash<QString, QString> m_names;
    QString m_localeName; // the locale the names were made for
};
