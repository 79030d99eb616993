#include "Catalogue/LoadFailure.h"

#include <QFileInfo>

QString LoadFailure::reasonText() const
{
    switch (reason) {
    case Reason::invalidAddress:
        return QStringLiteral("the address is not an http, https or file address");
    case Reason::fileMissing:
        return QStringLiteral("the file does not exist");
    case Reason::fileUnreadable:
        return QStringLiteral("the file cannot be read");
    case Reason::httpStatus:
        return QStringLiteral("the server answered %1").arg(httpStatus);
    case Reason::notAnswering:
        return QStringLiteral("the server is not answering");
    case Reason::secureConnection:
        return QStringLiteral("the secure connection failed");
    case Reason::notAStationList:
        return localFile ? QStringLiteral("the file is not a station list")
                         : QStringLiteral("the answer is not a station list");
    case Reason::tooLarge:
        return localFile ? QStringLiteral("the file is too large") : QStringLiteral("the answer is too large");
    case Reason::truncated:
        return QStringLiteral("the transfer stopped half way");
    }
    return {};
}

QString LoadFailure::message() const
{
    return QStringLiteral("Could not load the stations from %1: %2").arg(source, reasonText());
}

QString LoadFailure::logLine() const
{
    return detail.isEmpty() ? message() : QStringLiteral("%1 (%2)").arg(message(), detail);
}

QString LoadFailure::sourceName(const QUrl& url)
{
    if (url.isLocalFile())
        return QFileInfo(url.toLocalFile()).fileName();
    if (!url.host().isEmpty())
        return url.host();
    return url.toDisplayString();
}
