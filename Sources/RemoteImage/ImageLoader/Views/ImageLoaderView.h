// Owns one subscription to the image loader service. appear() makes a new
// model and observer, shows the placeholder, subscribes the observer and asks
// for the load; disappear() unsubscribes that same observer. The service
// cancels a download whose last observer has left.
//
// Observer callbacks may come from the loader's threads, and after this view
// is gone: they reach it through a guard that is only read and cleared on
// the view's own thread, so a late report is dropped, never delivered to a
// dead view.
#pragma once

#include "RemoteImage/ImageLoader/ImageLoaderObserver.h"
#include "RemoteImage/ImageLoader/Views/ImageLoaderContentView.h"
#include "RemoteImage/Processing/ImageProcessorGroup.h"
#include "RemoteImage/Services.h"

#include <QDateTime>
#include <QNetworkRequest>
#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>
#include <optional>

namespace remoteimage {

class ImageLoaderView : public QObject {
    Q_OBJECT

public:
    using Processors = ImageProcessorGroup::Processors;
    using OnLoad = std::function<void(const std::shared_ptr<ImageProxy>&)>;

    // A request without a valid URL shows the placeholder and asks for
    // nothing.
    ImageLoaderView(QNetworkRequest urlRequest, double delay, bool incremental,
                    std::optional<QDateTime> expiryDate, std::optional<Processors> processors,
                    Services& services, CenteredStack* stack, QQmlComponent* placeholder,
                    QQmlComponent* content);
    ~ImageLoaderView() override;

    // Called with the final image, on this view's thread.
    void onLoad(OnLoad perform) { m_onLoad = std::move(perform); }

    void appear();
    void disappear();
    // New builders: what is shown now is built again with them; the
    // subscription goes on.
    void setBuilders(QQmlComponent* placeholder, QQmlComponent* content);
    bool isOnScreen() const { return m_onScreen; }
    bool isSubscribed() const { return m_observer != nullptr; }

    const QNetworkRequest& urlRequest() const { return m_urlRequest; }
    const std::optional<QDateTime>& expiryDate() const { return m_expiryDate; }
    ImageLoaderContentView::Model* model() const { return m_model; }

private:
    struct Guard;
    template <typename F>
    static void deliver(const std::shared_ptr<Guard>& guard, F f);

    void complete(const std::shared_ptr<ImageProxy>& proxy);

    const QNetworkRequest m_urlRequest;
    const double m_delay;
    const bool m_incremental;
    const std::optional<QDateTime> m_expiryDate;
    const std::optional<Processors> m_processors;
    Services& m_services;
    CenteredStack* const m_stack;
    QPointer<QQmlComponent> m_placeholder;
    QPointer<QQmlComponent> m_content;
    OnLoad m_onLoad;

    bool m_onScreen = false;
    ImageLoaderContentView::Model* m_model = nullptr;
    ImageLoaderContentView* m_contentView = nullptr;
    std::shared_ptr<ImageLoaderObserver> m_observer;
    std::shared_ptr<Guard> m_guard;
};

} // namespace remoteimage
