// A flat menu on the session bus as com.canonical.dbusmenu, the protocol
// panels use to draw a tray item's menu themselves: entries with a label,
// radio marks and separators. The owner sets the whole list again when
// something changes (the layout's revision goes up and hosts ask again);
// a click comes back as clicked(id).
#pragma once

#include <QDBusAbstractAdaptor>
#include <QDBusArgument>
#include <QDBusVariant>
#include <QList>
#include <QObject>
#include <QVariantMap>

struct DBusMenuLayout {
    int id = 0;
    QVariantMap properties;
    QList<DBusMenuLayout> children;
};
struct DBusMenuItem {
    int id = 0;
    QVariantMap properties;
};
struct DBusMenuRemoved {
    int id = 0;
    QStringList names;
};
struct DBusMenuEvent {
    int id = 0;
    QString eventId;
    QDBusVariant data;
    uint timestamp = 0;
};
Q_DECLARE_METATYPE(DBusMenuLayout)
Q_DECLARE_METATYPE(DBusMenuItem)
Q_DECLARE_METATYPE(DBusMenuRemoved)
Q_DECLARE_METATYPE(DBusMenuEvent)

QDBusArgument& operator<<(QDBusArgument& argument, const DBusMenuLayout& layout);
const QDBusArgument& operator>>(const QDBusArgument& argument, DBusMenuLayout& layout);
QDBusArgument& operator<<(QDBusArgument& argument, const DBusMenuItem& item);
const QDBusArgument& operator>>(const QDBusArgument& argument, DBusMenuItem& item);
QDBusArgument& operator<<(QDBusArgument& argument, const DBusMenuRemoved& removed);
const QDBusArgument& operator>>(const QDBusArgument& argument, DBusMenuRemoved& removed);
QDBusArgument& operator<<(QDBusArgument& argument, const DBusMenuEvent& event);
const QDBusArgument& operator>>(const QDBusArgument& argument, DBusMenuEvent& event);

class DBusMenu final : public QObject {
    Q_OBJECT

public:
    struct Entry {
        int id = 0;
        QString label; // empty: a separator
        bool enabled = true;
        enum class Mark { none, radioOff, radioOn } mark = Mark::none;
    };

    explicit DBusMenu(QObject* parent = nullptr);

    void setEntries(const QList<Entry>& entries);
    const QList<Entry>& entries() const { return m_entries; }
    uint revision() const { return m_revision; }

    DBusMenuLayout layout() const;
    QVariantMap propertiesOf(int id) const;

signals:
    void clicked(int id);
    void layoutUpdated(uint revision, int parent);

private:
    QList<Entry> m_entries;
    uint m_revision = 1;
};

// com.canonical.dbusmenu over a DBusMenu.
class DBusMenuAdaptor final : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.canonical.dbusmenu")
    Q_PROPERTY(uint Version READ version)
    Q_PROPERTY(QString TextDirection READ textDirection)
    Q_PROPERTY(QString Status READ status)
    Q_PROPERTY(QStringList IconThemePath READ iconThemePath)

public:
    DBusMenuAdaptor(QObject* exported, DBusMenu* menu);

    uint version() const { return 3; }
    QString textDirection() const;
    QString status() const { return QStringLiteral("normal"); }
    QStringList iconThemePath() const { return {}; }

public slots:
    uint GetLayout(int parentId, int recursionDepth, const QStringList& propertyNames, DBusMenuLayout& layout);
    QList<DBusMenuItem> GetGroupProperties(const QList<int>& ids, const QStringList& propertyNames);
    QDBusVariant GetProperty(int id, const QString& name);
    void Event(int id, const QString& eventId, const QDBusVariant& data, uint timestamp);
    QList<int> EventGroup(const QList<DBusMenuEvent>& events);
    bool AboutToShow(int id);
    QList<int> AboutToShowGroup(const QList<int>& ids, QList<int>& idErrors);

signals:
    void LayoutUpdated(uint revision, int parent);
    void ItemsPropertiesUpdated(const QList<DBusMenuItem>& updated, const QList<DBusMenuRemoved>& removed);
    void ItemActivationRequested(int id, uint timestamp);

private:
    DBusMenu* m_menu;
};

// Registers the types above with QtDBus; call once before exporting.
void registerDBusMenuTypes();
