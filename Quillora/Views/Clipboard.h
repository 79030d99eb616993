// The desktop's clipboard for the screens: QML has none of its own without
// the Controls module.
#pragma once

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

class Clipboard final : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

public:
    using QObject::QObject;

    Q_INVOKABLE void setText(const QString& text) const;
    Q_INVOKABLE QString text() const;
};
