#include "Network/WebAddress.h"

namespace net {

bool isWebAddress(const QUrl& url)
{
    if (!url.isValid() || url.isRelative() || url.host().isEmpty())
        return false;
    const QString scheme = url.scheme().toLower();
    return scheme == QLatin1String("http") || scheme == QLatin1String("https");
}

std::optional<QUrl> webAddress(const QString& text, Parsing parsing)
{
    const QUrl url(text.trimmed(), parsing == Parsing::Strict ? QUrl::StrictMode : QUrl::TolerantMode);
    if (!isWebAddress(url))
        return std::nullopt;
    return url;
}

} // namespace net
