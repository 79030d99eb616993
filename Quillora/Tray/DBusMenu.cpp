#include "Tray/DBusMenu.h"

#include <QDBusMetaType>
#include <QGuiApplication>

QDBusArgument& operator<<(QDBusArgument& argument, const DBusMenuLayout& layout)
{
    argument.beginStructure();
    argument << layout.id << layout.properties;
    argument.beginArray(qMetaTypeId<QDBusVariant>());
    for (const DBusMenuLayout& child : layout.children)
        argument << QDBusVariant(QVariant::fromValue(child));
    argument.endArray();
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, DBusMenuLayout& layout)
{
    argument.beginStructure();
    argument >> layout.id >> layout.properties;
    argument.beginArray();
    layout.children.clear();
    while (!argument.atEnd()) {
        QDBusVariant child;
        argument >> child;
        const QDBusArgument nested = child.variant().value<QDBusArgument>();
        DBusMenuLayout item;
        nested >> item;
        layout.children.append(item);
    }
    argument.endArray();
    argument.endStructure();
    return argument;
}

QDBusArgument& operator<<(QDBusArgument& argument, const DBusMenuItem& item)
{
    argument.beginStructure();
    argument << item.id << item.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, DBusMenuItem& item)
{
    argument.beginStructure();
    argument >> item.id >> item.properties;
    argument.endStructure();
    return argument;
}

QDBusArgument& operator<<(QDBusArgument& argument, const DBusMenuRemoved& removed)
{
    argument.beginStructure();
    argument << removed.id << removed.names;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, DBusMenuRemoved& removed)
{
    argument.beginStructure();
    argument >> removed.id >> removed.names;
    argument.endStructure();
    return argument;
}

QDBusArgument& operator<<(QDBusArgument& argument, const DBusMenuEvent& event)
{
    argument.beginStructure();
    argument << event.id << event.eventId << event.data << event.timestamp;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, DBusMenuEvent& event)
{
    argument.beginStructure();
    argument >> event.id >> event.eventId >> event.data >> event.timestamp;
    argument.endStructure();
    return argument;
}

void registerDBusMenuTypes()
{
    qDBusRegisterMetaType<DBusMenuLayout>();
    qDBusRegisterMetaType<DBusMenuItem>();
    qDBusRegisterMetaType<QList<DBusMenuItem>>();
    qDBusRegisterMetaType<DBusMenuRemoved>();
    qDBusRegisterMetaType<QList<DBusMenuRemoved>>();
    qDBusRegisterMetaType<DBusMenuEvent>();
    qDBusRegisterMetaType<QList<DBusMenuEvent>>();
    qDBusRegisterMetaType<QList<int>>();
}

DBusMenu::DBusMenu(QObject* parent)
    : QObject(parent)
{
}

void DBusMenu::setEntries(const QList<Entry>& entries)
{
    const auto same = [](const Entry& a, const Entry& b) {
        return a.id == b.id && a.label == b.label && a.enabled == b.enabled && a.mark == b.mark;
    };
    if (std::equal(entries.begin(), entries.end(), m_entries.begin(), m_entries.end(), same))
        return;
    m_entries = entries;
    ++m_revision;
    emit layoutUpdated(m_revision, 0);
}

QVariantMap DBusMenu::propertiesOf(int id) const
{
    if (id == 0)
        return {{QStringLiteral("children-display"), QStringLiteral("submenu")}};
    for (const Entry& entry : m_entries) {
        if (entry.id != id)
            continue;
        if (entry.label.isEmpty())
            return {{QStringLiteral("type"), QStringLiteral("separator")}};
        QVariantMap properties{{QStringLiteral("label"), entry.label}};
        if (!entry.enabled)
            properties.insert(QStringLiteral("enabled"), false);
        if (entry.mark != Entry::Mark::none) {
            properties.insert(QStringLiteral("toggle-type"), QStringLiteral("radio"));
            properties.insert(QStringLiteral("toggle-state"), entry.mark == Entry::Mark::radioOn ? 1 : 0);
        }
        return properties;
    }
    return {};
}

DBusMenuLayout DBusMenu::layout() const
{
    DBusMenuLayout root{0, propertiesOf(0), {}};
    for (const Entry& entry : m_entries)
        root.children.append(DBusMenuLayout{entry.id, propertiesOf(entry.id), {}});
    return root;
}

DBusMenuAdaptor::DBusMenuAdaptor(QObject* exported, DBusMenu* menu)
    : QDBusAbstractAdaptor(exported)
    , m_menu(menu)
{
    setAutoRelaySignals(false);
    connect(menu, &DBusMenu::layoutUpdated, this, &DBusMenuAdaptor::LayoutUpdated);
}

QString DBusMenuAdaptor::textDirection() const
{
    return QGuiApplication::layoutDirection() == Qt::RightToLeft ? QStringLiteral("rtl") : QStringLiteral("ltr");
}

uint DBusMenuAdaptor::GetLayout(int parentId, int recursionDepth, const QStringList& propertyNames,
                                DBusMenuLayout& layout)
{
    Q_UNUSED(propertyNames);
    const DBusMenuLayout whole = m_menu->layout();
    if (parentId == 0) {
        layout = whole;
        if (recursionDepth == 0)
            layout.children.clear();
    } else {
        // The entries have no children of their own.
        layout = DBusMenuLayout{parentId, m_menu->propertiesOf(parentId), {}};
    }
    return m_menu->revision();
}

QList<DBusMenuItem> DBusMenuAdaptor::GetGroupProperties(const QList<int>& ids, const QStringList& propertyNames)
{
    QList<DBusMenuItem> items;
    for (const int id : ids) {
        QVariantMap properties = m_menu->propertiesOf(id);
        if (!propertyNames.isEmpty()) {
            for (auto it = properties.begin(); it != properties.end();)
                it = propertyNames.contains(it.key()) ? std::next(it) : properties.erase(it);
        }
        items.append(DBusMenuItem{id, properties});
    }
    return items;
}

QDBusVariant DBusMenuAdaptor::GetProperty(int id, const QString& name)
{
    return QDBusVariant(m_menu->propertiesOf(id).value(name));
}

void DBusMenuAdaptor::Event(int id, const QString& eventId, const QDBusVariant& data, uint timestamp)
{
    Q_UNUSED(data);
    Q_UNUSED(timestamp);
    if (eventId == QLatin1String("clicked"))
        // Queued: the host gets its reply before the menu changes under it.
        QMetaObject::invokeMethod(m_menu, [menu = m_menu, id] { emit menu->clicked(id); }, Qt::QueuedConnection);
}

QList<int> DBusMenuAdaptor::EventGroup(const QList<DBusMenuEvent>& events)
{
    for (const DBusMenuEvent& event : events)
        Event(event.id, event.eventId, event.data, event.timestamp);
    return {};
}

bool DBusMenuAdaptor::AboutToShow(int id)
{
    Q_UNUSED(id);
    return false;
}

QList<int> DBusMenuAdaptor::AboutToShowGroup(const QList<int>& ids, QList<int>& idErrors)
{
    Q_UNUSED(ids);
    idErrors.clear();
    return {};
}
