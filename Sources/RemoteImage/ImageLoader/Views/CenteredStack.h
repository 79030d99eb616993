// Shows one child item at a time in a host item, centred in it, like a
// centre-aligned stack with one entry. The child is built from a QML
// component with initial properties (only those its root object has, so a
// fixed-image placeholder may ignore the progress object). A child that
// anchors itself (anchors.fill: parent) is left where its anchors put it.
//
// Objects handed over with show() or update() (image handles, say) live as
// long as the child that uses them: they are deleted once it no longer
// refers to them.
#pragma once

#include <QObject>
#include <QPointer>
#include <QQmlComponent>
#include <QQuickItem>
#include <QVariantMap>

#include <vector>

namespace remoteimage {

class CenteredStack : public QObject {
    Q_OBJECT

public:
    // role tells apart children built from the same component for
    // different purposes (a placeholder and a content may share one).
    enum class Role { None, Placeholder, Content };

    explicit CenteredStack(QQuickItem* host);
    ~CenteredStack() override;

    // Replaces the child by a new instance of component.
    void show(QQmlComponent* component, Role role, const QVariantMap& properties,
              std::vector<QObject*> owned = {});
    // Writes properties into the current child (when it has them) instead
    // of building a new one; owned as for show().
    void update(const QVariantMap& properties, std::vector<QObject*> owned = {});
    void clear();

    QQuickItem* child() const { return m_child; }
    QQmlComponent* component() const { return m_component; }
    Role role() const { return m_role; }

    // Re-centres the child; the host calls it when its size changes.
    void layout();

signals:
    void childChanged();

private:
    QQuickItem* create(QQmlComponent* component, const QVariantMap& properties);
    void dropOwned(std::vector<QObject*> keep);
    void updateImplicitSize();

    QQuickItem* const m_host;
    QPointer<QQuickItem> m_child;
    QPointer<QQmlComponent> m_component;
    Role m_role = Role::None;
    std::vector<QPointer<QObject>> m_owned;
};

} // namespace remoteimage
