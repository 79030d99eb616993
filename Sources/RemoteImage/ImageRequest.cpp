#include "RemoteImage/ImageRequest.h"

namespace remoteimage {

QNetworkRequest imageRequest(const QUrl& url)
{
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.setTransferTimeout(60000);
    return request;
}

} // namespace remoteimage
