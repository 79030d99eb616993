#include "RemoteImage/ImageLoader/Views/CenteredStack.h"

#include <QQmlContext>
#include <QQmlEngine>
#include <QQmlProperty>

#include <cmath>

namespace remoteimage {

CenteredStack::CenteredStack(QQuickItem* host)
    : QObject(host)
    , m_host(host)
{
}

CenteredStack::~CenteredStack()
{
    clear();
}

static QVariantMap knownProperties(const QObject* object, const QVariantMap& properties)
{
    QVariantMap known;
    for (auto it = properties.begin(); it != properties.end(); ++it) {
        if (object->metaObject()->indexOfProperty(it.key().toUtf8().constData()) >= 0)
            known.insert(it.key(), it.value());
    }
    return known;
}

QQuickItem* CenteredStack::create(QQmlComponent* component, const QVariantMap& properties)
{
    if (!component)
        return nullptr;
    if (!component->isReady()) {
        qWarning().noquote() << "RemoteImage: component not ready:" << component->errorString();
        return nullptr;
    }
    QQmlContext* context = component->creationContext();
    if (!context)
        context = qmlContext(m_host);
    QObject* object = component->beginCreate(context);
    if (!object) {
        qWarning().noquote() << "RemoteImage: cannot create component:" << component->errorString();
        return nullptr;
    }
    component->setInitialProperties(object, knownProperties(object, properties));
    auto* item = qobject_cast<QQuickItem*>(object);
    if (item) {
        item->setParentItem(m_host);
        item->setParent(m_host);
    }
    component->completeCreate();
    if (!item) {
        qWarning("RemoteImage: a placeholder or content must be an Item");
        delete object;
        return nullptr;
    }
    QQmlEngine::setObjectOwnership(item, QQmlEngine::CppOwnership);
    return item;
}

void CenteredStack::show(QQmlComponent* component, Role role, const QVariantMap& properties,
                         std::vector<QObject*> owned)
{
    QQuickItem* previous = m_child;
    m_child = create(component, properties);
    m_component = component;
    m_role = role;
    if (previous) {
        previous->setParentItem(nullptr);
        // Not deleteLater(): a binding of the old child must not see the
        // host's next state; nothing of it is on the stack here.
        delete previous;
    }
    if (m_child) {
        connect(m_child, &QQuickItem::implicitWidthChanged, this, &CenteredStack::updateImplicitSize);
        connect(m_child, &QQuickItem::implicitHeightChanged, this, &CenteredStack::updateImplicitSize);
        connect(m_child, &QQuickItem::widthChanged, this, &CenteredStack::layout);
        connect(m_child, &QQuickItem::heightChanged, this, &CenteredStack::layout);
    }
    dropOwned(std::move(owned));
    updateImplicitSize();
    layout();
    emit childChanged();
}

void CenteredStack::update(const QVariantMap& properties, std::vector<QObject*> owned)
{
    if (m_child) {
        const QVariantMap known = knownProperties(m_child, properties);
        for (auto it = known.begin(); it != known.end(); ++it)
            QQmlProperty::write(m_child, it.key(), it.value());
    }
    dropOwned(std::move(owned));
}

void CenteredStack::clear()
{
    if (m_child) {
        m_child->setParentItem(nullptr);
        delete m_child;
    }
    m_component = nullptr;
    m_role = Role::None;
    dropOwned({});
}

void CenteredStack::dropOwned(std::vector<QObject*> keep)
{
    for (const QPointer<QObject>& object : m_owned)
        delete object.data();
    m_owned.clear();
    for (QObject* object : keep) {
        object->setParent(this);
        m_owned.emplace_back(object);
    }
}

static bool anchorsItself(QQuickItem* item)
{
    const QObject* anchors = qvariant_cast<QObject*>(item->property("anchors"));
    if (!anchors)
        return false;
    return qvariant_cast<QQuickItem*>(anchors->property("fill"))
        || qvariant_cast<QQuickItem*>(anchors->property("centerIn"));
}

void CenteredStack::layout()
{
    if (!m_child || anchorsItself(m_child))
        return;
    m_child->setPosition(QPointF(std::round((m_host->width() - m_child->width()) / 2),
                                 std::round((m_host->height() - m_child->height()) / 2)));
}

void CenteredStack::updateImplicitSize()
{
    m_host->setImplicitWidth(m_child ? m_child->implicitWidth() : 0);
    m_host->setImplicitHeight(m_child ? m_child->implicitHeight() : 0);
}

} // namespace remoteimage
