#include "Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

void Clipboard::setText(const QString& text) const
{
    QGuiApplication::clipboard()->setText(text);
}

QString Clipboard::text() const
{
    return QGuiApplication::clipboard()->text();
}
