#include "RemoteImage/ImageLoader/Views/ImageLoaderView.h"

#include <QCoreApplication>
#include <QThread>

#include <utility>

namespace remoteimage {

struct ImageLoaderView::Guard {
    QThread* const thread;
    ImageLoaderView* view; // read and written on `thread` only
};

// Runs f with the guarded view on the view's thread: at once when already
// there, else queued to the application object, which lives there.
template <typename F>
void ImageLoaderView::deliver(const std::shared_ptr<Guard>& guard, F f)
{
    if (QThread::currentThread() == guard->thread) {
        if (guard->view)
            f(*guard->view);
        return;
    }
    QCoreApplication* app = QCoreApplication::instance();
    if (!app)
        return;
    QMetaObject::invokeMethod(
        app,
        [guard, f = std::move(f)] {
            if (guard->view)
                f(*guard->view);
        },
        Qt::QueuedConnection);
}

ImageLoaderView::ImageLoaderView(QNetworkRequest urlRequest, double delay, bool incremental,
                                 std::optional<QDateTime> expiryDate, std::optional<Processors> processors,
                                 Services& services, CenteredStack* stack, QQmlComponent* placeholder,
                                 QQmlComponent* content)
    : m_urlRequest(std::move(urlRequest))
    , m_delay(delay)
    , m_incremental(incremental)
    , m_expiryDate(std::move(expiryDate))
    , m_processors(std::move(processors))
    , m_services(services)
    , m_stack(stack)
    , m_placeholder(placeholder)
    , m_content(content)
{
    Q_ASSERT(thread() == QCoreApplication::instance()->thread());
}

ImageLoaderView::~ImageLoaderView()
{
    disappear();
}

void ImageLoaderView::appear()
{
    if (m_onScreen)
        return;
    m_onScreen = true;
    // A fresh model for every appearance; the old one goes once the shown
    // placeholder no longer refers to its progress wrapper.
    ImageLoaderContentView::Model* const oldModel = m_model;
    ImageLoaderContentView* const oldContentView = m_contentView;
    m_model = new ImageLoaderContentView::Model(this);
    m_contentView = new ImageLoaderContentView(m_model, m_stack, m_placeholder, m_content, this);
    m_contentView->render();
    delete oldContentView;
    delete oldModel;

    const QUrl url = m_urlRequest.url();
    if (url.isEmpty() || !url.isValid())
        return;

    m_guard = std::make_shared<Guard>(Guard{thread(), this});
    m_observer = std::make_shared<ImageLoaderObserver>(
        [guard = m_guard](std::optional<float> progress) {
            deliver(guard, [progress](ImageLoaderView& view) {
                view.m_model->downloadProgressWrapper()->setProgress(progress);
            });
        },
        [guard = m_guard](const std::shared_ptr<ImageProxy>& proxy) {
            deliver(guard, [proxy](ImageLoaderView& view) { view.m_model->setImageProxy(proxy); });
        },
        [guard = m_guard](const std::shared_ptr<ImageProxy>& proxy) {
            deliver(guard, [proxy](ImageLoaderView& view) { view.complete(proxy); });
        });

    std::shared_ptr<const ImageProcessing> processor;
    if (m_processors)
        processor = std::make_shared<ImageProcessorGroup>(*m_processors);
    ImageLoaderService& loader = m_services.imageLoaderService();
    loader.subscribe(m_urlRequest, m_incremental, processor, m_observer);
    loader.load(m_urlRequest, m_delay, m_expiryDate);
}

void ImageLoaderView::disappear()
{
    m_onScreen = false;
    if (!m_observer)
        return;
    m_guard->view = nullptr;
    m_guard.reset();
    m_services.imageLoaderService().unsubscribe(m_observer, m_urlRequest);
    m_observer.reset();
}

void ImageLoaderView::setBuilders(QQmlComponent* placeholder, QQmlComponent* content)
{
    m_placeholder = placeholder;
    m_content = content;
    if (!m_model)
        return;
    delete m_contentView;
    m_contentView = new ImageLoaderContentView(m_model, m_stack, m_placeholder, m_content, this);
    m_contentView->render();
}

void ImageLoaderView::complete(const std::shared_ptr<ImageProxy>& proxy)
{
    // The callee may delete this view: nothing of it is touched afterwards.
    if (OnLoad onLoad = m_onLoad)
        onLoad(proxy);
}

} // namespace remoteimage
