// Shows the image at a URL: a placeholder until it is there (optionally the
// partial image while it arrives), then the content built for it. Loading is
// the image loader service's business; this item subscribes while it is on
// screen (in a window and effectively visible) and unsubscribes when it
// leaves the screen, is taken out of its window or destroyed.
//
//   RemoteImage {
//       url: station.imageUrl
//       placeholder: Image { source: "station.svg" }         // default: a photo glyph
//       content: ImageProxyView { anchors.fill: parent; fillMode: ImageProxyView.PreserveAspectCrop }
//   }                                                           // default: the image at its natural size
//
// Placeholders receive the initial property `downloadProgressWrapper`
// (a DownloadProgressWrapper), contents `imageProxy` (an ImageProxyHandle),
// each only if their root object declares it. Children are centred in the
// item; one that wants to fill it says anchors.fill: parent.
#pragma once

#include "RemoteImage/ImageLoader/Views/CenteredStack.h"
#include "RemoteImage/ImageLoader/Views/ImageLoaderView.h"
#include "RemoteImage/ImageProxy.h"

#include <QDateTime>
#include <QNetworkRequest>
#include <QPointer>
#include <QQmlComponent>
#include <QQuickItem>
#include <QUrl>
#include <QtQml/qqmlregistration.h>

#include <memory>
#include <optional>

namespace remoteimage {

class RemoteImage : public QQuickItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QUrl url READ url WRITE setUrl NOTIFY urlChanged)
    Q_PROPERTY(double delay READ delay WRITE setDelay NOTIFY delayChanged)
    Q_PROPERTY(bool incremental READ incremental WRITE setIncremental NOTIFY incrementalChanged)
    Q_PROPERTY(QDateTime expireAfter READ expireAfter WRITE setExpireAfter NOTIFY expireAfterChanged)
    // Scaled to cover this size (in points, times the screen's scale) and
    // cropped to it before it is kept and shown; empty: as decoded. A list
    // of small logos then holds small images, not the decoded originals.
    Q_PROPERTY(QSizeF fitSize READ fitSize WRITE setFitSize NOTIFY fitSizeChanged)
    Q_PROPERTY(QQmlComponent* placeholder READ placeholder WRITE setPlaceholder NOTIFY placeholderChanged)
    Q_PROPERTY(QQmlComponent* content READ content WRITE setContent NOTIFY contentChanged)
    // True once the final image is shown.
    Q_PROPERTY(bool loaded READ isLoaded NOTIFY loadedChanged)

public:
    using Processors = ImageLoaderView::Processors;

    explicit RemoteImage(QQuickItem* parent = nullptr);
    ~RemoteImage() override;

    // The request used for a URL: always from the network (the image cache
    // on disk is the only cache), 60 s transfer timeout, GET.
    static QNetworkRequest makeRequest(const QUrl& url);

    QUrl url() const { return m_urlRequest.url(); }
    void setUrl(const QUrl& url);
    // A ready request instead of a URL. It must have a URL and use GET (no
    // other custom verb): anything else stops the program.
    void setUrlRequest(const QNetworkRequest& request);
    const QNetworkRequest& urlRequest() const { return m_urlRequest; }

    double delay() const { return m_delay; }
    void setDelay(double seconds);

    bool incremental() const { return m_incremental; }
    void setIncremental(bool incremental);

    // Invalid: the service's default lifetime from when loading starts.
    QDateTime expireAfter() const { return m_expireAfter; }
    void setExpireAfter(const QDateTime& date);

    // Applied in order before the image is shown; not with incremental.
    const std::optional<Processors>& processors() const { return m_processors; }
    void setProcessors(std::optional<Processors> processors);

    QSizeF fitSize() const { return m_fitSize; }
    void setFitSize(const QSizeF& size);

    QQmlComponent* placeholder() const { return m_placeholder; }
    void setPlaceholder(QQmlComponent* placeholder);
    QQmlComponent* content() const { return m_content; }
    void setContent(QQmlComponent* content);

    bool isLoaded() const { return m_imageProxy != nullptr; }
    const std::shared_ptr<ImageProxy>& imageProxy() const { return m_imageProxy; }
    // The loader of the current appearance, if any (for tests).
    ImageLoaderView* loaderView() const { return m_loaderView.get(); }

signals:
    void urlChanged();
    void delayChanged();
    void incrementalChanged();
    void fitSizeChanged();
    void expireAfterChanged();
    void placeholderChanged();
    void contentChanged();
    void loadedChanged();

protected:
    void componentComplete() override;
    void itemChange(ItemChange change, const ItemChangeData& value) override;
    void geometryChange(const QRectF& newGeometry, const QRectF& oldGeometry) override;

private:
    bool isOnScreen() const;
    void changeRequest(const QNetworkRequest& request);
    void refresh();
    void rebuild();
    void onLoad(const std::shared_ptr<ImageProxy>& proxy);
    void checkProcessing() const;
    QQmlComponent* placeholderComponent();
    QQmlComponent* contentComponent();

    QNetworkRequest m_urlRequest;
    double m_delay = 0;
    bool m_incremental = false;
    QDateTime m_expireAfter;
    std::optional<Processors> m_processors;
    QSizeF m_fitSize;
    QPointer<QQmlComponent> m_placeholder;
    QPointer<QQmlComponent> m_content;

    // The final image, and the URL it was loaded for.
    std::shared_ptr<ImageProxy> m_imageProxy;
    std::optional<QUrl> m_previousURL;

    bool m_complete = false;
    CenteredStack* const m_stack;
    std::unique_ptr<ImageLoaderView> m_loaderView;
};

} // namespace remoteimage
