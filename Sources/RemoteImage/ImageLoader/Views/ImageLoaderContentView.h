// Shows the placeholder until the loader reports a (partial) image, then
// the content for the latest one. Progress changes do not rebuild anything:
// a placeholder that wants to show progress watches the wrapper itself.
#pragma once

#include "RemoteImage/DownloadProgressWrapper.h"
#include "RemoteImage/ImageLoader/Views/CenteredStack.h"
#include "RemoteImage/ImageProxy.h"

#include <QObject>
#include <QPointer>
#include <QQmlComponent>

#include <memory>

namespace remoteimage {

// What one appearance of a loader view has received: the latest partial
// image and the download's progress. objectWillChange() comes before the
// image is stored, imageProxyChanged() after.
class ImageLoaderContentViewModel : public QObject {
    Q_OBJECT

public:
    explicit ImageLoaderContentViewModel(QObject* parent = nullptr);

    const std::shared_ptr<ImageProxy>& imageProxy() const { return m_imageProxy; }
    void setImageProxy(std::shared_ptr<ImageProxy> imageProxy);

    DownloadProgressWrapper* downloadProgressWrapper() const { return m_downloadProgressWrapper; }

signals:
    void objectWillChange();
    void imageProxyChanged();

private:
    std::shared_ptr<ImageProxy> m_imageProxy;
    DownloadProgressWrapper* const m_downloadProgressWrapper;
};

class ImageLoaderContentView : public QObject {
    Q_OBJECT

public:
    using Model = ImageLoaderContentViewModel;

    ImageLoaderContentView(Model* model, CenteredStack* stack, QQmlComponent* placeholder,
                           QQmlComponent* content, QObject* parent = nullptr);

    Model* model() const { return m_model; }

    // Shows what the model holds now.
    void render();

private:
    Model* const m_model;
    CenteredStack* const m_stack;
    QPointer<QQmlComponent> m_placeholder;
    QPointer<QQmlComponent> m_content;
};

// Shows a proxy through a content component: builds it, or hands the new
// image to the one already shown when it comes from the same component.
void showContent(CenteredStack& stack, QQmlComponent* content, const std::shared_ptr<ImageProxy>& proxy);

} // namespace remoteimage
