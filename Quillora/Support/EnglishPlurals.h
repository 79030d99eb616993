// The English forms of messages with a count: the source texts say
// "Imported %n station(s)", as Qt's plural handling expects, and this
// translator turns "(s)" into "s" or nothing by the count. Installed first,
// so a real translation installed later takes precedence.
#pragma once

#include <QTranslator>

class EnglishPlurals final : public QTranslator {
    Q_OBJECT

public:
    using QTranslator::QTranslator;

    QString translate(const char* context, const char* sourceText, const char* disambiguation = nullptr,
                      int n = -1) const override;
    bool isEmpty() const override { return false; }
};
