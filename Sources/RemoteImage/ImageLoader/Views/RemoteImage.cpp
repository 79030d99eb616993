#include "RemoteImage/ImageLoader/Views/RemoteImage.h"

#include "RemoteImage/ImageRequest.h"
#include "RemoteImage/Processing/Resize.h"
#include "RemoteImage/RemoteImageService.h"

#include <QGuiApplication>
#include <QQmlEngine>
#include <QQuickWindow>

#include <utility>

namespace remoteimage {

RemoteImage::RemoteImage(QQuickItem* parent)
    : QQuickItem(parent)
    , m_stack(new CenteredStack(this))
{
}

RemoteImage::~RemoteImage()
{
    // Unsubscribe before the children that show the model go.
    m_loaderView.reset();
    m_stack->clear();
}

QNetworkRequest RemoteImage::makeRequest(const QUrl& url)
{
    return imageRequest(url);
}

void RemoteImage::setUrl(const QUrl& url)
{
    if (url == m_urlRequest.url() && m_urlRequest == makeRequest(url))
        return;
    changeRequest(makeRequest(url));
}

void RemoteImage::setUrlRequest(const QNetworkRequest& request)
{
    const QByteArray verb = request.attribute(QNetworkRequest::CustomVerbAttribute).toByteArray();
    if (request.url().isEmpty() || !(verb.isEmpty() || verb == "GET"))
        qt_assert("request has a URL and uses GET", __FILE__, __LINE__);
    if (request == m_urlRequest)
        return;
    changeRequest(request);
}

void RemoteImage::changeRequest(const QNetworkRequest& request)
{
    const QUrl oldUrl = m_urlRequest.url();
    m_urlRequest = request;
    // Another URL: the image of the old one is dropped and loading starts
    // again (a new loader view replaces the one of the old request).
    if (m_previousURL != request.url()) {
        const bool wasLoaded = isLoaded();
        m_imageProxy.reset();
        m_previousURL.reset();
        if (wasLoaded)
            emit loadedChanged();
    }
    refresh();
    if (oldUrl != request.url())
        emit urlChanged();
}

void RemoteImage::setDelay(double seconds)
{
    if (m_delay == seconds)
        return;
    m_delay = seconds;
    emit delayChanged();
}

void RemoteImage::setIncremental(bool incremental)
{
    if (m_incremental == incremental)
        return;
    m_incremental = incremental;
    checkProcessing();
    emit incrementalChanged();
}

void RemoteImage::setExpireAfter(const QDateTime& date)
{
    if (m_expireAfter == date && m_expireAfter.isValid() == date.isValid())
        return;
    m_expireAfter = date;
    emit expireAfterChanged();
}

void RemoteImage::setProcessors(std::optional<Processors> processors)
{
    m_processors = std::move(processors);
    checkProcessing();
}

void RemoteImage::setFitSize(const QSizeF& size)
{
    if (size == m_fitSize)
        return;
    m_fitSize = size;
    if (size.isEmpty()) {
        setProcessors(std::nullopt);
    } else {
        // The scale of the screen the item is on, or will most likely be.
        const qreal scale = window() ? window()->effectiveDevicePixelRatio() : qApp->devicePixelRatio();
        setProcessors(Processors{std::make_shared<Resize>(size, scale)});
    }
    emit fitSizeChanged();
}

void RemoteImage::checkProcessing() const
{
    if (m_incremental && m_processors)
        qFatal("Using image processing with incremental download is not supported yet");
}

void RemoteImage::setPlaceholder(QQmlComponent* placeholder)
{
    if (m_placeholder == placeholder)
        return;
    m_placeholder = placeholder;
    rebuild();
    emit placeholderChanged();
}

void RemoteImage::setContent(QQmlComponent* content)
{
    if (m_content == content)
        return;
    m_content = content;
    rebuild();
    emit contentChanged();
}

void RemoteImage::componentComplete()
{
    QQuickItem::componentComplete();
    m_complete = true;
    refresh();
}

void RemoteImage::itemChange(ItemChange change, const ItemChangeData& value)
{
    QQuickItem::itemChange(change, value);
    if (change == ItemSceneChange || change == ItemVisibleHasChanged)
        refresh();
}

void RemoteImage::geometryChange(const QRectF& newGeometry, const QRectF& oldGeometry)
{
    QQuickItem::geometryChange(newGeometry, oldGeometry);
    m_stack->layout();
}

bool RemoteImage::isOnScreen() const
{
    return m_complete && window() && isVisible();
}

// Brings what is shown and the subscription in line with the state: the
// final image if there is one, else, on screen, a loader view subscribed
// for the current request; off screen nobody is subscribed.
void RemoteImage::refresh()
{
    if (!m_complete)
        return;
    if (m_imageProxy) {
        QQmlComponent* const content = contentComponent();
        if (m_loaderView || m_stack->role() != CenteredStack::Role::Content || m_stack->component() != content
            || !m_stack->child())
            showContent(*m_stack, content, m_imageProxy);
        m_loaderView.reset();
        return;
    }
    if (!isOnScreen()) {
        if (m_loaderView)
            m_loaderView->disappear();
        return;
    }
    if (m_loaderView && m_loaderView->isOnScreen() && m_loaderView->urlRequest() == m_urlRequest)
        return;

    const std::optional<QDateTime> expiryDate = m_expireAfter.isValid()
        ? m_expireAfter
        : QDateTime::currentDateTimeUtc().addMSecs(qint64(RemoteImageService::shared().defaultExpiryTime() * 1000));
    auto loaderView = std::make_unique<ImageLoaderView>(
        m_urlRequest, m_delay, m_incremental, expiryDate, m_processors, RemoteImageService::shared().services(),
        m_stack, placeholderComponent(), contentComponent());
    loaderView->onLoad([this](const std::shared_ptr<ImageProxy>& proxy) { onLoad(proxy); });
    // The new one shows its placeholder before the old one goes.
    std::unique_ptr<ImageLoaderView> previous = std::exchange(m_loaderView, std::move(loaderView));
    if (previous)
        previous->disappear();
    m_loaderView->appear();
    previous.reset();
}

// A new placeholder or content component: show the current state with it.
void RemoteImage::rebuild()
{
    if (!m_complete)
        return;
    m_stack->clear();
    if (m_loaderView && !m_imageProxy)
        m_loaderView->setBuilders(placeholderComponent(), contentComponent());
    else
        refresh();
}

void RemoteImage::onLoad(const std::shared_ptr<ImageProxy>& proxy)
{
    m_imageProxy = proxy;
    m_previousURL = m_urlRequest.url();
    // Shows the content and ends the loader view's subscription.
    refresh();
    emit loadedChanged();
}

QQmlComponent* RemoteImage::placeholderComponent()
{
    if (m_placeholder)
        return m_placeholder;
    // One per engine, kept by the engine.
    QQmlEngine* engine = qmlEngine(this);
    if (!engine)
        return nullptr;
    static const char key[] = "_RemoteImage_defaultPlaceholder";
    auto* component = qvariant_cast<QQmlComponent*>(engine->property(key));
    if (!component) {
        component = new QQmlComponent(engine, engine);
        component->setData("import QtQuick\n"
                           "Image { source: \"qrc:/qt-project.org/imports/RemoteImage/photo.svg\" }\n",
                           QUrl(QStringLiteral("qrc:/RemoteImage/DefaultPlaceholder.qml")));
        engine->setProperty(key, QVariant::fromValue(component));
    }
    return component;
}

QQmlComponent* RemoteImage::contentComponent()
{
    if (m_content)
        return m_content;
    QQmlEngine* engine = qmlEngine(this);
    if (!engine)
        return nullptr;
    static const char key[] = "_RemoteImage_defaultContent";
    auto* component = qvariant_cast<QQmlComponent*>(engine->property(key));
    if (!component) {
        component = new QQmlComponent(engine, engine);
        component->setData("import RemoteImage\nImageProxyView {}\n",
                           QUrl(QStringLiteral("qrc:/RemoteImage/DefaultContent.qml")));
        engine->setProperty(key, QVariant::fromValue(component));
    }
    return component;
}

} // namespace remoteimage
