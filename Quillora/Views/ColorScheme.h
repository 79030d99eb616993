// Whether the desktop asks for dark colours. Qt 6.4 has no colour-scheme
// hint, so this reads the platform palette (which GNOME's and KDE's platform
// themes set) and follows its changes; QUILLORA_COLOR_SCHEME=light|dark
// overrides it.
#pragma once

#include <QObject>
#include <QtQml/qqmlregistration.h>

class ColorScheme : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(bool dark READ dark NOTIFY darkChanged)

public:
    explicit ColorScheme(QObject* parent = nullptr);
    bool dark() const { return m_dark; }

signals:
    void darkChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void update();
    bool m_dark = false;
};
