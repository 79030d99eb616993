// Whether the desktop asks for dark colours. Qt 6.4 has no colour-scheme
// hint, so this asks the desktop portal's "color-scheme" setting (GNOME, KDE
// and others answer it, and announce changes) and, where it states no
// preference, reads the platform palette. QUILLORA_COLOR_SCHEME=light|dark
// overrides both.
#pragma once

#include <QObject>
#include <QDBusMessage>
#include <QVariant>
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

private slots:
    // SettingChanged(namespace, key, value); anything else is ignored.
    void onSettingChanged(const QDBusMessage& message);

private:
    void askPortal();
    void update();

    // The portal's answer: 0 no preference, 1 dark, 2 light.
    uint m_portalPreference = 0;
    bool m_dark = false;
};
