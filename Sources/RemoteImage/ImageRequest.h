// The request for an image at a URL, as every view of the library makes it.
// The loader shares one download between equal requests, so anything that
// wants the same image (a card, the desktop's media controls) asks with this
// request and joins the download already running.
#pragma once

#include <QNetworkRequest>
#include <QUrl>

namespace remoteimage {

// Always from the network (the image cache on disk is the only cache), GET,
// a 60 s transfer timeout.
QNetworkRequest imageRequest(const QUrl& url);

} // namespace remoteimage
