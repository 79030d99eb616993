// The cached file of a remote image, for whoever needs a file rather than a
// picture: a desktop's media controls show artwork from a file:// URL.
//
// The image is loaded exactly as the views load it (same request, same
// default expiry), so asking for a logo that a card shows shares the card's
// download, or finds the file the card's download left in the disk cache:
// one image, one request, one file.
//
//   m_artwork = std::make_unique<CachedImageFile>(logoUrl, [this](const QUrl& file) { publish(file); });
//
// Nothing is called for an image that cannot be loaded (the loader keeps its
// failures to itself); destroying the object stops waiting for it.
#pragma once

#include <QUrl>

#include <functional>
#include <memory>

namespace remoteimage {

class ImageLoaderObserver;
class RemoteImageServiceType;

class CachedImageFile {
public:
    using Completion = std::function<void(const QUrl& file)>;

    // Starts loading at once. `completion` runs at most once, on the thread
    // that made this object (it must run a Qt event loop), with the file URL
    // of the cached image. Only http and https images are loaded.
    CachedImageFile(const QUrl& url, Completion completion);
    CachedImageFile(const QUrl& url, Completion completion, RemoteImageServiceType& service);
    ~CachedImageFile();

    CachedImageFile(const CachedImageFile&) = delete;
    CachedImageFile& operator=(const CachedImageFile&) = delete;

    const QUrl& url() const { return m_url; }

private:
    struct Waiter;
    static void deliver(const std::shared_ptr<Waiter>& waiter, const QUrl& file);

    QUrl m_url;
    RemoteImageServiceType& m_service;
    std::shared_ptr<Waiter> m_waiter;
    std::shared_ptr<ImageLoaderObserver> m_observer;
};

} // namespace remoteimage
