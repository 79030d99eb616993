// Whether the desktop asks for dark colours. Qt 6.4 has no colour-scheme
// hint, so this asks the desktop portal's "color-scheme" setting (GNOME, KDE
// and others answer it, and announce changes) and, where it states no
// preference, reads the platform palette. The listener's choice in Settings
// comes before both, and an override (QUILLORA_COLOR_SCHEME=light|dark) before that.
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
    // The listener's choice in Settings: "system" (follow the desktop),
    // "light" or "dark".
    Q_PROPERTY(QString preference READ preference WRITE setPreference NOTIFY preferenceChanged)

public:
    explicit ColorScheme(QObject* parent = nullptr);
    bool dark() const { return m_dark; }
    QString preference() const { return m_preference; }
    void setPreference(const QString& preference);
    // "light" or "dark" over everything else, for every scheme made after
    // (the environment's QUILLORA_COLOR_SCHEME, passed on by the root).
    static void setOverride(const QString& scheme);

signals:
    void darkChanged();
    void preferenceChanged();

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
    QString m_preference = QStringLiteral("system");
    bool m_dark = false;
};
