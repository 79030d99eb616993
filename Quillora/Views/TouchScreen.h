// Whether this machine has a touch screen, so that lists can offer rows a
// finger can hit (a tablet in landscape gets the wide layout with them).
#pragma once

#include <QObject>
#include <QtQml/qqmlregistration.h>

class TouchScreen final : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(bool present READ present CONSTANT)

public:
    using QObject::QObject;

    static bool present();
};
