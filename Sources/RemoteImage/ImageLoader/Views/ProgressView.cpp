#include "RemoteImage/ImageLoader/Views/ProgressView.h"

namespace remoteimage {

ProgressView::ProgressView(QQuickItem* parent)
    : QQuickItem(parent)
    , m_stack(new CenteredStack(this))
{
}

ProgressView::~ProgressView()
{
    // While this is still an item.
    m_stack->clear();
}

void ProgressView::setDownloadProgressWrapper(DownloadProgressWrapper* wrapper)
{
    if (m_wrapper == wrapper)
        return;
    if (m_wrapper)
        disconnect(m_wrapper, nullptr, this, nullptr);
    m_wrapper = wrapper;
    if (m_wrapper)
        connect(m_wrapper, &DownloadProgressWrapper::progressChanged, this, &ProgressView::rebuild);
    rebuild();
    emit downloadProgressWrapperChanged();
}

void ProgressView::setContent(QQmlComponent* content)
{
    if (m_content == content)
        return;
    m_content = content;
    rebuild();
    emit contentChanged();
}

void ProgressView::componentComplete()
{
    QQuickItem::componentComplete();
    m_complete = true;
    rebuild();
}

void ProgressView::geometryChange(const QRectF& newGeometry, const QRectF& oldGeometry)
{
    QQuickItem::geometryChange(newGeometry, oldGeometry);
    m_stack->layout();
}

void ProgressView::rebuild()
{
    if (!m_complete)
        return;
    if (!m_content) {
        m_stack->clear();
        return;
    }
    const QVariant progress = m_wrapper ? m_wrapper->progressValue() : QVariant();
    m_stack->show(m_content, CenteredStack::Role::Content, {{QStringLiteral("progress"), progress}});
}

} // namespace remoteimage
