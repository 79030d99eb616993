#include "ColorScheme.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPalette>

ColorScheme::ColorScheme(QObject* parent)
    : QObject(parent)
{
    if (qApp)
        qApp->installEventFilter(this);
    update();
}

bool ColorScheme::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == qApp && event->type() == QEvent::ApplicationPaletteChange)
        update();
    return false;
}

void ColorScheme::update()
{
    const QByteArray forced = qgetenv("QUILLORA_COLOR_SCHEME");
    bool dark;
    if (forced == "dark")
        dark = true;
    else if (forced == "light")
        dark = false;
    else
        dark = QGuiApplication::palette().color(QPalette::Window).lightness() < 128;
    if (dark == m_dark)
        return;
    m_dark = dark;
    emit darkChanged();
}
