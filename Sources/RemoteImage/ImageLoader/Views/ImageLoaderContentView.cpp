#include "RemoteImage/ImageLoader/Views/ImageLoaderContentView.h"

#include "RemoteImage/ImageLoader/Views/ImageProxyHandle.h"

#include <utility>

namespace remoteimage {

ImageLoaderContentViewModel::ImageLoaderContentViewModel(QObject* parent)
    : QObject(parent)
    , m_downloadProgressWrapper(new DownloadProgressWrapper(std::nullopt, this))
{
}

void ImageLoaderContentViewModel::setImageProxy(std::shared_ptr<ImageProxy> imageProxy)
{
    emit objectWillChange();
    m_imageProxy = std::move(imageProxy);
    emit imageProxyChanged();
}

ImageLoaderContentView::ImageLoaderContentView(Model* model, CenteredStack* stack, QQmlComponent* placeholder,
                                               QQmlComponent* content, QObject* parent)
    : QObject(parent)
    , m_model(model)
    , m_stack(stack)
    , m_placeholder(placeholder)
    , m_content(content)
{
    connect(m_model, &Model::imageProxyChanged, this, &ImageLoaderContentView::render);
}

void ImageLoaderContentView::render()
{
    if (const std::shared_ptr<ImageProxy>& proxy = m_model->imageProxy()) {
        showContent(*m_stack, m_content, proxy);
        return;
    }
    const QVariantMap properties{
        {QStringLiteral("downloadProgressWrapper"), QVariant::fromValue<QObject*>(m_model->downloadProgressWrapper())}};
    if (m_stack->role() == CenteredStack::Role::Placeholder && m_stack->component() == m_placeholder
        && m_stack->child())
        m_stack->update(properties);
    else
        m_stack->show(m_placeholder, CenteredStack::Role::Placeholder, properties);
}

void showContent(CenteredStack& stack, QQmlComponent* content, const std::shared_ptr<ImageProxy>& proxy)
{
    auto* handle = new ImageProxyHandle(proxy);
    const QVariantMap properties{{QStringLiteral("imageProxy"), QVariant::fromValue(handle)}};
    if (stack.role() == CenteredStack::Role::Content && stack.component() == content && stack.child())
        stack.update(properties, {handle});
    else
        stack.show(content, CenteredStack::Role::Content, properties, {handle});
}

} // namespace remoteimage
